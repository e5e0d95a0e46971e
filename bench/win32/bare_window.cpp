// The yardstick of the start-up figure: a bare Win32 window of the main
// window's size, started the same way as the program. With
// "--first-paint-log FILE" it writes the milliseconds from its process's
// creation to the end of its first paint, as the program does, and ends;
// without it stays until closed (the memory figure's baseline).
#include <windows.h>

#include <string>

#include "app/win32/first_paint_log_win32.h"
#include "app/win32/start_options_win32.h"

namespace {

bool g_once = false;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(hwnd, &ps);
      if (g_once) PostMessageW(hwnd, WM_CLOSE, 0, 0);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  const std::filesystem::path log = zeltra::win32::ReadStartOptions(GetCommandLineW()).firstPaintLog;
  g_once = !log.empty();
  zeltra::win32::StartFirstPaintLog(log, L"ZeltraBareWindow");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ZeltraBareWindow";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassExW(&wc);
  const int w = 1127, h = 740;
  const int left = (GetSystemMetrics(SM_CXFULLSCREEN) - w) / 2;
  const int top = (GetSystemMetrics(SM_CYFULLSCREEN) - h) / 2;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_POPUP | WS_VISIBLE, left, top, w, h, nullptr, nullptr,
                              instance, nullptr);
  if (hwnd == nullptr) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
