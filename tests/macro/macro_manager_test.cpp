#include "macro/macro_manager.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

using L = MacroLocation;

struct Manager : testing::Test {
  MacroLibrary lib;
  L folder, sub, inSub, top;

  void SetUp() override {
    folder = L::None();
    lib.AddFolder(u"Folder", folder);
    sub = folder;
    lib.AddFolder(u"Sub", sub);
    inSub = sub;
    lib.AddMacro(u"InSub", inSub);
    top = L::None();
    lib.AddMacro(u"Top", top);
  }
  ManagerOutcome NewMacroAt(L selected, std::u16string_view name) {
    lib.selectedLocation = selected;
    return NewMacro(lib, name);
  }
};

TEST_F(Manager, NewMacroGoesIntoTheSelectedFolderWhichOpens) {
  ManagerOutcome out = NewMacroAt(folder, u"New");
  EXPECT_EQ(out.message, 0);
  EXPECT_TRUE(out.treeChanged);
  EXPECT_EQ(lib.selectedLocation, L::At(0, 1));
  EXPECT_TRUE(lib.ItemAt(folder)->IsOpen());
  EXPECT_EQ(CurrentMacro(lib), lib.MacroAt(L::At(0, 1)));

  NewMacroAt(inSub, u"Beside");  // a macro is selected: top level
  EXPECT_EQ(lib.selectedLocation, L::At(2));
  NewMacroAt(L::None(), u"Another");
  EXPECT_EQ(lib.selectedLocation, L::At(3));
}

TEST_F(Manager, NewMacroRefusals) {
  EXPECT_EQ(NewMacroAt(top, u"").message, 242);
  EXPECT_EQ(NewMacroAt(top, u"Top").message, 241);
  EXPECT_EQ(lib.selectedLocation, top);
  EXPECT_EQ(NewMacroAt(sub, u"InSub").message, 241);
  EXPECT_EQ(lib.ItemCount(), 4);
}

TEST_F(Manager, AFullLevelAddsNothingButStillOpensTheFolder) {
  for (int i = 1; i < kMacroLevelCapacity; ++i) {
    L at = sub;
    ASSERT_EQ(lib.AddMacro(u"n" + std::u16string(1, static_cast<char16_t>(u'A' + i)), at), AddItemResult::kAdded);
  }
  const ManagerOutcome out = NewMacroAt(sub, u"one too many");
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(lib.selectedLocation, sub);
  EXPECT_TRUE(lib.ItemAt(sub)->IsOpen());
}

TEST_F(Manager, NoFolderInsideAStage1Folder) {
  lib.selectedLocation = sub;
  const ManagerOutcome out = NewFolder(lib, u"Deeper");
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(lib.selectedLocation, sub);
  EXPECT_TRUE(lib.ItemAt(sub)->IsOpen());
  EXPECT_EQ(lib.ItemCount(), 4);

  lib.selectedLocation = folder;
  EXPECT_EQ(NewFolder(lib, u"Second").message, 0);
  EXPECT_EQ(lib.selectedLocation, L::At(0, 1));
  EXPECT_TRUE(lib.IsFolderAt(L::At(0, 1)));
  lib.selectedLocation = top;
  EXPECT_EQ(NewFolder(lib, u"").message, 242);
}

TEST_F(Manager, RenameChecksSiblingsOnly) {
  lib.selectedLocation = top;
  EXPECT_EQ(SelectedItemName(lib), u"Top");
  EXPECT_EQ(RenameSelectedItem(lib, u"Folder").message, 241);
  EXPECT_EQ(RenameSelectedItem(lib, u"").message, 242);
  const ManagerOutcome out = RenameSelectedItem(lib, u"InSub");  // used in another folder only
  EXPECT_EQ(out.message, 0);
  EXPECT_TRUE(out.treeChanged);
  EXPECT_EQ(lib.ItemAt(top)->name, u"InSub");
  EXPECT_EQ(lib.MacroAt(top)->name, u"InSub");

  lib.selectedLocation = L::None();
  EXPECT_EQ(SelectedItemName(lib), u"");
  EXPECT_FALSE(RenameSelectedItem(lib, u"x").treeChanged);
}

