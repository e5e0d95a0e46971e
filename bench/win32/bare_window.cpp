// The yardstick of the start-up and memory figures: a bare Win32 window of
// the main window's size and place for the screen, started the same way as
// the program, that also starts GDI+ and draws one line of text in the
// program's control font (from the language files beside it, as the program
// reads them), so that what both share (Wine, GDI+, the font system, the
// window's own surface) is not counted as the program's.
// With "--first-paint-log FILE" it writes the milliseconds from its process's
// creation to the end of its first paint, as the program does, and ends;
// without it stays until closed (the memory figure's baseline).
#include <windows.h>

#include <string>

#include "app/win32/first_paint_log_win32.h"
#include "settings/program_folders.h"
#include "app/win32/start_options_win32.h"
#include "app/window_placement.h"
#include "settings/language.h"
#include "ui/win32/draw_win32.h"

namespace {

using namespace zeltra;

bool g_once = false;
HFONT g_font = nullptr;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      RECT line{20, 20, 600, 60};
      win32::DrawControlText(dc, g_font, LanguageString(1), line, RGB(180, 180, 180), DT_SINGLELINE | DT_VCENTER);
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
  const std::filesystem::path log = win32::ReadStartOptions(GetCommandLineW()).firstPaintLog;
  g_once = !log.empty();
  win32::StartFirstPaintLog(log, L"ZeltraBareWindow");
  const win32::GdiplusSession gdiplus;
  const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  const float scale = UiScaleFactor(screenWidth, screenHeight);
  LoadLanguage(ExecutableFolder() / L"lang", scale);
  const win32::UniqueFont font(win32::CreateControlFont(Language().font));
  g_font = font.get();

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ZeltraBareWindow";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassExW(&wc);
  const WindowPlacement place = MainWindowPlacement(screenWidth, screenHeight, scale);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_POPUP | WS_VISIBLE, place.left, place.top,
                              place.width, place.height, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
