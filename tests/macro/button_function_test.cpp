#include "macro/button_function.h"

#include <gtest/gtest.h>

#include "macro/macro_library.h"
#include "settings/key_tables.h"
#include "settings/language.h"

namespace zeltra {
namespace {

using Code = ButtonFunctionCode;

// Language strings with recognisable texts; restored after each test.
struct ButtonFunctions : testing::Test {
  LanguageTable saved = Language();
  void SetUp() override {
    for (int i = 0; i < kLanguageStringCount; ++i)
      Language().Set(i, u"S" + std::u16string(1, static_cast<char16_t>(0x100 + i)));
    Language().Set(20, u"Left");
    Language().Set(26, u"Fire+");
    Language().Set(34, u"Disabled");
    Language().Set(36, u"DPI Lock");
    Language().Set(190, u"Macro: ");
  }
  void TearDown() override { Language() = saved; }

  static ProfileRecord FreshButtons() {
    ProfileRecord p;
    const Code codes[] = {{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0},
                          {0x10, 0x10, 0}, {0x10, 0x08, 0}, {0x40, 0x01, 0}};
    for (int i = 0; i < kKeySlotCount; ++i)
      for (int b = 0; b < 3; ++b)
        p.Key[static_cast<std::size_t>(i)].Value[static_cast<std::size_t>(b)] =
            codes[i].bytes[static_cast<std::size_t>(b)];
    return p;
  }
  static Code CodeOf(const ProfileRecord& p, int slot) {
    const auto& v = p.Key[static_cast<std::size_t>(slot)].Value;
    return {v[0], v[1], v[2]};
  }
};

TEST_F(ButtonFunctions, MainMenuEntriesAssignOpenSubmenusOrDialogs) {
  const std::string kinds = "aaaaasdaddsssasa";  // entries 1..16: assign, submenu or dialog
  for (int entry = 1; entry <= 16; ++entry) {
    const MainMenuEntry& e = kMainAssignmentMenu[static_cast<std::size_t>(entry - 1)];
    const char kind = e.choice == MenuChoice::kAssign             ? 'a'
                      : FindSubmenu(e.choice)                     ? 's'
                      : MenuDialogMessages(e.choice).request != 0 ? 'd'
                                                                  : '?';
    EXPECT_EQ(kind, kinds[static_cast<std::size_t>(entry - 1)]) << entry;
    EXPECT_EQ(MainMenuAssignment(entry).name.empty(), kind != 'a') << entry;
  }
  EXPECT_EQ(MainMenuAssignment(8).code, Code(0x30, 0x32, 0x03));
  EXPECT_EQ(MainMenuAssignment(16).code, kDisabledCode);
  EXPECT_EQ(MainMenuAssignment(16).name, u"Disabled");
}

TEST_F(ButtonFunctions, KeyCombinationsOfTheSubmenusUseTheDeviceKeyCodes) {
  // Office and Windows entries are Ctrl/Win/Alt with an ordinary key: each must
  // equal what the key-combination dialog would build for that key.
  struct Expect {
    Code code;
    std::uint8_t modifiers;
    int vk;
  };
  const Expect office[] = {{kOfficeMenu[0].code, 0x01, 'C'},
                           {kOfficeMenu[1].code, 0x01, 'V'},
                           {kOfficeMenu[2].code, 0x01, 'X'},
                           {kOfficeMenu[3].code, 0x01, 'A'},
                           {kOfficeMenu[4].code, 0x01, 'N'},
                           {kOfficeMenu[5].code, 0x01, 'S'},
                           {kOfficeMenu[6].code, 0x01, 'P'},
                           {kOfficeMenu[7].code, 0x08, 'E'},
                           {kOfficeMenu[8].code, 0x01, 'Z'},
                           {kWindowsManagementMenu[1].code, 0x04, 0x73},
                           {kWindowsManagementMenu[2].code, 0x08, 'D'},
                           {kWindowsManagementMenu[3].code, 0x08, 'R'},
                           {kWindowsManagementMenu[4].code, 0x08, 0x28},
                           {kWindowsManagementMenu[5].code, 0x08, 0x26}};
  for (const Expect& e : office) EXPECT_EQ(e.code, KeyCombinationCode(e.modifiers, DeviceKeyCode(e.vk))) << e.vk;
  // Consumer usages travel low byte first.
  EXPECT_EQ(kMultimediaMenu[0].code, Code(0x80, 0x83, 0x01));
  EXPECT_EQ(kWindowsManagementMenu[0].code, Code(0x80, 0x94, 0x01));
  EXPECT_EQ(SubmenuAssignment(MenuChoice::kMultimediaMenu, 10).code, Code(0x80, 0x92, 0x01));
  EXPECT_EQ(SubmenuAssignment(MenuChoice::kDpiFunctionMenu, 3).code, Code(0x40, 0x01, 0x00));
  EXPECT_EQ(SubmenuAssignment(MenuChoice::kDpiFunctionMenu, 3).name, LanguageString(42));
  EXPECT_TRUE(SubmenuAssignment(MenuChoice::kOfficeMenu, 10).name.empty());
}

TEST_F(ButtonFunctions, DisplayNames) {
  EXPECT_EQ(FireKeyName(), u"Fire");
  Language().Set(26, u"Fire++");
  EXPECT_EQ(FireKeyName(), u"Fire+");
  Language().Set(26, u"Fire");
  EXPECT_EQ(FireKeyName(), u"Fire");

  EXPECT_EQ(DpiLockAssignment(1).name, u"DPI Lock-200");
  EXPECT_EQ(DpiLockAssignment(1).code, Code(0x50, 0x01, 0x00));
  EXPECT_EQ(DpiLockAssignment(11).name, u"DPI Lock-1200");
  EXPECT_EQ(SubmenuAssignment(MenuChoice::kDpiLockMenu, 11).code, Code(0x50, 0x0B, 0x00));
  EXPECT_TRUE(DpiLockAssignment(12).name.empty());

  EXPECT_EQ(KeyCombinationName(kModifierCtrl | kModifierAlt, KeyName(0x41)), u"Ctrl+Alt+A");
  EXPECT_EQ(KeyCombinationName(0x0F, u"F4"), u"Ctrl+Shift+Alt+Win+F4");
  EXPECT_EQ(KeyCombinationName(kModifierShift, u""), u"Shift");
  EXPECT_EQ(KeyCombinationName(0, u""), u"");
  EXPECT_EQ(KeyCombinationCode(0x05, 0x04), Code(0x70, 0x05, 0x04));
  EXPECT_EQ(MacroAssignmentName(u"Jump"), u"Macro: Jump");
}

TEST_F(ButtonFunctions, TheMacroChooserAssignsTheSelectedMacroOrNothing) {
  MacroLibrary lib;
  MacroLocation f, m;
  lib.AddFolder(u"F", f);
  lib.AddMacro(u"Jump", m);
  lib.selectedLocation = m;
  ButtonAssignment a = ChosenMacroAssignment(lib);
  EXPECT_EQ(a.name, u"Macro: Jump");
  EXPECT_EQ(a.code, kAssignedMacroCode);
  EXPECT_EQ(a.macro, lib.MacroAt(m));
  for (MacroLocation none : {f, MacroLocation::None(), MacroLocation::At(9)}) {
    lib.selectedLocation = none;
    a = ChosenMacroAssignment(lib);
    EXPECT_EQ(a.name, u"Disabled");
    EXPECT_EQ(a.code, kDisabledCode);
    EXPECT_EQ(a.macro, nullptr);
  }
}

TEST_F(ButtonFunctions, AssignStoresIntoTheComboSlot) {
  ProfileRecord p = FreshButtons();
  for (int combo = 2013; combo <= 2018; ++combo) {
    EXPECT_TRUE(AssignButtonFunction(p, combo, u"x", Code(0x00, 0x00, static_cast<std::uint8_t>(combo - 2013))));
    EXPECT_EQ(CodeOf(p, combo - 2013), Code(0, 0, static_cast<std::uint8_t>(combo - 2013)));
  }
  const ProfileRecord before = p;
  for (int combo : {2012, 2019, 2020, 2021}) EXPECT_FALSE(AssignButtonFunction(p, combo, u"y", kLeftClickCode));
  for (int s = 0; s < kKeySlotCount; ++s)
    EXPECT_EQ(p.Key[static_cast<std::size_t>(s)].Name, before.Key[static_cast<std::size_t>(s)].Name);
}

TEST_F(ButtonFunctions, AMacroIsCopiedAndOtherFunctionsOnlyEmptyItsActions) {
  ProfileRecord p = FreshButtons();
  p.Key[2].Value[3] = 0xAB;  // the spare byte is not part of the code
  Macro m(u"Jump");
  m.MacroKeyIndex = 17;
  m.MacroKeyLoopType = 4;
  m.MacroKeyLoopNum = 3;
  m.InsertAction(0, MacroAction::Event(0x41, false));
  m.InsertAction(1, MacroAction::Event(0x41, true));
  m.MacroCommandActionNum = 2;
  AssignButtonFunction(p, 2015, u"Macro: Jump", kAssignedMacroCode, &m);
  const KeySlot& slot = p.Key[2];
  EXPECT_EQ(slot.Name, u"Macro: Jump");
  EXPECT_EQ(slot.Value, (std::array<std::uint8_t, 4>{0x90, 0, 0, 0xAB}));
  EXPECT_EQ(slot.MacroKeyIndex, 17u);
  EXPECT_EQ(slot.macro.MacroKeyIndex, 17u);
  EXPECT_EQ(slot.macro.MacroActionNum, 2u);
  EXPECT_EQ(slot.macro.MacroKeyLoopType, 4);
  EXPECT_EQ(slot.macro.AllAction[1], MacroAction::Event(0x41, true));

  AssignButtonFunction(p, 2015, u"Mute", Code(0x80, 0xE2, 0x00));
  EXPECT_EQ(slot.macro.MacroActionNum, 0u);
  EXPECT_EQ(slot.macro.name, u"Jump");
  EXPECT_EQ(slot.MacroKeyIndex, 17u);
  EXPECT_EQ(slot.macro.MacroKeyLoopNum, 3);
}

TEST_F(ButtonFunctions, TheOnlyLeftClickComesBackWithAWarning) {
  const Code others[] = {{0x10, 0x02, 0}, {0x70, 0x00, 0x04}, kAssignedMacroCode, kDisabledCode, {0x10, 0x03, 0}};
  for (const Code& code : others) {
    ProfileRecord p = FreshButtons();
    AssignButtonFunction(p, 2013, u"other", code);
    const LeftClickDecision d = EnsureLeftClick(p, 2013);
    EXPECT_EQ(d.action, LeftClickDecision::Action::kRestoredLeftClick);
    EXPECT_EQ(d.comboText, u"Left");
    EXPECT_EQ(p.Key[0].Name, u"Left");
    EXPECT_EQ(CodeOf(p, 0), kLeftClickCode);
  }
}

TEST_F(ButtonFunctions, WithAnotherLeftClickTheChangeIsApplied) {
  ProfileRecord p = FreshButtons();
  AssignButtonFunction(p, 2016, u"Left", Code(0x10, 0x01, 0x07));  // byte 2 is not looked at
  AssignButtonFunction(p, 2013, u"Right", Code(0x10, 0x02, 0x00));
  EXPECT_EQ(CountLeftClickSlots(p), 1);
  const LeftClickDecision d = EnsureLeftClick(p, 2013);
  EXPECT_EQ(d.action, LeftClickDecision::Action::kApply);
  EXPECT_EQ(CodeOf(p, 0), Code(0x10, 0x02, 0x00));
  EXPECT_EQ(CodeOf(p, 3), Code(0x10, 0x01, 0x07));
}

}  // namespace
}  // namespace zeltra
