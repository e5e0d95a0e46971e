// The real controls in a real dialog, driven by window messages: each sends
// its notifications under the right message number with the right wParam.
#include <gtest/gtest.h>

#include <functional>

#include "app/main_layout.h"
#include "macro/macro_tree_view.h"
#include "macro/win32/macro_lists_win32.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/dlg_base_win32.h"
#include "ui/win32/resource_ids.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using namespace win32;

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM code;
  POINT point{};  // code 11 only
  bool operator==(const Received& o) const {
    return message == o.message && wParam == o.wParam && code == o.code && point.x == o.point.x &&
           point.y == o.point.y;
  }
};

class ControlsDialog : public CDlgBase {
 public:
  explicit ControlsDialog(std::function<void(ControlsDialog&)> make)
      : CDlgBase(IDD_SMALL_DIALOG, nullptr), make_(std::move(make)) {
    width_ = 320;
    height_ = 220;
  }
  HWND hwnd() const { return hwnd_; }
  template <class T>
  T* Add(std::unique_ptr<T> control) {
    return AddControl(0, std::move(control));
  }
  void Send(UINT message, int x, int y, WPARAM flags = 0) {
    POINT p{x, y};
    ClientToScreen(hwnd_, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(hwnd_, message, flags, MAKELPARAM(x, y));
  }
  void Click(int x, int y) {
    Send(WM_MOUSEMOVE, x, y);
    Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Send(WM_LBUTTONUP, x, y);
  }
  std::vector<Received> received;

 protected:
  void CreateControls(const RECT&) override { make_(*this); }
  void DrawBackground(HDC dc, const RECT& client) override {
    FillSolid(dc, client, background_);
    DrawControls(dc, client);
  }
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= 1025 && message <= 3999) {
      Received r{message, wParam, lParam};
      if (lParam == kCodeRightReleased) {
        r.point = *reinterpret_cast<const POINT*>(wParam);
        r.wParam = 0;
      }
      received.push_back(r);
      return 0;
    }
    return CDlgBase::OnMessage(message, wParam, lParam);
  }

 private:
  std::function<void(ControlsDialog&)> make_;
};

class ControlWiring : public testing::Test {
 protected:
  void Open(std::function<void(ControlsDialog&)> make) {
    ResetControlSelections();
    SetCursorPos(0, 0);
    dialog_ = std::make_unique<ControlsDialog>(std::move(make));
    ASSERT_TRUE(dialog_->Create());
    SetWindowPos(dialog_->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpFor(50);
  }
  void TearDown() override {
    ReleaseCapture();
    dialog_.reset();
    ResetControlSelections();
    PumpFor(10);
  }
  std::unique_ptr<ControlsDialog> dialog_;
};

TEST_F(ControlWiring, CheckRadioAndComboClicks) {
  CCheckButton* check = nullptr;
  Open([&](ControlsDialog& d) {
    check = d.Add(std::make_unique<CCheckButton>(d.hwnd(), 2005, RECT{10, 10, 60, 30}, u"check"));
    d.Add(std::make_unique<CRadioButton>(d.hwnd(), 3031, RECT{70, 10, 100, 30}, u""))
        ->SetRadioBit(FindControlSpec(3031)->radio);
    d.Add(std::make_unique<CComboButton>(d.hwnd(), 2013, RECT{110, 10, 200, 30}, u"combo", 0x48E));
  });
  SetRadioSelectionWord(0x10000 | 0x800);
  dialog_->Click(20, 20);
  EXPECT_TRUE(check->checked());
  dialog_->Click(80, 20);
  EXPECT_EQ(RadioSelectionWord(), 0x20000u | 0x800u);
  dialog_->Click(150, 20);
  dialog_->Send(WM_MOUSEMOVE, 250, 100);
  EXPECT_EQ(dialog_->received,
            (std::vector<Received>{{2005, 0, kCodePressed}, {2005, 0, kCodeClicked}, {3031, 0, kCodePressed},
                                   {3031, 0, kCodeClicked}, {0x48E, 2013, kCodeEntered}, {2013, 0, kCodePressed},
                                   {0x48E, 2013, kCodeClicked}, {0x48E, 2013, kCodeLeft}}));
}

TEST_F(ControlWiring, SliderDragReportsPositionsThenTheClick) {
  CSliderControl* slider = nullptr;
  Open([&](ControlsDialog& d) {
    slider = d.Add(std::make_unique<CSliderControl>(d.hwnd(), 3200, RECT{10, 50, 220, 64}, u"", 5, 10, 10));
  });
  dialog_->Send(WM_MOUSEMOVE, 18, 57);
  dialog_->Send(WM_LBUTTONDOWN, 18, 57, MK_LBUTTON);
  dialog_->Send(WM_MOUSEMOVE, 120, 57, MK_LBUTTON);
  EXPECT_EQ(slider->FollowDrag(400), 1);  // the owner's moves, beyond the slider
  dialog_->Send(WM_LBUTTONUP, 160, 57);
  EXPECT_EQ(dialog_->received, (std::vector<Received>{{3200, 0, kCodePressed}, {3200, 2, kCodeValueChanged},
                                                      {3200, 4, kCodeValueChanged}, {3200, 0, kCodeClicked}}));
  EXPECT_EQ(slider->value(), 3);
}

TEST_F(ControlWiring, ScrollBarPartsAndListButtons) {
  MacroLibrary library;
  library.PutFolderItem(u"folder", MacroLocation::At(0), false);
  library.PutMacroItem(u"macro", MacroLocation::At(1), std::make_unique<Macro>(u"macro"));
  CVScrollBar* bar = nullptr;
  Open([&](ControlsDialog& d) {
    bar = d.Add(std::make_unique<CVScrollBar>(d.hwnd(), 2021, RECT{250, 10, 268, 190}, u""));
    d.Add(std::make_unique<CEditShowList>(d.hwnd(), kTreeListId, RECT{10, 10, 200, 190}, u"", &library));
  });
  ASSERT_EQ(bar->model().trackTop(), 28);  // arrows 18 high: track 28..171
  bar->SetScrollInfo(5, 10, 20);           // thumb 64..135
  for (int y : {15, 185, 40, 100, 160}) dialog_->Click(255, y);
  std::vector<WPARAM> parts;
  for (const auto& r : dialog_->received) {
    if (r.code == kCodePressed) parts.push_back(r.wParam);
  }
  EXPECT_EQ(parts, (std::vector<WPARAM>{6, 7, 8, 0, 9}));

  dialog_->received.clear();
  dialog_->Send(WM_MOUSEMOVE, 50, 15);
  dialog_->Send(WM_LBUTTONDBLCLK, 50, 15, MK_LBUTTON);
  EXPECT_TRUE(library.ItemAt(MacroLocation::At(0))->IsOpen());
  dialog_->Send(WM_MOUSEMOVE, 60, 35);
  dialog_->Send(WM_RBUTTONUP, 60, 35);
  EXPECT_EQ(dialog_->received,
            (std::vector<Received>{{2015, 0, kCodeDoubleClick}, {2015, 0, kCodeRightReleased, POINT{60, 35}}}));
  EXPECT_EQ(library.selectedLocation, MacroLocation::At(1));
}

}  // namespace
}  // namespace zeltra::test
