#include "macro/popup_menus.h"

#include <gtest/gtest.h>

#include <tuple>

#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

constexpr std::intptr_t kOwner = 2014;
constexpr std::uint32_t kResult = 0x403;

// Every language string reads "S<n>", so a label shows where it came from.
struct PopupClasses : testing::Test {
  LanguageTable saved = Language();
  void SetUp() override {
    for (int i = 0; i < kLanguageStringCount; ++i) Language().Set(i, u"S" + Ascii(std::to_string(i)));
  }
  void TearDown() override { Language() = saved; }

  static PopupLogic Built(PopupClass c, PopupOptions options = {}) {
    PopupLogic logic = MakePopupLogic(c, 1.0f, kResult, kOwner, std::move(options));
    logic.BuildItems();
    return logic;
  }
  // The index of the item with `value`, or -1.
  static int IndexOf(const PopupLogic& logic, int value) {
    const auto& items = logic.model().items();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].value == value) return static_cast<int>(i);
    return -1;
  }
  static PopupReaction Click(PopupLogic& logic, int index) {
    const UiRect r = logic.model().items()[static_cast<std::size_t>(index)].rect;
    logic.MouseMove(r.left + 3, r.top + 3);
    logic.ButtonDown(r.left + 3, r.top + 3);
    return logic.ButtonUp(r.left + 3, r.top + 3);
  }
};

struct ResultCase {
  PopupClass popupClass;
  int value;
  std::u16string label;
  ButtonFunctionCode code;
};

TEST_F(PopupClasses, ChosenItemsHandTheirLabelAndBytes) {
  const ResultCase cases[] = {
      {PopupClass::kCombo, 1, u"S20", {0x10, 0x01, 0x00}},
      {PopupClass::kCombo, 8, u"S27", {0x30, 0x32, 0x03}},
      {PopupClass::kCombo, 14, u"S33", {0x60, 0x04, 0x00}},
      {PopupClass::kCombo, 16, u"S34", {0x00, 0x00, 0x00}},
      {PopupClass::kDpi, 1, u"S40", {0x40, 0x02, 0x00}},
      {PopupClass::kMultimedia, 10, u"S54", {0x80, 0x92, 0x01}},
      {PopupClass::kOffice, 8, u"S67", {0x70, 0x08, 0x08}},
      {PopupClass::kWindowsManage, 2, u"S76", {0x70, 0x04, 0x3D}},
      {PopupClass::kDpiLock, 1, u"S36-200", {0x50, 0x01, 0x00}},
      {PopupClass::kDpiLock, 11, u"S36-1200", {0x50, 0x0B, 0x00}},
      {PopupClass::kComboLighting, 9, u"S108", {9, 0, 0}},
      {PopupClass::kComboLighting, 10, u"S109", {0, 0, 0}},  // the last entry switches the light off
      {PopupClass::kProfileRKey, 3, u"S92", {2, 0, 0}},
      {PopupClass::kActionInsert, 5, u"S206", {4, 0, 0}},
      {PopupClass::kMacroList, 8, u"", {7, 0, 0}},
  };
  for (const ResultCase& c : cases) {
    PopupLogic logic = Built(c.popupClass);
    const int index = IndexOf(logic, c.value);
    ASSERT_GE(index, 0) << static_cast<int>(c.popupClass) << " " << c.value;
    const PopupReaction up = Click(logic, index);
    ASSERT_TRUE(up.send) << static_cast<int>(c.popupClass) << " " << c.value;
    EXPECT_EQ(*up.send, (PopupSend{kResult, kOwner, 0, true}));
    EXPECT_EQ(logic.result().label, c.label);
    EXPECT_EQ(CodeOf(logic.result()), c.code) << static_cast<int>(c.popupClass) << " " << c.value;
  }
}