TEST_F(Manager, DeleteAsksAndRefusesWhatTheCurrentProfileUses) {
  lib.selectedLocation = L::None();
  EXPECT_EQ(DeleteQuestion(lib), 233);
  lib.selectedLocation = folder;
  EXPECT_EQ(DeleteQuestion(lib), 232);

  ProfileRecord current, other;
  current.Key[3].Value = {0x90, 0x00, 0x00, 0x00};
  current.Key[3].MacroKeyIndex = lib.MacroAt(inSub)->MacroKeyIndex;
  other = ProfileRecord{};
  EXPECT_EQ(DeleteSelectedItem(lib, current).message, 257);
  EXPECT_EQ(lib.ItemCount(), 4);

  // The same index on a button that no longer holds a macro does not count.
  current.Key[3].Value[0] = 0x10;
  EXPECT_FALSE(ProfileUsesLibraryItem(current, lib, folder));
  current.Key[3].Value[0] = 0x90;

  const ManagerOutcome out = DeleteSelectedItem(lib, other);  // another profile is current
  EXPECT_EQ(out.message, 0);
  EXPECT_TRUE(out.treeChanged);
  EXPECT_EQ(lib.selectedLocation, L::None());
  EXPECT_EQ(lib.ItemCount(), 1);
  EXPECT_EQ(lib.ItemAt(L::At(0))->name, u"Top");
  EXPECT_EQ(DeleteSelectedItem(lib, other).message, 233);
}

TEST(RepeatRule, RadioButtonsSetTheLoopType) {
  Macro m(u"m");
  EXPECT_FALSE(ChooseRepeatRule(&m, 2031));
  EXPECT_EQ(m.MacroKeyLoopType, 1);
  EXPECT_FALSE(ChooseRepeatRule(&m, 2032));
  EXPECT_EQ(m.MacroKeyLoopType, 4);
  EXPECT_EQ(RepeatRuleControl(&m), 2032);
  EXPECT_TRUE(ChooseRepeatRule(&m, 2033));
  EXPECT_EQ(m.MacroKeyLoopType, 2);
  EXPECT_EQ(RepeatRuleControl(&m), 2033);
  EXPECT_EQ(RepeatRuleControl(nullptr), 0);
  EXPECT_TRUE(ChooseRepeatRule(nullptr, 2033));
}

TEST(RepeatRule, TheCountBoxHoldsOneTo255) {
  struct Case {
    std::u16string text;
    int value;
    std::optional<std::u16string> replacement;
  };
  const Case cases[] = {{u"0", 1, u"1"},       {u"", 1, u"1"},        {u"abc", 1, u"1"},
                        {u"-4", 1, u"1"},      {u"1", 1, {}},         {u"255", 255, {}},
                        {u"256", 255, u"255"}, {u"300", 255, u"255"}, {u"99999999999", 255, u"255"},
                        {u"12x", 12, {}}};
  for (const Case& c : cases) {
    const RepeatCount count = NormaliseRepeatCount(c.text);
    EXPECT_EQ(count.value, c.value) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(count.replacement, c.replacement);
  }
  Macro m(u"m");
  m.MacroKeyLoopType = 1;
  EXPECT_FALSE(ApplyRepeatCountText(&m, u"300").has_value());
  EXPECT_EQ(m.MacroKeyLoopNum, 1);
  m.MacroKeyLoopType = 2;
  EXPECT_EQ(ApplyRepeatCountText(&m, u"300")->replacement, u"255");
  EXPECT_EQ(m.MacroKeyLoopNum, 255);
  EXPECT_TRUE(IsDigitOrBackspace(u'7'));
  EXPECT_TRUE(IsDigitOrBackspace(u'\b'));
  EXPECT_FALSE(IsDigitOrBackspace(u'-'));
}

}  // namespace
}  // namespace zeltra
