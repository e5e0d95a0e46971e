#include "macro/win32/keyboard_hook_win32.h"

namespace zeltra::win32 {

namespace {

// The system calls a low-level hook on the thread that installed it, so one
// process-wide hook serves the single object that is started.
HHOOK g_hook = nullptr;
CKeyboardHook* g_owner = nullptr;
HWND g_target = nullptr;

}  // namespace

CKeyboardHook::CKeyboardHook() = default;

CKeyboardHook::~CKeyboardHook() { StopHook(); }

bool CKeyboardHook::IsStarted() const { return g_owner == this && g_hook != nullptr; }

int CKeyboardHook::StartHook(HWND window) {
  if (window == nullptr) return 0;
  if (g_hook == nullptr) {
    g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, &CKeyboardHook::HookProc, GetModuleHandleW(nullptr), 0);
    if (g_hook == nullptr) return 0;
  }
  g_owner = this;
  g_target = window;
  window_ = window;
  return 1;
}

int CKeyboardHook::StopHook() {
  window_ = nullptr;
  if (g_owner != this) return 1;  // never started, or another object took over
  if (g_hook != nullptr) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_owner = nullptr;
  g_target = nullptr;
  return 1;
}

LRESULT CALLBACK CKeyboardHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_target != nullptr) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const std::uint32_t bits = MakeKeyHookLParam((event->flags & LLKHF_UP) != 0, event->time);
    // Posted, not sent: the recipient may open a dialog, and the system gives
    // a low-level hook only a short time before it skips it.
    PostMessageW(g_target, kKeyHookMessage, static_cast<WPARAM>(event->vkCode & 0xFF),
                 static_cast<LPARAM>(bits));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace zeltra::win32
