// Reports every key press and release in the system to one window, for the
// key-combination dialog and the macro recorder.
#pragma once

#include <windows.h>

#include "macro/keyboard_hook.h"

namespace zeltra::win32 {

// Posts kKeyHookMessage to the started window once per key transition (the
// contract of macro/keyboard_hook.h).
class CKeyboardHook {
 public:
  CKeyboardHook();
  virtual ~CKeyboardHook();
  CKeyboardHook(const CKeyboardHook&) = delete;
  CKeyboardHook& operator=(const CKeyboardHook&) = delete;

  // Delivers key events to `window` from now on; a hook started by another
  // object stops delivering to its window (one hook at a time). Must be
  // called on the window's thread, which must pump messages. 1 = started.
  int StartHook(HWND window);
  // Delivers no more events; harmless when never started. Always 1.
  int StopHook();
  bool IsStarted() const;

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

}  // namespace zeltra::win32
