#include <gtest/gtest.h>

#include <vector>

#include "macro/win32/keyboard_hook_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CKeyboardHook;

// A plain window that records what the hook posts to it.
class Recorder {
 public:
  Recorder() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Recorder::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZeltraHookRecorder";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, L"ZeltraHookRecorder", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Recorder() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

  struct Event {
    WPARAM key;
    std::uint32_t bits;
  };
  std::vector<Event> events;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kKeyHookMessage) {
      auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      if (self != nullptr) self->events.push_back({wParam, static_cast<std::uint32_t>(lParam)});
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_;
};

void TypeKey(WORD vk) {
  INPUT input[2]{};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = vk;
  input[1] = input[0];
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

TEST(KeyboardHook, DeliversPressAndReleaseWithIncreasingTimes) {
  Recorder recorder;
  CKeyboardHook hook;
  ASSERT_EQ(hook.StartHook(recorder.hwnd()), 1);
  TypeKey('K');
  Sleep(20);
  TypeKey(VK_F7);
  ASSERT_TRUE(PumpUntil([&] { return recorder.events.size() >= 4; }));
  ASSERT_EQ(recorder.events.size(), 4u);
  const WPARAM keys[] = {'K', 'K', VK_F7, VK_F7};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(recorder.events[i].key, keys[i]);
    EXPECT_EQ(recorder.events[i].bits >> 31, i % 2) << "press, then release";
  }
  std::uint32_t previous = recorder.events[0].bits & 0x7FFFFFFF;
  for (const auto& e : recorder.events) {
    const std::uint32_t time = e.bits & 0x7FFFFFFF;
    EXPECT_GE(time, previous);
    previous = time;
  }
  EXPECT_GE((recorder.events[2].bits & 0x7FFFFFFF) - (recorder.events[1].bits & 0x7FFFFFFF), 15u);
  hook.StopHook();
  recorder.events.clear();
  TypeKey('K');
  PumpFor(100);
  EXPECT_TRUE(recorder.events.empty());
}

TEST(KeyboardHook, StopWithoutStartIsHarmlessAndOnlyOneHookDelivers) {
  {
    CKeyboardHook never;
    EXPECT_EQ(never.StopHook(), 1);
    EXPECT_FALSE(never.IsStarted());
  }
  Recorder first;
  Recorder second;
  CKeyboardHook a;
  CKeyboardHook b;
  a.StartHook(first.hwnd());
  b.StartHook(second.hwnd());
  EXPECT_FALSE(a.IsStarted());
  EXPECT_TRUE(b.IsStarted());
  // Stopping the hook that was taken over leaves the newer one running.
  a.StopHook();
  TypeKey('Q');
  ASSERT_TRUE(PumpUntil([&] { return second.events.size() >= 2; }));
  EXPECT_TRUE(first.events.empty());
  b.StopHook();
  EXPECT_FALSE(b.IsStarted());
  {
    CKeyboardHook scoped;
    scoped.StartHook(first.hwnd());
  }  // the destructor stops it
  TypeKey('Q');
  PumpFor(100);
  EXPECT_TRUE(first.events.empty());
}

}  // namespace
}  // namespace zeltra::test
