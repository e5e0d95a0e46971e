#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "macro/assignment_controller.h"
#include "macro/macro_library.h"
#include "settings/language.h"
#include "settings/text_format.h"

namespace zeltra {
namespace {

using Code = ButtonFunctionCode;

struct Languages : testing::Test {
  LanguageTable saved = Language();
  void SetUp() override {
    for (int i = 0; i < kLanguageStringCount; ++i) Language().Set(i, u"S" + Dec(i));
    Language().Set(20, u"Left");
    Language().Set(26, u"Fire+");
  }
  void TearDown() override { Language() = saved; }
};

// The messages each popup is given and known by; what it lists and sends is
// its class's (popup_menus_test).
TEST(AssignmentMenu, EachPopupHasItsMessages) {
  struct Case {
    PopupClass popup;
    unsigned result, lostActivation, open;
  };
  const Case cases[] = {
      {PopupClass::kCombo, 0x403, 0x405, 0},         {PopupClass::kDpi, 0x411, 0x412, 0x410},
      {PopupClass::kMultimedia, 0x414, 0x415, 0x413}, {PopupClass::kOffice, 0x489, 0x48A, 0x488},
      {PopupClass::kWindowsManage, 0x486, 0x487, 0x485}, {PopupClass::kDpiLock, 0x483, 0x484, 0x482},
      {PopupClass::kMacroList, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const AssignmentPopupMessages m = AssignmentMessagesOf(c.popup);
    EXPECT_EQ(m.result, c.result) << static_cast<int>(c.popup);
    EXPECT_EQ(m.lostActivation, c.lostActivation) << static_cast<int>(c.popup);
    EXPECT_EQ(m.open, c.open) << static_cast<int>(c.popup);
  }
}

TEST(AssignmentMenu, PlacementsWithAndWithoutTheMoveUp) {
  struct Case {
    float scale;
    UiRect combo;
    int H, T;
    UiPoint main;
    bool moved;
    PopupClass submenu;
    UiPoint sub;
  };
  const UiRect c1{100, 200, 261, 222};
  const UiRect c15{150, 300, 391, 333};
  const UiRect c222{34, 98, 256, 124};
  const UiRect c444{68, 196, 512, 248};
  const Case cases[] = {
      {1.0f, c1, 1050, 170, {261, 202}, false, PopupClass::kDpi, {422, 324}},
      {1.0f, c1, 1050, 170, {261, 202}, false, PopupClass::kMultimedia, {422, 435}},
      {1.0f, c1, 1050, 534, {261, 202}, false, PopupClass::kDpiLock, {422, 518}},  // reaches the bottom exactly
      {1.0f, c1, 1050, 535, {261, 221}, true, PopupClass::kDpiLock, {422, 339}},
      {1.0f, c1, 1050, 600, {261, 156}, true, PopupClass::kMultimedia, {422, 245}},
      {1.0f, c1, 1050, 600, {261, 156}, true, PopupClass::kOffice, {422, 266}},
      {1.0f, c1, 1050, 600, {261, 156}, true, PopupClass::kWindowsManage, {422, 332}},
      {1.5f, c15, 1000, 100, {391, 303}, false, PopupClass::kOffice, {632, 685}},
      {1.5f, c15, 1000, 100, {391, 303}, false, PopupClass::kWindowsManage, {632, 718}},
      {1.5f, c15, 1000, 300, {391, 259}, true, PopupClass::kWindowsManage, {632, 523}},
      {1.5f, c15, 1000, 300, {391, 259}, true, PopupClass::kDpiLock, {632, 436}},
      // The window's own combos are 222 wide: the menu still starts at their right edge.
      {1.0f, c222, 1050, 170, {256, 104}, false, PopupClass::kDpi, {417, 226}},
      {1.0f, c222, 1050, 700, {256, 56}, true, PopupClass::kDpi, {417, 174}},
      {2.0f, c444, 2120, 100, {512, 208}, false, PopupClass::kMultimedia, {834, 674}},
      {2.0f, c444, 2120, 1500, {512, 32}, true, PopupClass::kMultimedia, {834, 210}},
  };
  for (const Case& c : cases) {
    const MenuScreen screen{c.scale, c.H, c.T};
    const MenuPlacement main = MainMenuPlacement(c.combo, screen);
    EXPECT_EQ(main.topLeft, c.main) << c.scale << " T=" << c.T;
    EXPECT_EQ(main.movedUp, c.moved) << c.scale << " T=" << c.T;
    EXPECT_EQ(SubmenuPlacement(c.submenu, c.combo, screen), c.sub) << c.scale << " T=" << c.T;
  }
}

// Records what the main window is asked to do.
struct FakeWindow : AssignmentHost {
  ProfileRecord profile;
  MacroLibrary library;
  std::vector<std::string> log;
  bool pointerOverMain = false;
  bool reportsActivationLoss = false;
  AssignmentMenus* menus = nullptr;
  // What a dialog sends while it runs: a result record, or 0x42A for the chooser.
  unsigned dialogSends = 0;
  ButtonAssignment dialogResult;

  template <class... T>
  void Say(const T&... parts) {
    std::ostringstream line;
    ((line << parts), ...);
    log.push_back(line.str());
  }
  ProfileRecord& CurrentProfile() override { return profile; }
  const MacroLibrary& Library() override { return library; }
  UiRect ComboRect(int id) override { return {100, 100 + (id - 2013) * 30, 261, 122 + (id - 2013) * 30}; }
  MenuScreen Screen() override { return {1.0f, 1050, 100}; }
  void OpenPopup(PopupClass p, UiPoint at, int combo) override {
    Say("open ", static_cast<int>(p), " ", at.x, ",", at.y, " ", combo);
    // A shown submenu takes the activation from the main menu, which says so at once.
    if (p != PopupClass::kCombo && reportsActivationLoss) menus->HandleMessage(0x405, combo, nullptr);
  }
  void ClosePopup(PopupClass p) override { Say("close ", static_cast<int>(p)); }
  bool PointerOverMainMenu() override { return pointerOverMain; }
  void BringPopupsToFront() override { Say("front"); }
  void SetComboPressed(int id, bool on) override { Say("pressed ", id, on ? " on" : " off"); }
  void SetComboText(int id, const std::u16string& t) override { Say("text ", id, " ", ToUtf8(t)); }
  void SetPictureHighlight(int b) override { Say("highlight ", b); }
  void PostToSelf(unsigned m) override { Say("post ", m); }
  void RunDialog(MenuChoice) override {
    Say("dialog");
    if (dialogSends) menus->HandleMessage(dialogSends, 0, &dialogResult);
  }
  void ApplyButtons() override { Say("apply"); }
  void StartTimer(int id, int ms) override { Say("timer ", id, " ", ms); }
  void StopTimer(int id) override { Say("stop ", id); }
  void ShowAttention(int m) override { Say("attention ", m); }
};

struct Menus : Languages {
  FakeWindow window;
  AssignmentMenus menus{window};
  void SetUp() override {
    Languages::SetUp();
    window.menus = &menus;
    ResetProfile(window.profile, 0, 0x3311);
  }
  std::vector<std::string> Take() { return std::exchange(window.log, {}); }
  Code CodeOf(int slot) const {
    const auto& v = window.profile.Key[static_cast<std::size_t>(slot)].Value;
    return {v[0], v[1], v[2]};
  }
};

using Log = std::vector<std::string>;

TEST_F(Menus, HoveringEntry11ThenEntry1OpensAndClosesTheMultimediaSubmenu) {
  menus.OnComboNotify(2014, 2);
  EXPECT_EQ(Take(), (Log{"pressed 2014 on", "open 0 261,132 2014"}));
  menus.HandleMessage(0x413, 2014, nullptr);  // entry 11 entered
  EXPECT_EQ(Take(), (Log{"open 2 422,365 2014"}));
  EXPECT_TRUE(menus.IsOpen(PopupClass::kMultimedia));
  // Straight from entry 11 to entry 12: the office submenu replaces it.
  menus.HandleMessage(0x488, 2014, nullptr);
  EXPECT_EQ(Take(), (Log{"close 2", "open 7 422,387 2014"}));
  // The replaced submenu reports its loss of activation late: nothing closes.
  menus.HandleMessage(0x415, 2014, nullptr);
  EXPECT_EQ(Take(), Log{});
  menus.HandleMessage(0x409, 2014, nullptr);  // entry 1 entered
  // The main menu takes the activation back from the submenu that had it,
  // so that a click elsewhere still reaches it as a loss of activation.
  EXPECT_EQ(Take(), (Log{"close 7", "front"}));
  menus.HandleMessage(0x48A, 2014, nullptr);  // its late report, the pointer elsewhere
  EXPECT_EQ(Take(), Log{});
  EXPECT_TRUE(menus.IsOpen(PopupClass::kCombo));
  menus.HandleMessage(0x409, 2014, nullptr);  // entry 2: no submenu to close
  EXPECT_EQ(Take(), Log{});
  menus.HandleMessage(0x405, 2014, nullptr);  // that click elsewhere
  EXPECT_EQ(Take(), (Log{"close 0", "pressed 2014 off"}));
}

TEST_F(Menus, ActivationLossClosesTheMenusUnlessThePointerIsOverTheMainMenu) {
  window.reportsActivationLoss = true;
  menus.OnComboNotify(2013, 2);
  menus.HandleMessage(0x410, 2013, nullptr);
  EXPECT_EQ(Take(), (Log{"pressed 2013 on", "open 0 261,102 2013", "open 1 422,224 2013"}));
  menus.HandleMessage(0x405, 2013, nullptr);  // the submenu took the activation
  EXPECT_EQ(Take(), Log{});
  window.pointerOverMain = true;
  menus.HandleMessage(0x412, 2013, nullptr);
  EXPECT_EQ(Take(), Log{});
  window.pointerOverMain = false;
  menus.HandleMessage(0x412, 2013, nullptr);
  EXPECT_EQ(Take(), (Log{"close 1", "close 0", "pressed 2013 off"}));

  menus.OnComboNotify(2013, 2);
  Take();
  menus.HandleMessage(0x405, 2013, nullptr);
  EXPECT_EQ(Take(), (Log{"close 0", "pressed 2013 off"}));
  menus.HandleMessage(0x405, 2013, nullptr);  // already closed
  EXPECT_EQ(Take(), Log{});
}

TEST_F(Menus, AChosenEntryRunsTheAssignmentSequence) {
  menus.OnComboNotify(2014, 2);
  menus.HandleMessage(0x413, 2014, nullptr);
  Take();
  const ButtonAssignment mute = AssignmentOfResult({u"S50", Code(0x80, 0xE2, 0x00).bytes});
  EXPECT_TRUE(MenuMessageCarriesRecord(0x414, 2014));
  menus.HandleMessage(0x414, 2014, &mute);
  EXPECT_EQ(Take(), (Log{"text 2014 S50", "close 2", "close 0", "pressed 2014 off", "apply"}));
  EXPECT_EQ(CodeOf(1), Code(0x80, 0xE2, 0x00));

  // The only left click changed: it comes back with the warning 100 ms later.
  const ButtonAssignment right = AssignmentOfResult({u"S21", Code(0x10, 0x02, 0x00).bytes});
  menus.HandleMessage(0x403, 2013, &right);
  EXPECT_EQ(Take(), (Log{"text 2013 S21", "text 2013 Left", "timer 20 100"}));
  EXPECT_EQ(CodeOf(0), kLeftClickCode);
  menus.OnWarningTimer();
  EXPECT_EQ(Take(), (Log{"stop 20", "attention 151"}));

  // wParam 0: only the foreground cue.
  EXPECT_FALSE(MenuMessageCarriesRecord(0x403, 0));
  menus.HandleMessage(0x403, 0, nullptr);
  EXPECT_EQ(Take(), (Log{"front"}));
}

TEST_F(Menus, DialogsAreRequestedThenOpenedAndAssignToTheRememberedCombo) {
  menus.OnComboNotify(2016, 2);
  Take();
  menus.HandleMessage(0x426, 2016, nullptr);
  EXPECT_EQ(Take(), (Log{"close 0", "pressed 2016 off", "post 1061"}));  // 0x425
  window.dialogSends = 0x427;
  window.dialogResult = ButtonAssignment{u"Fire", FireKeyCode(5, 0)};
  menus.HandleMessage(0x425, 0, nullptr);
  EXPECT_EQ(Take(), (Log{"dialog", "text 2016 Fire", "apply"}));
  EXPECT_EQ(CodeOf(3), Code(0x30, 0x05, 0x00));
  // After the dialog has ended a stray result assigns nothing.
  menus.HandleMessage(0x40C, 0, &window.dialogResult);
  EXPECT_EQ(Take(), Log{});

  // The macro chooser assigns the library's selection, copied into the slot.
  MacroLocation at;
  window.library.AddMacro(u"Jump", at);
  window.library.MacroAt(at)->InsertAction(0, MacroAction::Event(0x41, false));
  window.library.selectedLocation = at;
  window.dialogSends = 0x42A;
  menus.HandleMessage(0x429, 2015, nullptr);
  menus.HandleMessage(0x428, 0, nullptr);
  EXPECT_EQ(Take(), (Log{"post 1064", "dialog", "text 2015 S190Jump", "apply"}));
  EXPECT_EQ(CodeOf(2), kAssignedMacroCode);
  EXPECT_EQ(window.profile.Key[2].macro.MacroActionNum, 1u);
}

TEST_F(Menus, TheMousePictureFollowsThePointerOverTheCombos) {
  menus.OnComboNotify(2017, 4);
  menus.OnComboNotify(2017, 5);
  menus.OnComboNotify(3000, 4);  // not a button combo
  EXPECT_EQ(Take(), (Log{"highlight 5", "highlight 0"}));
}

}  // namespace
}  // namespace zeltra
