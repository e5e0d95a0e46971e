#include "app/win32/tarvin_app_win32.h"

#include <memory>

#include "app/main_window_ids.h"
#include "app/win32/first_paint_log_win32.h"
#include "app/win32/main_units_win32.h"
#include "app/win32/start_options_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "base/win32/unique_handle_win32.h"
#include "device/virtual_mouse_control.h"
#include "device/win32/hid_backend_win32.h"
#include "settings/data_folder_lock.h"
#include "settings/program_folders.h"
#include "settings/win32/system_library_win32.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/file_dialog_win32.h"

namespace zeltra::win32 {

namespace {

// The window keeps the settings in memory for its whole life and rewrites
// whole files from them, so it holds the data folder's lock all that time;
// zeltra-cli then reads but does not write. A command of zeltra-cli holds it
// only for a moment; one that hangs must not keep the window from starting.
std::unique_ptr<DataFolderLock> TakeDataFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return nullptr;
  for (int attempt = 0; attempt < 100; ++attempt) {
    LockAttempt taken = TryLockDataFolder(folder, kLockHolderWindow);
    if (taken.lock || taken.failed) return std::move(taken.lock);
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

bool CTarvinApp::RegisterMainWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, L"#32770", &wc)) return false;
  wc.lpszClassName = kMainWindowClass;
  // Registered for this program, so that the dialog template finds it.
  wc.hInstance = GetModuleHandleW(nullptr);
  if (RegisterClassExW(&wc) != 0) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CTarvinApp::WakeFirstCopy() {
  HWND first = FindWindowW(kMainWindowClass, nullptr);
  if (first == nullptr) return;
  // A first copy that hangs must not hang this one as well.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(first, kWmSecondInstance, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 30000, &result);
}

bool CTarvinApp::InitInstance(const std::wstring& commandLine) {
  // Held until the program ends: it is what makes this the first copy.
  const UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    WakeFirstCopy();
    return false;
  }

  const StartOptions start = ReadStartOptions(commandLine.c_str());
  StartFirstPaintLog(start.firstPaintLog, kMainWindowClass);

  RegisterMainWindowClass();
  InstallStandardFileDialogs();

  const std::unique_ptr<DataFolderLock> dataFolderLock = TakeDataFolder(UserDataFolder());
  GdiplusSession gdiplus;
  {
    SystemClock clock;
    TarvinOptions options;
    options.clock = &clock;
    StartBackend backend = MakeStartBackend(start, clock, &CreateHidBackend);
    options.backend = std::move(backend.backend);
    options.virtualMouse = std::move(backend.virtualMouse);
    options.startInTray = start.startInTray;
    // Scripts play the virtual mouse's own part through a command file; it
    // outlives the window, whose device-change callback goes with it.
    std::unique_ptr<VirtualMouseControl> control;
    if (options.virtualMouse && !start.virtualMouseControl.empty())
      control = std::make_unique<VirtualMouseControl>(start.virtualMouseControl, options.virtualMouse);
    // The dialog, with every decoded image its controls hold, goes before
    // GDI+ is shut down.
    CTarvinDlg dialog(std::move(options));
    AddMainWindowUnits(dialog);
    dialog.DoModal();
  }
  return false;
}

}  // namespace zeltra::win32
