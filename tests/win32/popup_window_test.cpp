#include <gtest/gtest.h>

#include <optional>

#include "test_dialog.h"
#include "macro/win32/popup_menus_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CWndPopup;

constexpr UINT kResult = 0x414;
constexpr std::intptr_t kOwnerValue = 2016;
constexpr int kSlot = 4;

struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::optional<PopupResult> result;  // copied while the message is handled
};

// A dialog that keeps every popup message it gets.
class PopupOwner : public TestDialog {
 public:
  PopupOwner() : TestDialog({}, 200, 120) {}
  std::vector<Sent> sent;
  int Count(UINT message) const {
    int n = 0;
    for (const Sent& s : sent) n += s.message == message ? 1 : 0;
    return n;
  }

 protected:
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= 1025 && message <= 1170) {
      Sent s{message, wParam, lParam, std::nullopt};
      if (message == kResult && wParam != 0) s.result = *win32::PopupResultOf(lParam);
      sent.push_back(s);
      return 0;
    }
    return TestDialog::OnMessage(message, wParam, lParam);
  }
};

// The multimedia popup, telling when its object is gone.
class TrackedPopup : public win32::CMultimediaPopup {
 public:
  explicit TrackedPopup(bool* gone) : gone_(gone) {}
  ~TrackedPopup() override { *gone_ = true; }

 private:
  bool* gone_;
};

class PopupWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner_.Open());
    popup_ =
        win32::OpenPopup(owner_, kSlot, std::make_unique<TrackedPopup>(&gone_), POINT{300, 200}, kResult, kOwnerValue);
    ASSERT_NE(popup_, nullptr);
    hwnd_ = popup_->GetSafeHwnd();
    PumpFor(30);
  }
  void TearDown() override {
    owner_.ClosePopup(kSlot);
    PumpUntil([&] { return gone_; });
  }
  // The centre of an item, in client coordinates, with the real cursor on it.
  POINT On(int index) {
    const RECT r = popup_->ItemRect(index);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT screen = p;
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    return p;
  }
  void Send(UINT message, POINT p, WPARAM flags = 0) { SendMessageW(hwnd_, message, flags, MAKELPARAM(p.x, p.y)); }

  PopupOwner owner_;
  bool gone_ = false;
  CWndPopup* popup_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(PopupWindow, IsATopmostToolWindowOfItsItemsSizeAtTheOwnersPoint) {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  EXPECT_EQ(window.left, 300);
  EXPECT_EQ(window.top, 200);
  EXPECT_EQ(window.right - window.left, 162);
  EXPECT_EQ(window.bottom - window.top, 1 + 10 * 22 + 1);
  RECT client{};
  GetClientRect(hwnd_, &client);
  EXPECT_EQ(client.right, 162) << "the client area is the whole window";
  const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetParent(hwnd_), owner_.hwnd());
  EXPECT_EQ(owner_.Popup(kSlot), popup_);
}

TEST_F(PopupWindow, ChoosesOnlyTheItemPressedAndReleasedOn) {
  Send(WM_MOUSEMOVE, On(4));
  Send(WM_LBUTTONDOWN, On(4), MK_LBUTTON);
  EXPECT_EQ(GetCapture(), hwnd_);
  Send(WM_LBUTTONUP, On(4));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(owner_.Count(kResult), 1);
  const Sent& chosen = owner_.sent.back();
  EXPECT_EQ(chosen.wParam, static_cast<WPARAM>(kOwnerValue));
  ASSERT_TRUE(chosen.result);
  EXPECT_EQ(CodeOf(*chosen.result), (ButtonFunctionCode{0x80, 0xCD, 0x00}));

  // Pressed on one item, moved with the button held to another, released there.
  Send(WM_MOUSEMOVE, On(1));
  Send(WM_LBUTTONDOWN, On(1), MK_LBUTTON);
  Send(WM_MOUSEMOVE, On(2), MK_LBUTTON);
  PumpFor(120);  // the hover notification may come meanwhile
  Send(WM_LBUTTONUP, On(2));
  EXPECT_EQ(owner_.Count(kResult), 1) << "nothing chosen";
  EXPECT_EQ(popup_->logic().model().hovered(), -1);
  EXPECT_TRUE(IsWindow(hwnd_)) << "the popup does not close itself";
}

TEST_F(PopupWindow, LosingActivationSendsOneDismissalOfItsKind) {
  ASSERT_EQ(GetActiveWindow(), hwnd_);
  HWND other =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  PumpFor(30);
  SetActiveWindow(owner_.hwnd());
  PumpFor(30);
  DestroyWindow(other);
  ASSERT_EQ(owner_.Count(1045), 1);
  for (const Sent& s : owner_.sent) {
    if (s.message != 1045) continue;
    EXPECT_EQ(s.wParam, static_cast<WPARAM>(kOwnerValue));
    EXPECT_EQ(s.lParam, 3);
  }
  EXPECT_TRUE(IsWindowVisible(hwnd_)) << "it stays until its owner closes it";
}

TEST_F(PopupWindow, ClosingReportsThenTheObjectGoesWithoutADismissal) {
  ASSERT_EQ(GetActiveWindow(), hwnd_);
  // Another popup in the same slot: the first is asked to close.
  bool secondGone = false;
  CWndPopup* second = win32::OpenPopup(owner_, kSlot, std::make_unique<TrackedPopup>(&secondGone), POINT{500, 200},
                                       kResult, kOwnerValue);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(gone_) << "closing is asked for";
  ASSERT_TRUE(PumpUntil([&] { return gone_; }));
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_EQ(owner_.Popup(kSlot), second);
  ASSERT_EQ(owner_.Count(1025), 1);
  EXPECT_EQ(owner_.sent.back().wParam, 0u);
  EXPECT_EQ(owner_.sent.back().lParam, 0);
  owner_.ClosePopup(kSlot);
  ASSERT_TRUE(PumpUntil([&] { return secondGone; }));
  EXPECT_EQ(owner_.Count(1025), 2);
  // Both lost activation while being closed: that is no dismissal (the
  // owner would close the popup that took the first one's place).
  EXPECT_EQ(owner_.Count(1045), 0);
}

}  // namespace
}  // namespace zeltra::test
