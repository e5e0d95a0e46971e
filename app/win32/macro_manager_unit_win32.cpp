#include "app/win32/macro_manager_unit_win32.h"

#include "app/main_window_ids.h"
#include "device/device_link.h"
#include "macro/macro_library_file.h"
#include "macro/macro_manager_dialog.h"
#include "macro/win32/macro_manager_dlg_win32.h"
#include "settings/settings_store.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"

namespace zeltra::win32 {

bool MacroManagerUnit::OnControlNotify(UINT id, WPARAM, LPARAM code) {
  if (id != static_cast<UINT>(kIdMacroManagerButton)) return false;
  if (code == kCodeClicked && window_ != nullptr && !running_) RunManager();
  return true;
}

void MacroManagerUnit::RunManager() {
  running_ = true;
  MainWindowServices& window = *window_;
  const std::filesystem::path path = MacroLibraryPath(Ui().dataFolder);
  // The next apply compares the macro slots with what the manager leaves.
  window.Link().SetMacroLibraryChanged();
  RunMacroManager(window.Window(), window.Macros(), window.Settings().CurrentProfile(), path);
  // The window may have gone while the manager ran (the application quit).
  if (window_ != nullptr) {
    if (ReloadLibraryAfterManager(window.Macros(), path, window.Settings().CurrentProfile())) {
      window.Link().RequestApply(kPendingButtons);
      window.Link().ApplyPendingChanges();
    }
    window.RefreshControls();
    window.TellAboutKeptCopies();
  }
  running_ = false;
}

}  // namespace zeltra::win32
