// The assignment unit in a small window of six button combos: the menus
// open where they belong, hovering opens and closes the submenus, and every
// way of choosing stores the function with the left-click rule.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/win32/assignment_unit_win32.h"
#include "macro/macro_library.h"
#include "macro/win32/fire_key_dlg_win32.h"
#include "macro/win32/macro_select_dlg_win32.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/popup_classes_win32.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CWndPopup;

// A window with the six button combos that hands the unit its messages.
class ComboWindow : public win32::CDlgBase, public win32::AssignmentWindow {
 public:
  ComboWindow() : CDlgBase(IDD_SMALL_DIALOG, nullptr), unit(*this) {
    width_ = 400;
    height_ = 260;
    registersOpenDialog_ = false;  // the main window is no small dialog
  }
  bool Open() {
    SetCursorPos(0, 0);
    if (!Create()) return false;
    SetWindowPos(hwnd_, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return true;
  }
  win32::CComboButton* combo(int id) { return dynamic_cast<win32::CComboButton*>(FindControl(id)); }

  CDlgBase& Dialog() override { return *this; }
  ProfileRecord& AssignedProfile() override { return profile; }
  MacroLibrary& AssignedLibrary() override { return library; }
  void HighlightPictureButton(int button) override { highlight = button; }
  void ApplyChangedButtons() override { ++applies; }

  win32::AssignmentUnit unit;
  ProfileRecord profile;
  MacroLibrary library;
  int highlight = -1;
  int applies = 0;

 protected:
  void CreateControls(const RECT&) override {
    for (int i = 0; i < 6; ++i) {
      const RECT r{20, 20 + 36 * i, 170, 42 + 36 * i};
      AddControl(0, std::make_unique<win32::CComboButton>(hwnd_, 2013 + i, r, u"", kButtonComboMessage));
    }
  }
  void DrawBackground(HDC dc, const RECT& client) override {
    win32::FillSolid(dc, client, background_);
    DrawControls(dc, client);
  }
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (message == WM_TIMER && unit.OnTimer(wParam)) return 0;
    if (unit.OnMessage(message, wParam, lParam, result)) return result;
    return CDlgBase::OnMessage(message, wParam, lParam);
  }
};

