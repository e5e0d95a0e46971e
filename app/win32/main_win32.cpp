// Entry point of the program.
#include <windows.h>

#include "app/win32/tarvin_app_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  zeltra::win32::CTarvinApp app;
  app.InitInstance(GetCommandLineW());
  return 0;
}
