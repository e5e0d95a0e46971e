// Button assignment through the real main window on the virtual mouse: the
// menus, submenus and dialogs the combos open, and what reaches the mouse.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/main_window_ids.h"
#include "app/win32/main_units_win32.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/virtual_mouse.h"
#include "macro/assignment_menu.h"
#include "macro/win32/fire_key_dlg_win32.h"
#include "macro/win32/macro_select_dlg_win32.h"
#include "macro/win32/shortcut_dlg_win32.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "ui/ui_context.h"
#include "support/test_support.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/popup_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CWndPopup;

std::function<void()> g_body;
HWND g_main = nullptr;
MacroLibrary* g_library = nullptr;

class Window : public win32::CTarvinDlg {
 public:
  using CTarvinDlg::CTarvinDlg;
  HWND hwnd() const { return hwnd_; }
  CWndPopup* Menu(PopupClass popup) const { return dynamic_cast<CWndPopup*>(Popup(PopupSlotOf(popup))); }
  win32::CComboButton* Combo(int id) const { return dynamic_cast<win32::CComboButton*>(FindControl(id)); }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CTarvinDlg::OnInitDialog();
    g_main = hwnd_;
    return result;
  }
};

// The test's body inside the window's modal loop; the tray's exit ends it.
void CALLBACK RunBody(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (auto body = std::exchange(g_body, nullptr)) body();
  if (g_main != nullptr && IsWindow(g_main)) PostMessageW(g_main, WM_COMMAND, kIdTrayExit, 0);
}

// The pointer onto entry `index` (0-based) of a popup; with `choose` a
// press and release there.
void Point(const CWndPopup* popup, int index, bool choose) {
  if (popup == nullptr) return;
  const RECT r = popup->ItemRect(index);
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = at;
  ClientToScreen(popup->GetSafeHwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  const HWND hwnd = popup->GetSafeHwnd();
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  if (!choose) return;
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

template <class Dialog>
Dialog* Newest() {
  return dynamic_cast<Dialog*>(win32::CWnd::FromHandle(NewestDialog()));
}

// Device positions of slots 0..5: the fourth and fifth buttons change places.
constexpr int kPositionOfSlot[6] = {0, 1, 2, 4, 3, 5};

class AssignmentWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(win32::CTarvinApp::RegisterMainWindowClass());
    OpenDialogs().Clear();
    std::filesystem::create_directories(data_.path() / "config");
    SettingsStore store(data_.path());
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, u"0");
    store.WriteConfiguration();
    mouse_ = MakeDemoVirtualMouse(clock_);
  }
  void TearDown() override { g_main = nullptr; }
  void Run(std::function<void(Window&)> body) {
    win32::TarvinOptions options;
    options.programFolder = std::filesystem::path(ZELTRA_PROGRAM).parent_path();
    options.dataFolder = data_.path();
    options.clock = &clock_;
    options.backend = mouse_;
    options.virtualMouse = mouse_;
    Window window(options);
    win32::AddMainWindowUnits(window);  // as the program does
    g_body = [&] {
      PumpFor(100);
      body(window);
    };
    SetTimer(nullptr, 0, 1, &RunBody);
    window.DoModal();
  }
  std::array<std::uint8_t, 3> OnMouse(int slot) const {
    return mouse_->State().buttons[static_cast<std::size_t>(kPositionOfSlot[slot])];
  }
  int ButtonReports() const {
    int n = 0;
    for (const Transfer& t : mouse_->Writes()) n += t.bytes.size() > 2 && t.bytes[2] == 0x04 ? 1 : 0;
    return n;
  }

  TempDir data_;
  VirtualClock clock_;
  std::shared_ptr<VirtualMouse> mouse_;
};

