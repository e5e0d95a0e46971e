#include "app/win32/profile_name_dlgs_win32.h"

#include "app/profile_actions_ui.h"

namespace zeltra::win32 {

CAddProfileDlg::CAddProfileDlg(SettingsStore& settings, HWND parent)
    : CProfileNameDlg(parent, kAddProfileTitle, kAddProfileEdit, u""), settings_(settings) {}

ProfileNameOutcome CAddProfileDlg::Confirm(const std::u16string& name) {
  const ProfileNameOutcome outcome = ConfirmAddProfile(settings_, name);
  if (outcome.accepted) added_ = outcome.profile;
  return outcome;
}

CEditProfileDlg::CEditProfileDlg(ProfileRecord& profile, HWND parent)
    : CProfileNameDlg(parent, kEditProfileTitle, kEditProfileEdit, profile.Setting(kProfileName)), profile_(profile) {}

ProfileNameOutcome CEditProfileDlg::Confirm(const std::u16string& name) { return ConfirmEditProfile(profile_, name); }

}  // namespace zeltra::win32
