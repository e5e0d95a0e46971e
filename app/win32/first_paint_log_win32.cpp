#include "app/win32/first_paint_log_win32.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace zeltra::win32 {

namespace {

HHOOK g_hook = nullptr;
std::wstring g_path;
std::wstring g_class;
HWND g_target = nullptr;
WNDPROC g_original = nullptr;

// Wraps the window's procedure for its first paint only: the time is taken
// when that paint has returned.
LRESULT CALLBACK AroundFirstPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = g_original;
  const LRESULT result = CallWindowProcW(original, hwnd, message, wParam, lParam);
  if (message == WM_PAINT && hwnd == g_target) {
    const double ms = MsSinceProcessStart();
    if (FILE* out = _wfopen(g_path.c_str(), L"w")) {
      std::fprintf(out, "%.1f\n", ms);
      std::fclose(out);
    }
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    g_target = nullptr;
  }
  return result;
}

// A paint is dispatched, not sent: it is seen as it leaves the queue.
LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && g_hook != nullptr && message->message == WM_PAINT &&
      IsWindowVisible(message->hwnd) && !IsIconic(message->hwnd)) {
    wchar_t name[64] = {};
    GetClassNameW(message->hwnd, name, 64);
    if (g_class == name) {
      g_target = message->hwnd;
      g_original = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(message->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AroundFirstPaint)));
      HHOOK hook = g_hook;
      g_hook = nullptr;
      const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
      UnhookWindowsHookEx(hook);
      return next;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void StartFirstPaintLog(const std::filesystem::path& path, const wchar_t* windowClass) {
  if (path.empty() || g_hook != nullptr) return;
  g_path = path.wstring();
  g_class = windowClass;
  g_hook = SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());
}

double MsSinceProcessStart() {
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

}  // namespace zeltra::win32
