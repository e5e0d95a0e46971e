// The profile picker's two name dialogs: what their OK does with the name.
#pragma once

#include "settings/settings_store.h"
#include "ui/win32/profile_dlgs_win32.h"

namespace zeltra::win32 {

// Adds the first hidden profile under the typed name. IDOK when a profile
// was added; the caller saves and refreshes.
class CAddProfileDlg : public CProfileNameDlg {
 public:
  explicit CAddProfileDlg(SettingsStore& settings, HWND parent = nullptr);
  // The profile that was added, -1 before.
  int addedProfile() const { return added_; }

 protected:
  ProfileNameOutcome Confirm(const std::u16string& name) override;

 private:
  SettingsStore& settings_;
  int added_ = -1;
};

// Renames a profile. IDOK when the name was changed.
class CEditProfileDlg : public CProfileNameDlg {
 public:
  explicit CEditProfileDlg(ProfileRecord& profile, HWND parent = nullptr);

 protected:
  ProfileNameOutcome Confirm(const std::u16string& name) override;

 private:
  ProfileRecord& profile_;
};

}  // namespace zeltra::win32
