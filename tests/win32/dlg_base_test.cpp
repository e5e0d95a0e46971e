#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "test_dialog.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/win32/attention_dlg_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CControlBase;

// Drives a dialog as the mouse would: the real cursor is put on the point
// (hover and leave tracking look at it), then the message is sent.
class Mouse {
 public:
  explicit Mouse(HWND hwnd) : hwnd_(hwnd) {}
  void Move(int x, int y, WPARAM flags = 0) { Send(WM_MOUSEMOVE, x, y, flags); }
  void Press(int x, int y) { Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
  void Release(int x, int y) { Send(WM_LBUTTONUP, x, y, 0); }
  void DoubleClick(int x, int y) { Send(WM_LBUTTONDBLCLK, x, y, MK_LBUTTON); }
  void RightRelease(int x, int y) { Send(WM_RBUTTONUP, x, y, 0); }

 private:
  void Send(UINT message, int x, int y, WPARAM flags) {
    POINT p{x, y};
    ClientToScreen(hwnd_, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(hwnd_, message, flags, MAKELPARAM(x, y));
  }
  HWND hwnd_;
};

class DialogRouting : public testing::Test {
 protected:
  void Open(std::vector<ControlPlace> places) {
    dialog_ = std::make_unique<TestDialog>(std::move(places));
    ASSERT_TRUE(dialog_->Open());
    mouse_ = std::make_unique<Mouse>(dialog_->hwnd());
    PumpFor(50);
  }
  void TearDown() override {
    if (dialog_ && dialog_->hwnd() != nullptr) ReleaseCapture();
    dialog_.reset();
    PumpFor(10);
  }
  std::vector<LPARAM> Codes(int id) const {
    std::vector<LPARAM> out;
    for (const auto& n : dialog_->notifications) {
      if (n.message == static_cast<UINT>(id)) out.push_back(n.code);
    }
    return out;
  }

  std::unique_ptr<TestDialog> dialog_;
  std::unique_ptr<Mouse> mouse_;
};

TEST_F(DialogRouting, PressOnTheBackgroundDragsTheWindowAndOnAControlDoesNot) {
  Open({{2101, {20, 20, 80, 50}}});
  mouse_->Move(200, 150);
  mouse_->Press(200, 150);
  MSG drag{};
  ASSERT_EQ(TakeMessages(dialog_->hwnd(), WM_NCLBUTTONDOWN, &drag), 1);
  EXPECT_EQ(drag.wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(drag.lParam, MAKELPARAM(200, 150));
  EXPECT_EQ(dialog_->pressedRect().left, -1);
  mouse_->Release(200, 150);

  mouse_->Move(30, 30);
  mouse_->Press(30, 30);
  EXPECT_EQ(TakeMessages(dialog_->hwnd(), WM_NCLBUTTONDOWN), 0);
  EXPECT_EQ(GetCapture(), dialog_->hwnd());
  EXPECT_EQ(dialog_->pressedRect().left, 20);
  mouse_->Release(30, 30);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Codes(2101), (std::vector<LPARAM>{kCodePressed, kCodeClicked}));
  // The click passes the button's own id.
  EXPECT_EQ(dialog_->notifications.back().wParam, 2101u);
}

TEST_F(DialogRouting, ReleaseOutsideThePressedControlClicksNothing) {
  Open({{2101, {20, 20, 80, 50}}, {2102, {100, 20, 160, 50}}});
  mouse_->Move(30, 30);
  mouse_->Press(30, 30);
  // Dragged over another control with the button held: nothing hovers it.
  mouse_->Move(120, 30, MK_LBUTTON);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(0));
  EXPECT_EQ(dialog_->button(1)->state(), 0);
  EXPECT_EQ(dialog_->button(0)->state(), 2);
  mouse_->Release(120, 30);
  EXPECT_EQ(Codes(2101), (std::vector<LPARAM>{kCodePressed}));
  EXPECT_TRUE(Codes(2102).empty());
  EXPECT_EQ(dialog_->button(0)->state(), 0);
  EXPECT_EQ(dialog_->hoveredControl(), nullptr);
  EXPECT_EQ(dialog_->lastMousePosition().x, -1);
  EXPECT_EQ(dialog_->lastMousePosition().y, -1);
  // The next move hovers normally again.
  mouse_->Move(121, 30);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(1));
}