TEST_F(PopupClasses, ItemListsComeFromTheCoreTables) {
  const std::tuple<PopupClass, int, std::vector<int>> cases[] = {
      {PopupClass::kCombo, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {PopupClass::kWindowsManage, 0, {1, 2, 3, 4, 5, 6}},
      {PopupClass::kComboLighting, 0, {1, 2, 3, 4, 5, 6, 9, 10}},
      {PopupClass::kDpiLock, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {PopupClass::kMacroList, 0, {1, 2, 4, 7, 8}},           // nothing selected
      {PopupClass::kMacroList, 1, {1, 2, 3, 4, 5, 6, 7, 8}},  // a macro
      {PopupClass::kMacroList, 2, {1, 2, 4, 5, 6, 7, 8}},     // a folder
      {PopupClass::kMacroList, 9, {1, 2, 4, 7, 8}},
  };
  for (const auto& [c, context, expected] : cases) {
    const PopupLogic logic = Built(c, {context, {}});
    std::vector<int> values;
    for (const PopupItem& item : logic.model().items()) values.push_back(item.value);
    EXPECT_EQ(values, expected) << static_cast<int>(c) << " " << context;
  }
  // The DPI-lock entries show the resolution alone; the name comes on choosing.
  EXPECT_EQ(Built(PopupClass::kDpiLock).model().items()[10].text, u"1200");
  std::vector<int> marked;  // the main menu's entries that open submenus
  const PopupLogic menu = Built(PopupClass::kCombo);
  EXPECT_EQ(menu.model().items()[14].text, u"S36");
  for (const PopupItem& item : menu.model().items())
    if (item.marked) marked.push_back(item.value);
  EXPECT_EQ(marked, (std::vector<int>{6, 11, 12, 13, 15}));
}

// Every entry of the main menu: entering it opens its submenu or closes the
// open ones, pressing one of the first four asks for the popups' front,
// releasing assigns, asks for a dialog or (a submenu entry) does nothing.
TEST_F(PopupClasses, TheMainMenuAsksForSubmenusDialogsAndTheFront) {
  struct Case {
    int value;
    std::uint32_t enter, press, release;  // 0: nothing is sent
    bool record;
  };
  const Case cases[] = {
      {1, 0x409, 0x403, 0x403, true},  {2, 0x409, 0x403, 0x403, true}, {3, 0x409, 0x403, 0x403, true},
      {4, 0x409, 0x403, 0x403, true},  {5, 0x409, 0, 0x403, true},     {6, 0x410, 0, 0, false},
      {7, 0x409, 0, 0x426, false},     {8, 0x409, 0, 0x403, true},     {9, 0x409, 0, 0x429, false},
      {10, 0x409, 0, 0x40B, false},    {11, 0x413, 0, 0, false},       {12, 0x488, 0, 0, false},
      {13, 0x485, 0, 0, false},        {14, 0x409, 0, 0x403, true},    {15, 0x482, 0, 0, false},
      {16, 0x409, 0, 0x403, true},
  };
  for (const Case& c : cases) {
    PopupLogic menu = Built(PopupClass::kCombo);
    const UiRect r = menu.model().items()[static_cast<std::size_t>(c.value - 1)].rect;
    EXPECT_EQ(menu.MouseMove(r.left + 1, r.top + 1).send, (PopupSend{c.enter, kOwner, c.value, false})) << c.value;
    const std::optional<PopupSend> press = menu.ButtonDown(r.left + 1, r.top + 1).send;
    EXPECT_EQ(press, c.press ? std::optional(PopupSend{c.press, 0, 0, false}) : std::nullopt) << c.value;
    const std::optional<PopupSend> release = menu.ButtonUp(r.left + 1, r.top + 1).send;
    EXPECT_EQ(release, c.release ? std::optional(PopupSend{c.release, kOwner, 0, c.record}) : std::nullopt)
        << c.value;
  }
}

TEST_F(PopupClasses, TheProfilePickerSendsRowsAndRightClicks) {
  PopupOptions options;
  options.profileRows = {u"Profiles", {u"Work", u"Game", u"", u"", u""}, u"New", 2};
  PopupLogic picker = Built(PopupClass::kComboProfile, options);
  EXPECT_EQ(picker.currentRow(), 2);
  struct Row {
    int index;
    std::optional<PopupSend> left;
    std::optional<PopupSend> right;
  };
  const Row rows[] = {
      {0, std::nullopt, std::nullopt},                                         // header
      {1, PopupSend{kResult, 2, 2, false}, PopupSend{kResult, 11, 2, false}},  // "Work"
      {2, PopupSend{kResult, 2, 3, false}, PopupSend{kResult, 11, 3, false}},  // "Game", the current row
      {3, std::nullopt, std::nullopt},                                         // no profile here
      {6, PopupSend{kResult, 2, 7, false}, std::nullopt},                      // the last row
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Click(picker, row.index).send, row.left) << row.index;
    const UiRect r = picker.model().items()[static_cast<std::size_t>(row.index)].rect;
    EXPECT_EQ(picker.RightButtonUp(r.left + 5, r.top + 5).send, row.right) << row.index;
  }
  // Only named profile rows carry the mark; a current row beyond them is none.
  EXPECT_TRUE(picker.model().items()[1].marked);
  EXPECT_FALSE(picker.model().items()[3].marked);
  options.profileRows.currentRow = 6;
  EXPECT_EQ(Built(PopupClass::kComboProfile, options).currentRow(), -1);
}

TEST_F(PopupClasses, KindsPickTheirDismissalMessages) {
  const std::pair<PopupClass, std::uint32_t> classes[] = {
      {PopupClass::kCombo, 1029},         {PopupClass::kDpi, 1042},           {PopupClass::kMultimedia, 1045},
      {PopupClass::kComboProfile, 1126},  {PopupClass::kComboLighting, 1146}, {PopupClass::kDpiLock, 1156},
      {PopupClass::kWindowsManage, 1159}, {PopupClass::kOffice, 1162},        {PopupClass::kProfileRKey, 1165},
      {PopupClass::kActionInsert, 1168},  {PopupClass::kMacroList, 1170}};
  for (const auto& [c, message] : classes) {
    const PopupLogic logic = MakePopupLogic(c, 1.0f, kResult, kOwner);
    ASSERT_TRUE(logic.Dismissal());
    EXPECT_EQ(*logic.Dismissal(), (PopupSend{message, kOwner, logic.kind(), false}));
    EXPECT_EQ(logic.Closed(), (PopupSend{1025, 0, 0, false}));
  }
  for (int kind : {-1, 1, 4, 5, 6, 8, 16}) EXPECT_EQ(DismissalMessage(kind), 0u) << kind;
  // A number that names no class is taken as the main menu.
  EXPECT_EQ(MakePopupLogic(static_cast<PopupClass>(42), 1.0f, 0, 0).kind(), 0);
}

TEST_F(PopupClasses, OwnersFindTheirSubmenus) {
  EXPECT_EQ(SubmenuPopupClass(MenuChoice::kOfficeMenu), PopupClass::kOffice);
  EXPECT_EQ(SubmenuPopupClass(MenuChoice::kAssign), std::nullopt);
  EXPECT_EQ(SubmenuChoice(PopupClass::kDpiLock), MenuChoice::kDpiLockMenu);
  EXPECT_EQ(SubmenuChoice(PopupClass::kCombo), std::nullopt);

}

}  // namespace
}  // namespace zeltra
