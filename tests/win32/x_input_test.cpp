// Real X input through Wine: run by x_input_test.sh, which answers the
// handshake with xdotool. Disabled in the ordinary run of the suite.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "macro/win32/keyboard_hook_win32.h"
#include "test_dialog.h"
#include "ui/control_codes.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

class HookedDialog : public TestDialog {
 public:
  using TestDialog::TestDialog;
  std::vector<Notification> keys;

 protected:
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kKeyHookMessage) {
      keys.push_back({message, wParam, lParam});
      return 0;
    }
    return TestDialog::OnMessage(message, wParam, lParam);
  }
};

// Tells the script where the window is: its X window and its client origin.
void Handshake(HWND hwnd) {
  const char* path = std::getenv("ZELTRA_X_HANDSHAKE");
  ASSERT_NE(path, nullptr);
  const auto xid = reinterpret_cast<std::uintptr_t>(GetPropW(hwnd, L"__wine_x11_whole_window"));
  ASSERT_NE(xid, 0u);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const std::string temp = std::string(path) + ".part";
  {
    std::ofstream out(temp);
    out << xid << ' ' << origin.x << ' ' << origin.y << '\n';
  }
  ASSERT_EQ(std::rename(temp.c_str(), path), 0);
}

TEST(DISABLED_XInput, KeysClicksAndDragsFromTheXServer) {
  HookedDialog dialog({{2101, {20, 20, 80, 50}}}, 300, 200);
  ASSERT_TRUE(dialog.Open());
  win32::CKeyboardHook hook;
  ASSERT_EQ(hook.StartHook(dialog.hwnd()), 1);
  RECT before{};
  GetWindowRect(dialog.hwnd(), &before);
  Handshake(dialog.hwnd());

  // The script types "k" and F7, clicks the button at (50, 35), then drags
  // the background from (200, 150) by (40, 25).
  ASSERT_TRUE(PumpUntil([&] { return dialog.keys.size() >= 4; }, 30000)) << dialog.keys.size() << " key events";
  const WPARAM expected[] = {'K', 'K', VK_F7, VK_F7};
  std::uint32_t previous = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(dialog.keys[i].wParam, expected[i]);
    const auto bits = static_cast<std::uint32_t>(dialog.keys[i].code);
    EXPECT_EQ(bits >> 31, i % 2);
    EXPECT_GE(bits & 0x7FFFFFFF, previous);
    previous = bits & 0x7FFFFFFF;
  }
  hook.StopHook();

  auto codes = [&] {
    std::vector<LPARAM> out;
    for (const auto& n : dialog.notifications) out.push_back(n.code);
    return out;
  };
  EXPECT_TRUE(PumpUntil([&] { return codes().size() >= 2; }, 15000));
  EXPECT_EQ(codes(), (std::vector<LPARAM>{kCodePressed, kCodeClicked}));

  RECT after{};
  EXPECT_TRUE(PumpUntil(
      [&] {
        GetWindowRect(dialog.hwnd(), &after);
        return after.left == before.left + 40 && after.top == before.top + 25;
      },
      15000))
      << "window at " << after.left << "," << after.top << ", was " << before.left << "," << before.top;
}

}  // namespace
}  // namespace zeltra::test
