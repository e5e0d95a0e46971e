// The main window on a demo virtual mouse: each section open, the profile
// picker and its context popup.
#include <functional>
#include <memory>

#include "app/main_window_ids.h"
#include "app/profile_picker.h"
#include "app/tray.h"
#include "app/win32/tray_icon_win32.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/virtual_mouse.h"
#include "gallery.h"
#include "settings/settings_store.h"
#include "ui/control_codes.h"
#include "macro/popup_menus.h"
#include "ui/ui_context.h"

namespace zeltra::gallery {

namespace {

// Opens the main window, without standby.
win32::CTarvinDlg& OpenMainWindow(SceneContext& context, int sensorNumber = 0) {
  static VirtualClock clock;
  win32::CTarvinApp::RegisterMainWindowClass();  // the window's template names its class
  const UiContext& ui = Ui();
  {
    SettingsStore store(ui.dataFolder);
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, u"0");
    store.WriteConfiguration();
  }
  win32::TarvinOptions options;
  options.programFolder = ui.programFolder;
  options.dataFolder = ui.dataFolder;
  options.clock = &clock;
  auto mouse = MakeDemoVirtualMouse(clock);
  if (sensorNumber != 0) mouse->SetSensorNumber(static_cast<std::uint8_t>(sensorNumber));
  options.backend = mouse;
  options.virtualMouse = mouse;
  auto dialog = std::make_unique<win32::CTarvinDlg>(std::move(options));
  win32::CTarvinDlg& window = *dialog;
  OpenModeless(std::move(dialog));
  SetWindowPos(window.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  context.waitMs = 1500;
  return window;
}

// A header clicked open, as the user's click leaves its check button.
void OpenSection(win32::CTarvinDlg& window, int header) {
  if (auto* check = dynamic_cast<win32::CCheckButton*>(window.Control(header))) check->SetChecked(true);
  SendMessageW(window.GetSafeHwnd(), static_cast<UINT>(header), 0, kCodeClicked);
}

// Runs the window's messages until `done` or about two seconds passed.
template <class F>
void PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) win32::DispatchOneMessage(msg);
    Sleep(10);
  }
}

void OpenPicker(win32::CTarvinDlg& window) {
  SendMessageW(window.GetSafeHwnd(), 3502, 0, kCodePickerMove);
  SendMessageW(window.GetSafeHwnd(), 3502, 0, kCodeClicked);
}

}  // namespace

ZELTRA_GALLERY_SCENE(main) { OpenMainWindow(context); }

ZELTRA_GALLERY_SCENE(main_rate) { OpenSection(OpenMainWindow(context), 3004); }

ZELTRA_GALLERY_SCENE(main_pointer) { OpenSection(OpenMainWindow(context), 3003); }

ZELTRA_GALLERY_SCENE(main_liftoff) {
  // A sensor that offers the lift-off distance brings its header.
  win32::CTarvinDlg& window = OpenMainWindow(context, 53);
  PumpUntil([&] { return window.Control(3011) != nullptr && window.Control(3011)->IsShown(); });
  OpenSection(window, 3011);
}

// The lighting-mode combo keeps its pressed look while its popup is open.
ZELTRA_GALLERY_SCENE(main_lighting_mode) {
  win32::CTarvinDlg& window = OpenMainWindow(context);
  SendMessageW(window.GetSafeHwnd(), kIdLightingModeCombo, 0, kCodeClicked);
}

// The tray icon's menu: the new data folder's three shown profiles, the
// second current, starting with Windows on. The menu runs its own loop; a
// timer inside it takes the screenshot.
ZELTRA_GALLERY_SCENE(tray_menu) {
  static SettingsStore settings(Ui().dataFolder);
  settings.LoadConfiguration();
  settings.SetCurrentProfileIndex(1);
  static win32::TrayIcon tray;
  tray.Add(context.host.hwnd(), LoadIconW(nullptr, IDI_APPLICATION), TrayTip({true, 80, 0}));
  SetCursorPos(Scaled(40), Scaled(40));
  static std::function<void()> capture;
  capture = context.captureNow;
  SetTimer(nullptr, 0, 800, [](HWND, UINT, UINT_PTR, DWORD) { capture(); });
  tray.ShowMenu(BuildTrayMenu(settings, true, true));
}

ZELTRA_GALLERY_SCENE(main_picker) { OpenPicker(OpenMainWindow(context)); }

ZELTRA_GALLERY_SCENE(main_picker_tab) {
  win32::CTarvinDlg& window = OpenMainWindow(context);
  OpenPicker(window);
  SendMessageW(window.GetSafeHwnd(), kPickerResultMessage, kProfileRowRightClicked, 2);
}

}  // namespace zeltra::gallery
