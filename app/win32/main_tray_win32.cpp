// The main window's tray icon: its tip and low-battery notice following the
// mouse's status, its menu with the shown profiles and the Startup folder's
// shortcut, and the commands of that menu.
#include "app/main_window_ids.h"
#include "app/startup_shortcut.h"
#include "app/win32/main_port_win32.h"
#include "settings/program_folders.h"
#include "app/win32/startup_shortcut_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "settings/language.h"

namespace zeltra::win32 {

void CTarvinDlg::AddTrayIcon() { tray_.Add(hwnd_, icon_, trayBattery_.tip()); }

void CTarvinDlg::RemoveTrayIcon() { tray_.Remove(); }

void CTarvinDlg::UpdateTrayBattery(const link_event::Status& status) {
  const TrayBattery::Change change =
      trayBattery_.OnStatus(BatteryOfStatus(status.modelMatches, status.online, status.battery, status.charge));
  if (change.tipChanged) tray_.SetTip(trayBattery_.tip());
  if (change.balloon) tray_.ShowBalloon(*change.balloon);
}

void CTarvinDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
      BringUp();
      break;
    case WM_RBUTTONUP:
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void CTarvinDlg::ShowTrayMenu() {
  // While a dialog of the window runs (the window is disabled then) the
  // profile stays as it is under that dialog.
  tray_.ShowMenu(BuildTrayMenu(*settings_, StartsWithWindows(), IsWindowEnabled(hwnd_) != FALSE));
}

bool CTarvinDlg::OnTrayCommand(unsigned command) {
  if (command == kIdTrayStartWithWindows) {
    ToggleStartWithWindows();
    return true;
  }
  const std::optional<int> profile = ProfileOfTrayCommand(*settings_, command);
  if (!profile) return false;
  if (model_ && IsWindowEnabled(hwnd_)) model_->PickProfile(*profile);
  return true;
}

bool CTarvinDlg::StartsWithWindows() const {
  const std::filesystem::path program = ExecutablePath();
  return StartsThisProgram(ReadShortcut(StartupShortcutFor(StartupFolder(), program).file), program);
}

void CTarvinDlg::ToggleStartWithWindows() {
  const std::filesystem::path program = ExecutablePath();
  const StartupShortcut shortcut = StartupShortcutFor(StartupFolder(), program);
  const bool done = StartsThisProgram(ReadShortcut(shortcut.file), program) ? RemoveShortcut(shortcut.file)
                                                                             : WriteShortcut(shortcut);
  if (!done && port_) port_->ShowAttention(kStringShortcutFailed);
}

}  // namespace zeltra::win32
