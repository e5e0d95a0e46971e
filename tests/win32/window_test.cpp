#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "test_dialog.h"
#include "ui/win32/window_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CWnd;
using win32::MessageResult;

class Probe : public CWnd {
 public:
  explicit Probe(bool* gone) : gone_(gone) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"ZeltraProbe";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registered = RegisterWindowClass(wc) && RegisterWindowClass(wc);  // twice is fine
  }
  bool Make() { return CreateEx(0, L"ZeltraProbe", L"", WS_POPUP, RECT{0, 0, 50, 40}, nullptr); }

  bool registered = false;
  bool sawCreate = false;
  int handled = 0;

 protected:
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_CREATE) sawCreate = GetSafeHwnd() != nullptr;
    if (message == WM_APP) {
      ++handled;
      return static_cast<LRESULT>(wParam * 2);
    }
    if (message == WM_APP + 1) throw std::runtime_error("handler failed");
    return std::nullopt;
  }
  void PostNcDestroy() override {
    *gone_ = true;
    delete this;  // as popups do
  }

 private:
  bool* gone_;
};

TEST(WindowLayer, TiesTheObjectFromCreationAndLetsItDeleteItselfAtTheEnd) {
  bool gone = false;
  auto* probe = new Probe(&gone);
  ASSERT_TRUE(probe->registered);
  ASSERT_TRUE(probe->Make());
  HWND hwnd = probe->GetSafeHwnd();
  EXPECT_TRUE(probe->sawCreate) << "the object is known from WM_NCCREATE on";
  EXPECT_EQ(CWnd::FromHandle(hwnd), probe);
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 21, 0), 42);
  // Unhandled messages get the default handling.
  EXPECT_EQ(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 0);
  // A handler's exception does not cross the window procedure.
  EXPECT_NO_THROW(SendMessageW(hwnd, WM_APP + 1, 0, 0));
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 1, 0), 2);
  DestroyWindow(hwnd);
  EXPECT_TRUE(gone);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST(WindowLayer, WorkerThreadsRunAtTheirPriorityAndSwallowExceptions) {
  std::atomic<int> priority{-100};
  std::atomic<bool> done{false};
  ASSERT_TRUE(win32::StartWorkerThread(
      [&] {
        priority = GetThreadPriority(GetCurrentThread());
        done = true;
      },
      THREAD_PRIORITY_ABOVE_NORMAL));
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  EXPECT_EQ(priority.load(), THREAD_PRIORITY_ABOVE_NORMAL);

  std::atomic<bool> thrown{false};
  ASSERT_TRUE(win32::StartWorkerThread(
      [&] {
        thrown = true;
        throw std::runtime_error("ends only this thread");
      },
      THREAD_PRIORITY_NORMAL));
  ASSERT_TRUE(PumpUntil([&] { return thrown.load(); }));
  PumpFor(50);  // the process is still here
}

TEST(PopupSlots, CloseAskTheLivePopupAndForgetAGoneOne) {
  TestDialog dialog({});
  ASSERT_TRUE(dialog.Open());
  bool firstGone = false;
  bool secondGone = false;
  auto* first = new Probe(&firstGone);
  auto* second = new Probe(&secondGone);
  ASSERT_TRUE(first->Make());
  ASSERT_TRUE(second->Make());
  dialog.SetPopup(3, first);
  dialog.SetPopup(10, second);
  EXPECT_EQ(dialog.Popup(3), first);
  EXPECT_EQ(dialog.Popup(10), second);
  EXPECT_EQ(dialog.Popup(11), nullptr);  // eleven slots, 0 to 10

  dialog.ClosePopup(3);
  EXPECT_EQ(dialog.Popup(3), nullptr);
  EXPECT_FALSE(firstGone) << "closing is asked for, not forced";
  EXPECT_TRUE(PumpUntil([&] { return firstGone; }));

  // A popup that went by itself (it deletes itself) only leaves its slot.
  DestroyWindow(second->GetSafeHwnd());
  EXPECT_TRUE(secondGone);
  EXPECT_EQ(dialog.Popup(10), nullptr);
  dialog.ClosePopup(10);
  dialog.ClosePopup(-1);
}

}  // namespace
}  // namespace zeltra::test