POINT ScreenCentre(const CWndPopup& popup, int index, POINT* client = nullptr) {
  const RECT r = popup.ItemRect(index);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (client != nullptr) *client = p;
  ClientToScreen(popup.GetSafeHwnd(), &p);
  return p;
}
// The pointer onto entry `index` (0-based) of a popup.
void HoverItem(const CWndPopup& popup, int index) {
  POINT at{};
  const POINT screen = ScreenCentre(popup, index, &at);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(popup.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
}
void ChooseItem(const CWndPopup& popup, int index) {
  POINT at{};
  const POINT screen = ScreenCentre(popup, index, &at);
  SetCursorPos(screen.x, screen.y);
  const HWND hwnd = popup.GetSafeHwnd();
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT ScreenTopLeft(const CWndPopup& popup) {
  RECT r{};
  GetWindowRect(popup.GetSafeHwnd(), &r);
  return POINT{r.left, r.top};
}

struct AssignmentUnitTest : testing::Test {
  LanguageTable saved = Language();
  UiContext savedUi = Ui();
  ComboWindow window;
  void SetUp() override {
    Ui().scale = 1.0f;
    Ui().fullScreenHeight = 1050;
    OpenDialogs().Clear();
    for (int i = 1; i < 240; ++i) Language().Set(i, u"s" + win32::FromWide(std::to_wstring(i)));
    const std::array<ButtonFunctionCode, 6> defaults{{{0x10, 1, 0}, {0x10, 2, 0}, {0x10, 4, 0}, {0x10, 0x10, 0},
                                                      {0x10, 8, 0}, {0x40, 1, 0}}};
    for (int i = 0; i < 6; ++i) AssignButtonFunction(window.profile, 2013 + i, u"old", defaults[i]);
    ASSERT_TRUE(window.Open());
    PumpFor(20);
  }
  void TearDown() override {
    window.unit.CloseDialogs();
    PumpFor(30);
    Language() = saved;
    Ui() = savedUi;
  }
  void ClickCombo(int id) { SendMessageW(window.GetSafeHwnd(), kButtonComboMessage, id, kCodeClicked); }
  CWndPopup* Menu(PopupClass popup) { return window.unit.OpenMenu(popup); }
  ButtonFunctionCode Code(int slot) {
    const auto& v = window.profile.Key[static_cast<std::size_t>(slot)].Value;
    return {v[0], v[1], v[2]};
  }
};

TEST_F(AssignmentUnitTest, TheMenuOpensPressedBesideItsComboAndHoverSwapsTheSubmenu) {
  ClickCombo(2014);
  CWndPopup* menu = Menu(PopupClass::kCombo);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(window.combo(2014)->popupOpen());
  const RECT combo = window.combo(2014)->GetRect();
  POINT expected{combo.left + 161, combo.bottom - 20};
  ClientToScreen(window.GetSafeHwnd(), &expected);
  EXPECT_EQ(ScreenTopLeft(*menu).x, expected.x);
  EXPECT_EQ(ScreenTopLeft(*menu).y, expected.y);

  HoverItem(*menu, 10);  // entry 11: multimedia
  CWndPopup* multimedia = Menu(PopupClass::kMultimedia);
  ASSERT_NE(multimedia, nullptr);
  POINT sub{combo.right + 161, combo.bottom + 213};
  ClientToScreen(window.GetSafeHwnd(), &sub);
  EXPECT_EQ(ScreenTopLeft(*multimedia).x, sub.x);
  EXPECT_EQ(ScreenTopLeft(*multimedia).y, sub.y);

  HoverItem(*menu, 0);  // entry 1 has no submenu
  PumpFor(30);
  EXPECT_EQ(Menu(PopupClass::kMultimedia), nullptr);
  ASSERT_EQ(Menu(PopupClass::kCombo), menu);

  HoverItem(*menu, 12);  // entry 13, then straight to entry 15
  HoverItem(*menu, 14);
  PumpFor(30);
  EXPECT_EQ(Menu(PopupClass::kWindowsManage), nullptr);
  EXPECT_NE(Menu(PopupClass::kDpiLock), nullptr);
}

TEST_F(AssignmentUnitTest, ASubmenuEntryIsStoredShownAppliedAndClosesTheMenus) {
  ClickCombo(2014);
  HoverItem(*Menu(PopupClass::kCombo), 11);  // entry 12: office commands
  ASSERT_NE(Menu(PopupClass::kOffice), nullptr);
  ChooseItem(*Menu(PopupClass::kOffice), 0);  // Ctrl+C
  PumpFor(30);
  EXPECT_EQ(Code(1), ButtonFunctionCode(0x70, 0x01, 0x06));
  EXPECT_EQ(window.profile.Key[1].Name, u"s60");
  EXPECT_EQ(window.combo(2014)->label(), u"s60");
  EXPECT_EQ(window.applies, 1);
  EXPECT_FALSE(window.combo(2014)->popupOpen());
  EXPECT_EQ(Menu(PopupClass::kCombo), nullptr);
  EXPECT_EQ(Menu(PopupClass::kOffice), nullptr);
}

TEST_F(AssignmentUnitTest, TakingTheOnlyLeftClickPutsItBackAndWarnsATenthLater) {
  std::u16string warning;
  Script script({[&] {
    auto* shown = dynamic_cast<win32::CAttentionDlg*>(win32::CWnd::FromHandle(NewestDialog()));
    if (shown == nullptr) return Script::Again();
    warning = shown->message();
    Click(shown->GetSafeHwnd(), kIdOk);
  }});
  ClickCombo(2013);
  ChooseItem(*Menu(PopupClass::kCombo), 15);  // entry 16: disabled
  EXPECT_EQ(Code(0), kLeftClickCode);
  EXPECT_EQ(window.combo(2013)->label(), u"s20");
  EXPECT_EQ(window.applies, 0) << "the mouse keeps its left click: nothing to send";
  EXPECT_TRUE(PumpUntil([&] { return !warning.empty(); }));
  EXPECT_EQ(warning, u"s151");
}

TEST_F(AssignmentUnitTest, TheFireKeyDialogOpensAfterTheMenusAndAssignsToItsCombo) {
  bool menusClosed = false;
  Script script({[&] {
    menusClosed = Menu(PopupClass::kCombo) == nullptr && !window.combo(2015)->popupOpen();
    auto* dialog = dynamic_cast<win32::CFireKeyDlg*>(win32::CWnd::FromHandle(NewestDialog()));
    if (dialog == nullptr) return Script::Again();
    SetWindowTextW(dialog->secondBox(), L"7");
    Click(dialog->GetSafeHwnd(), kIdOk);
  }});
  ClickCombo(2015);
  ChooseItem(*Menu(PopupClass::kCombo), 6);  // entry 7: the fire-key dialog, posted
  EXPECT_TRUE(PumpUntil([&] { return Script::Done() && OpenDialogs().Count() == 0; }));
  EXPECT_TRUE(menusClosed);
  EXPECT_EQ(Code(2), ButtonFunctionCode(0x30, 50, 7));
  EXPECT_EQ(window.combo(2015)->label(), u"s26");
  EXPECT_EQ(window.applies, 1);
}

TEST_F(AssignmentUnitTest, TheChosenMacroIsCopiedIntoTheSlotOrTheButtonIsDisabled) {
  MacroLocation at = MacroLocation::None();
  ASSERT_EQ(window.library.AddMacro(u"Burst", at), AddItemResult::kAdded);
  window.library.MacroAt(at)->AllAction[0] = MacroAction::Event(0x04, false);
  window.library.MacroAt(at)->MacroActionNum = 1;
  struct Case {
    bool pick;
    ButtonFunctionCode code;
    std::u16string name;
  };
  for (const Case& c : {Case{true, {0x90, 0, 0}, u"s190Burst"}, Case{false, {0, 0, 0}, u"s34"}}) {
    Script script({[&] {
      auto* dialog = dynamic_cast<win32::CMacroSelectDlg*>(win32::CWnd::FromHandle(NewestDialog()));
      if (dialog == nullptr) return Script::Again();
      // What the chooser sends on OK; the window reads the library's selection.
      window.library.selectedLocation = c.pick ? at : MacroLocation::None();
      SendMessageW(window.GetSafeHwnd(), kMacroChosenMessage, 0, 0);
      Click(dialog->GetSafeHwnd(), kIdClose);
    }});
    ClickCombo(2016);
    ChooseItem(*Menu(PopupClass::kCombo), 8);  // entry 9: the macro chooser
    EXPECT_TRUE(PumpUntil([&] { return Script::Done() && OpenDialogs().Count() == 0; }));
    EXPECT_EQ(Code(3), c.code);
    EXPECT_EQ(window.profile.Key[3].Name, c.name);
    if (c.pick) {
      EXPECT_EQ(window.profile.Key[3].macro.MacroActionNum, 1u);
      EXPECT_EQ(window.profile.Key[3].MacroKeyIndex, window.library.MacroAt(at)->MacroKeyIndex);
    }
  }
}

TEST_F(AssignmentUnitTest, LosingActivationClosesTheMenuAndThePictureFollowsThePointer) {
  ClickCombo(2017);
  ASSERT_NE(Menu(PopupClass::kCombo), nullptr);
  SendMessageW(window.GetSafeHwnd(), 0x405, 2017, 0);
  PumpFor(30);
  EXPECT_EQ(Menu(PopupClass::kCombo), nullptr);
  EXPECT_FALSE(window.combo(2017)->popupOpen());

  SendMessageW(window.GetSafeHwnd(), kButtonComboMessage, 2016, kCodeEntered);
  EXPECT_EQ(window.highlight, 4);
  SendMessageW(window.GetSafeHwnd(), kButtonComboMessage, 2016, kCodeLeft);
  EXPECT_EQ(window.highlight, 0);
}

}  // namespace
}  // namespace zeltra::test
