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

TEST_F(Languages, TheMainMenuListsSixteenEntriesWithFiveSubmenuLooks) {
  const std::vector<PopupItem> items = AssignmentPopupItems(AssignmentPopup::kMain);
  ASSERT_EQ(items.size(), 16u);
  std::string marked;
  for (const PopupItem& item : items) marked += item.marked ? 'm' : '.';
  EXPECT_EQ(marked, ".....m....mmm.m.");
  EXPECT_EQ(items[14].label, u"S36");

  const std::vector<PopupItem> lock = AssignmentPopupItems(AssignmentPopup::kDpiLock);
  ASSERT_EQ(lock.size(), 11u);
  EXPECT_EQ(lock[0].label, u"200");
  EXPECT_EQ(AssignmentPopupChoice(AssignmentPopup::kDpiLock, 11).name, u"S36-1200");
  EXPECT_EQ(AssignmentPopupChoice(AssignmentPopup::kDpiLock, 11).code, Code(0x50, 11, 0));
  EXPECT_EQ(AssignmentPopupItems(AssignmentPopup::kWindows).size(), 6u);
  EXPECT_EQ(AssignmentPopupChoice(AssignmentPopup::kOffice, 8).code, Code(0x70, 0x08, 0x08));
}

TEST(AssignmentMenu, HoverPressAndReleaseOfTheMainMenu) {
  struct Case {
    int value;
    unsigned hover, press, release;
    bool record;
  };
  const Case cases[] = {
      {1, 0x409, 0x403, 0x403, true}, {4, 0x409, 0x403, 0x403, true}, {5, 0x409, 0, 0x403, true},
      {6, 0x410, 0, 0, false},        {7, 0x409, 0, 0x426, false},    {8, 0x409, 0, 0x403, true},
      {9, 0x409, 0, 0x429, false},    {10, 0x409, 0, 0x40B, false},   {11, 0x413, 0, 0, false},
      {12, 0x488, 0, 0, false},       {13, 0x485, 0, 0, false},       {14, 0x409, 0, 0x403, true},
      {15, 0x482, 0, 0, false},       {16, 0x409, 0, 0x403, true},
  };
  for (const Case& c : cases) {
    const PopupSignal hover = MainMenuHover(c.value - 1, c.value);
    EXPECT_EQ(hover.message, c.hover) << c.value;
    EXPECT_TRUE(hover.ownerAsWParam);
    EXPECT_EQ(hover.lParam, c.value);
    const PopupSignal press = MainMenuPress(c.value);
    EXPECT_EQ(press.message, c.press) << c.value;
    EXPECT_FALSE(press.ownerAsWParam);  // the foreground cue has wParam 0
    const PopupSignal release = MainMenuRelease(c.value);
    EXPECT_EQ(release.message, c.release) << c.value;
    EXPECT_EQ(release.withRecord, c.record) << c.value;
    EXPECT_EQ(release.ownerAsWParam, c.release != 0) << c.value;
  }
  EXPECT_EQ(MainMenuRelease(17).message, 0u);
}

TEST(AssignmentMenu, PlacementsWithAndWithoutTheMoveUp) {
  struct Case {
    float scale;
    PixelRect combo;
    int H, T;
    PixelPoint main;
    bool moved;
    AssignmentPopup submenu;
    PixelPoint sub;
  };
  const PixelRect c1{100, 200, 261, 222};
  const PixelRect c15{150, 300, 391, 333};
  const Case cases[] = {
      {1.0f, c1, 1050, 170, {261, 202}, false, AssignmentPopup::kDpiFunctions, {422, 324}},
      {1.0f, c1, 1050, 170, {261, 202}, false, AssignmentPopup::kMultimedia, {422, 435}},
      {1.0f, c1, 1050, 534, {261, 202}, false, AssignmentPopup::kDpiLock, {422, 518}},  // reaches the bottom exactly
      {1.0f, c1, 1050, 535, {261, 221}, true, AssignmentPopup::kDpiLock, {422, 339}},
      {1.0f, c1, 1050, 600, {261, 156}, true, AssignmentPopup::kMultimedia, {422, 245}},
      {1.0f, c1, 1050, 600, {261, 156}, true, AssignmentPopup::kOffice, {422, 266}},
      {1.0f, c1, 1050, 600, {261, 156}, true, AssignmentPopup::kWindows, {422, 332}},
      {1.5f, c15, 1000, 100, {391, 303}, false, AssignmentPopup::kOffice, {632, 685}},
      {1.5f, c15, 1000, 100, {391, 303}, false, AssignmentPopup::kWindows, {632, 718}},
      {1.5f, c15, 1000, 300, {391, 259}, true, AssignmentPopup::kWindows, {632, 523}},
      {1.5f, c15, 1000, 300, {391, 259}, true, AssignmentPopup::kDpiLock, {632, 436}},
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
  PixelRect ComboRect(int id) override { return {100, 100 + (id - 2013) * 30, 261, 122 + (id - 2013) * 30}; }
  MenuScreen Screen() override { return {1.0f, 1050, 100}; }
  void OpenPopup(AssignmentPopup p, PixelPoint at, int combo) override {
    Say("open ", static_cast<int>(p), " ", at.x, ",", at.y, " ", combo);
  }
  void ClosePopup(AssignmentPopup p) override { Say("close ", static_cast<int>(p)); }
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
  menus.HandleMessage(MainMenuHover(10, 11).message, 2014, nullptr);
  EXPECT_EQ(Take(), (Log{"open 2 422,365 2014"}));
  EXPECT_TRUE(menus.IsOpen(AssignmentPopup::kMultimedia));
  // Straight from entry 11 to entry 12: the office submenu replaces it.
  menus.HandleMessage(MainMenuHover(11, 12).message, 2014, nullptr);
  EXPECT_EQ(Take(), (Log{"close 2", "open 3 422,387 2014"}));
  // The replaced submenu reports its loss of activation late: nothing closes.
  menus.HandleMessage(0x415, 2014, nullptr);
  EXPECT_EQ(Take(), Log{});
  menus.HandleMessage(MainMenuHover(0, 1).message, 2014, nullptr);
  EXPECT_EQ(Take(), (Log{"close 3"}));
  menus.HandleMessage(0x48A, 2014, nullptr);  // its late report, the pointer elsewhere
  EXPECT_EQ(Take(), Log{});
  EXPECT_TRUE(menus.IsOpen(AssignmentPopup::kMain));
}

TEST_F(Menus, ActivationLossClosesTheMenusUnlessThePointerIsOverTheMainMenu) {
  menus.OnComboNotify(2013, 2);
  menus.HandleMessage(0x410, 2013, nullptr);
  Take();
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
  const ButtonAssignment mute = AssignmentPopupChoice(AssignmentPopup::kMultimedia, 6);
  EXPECT_TRUE(MenuMessageCarriesRecord(0x414, 2014));
  menus.HandleMessage(0x414, 2014, &mute);
  EXPECT_EQ(Take(), (Log{"text 2014 S50", "close 2", "close 0", "pressed 2014 off", "apply"}));
  EXPECT_EQ(CodeOf(1), Code(0x80, 0xE2, 0x00));

  // The only left click changed: it comes back with the warning 100 ms later.
  const ButtonAssignment right = AssignmentPopupChoice(AssignmentPopup::kMain, 2);
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
