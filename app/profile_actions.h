// Timer 60: the profile action chosen in the profile-tab popup or the last
// row of the profile picker, decided here and carried out by the window.
#pragma once

#include "settings/settings_store.h"

namespace zeltra {

// The file dialogs of the import and export actions.
struct ProfileFileDialog {
  static constexpr int kImportTitleString = 142;
  static constexpr int kExportTitleString = 143;
  static constexpr const char16_t* kFilter = u"psf file(*.psf)|*.psf||";
  static constexpr const char16_t* kDefaultExtension = u"psf";
  static constexpr const char16_t* kInitialName = u".psf";
  static constexpr int kNameBuffer = 260;
};

enum class ProfileAction : int { Import = 0, Export = 1, Edit = 2, Delete = 3, Add = 4, Notice = 5, Programs = 6 };

struct ProfileActionDecision {
  enum class Kind {
    Nothing,
    ImportDialog,     // open dialog; on OK read into `profile`, save configuration and profiles, refresh
    ExportDialog,     // save dialog; on OK write `profile` to the chosen file
    EditDialog,       // edit dialog for `profile`; on OK save configuration and profiles, refresh
    Attention,        // attention dialog with `message` (title string 150) and nothing else
    RemoveFromShown,  // SettingsStore::RemoveShownProfile(`profile`), save configuration and profiles, refresh
    AddDialog,        // add-profile dialog for `profile` (the first hidden one); on OK save and refresh
    ProgramsDialog,   // the linked-programs dialog of `profile`; on OK save configuration and profiles
  };
  Kind kind = Kind::Nothing;
  int profile = -1;
  int message = 0;  // language string of an attention dialog
  friend bool operator==(const ProfileActionDecision&, const ProfileActionDecision&) = default;
};

// `profile` is the profile the popup row concerns (actions 0 to 3 and 6).
ProfileActionDecision DecideProfileAction(int action, int profile, const SettingsStore& settings);

}  // namespace zeltra
