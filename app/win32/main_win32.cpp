// Entry point of the program.
#include <windows.h>

#include "app/win32/tarvin_app_win32.h"
#include "settings/win32/system_library_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Before anything can load a DLL by name from the folder the user started us in.
  zeltra::win32::RestrictDllSearchToSystemFolder();
  zeltra::win32::CTarvinApp app;
  app.InitInstance(GetCommandLineW());
  return 0;
}
