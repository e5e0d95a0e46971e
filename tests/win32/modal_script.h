// Acting on a dialog the way a user does while DoModal shows it: steps run
// one by one, 60 ms apart, from inside whatever modal loop runs.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"

namespace zeltra::test {

class Script {
 public:
  explicit Script(std::deque<std::function<void()>> steps) {
    steps_ = std::move(steps);
    timer_ = SetTimer(nullptr, 0, 60, &Script::Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    steps_.clear();
  }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;
  static bool Done() { return steps_.empty(); }
  // Called by a step whose moment has not come yet: it runs again next time.
  static void Again() { again_ = true; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (steps_.empty()) return;
    auto step = std::move(steps_.front());
    steps_.pop_front();
    again_ = false;
    step();
    if (again_) steps_.push_front(std::move(step));
    again_ = false;
  }
  static inline std::deque<std::function<void()>> steps_;
  static inline bool again_ = false;
  UINT_PTR timer_ = 0;
};

// The small dialog opened last (every small dialog lists itself, in order).
inline HWND NewestDialog() {
  const int count = OpenDialogs().Count();
  return count > 0 ? reinterpret_cast<HWND>(OpenDialogs().At(count - 1)) : nullptr;
}

inline void Key(HWND window, WPARAM key) { PostMessageW(window, WM_KEYDOWN, key, 0); }
// A control's "clicked" notification, as the control sends it.
inline void Click(HWND dialog, int id) { SendMessageW(dialog, static_cast<UINT>(id), 0, kCodeClicked); }

}  // namespace zeltra::test