TEST_F(DialogRouting, LaterControlWinsWhereControlsOverlap) {
  // The overlapping control comes in a later group, though created first.
  Open({{2102, {50, 20, 120, 60}, 3}, {2101, {20, 20, 80, 60}, 0}, {2103, {200, 100, 250, 150}, 6}});
  mouse_->Move(10, 10);
  mouse_->Move(60, 40);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(0));
  // Both look hovered, but only the hovered one takes the press.
  mouse_->Press(60, 40);
  mouse_->Release(60, 40);
  EXPECT_EQ(Codes(2102), (std::vector<LPARAM>{kCodePressed, kCodeClicked}));
  EXPECT_TRUE(Codes(2101).empty());
}

TEST_F(DialogRouting, HiddenControlsTakeNoPart) {
  Open({{2101, {20, 20, 80, 60}}, {2102, {20, 20, 80, 60}}});
  mouse_->Move(40, 40);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(1));
  // Hidden while hovered: it loses the mouse at once.
  dialog_->button(1)->SetShown(0);
  mouse_->Move(41, 40);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(0));
  dialog_->button(0)->SetVisible(0);
  mouse_->Move(150, 150);
  mouse_->Move(40, 40);
  EXPECT_EQ(dialog_->hoveredControl(), nullptr);
  mouse_->Press(40, 40);
  EXPECT_EQ(TakeMessages(dialog_->hwnd(), WM_NCLBUTTONDOWN), 1);
  mouse_->Release(40, 40);
  EXPECT_TRUE(dialog_->notifications.empty());
}

