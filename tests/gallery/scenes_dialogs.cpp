// Scenes of the profile, reset and progress dialogs.
#include "gallery.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "ui/ui_context.h"
#include "ui/win32/firmware_reset_dlg_win32.h"
#include "app/win32/profile_name_dlgs_win32.h"
#include "ui/win32/progress_dlg_win32.h"

namespace zeltra::gallery {
namespace {

SettingsStore& Settings() {
  // A test tool: the store lives until the process ends.
  static SettingsStore* settings = [] {
    auto* store = new SettingsStore(Ui().dataFolder);
    store->SetDefaultGlobals();
    store->Profile(0).SetSetting(kProfileName, LanguageString(85));
    return store;
  }();
  return *settings;
}

}  // namespace

ZELTRA_GALLERY_SCENE(add_profile) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CAddProfileDlg>(Settings())));
}

ZELTRA_GALLERY_SCENE(edit_profile) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CEditProfileDlg>(Settings().Profile(0))));
}

ZELTRA_GALLERY_SCENE(firmware_reset) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CFirmwareResetDlg>()));
}

// Caught while the bar grows: the dialog ends itself after half a second.
ZELTRA_GALLERY_SCENE(progress) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CProgressBarDlg>(LanguageString(146), nullptr)));
  context.waitMs = 260;
}

}  // namespace zeltra::gallery
