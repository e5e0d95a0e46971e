// Timer 60: carrying out the profile action chosen in the profile-tab popup
// or the picker's last row, through the file and profile dialogs.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "app/profile_actions.h"
#include "app/program_links_dialog.h"
#include "ui/file_dialog.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "ui/small_dialogs.h"

namespace zeltra {

inline constexpr unsigned kProfileActionTimer = 60;
inline constexpr unsigned kProfileActionMs = 100;

// The standard file dialog of import (open) and export (save).
struct ProfileFileRequest {
  bool save = false;
  int titleString = 0;
  std::u16string_view filter = ProfileFileDialog::kFilter;  // "psf file(*.psf)|*.psf||"
  std::u16string_view defaultExtension = ProfileFileDialog::kDefaultExtension;
  std::u16string_view initialName = ProfileFileDialog::kInitialName;
  bool readOnly = true;
  bool pathMustExist = true;
  // The open dialog insists on an existing file; the save dialog cannot (it
  // would refuse every new file name), so the flag is left off there.
  bool fileMustExist = true;
  int bufferChars = ProfileFileDialog::kNameBuffer;  // 260
  friend bool operator==(const ProfileFileRequest&, const ProfileFileRequest&) = default;
};
ProfileFileRequest ImportFileRequest();
ProfileFileRequest ExportFileRequest();
// The standard dialog's request for it: the title from the language table,
// and a save dialog asks before it replaces an existing file.
FileDialogRequest ToFileDialogRequest(const ProfileFileRequest& request, const LanguageTable& language = Language());

// The dialogs the actions need. The program shows the real ones; tests
// answer for them.
class ProfileActionDialogs {
 public:
  virtual ~ProfileActionDialogs() = default;
  // The chosen file, or nothing when the user cancelled.
  virtual std::optional<std::filesystem::path> RunProfileFileDialog(const ProfileFileRequest& request) = 0;
  // CEditProfileDlg on the profile: true on OK (it renamed the profile).
  virtual bool RunEditProfileDialog(ProfileRecord& profile) = 0;
  // CAddProfileDlg for `profile`, the first hidden one: true on OK (it showed
  // one more profile and reset and named this one).
  virtual bool RunAddProfileDialog(SettingsStore& settings, int profile) = 0;
  // CAttentionDlg with title string 150.
  virtual void ShowAttention(int message) = 0;
  // CProgramLinksDlg on the dialog's links: true on OK.
  virtual bool RunProgramLinksDialog(ProgramLinksDialog& dialog) = 0;
};

// The profile picker's name dialogs: what their OK does with the typed name.
// The add dialog: an empty name is refused and the dialog stays open; with
// all five profiles shown nothing is added and the dialog ends. Otherwise
// the first hidden profile is shown, reset and given the name (unchanged:
// no trimming, no length limit).
ProfileNameOutcome ConfirmAddProfile(SettingsStore& settings, const std::u16string& name);
// The edit dialog: an empty name is refused, any other becomes the profile's name.
ProfileNameOutcome ConfirmEditProfile(ProfileRecord& profile, const std::u16string& name);

// Runs action 0..6 for `profile` (actions 0 to 3 and 6). True when the controls
// must be refreshed because the profiles or the shown list changed.
bool RunProfileAction(int action, int profile, SettingsStore& settings, ProfileActionDialogs& dialogs);

}  // namespace zeltra