TEST_F(AssignmentWindow, EveryKindOfFunctionReachesTheMouseThroughTheMenusAndDialogs) {
  struct Case {
    const char* what;
    int combo;
    int entry;         // main-menu entry, 1-based
    int submenuEntry;  // 1-based, 0 for none
    PopupClass submenu;
    std::function<void()> dialog;  // acts on the dialog the entry opens
    std::array<std::uint8_t, 3> code;
  };
  MacroLocation macro = MacroLocation::None();
  const Case cases[] = {
      {"a mouse button", 2014, 3, 0, {}, nullptr, {0x10, 0x04, 0x00}},
      {"a DPI function", 2015, 6, 2, PopupClass::kDpi, nullptr, {0x40, 0x03, 0x00}},
      {"a DPI lock", 2016, 15, 3, PopupClass::kDpiLock, nullptr, {0x50, 0x03, 0x00}},
      {"entry 14", 2017, 14, 0, {}, nullptr, {0x60, 0x04, 0x00}},
      {"a multimedia key", 2018, 11, 7, PopupClass::kMultimedia, nullptr, {0x80, 0xE9, 0x00}},
      {"an office command", 2014, 12, 1, PopupClass::kOffice, nullptr, {0x70, 0x01, 0x06}},
      {"a Windows function", 2015, 13, 2, PopupClass::kWindowsManage, nullptr, {0x70, 0x04, 0x3D}},
      {"disabled", 2016, 16, 0, {}, nullptr, {0x00, 0x00, 0x00}},
      {"the triple fire", 2017, 8, 0, {}, nullptr, {0x30, 0x32, 0x03}},
      {"a fire key", 2018, 7, 0, {},
       [] {
         auto* fire = Newest<win32::CFireKeyDlg>();
         if (fire == nullptr) return Script::Again();
         SetWindowTextW(fire->secondBox(), L"9");
         Click(fire->GetSafeHwnd(), kIdOk);
       },
       {0x30, 0x32, 0x09}},
      {"a key combination", 2014, 10, 0, {},
       [] {
         auto* shortcut = Newest<win32::CShortcutDlg>();
         if (shortcut == nullptr) return Script::Again();
         const RECT box = shortcut->FindControl(kShortcutCtrlBox)->GetRect();
         const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
         for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(shortcut->GetSafeHwnd(), m, 0, at);
         SendMessageW(shortcut->GetSafeHwnd(), kKeyHookMessage, 'B', 0);
         Click(shortcut->GetSafeHwnd(), kIdOk);
       },
       {0x70, 0x01, 0x05}},
      {"a macro", 2015, 9, 0, {},
       [&] {
         auto* chooser = Newest<win32::CMacroSelectDlg>();
         if (chooser == nullptr) return Script::Again();
         g_library->selectedLocation = macro;
         Click(chooser->GetSafeHwnd(), kIdOk);
       },
       {0x90, 0x00, 0x00}},
  };
  Run([&](Window& window) {
    g_library = &window.macroLibrary();
    ASSERT_EQ(window.macroLibrary().AddMacro(u"Burst", macro), AddItemResult::kAdded);
    MacroAction press = MacroAction::Event(0x04, false);
    window.macroLibrary().MacroAt(macro)->AllAction[0] = press;
    window.macroLibrary().MacroAt(macro)->MacroActionNum = 1;
    for (const Case& c : cases) {
      const int slot = c.combo - 2013;
      SendMessageW(window.hwnd(), kButtonComboMessage, c.combo, kCodeClicked);
      ASSERT_NE(window.Menu(PopupClass::kCombo), nullptr) << c.what;
      std::optional<Script> script;
      if (c.dialog) script.emplace(std::deque<std::function<void()>>{c.dialog});
      if (c.submenuEntry != 0) {
        Point(window.Menu(PopupClass::kCombo), c.entry - 1, false);
        Point(window.Menu(c.submenu), c.submenuEntry - 1, true);
      } else {
        Point(window.Menu(PopupClass::kCombo), c.entry - 1, true);
      }
      const bool macroCase = c.code[0] == 0x90;
      EXPECT_TRUE(PumpUntil([&] {
        const auto on = OnMouse(slot);
        return macroCase ? on[0] == 0x90 : on == c.code;
      })) << c.what;
      EXPECT_EQ(window.Menu(PopupClass::kCombo), nullptr) << c.what;
      EXPECT_FALSE(window.Combo(c.combo)->popupOpen()) << c.what;
      EXPECT_EQ(window.Combo(c.combo)->label(), window.settings().CurrentProfile().Key[slot].Name) << c.what;
      if (macroCase) {
        EXPECT_EQ(window.settings().CurrentProfile().Key[slot].Name, LanguageString(190) + u"Burst");
        EXPECT_FALSE(mouse_->State().macros[OnMouse(slot)[1] & 0x0F].empty()) << "the macro is uploaded";
      }
    }
  });
}

TEST_F(AssignmentWindow, TakingTheOnlyLeftClickPutsItBackWithTheWarningAndSendsNothing) {
  std::u16string warning;
  Run([&](Window& window) {
    mouse_->ClearLog();
    Script script({[&] {
      auto* shown = Newest<win32::CAttentionDlg>();
      if (shown == nullptr) return Script::Again();
      warning = shown->message();
      Click(shown->GetSafeHwnd(), kIdOk);
    }});
    SendMessageW(window.hwnd(), kButtonComboMessage, 2013, kCodeClicked);
    Point(window.Menu(PopupClass::kCombo), 1, true);  // entry 2: right click
    EXPECT_TRUE(PumpUntil([&] { return !warning.empty(); }));
    PumpFor(100);
    EXPECT_EQ(warning, LanguageString(151));
    EXPECT_EQ(window.Combo(2013)->label(), LanguageString(20));
    const auto& kept = window.settings().CurrentProfile().Key[0].Value;
    EXPECT_EQ((std::array<std::uint8_t, 3>{kept[0], kept[1], kept[2]}), (std::array<std::uint8_t, 3>{0x10, 0x01, 0x00}));
    EXPECT_EQ(ButtonReports(), 0) << "the mouse already has the left click there";
  });
}