TEST_F(DialogRouting, LeavingTheWindowDropsTheHover) {
  Open({{2101, {20, 20, 80, 60}}});
  mouse_->Move(40, 40);
  EXPECT_EQ(dialog_->button(0)->state(), 1);
  SendMessageW(dialog_->hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(dialog_->hoveredControl(), nullptr);
  EXPECT_EQ(dialog_->button(0)->state(), 0);
  EXPECT_EQ(dialog_->lastMousePosition().x, -1);
}

// Once the hover came only the leave is tracked, and no longer at the
// hover's pace (Wine polls the pointer at it); leaving still drops the hover.
// Over no control nothing is tracked until the next move.
TEST_F(DialogRouting, AfterTheHoverOnlyTheLeaveIsTracked) {
  Open({{2101, {20, 20, 80, 60}}});
  auto tracked = [] {
    TRACKMOUSEEVENT query{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    return query;
  };
  mouse_->Move(40, 40);
  EXPECT_EQ(tracked().dwFlags & TME_LEAVE, static_cast<DWORD>(TME_LEAVE));
  SendMessageW(dialog_->hwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(40, 40));
  const TRACKMOUSEEVENT after = tracked();
  EXPECT_EQ(after.hwndTrack, dialog_->hwnd());
  EXPECT_EQ(after.dwFlags, static_cast<DWORD>(TME_LEAVE));
  EXPECT_GT(after.dwHoverTime, 1u);
  EXPECT_EQ(dialog_->button(0)->state(), 1) << "the hover look stays";
  SendMessageW(dialog_->hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(dialog_->button(0)->state(), 0);

  mouse_->Move(100, 90);
  EXPECT_EQ(tracked().hwndTrack, dialog_->hwnd());
  SendMessageW(dialog_->hwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(100, 90));
  EXPECT_EQ(tracked().dwFlags & (TME_HOVER | TME_LEAVE), 0u);
  mouse_->Move(40, 40);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(0)) << "the next move tracks and hit-tests again";
  EXPECT_EQ(tracked().dwFlags & (TME_HOVER | TME_LEAVE), static_cast<DWORD>(TME_HOVER | TME_LEAVE));
}

struct InvalidationCase {
  int id;
  bool wholeWindow;
};

class HeaderInvalidation : public DialogRouting, public testing::WithParamInterface<InvalidationCase> {};

TEST_P(HeaderInvalidation, ClickRepaintsWindowOrControl) {
  const RECT control{20, 20, 80, 60};
  Open({{GetParam().id, control}});
  // As the main window's table says.
  dialog_->clickRepaintsWindow = [](int id) {
    const ControlSpec* row = FindControlSpec(id);
    return row != nullptr && row->repaintsWindow;
  };
  mouse_->Move(40, 40);
  mouse_->Press(40, 40);
  ValidateRect(dialog_->hwnd(), nullptr);
  mouse_->Release(40, 40);
  RECT dirty{};
  ASSERT_TRUE(GetUpdateRect(dialog_->hwnd(), &dirty, FALSE));
  RECT client{};
  GetClientRect(dialog_->hwnd(), &client);
  const RECT& expected = GetParam().wholeWindow ? client : control;
  EXPECT_EQ(dirty.left, expected.left);
  EXPECT_EQ(dirty.top, expected.top);
  EXPECT_EQ(dirty.right, expected.right);
  EXPECT_EQ(dirty.bottom, expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Ids, HeaderInvalidation,
                         testing::Values(InvalidationCase{3001, true}, InvalidationCase{3004, true},
                                         InvalidationCase{3007, true}, InvalidationCase{3008, true},
                                         InvalidationCase{3005, false}, InvalidationCase{3011, false},
                                         InvalidationCase{2045, false}, InvalidationCase{3003, true},
                                         InvalidationCase{3010, false}));

TEST_F(DialogRouting, DoubleClickAndRightButtonReachTheHoveredControl) {
  Open({{2101, {20, 20, 80, 60}, 0}, {2102, {120, 20, 180, 60}, 1}});
  mouse_->Move(40, 40);
  mouse_->DoubleClick(40, 40);
  EXPECT_EQ(dialog_->button(0)->doubleClicks, 1);
  EXPECT_EQ(dialog_->pressedRect().left, 20);
  mouse_->RightRelease(40, 40);
  EXPECT_EQ(dialog_->button(0)->rightReleases, 1);
  // Right button: only the first group is looked at.
  mouse_->Move(150, 40);
  mouse_->RightRelease(150, 40);
  EXPECT_EQ(dialog_->button(1)->rightReleases, 0);
  // Over the background nothing is called.
  mouse_->Move(250, 150);
  mouse_->DoubleClick(250, 150);
  EXPECT_EQ(dialog_->button(0)->doubleClicks + dialog_->button(1)->doubleClicks, 1);
}

TEST_F(DialogRouting, LosingTheCaptureEndsThePressWithoutAClick) {
  Open({{2101, {20, 20, 80, 60}}});
  mouse_->Move(40, 40);
  mouse_->Press(40, 40);
  ASSERT_TRUE(dialog_->buttonHeld());
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);
  EXPECT_FALSE(dialog_->buttonHeld());
  EXPECT_EQ(dialog_->button(0)->state(), 0);
  ReleaseCapture();
  DestroyWindow(other);
  mouse_->Release(40, 40);
  EXPECT_EQ(Codes(2101), (std::vector<LPARAM>{kCodePressed}));
  // And the next move hovers again.
  mouse_->Move(41, 40);
  EXPECT_EQ(dialog_->hoveredControl(), dialog_->button(0));
}

TEST(DialogPaint, MinimisedPaintsOneWhitePixelOtherwiseTheWholeClient) {
  TestDialog dialog({});
  ASSERT_TRUE(dialog.Open());
  PumpFor(20);
  const int painted = dialog.paints;
  Canvas normal(300, 200, RGB(0, 0, 0));
  dialog.PaintClient(normal.dc());
  EXPECT_EQ(normal.Pixel(150, 100), RGB(186, 226, 239));  // the default background
  EXPECT_EQ(dialog.paints, painted + 1);

  ShowWindow(dialog.hwnd(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(dialog.hwnd()));
  Canvas minimised(300, 200, RGB(0, 0, 0));
  dialog.PaintClient(minimised.dc());
  EXPECT_EQ(minimised.Pixel(10, 10), RGB(255, 255, 255));
  EXPECT_EQ(minimised.Pixel(11, 10), RGB(0, 0, 0));
  EXPECT_EQ(minimised.Pixel(150, 100), RGB(0, 0, 0));
  EXPECT_EQ(dialog.paints, painted + 1);
}

TEST(DialogPaint, APartOfTheWindowIsCopiedAloneAndAfterASecondPaintTheWholeIsRight) {
  TestDialog dialog({});
  ASSERT_TRUE(dialog.Open());
  PumpFor(20);
  Canvas canvas(300, 200, RGB(0, 0, 0));
  const RECT part{100, 50, 140, 80};
  dialog.PaintClient(canvas.dc(), &part);
  EXPECT_EQ(canvas.Pixel(120, 60), RGB(186, 226, 239));
  EXPECT_EQ(canvas.Pixel(99, 60), RGB(0, 0, 0)) << "outside the part nothing is copied";
  EXPECT_EQ(canvas.Pixel(140, 60), RGB(0, 0, 0));
  // The kept buffer is whole again after a full paint, and a part outside
  // the client copies nothing.
  const RECT outside{400, 300, 450, 350};
  dialog.PaintClient(canvas.dc(), &outside);
  EXPECT_EQ(canvas.Pixel(20, 20), RGB(0, 0, 0));
  dialog.PaintClient(canvas.dc());
  EXPECT_EQ(canvas.Pixel(20, 20), RGB(186, 226, 239));
}

TEST(DialogBase, AnswersEraseBackgroundWithoutErasing) {
  TestDialog dialog({});
  ASSERT_TRUE(dialog.Open());
  Canvas canvas(300, 200, RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), TRUE);
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(1, 2, 3));
}

TEST(DialogBase, FindsControlsAcrossGroupsInOrder) {
  TestDialog dialog({{2101, {0, 0, 5, 5}, 2}, {2102, {0, 0, 5, 5}, 1}, {2102, {9, 9, 15, 15}, 5}});
  ASSERT_TRUE(dialog.Open());
  EXPECT_EQ(dialog.FindControl(2101), dialog.button(0));
  EXPECT_EQ(dialog.FindControl(2102), dialog.button(1));  // group 1 before group 5
  EXPECT_EQ(dialog.FindControl(2999), nullptr);
}

TEST(DialogBase, SizesItselfAndRunsModallyUntilEnded) {
  // Closed from inside its own loop.
  struct Ender : TestDialog {
    using TestDialog::TestDialog;
    BOOL OnInitDialog() override {
      TestDialog::OnInitDialog();
      RECT window{};
      GetWindowRect(hwnd_, &window);
      sizeSeen = {window.right - window.left, window.bottom - window.top};
      PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      return TRUE;
    }
    SIZE sizeSeen{};
  } ender(std::vector<ControlPlace>{}, 321, 123);
  EXPECT_EQ(ender.DoModal(), IDCANCEL);
  EXPECT_EQ(ender.sizeSeen.cx, 321);
  EXPECT_EQ(ender.sizeSeen.cy, 123);
  EXPECT_EQ(ender.hwnd(), nullptr);
}

TEST(DialogBase, WmQuitEndsEveryNestedLoopAndIsNotLeftBehind) {
  struct Outer : TestDialog {
    using TestDialog::TestDialog;
    BOOL OnInitDialog() override {
      TestDialog::OnInitDialog();
      PostMessageW(hwnd_, WM_APP, 0, 0);
      return TRUE;
    }
    win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_APP) {
        struct Inner : TestDialog {
          using TestDialog::TestDialog;
          BOOL OnInitDialog() override {
            TestDialog::OnInitDialog();
            PostQuitMessage(7);
            return TRUE;
          }
        } inner(std::vector<ControlPlace>{});
        innerResult = inner.DoModal();
        return 0;
      }
      return TestDialog::OnMessage(message, wParam, lParam);
    }
    INT_PTR innerResult = 0;
  } outer(std::vector<ControlPlace>{});
  EXPECT_EQ(outer.DoModal(), IDCANCEL);
  EXPECT_EQ(outer.innerResult, IDCANCEL);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(OpenDialogTable, SmallDialogsRegisterInOrderAndLeaveMovingLaterOnesUp) {
  OpenDialogs().Clear();
  auto a = std::make_unique<win32::CAttentionDlg>(u"", u"a", nullptr);
  auto b = std::make_unique<win32::CAttentionDlg>(u"", u"b", nullptr);
  auto c = std::make_unique<win32::CAttentionDlg>(u"", u"c", nullptr);
  ASSERT_TRUE(a->Create());
  ASSERT_TRUE(b->Create());
  ASSERT_TRUE(c->Create());
  auto handle = [](const win32::CDialog& d) { return reinterpret_cast<OpenDialogTable::Handle>(d.GetSafeHwnd()); };
  EXPECT_EQ(OpenDialogs().At(0), handle(*a));
  EXPECT_EQ(OpenDialogs().At(1), handle(*b));
  EXPECT_EQ(OpenDialogs().At(2), handle(*c));
  b.reset();
  EXPECT_EQ(OpenDialogs().At(0), handle(*a));
  EXPECT_EQ(OpenDialogs().At(1), handle(*c));
  EXPECT_EQ(OpenDialogs().At(2), 0u);
  // Closed through its window: it leaves the table at once.
  SendMessageW(a->GetSafeHwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(OpenDialogs().At(0), handle(*c));
  EXPECT_EQ(OpenDialogs().Count(), 1);
  c.reset();
  a.reset();
  EXPECT_EQ(OpenDialogs().Count(), 0);
}

TEST(AttentionDialog, OkAndCloseEndTheModalLoop) {
  struct Case {
    int id;
    INT_PTR result;
  };
  for (Case c : {Case{kIdOk, IDOK}, Case{kIdClose, IDCANCEL}}) {
    struct Auto : win32::CAttentionDlg {
      Auto(int id) : CAttentionDlg(u"Title", u"Message", nullptr), id_(id) {}
      BOOL OnInitDialog() override {
        CAttentionDlg::OnInitDialog();
        PostMessageW(hwnd_, static_cast<UINT>(id_), 0, kCodeClicked);
        return TRUE;
      }
      int id_;
    } dialog(c.id);
    EXPECT_EQ(dialog.DoModal(), c.result) << c.id;
  }
}

TEST(AttentionDialog, ShowsCallersTitleAndMessage) {
  win32::CAttentionDlg dialog(u"Attention!", u"No mouse found", nullptr);
  ASSERT_TRUE(dialog.CreateTopmost());
  auto* title = dynamic_cast<win32::CStaticText*>(dialog.FindControl(2012));
  auto* text = dynamic_cast<win32::CStaticText*>(dialog.FindControl(2013));
  ASSERT_NE(title, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(title->caption(), u"Attention!");
  EXPECT_EQ(text->caption(), u"No mouse found");
  EXPECT_TRUE(GetWindowLongW(dialog.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT window{};
  GetWindowRect(dialog.GetSafeHwnd(), &window);
  EXPECT_EQ(window.right - window.left, 319);
  EXPECT_EQ(window.bottom - window.top, 102);
  // A modeless dialog destroys itself when closed.
  SendMessageW(dialog.GetSafeHwnd(), kIdOk, 0, kCodeClicked);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

}  // namespace
}  // namespace zeltra::test