POINT TopLeft(const CWndPopup* popup) {
  RECT r{};
  if (popup != nullptr) GetWindowRect(popup->GetSafeHwnd(), &r);
  return POINT{r.left, r.top};
}

TEST_F(AssignmentWindow, HoveringEntry11ThenEntry1OpensThenClosesTheMultimediaSubmenu) {
  Run([&](Window& window) {
    SendMessageW(window.hwnd(), kButtonComboMessage, 2016, kCodeClicked);
    EXPECT_TRUE(window.Combo(2016)->popupOpen());
    // Both at their placements (the portable rules, tested natively) on the screen.
    RECT frame{};
    GetWindowRect(window.hwnd(), &frame);
    const MenuScreen here{Ui().scale, Ui().fullScreenHeight, static_cast<int>(frame.top)};
    const UiRect combo = win32::ToUiRect(window.Combo(2016)->GetRect());
    const auto screenPoint = [&](UiPoint p) { return window.ClientToScreenPoint(POINT{p.x, p.y}); };
    const POINT menu = screenPoint(MainMenuPlacement(combo, here).topLeft);
    EXPECT_EQ(TopLeft(window.Menu(PopupClass::kCombo)).x, menu.x);
    EXPECT_EQ(TopLeft(window.Menu(PopupClass::kCombo)).y, menu.y);

    Point(window.Menu(PopupClass::kCombo), 10, false);
    ASSERT_NE(window.Menu(PopupClass::kMultimedia), nullptr);
    const POINT sub = screenPoint(SubmenuPlacement(PopupClass::kMultimedia, combo, here));
    EXPECT_EQ(TopLeft(window.Menu(PopupClass::kMultimedia)).x, sub.x);
    EXPECT_EQ(TopLeft(window.Menu(PopupClass::kMultimedia)).y, sub.y);
    Point(window.Menu(PopupClass::kCombo), 0, false);
    PumpFor(50);
    EXPECT_EQ(window.Menu(PopupClass::kMultimedia), nullptr);
    ASSERT_NE(window.Menu(PopupClass::kCombo), nullptr);

    // The main menu has the activation back from its submenu, and a press on
    // one of the first four entries keeps the menus in front.
    CWndPopup* menuPopup = window.Menu(PopupClass::kCombo);
    EXPECT_EQ(GetForegroundWindow(), menuPopup->GetSafeHwnd());
    const RECT second = menuPopup->ItemRect(1);
    Point(menuPopup, 1, false);
    SendMessageW(menuPopup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2));
    EXPECT_EQ(GetForegroundWindow(), menuPopup->GetSafeHwnd());
    SendMessageW(menuPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));  // released outside: nothing chosen
    EXPECT_EQ(window.settings().CurrentProfile().Key[3].Value[0], 0x10);

    // The main menu losing the activation with no submenu open (the main
    // window takes it, as on a click there) closes it.
    SetForegroundWindow(window.hwnd());
    PumpFor(50);
    EXPECT_EQ(window.Menu(PopupClass::kCombo), nullptr);
    EXPECT_FALSE(window.Combo(2016)->popupOpen());

    SendMessageW(window.hwnd(), kButtonComboMessage, 2016, kCodeEntered);
    EXPECT_EQ(window.PictureHighlight(), 4);
    SendMessageW(window.hwnd(), kButtonComboMessage, 2016, kCodeLeft);
    EXPECT_EQ(window.PictureHighlight(), 0);
  });
}

// A submenu takes the activation from the main menu when it opens; after it
// closed again (the pointer back on an entry without one) a click elsewhere
// must still close the main menu, through its real loss of activation.
TEST_F(AssignmentWindow, AClickElsewhereClosesTheMenuAfterASubmenuCameAndWent) {
  Run([&](Window& window) {
    SendMessageW(window.hwnd(), kButtonComboMessage, 2016, kCodeClicked);
    ASSERT_NE(window.Menu(PopupClass::kCombo), nullptr);
    PumpFor(50);
    Point(window.Menu(PopupClass::kCombo), 10, false);
    ASSERT_NE(window.Menu(PopupClass::kMultimedia), nullptr);
    PumpFor(50);
    EXPECT_EQ(GetForegroundWindow(), window.Menu(PopupClass::kMultimedia)->GetSafeHwnd());
    Point(window.Menu(PopupClass::kCombo), 0, false);
    PumpFor(50);
    ASSERT_EQ(window.Menu(PopupClass::kMultimedia), nullptr);
    ASSERT_NE(window.Menu(PopupClass::kCombo), nullptr);
    // The click elsewhere: the main window takes the activation.
    SetForegroundWindow(window.hwnd());
    EXPECT_TRUE(PumpUntil([&] { return window.Menu(PopupClass::kCombo) == nullptr; }));
    EXPECT_FALSE(window.Combo(2016)->popupOpen());
  });
}

}  // namespace
}  // namespace zeltra::test
