#include "macro/macro_editor.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

using Dialog = EditOutcome::Dialog;

MacroAction Press(std::uint8_t c) { return MacroAction::Event(c, false); }
MacroAction Release(std::uint8_t c) { return MacroAction::Event(c, true); }

Macro MacroOf(std::initializer_list<MacroAction> actions) {
  Macro m(u"m");
  for (const MacroAction& a : actions) {
    m.InsertAction(kMaxMacroActions, a);
    if (!a.IsDelay()) ++m.MacroCommandActionNum;
  }
  return m;
}

std::vector<MacroAction> Actions(const Macro& m) {
  return {m.AllAction.begin(), m.AllAction.begin() + m.MacroActionNum};
}

// Five actions: A press, 10 ms, A release, 10 ms, B press.
Macro FiveActions() {
  return MacroOf({Press(0x41), MacroAction::Delay(10), Release(0x41), MacroAction::Delay(10), Press(0x42)});
}

TEST(MacroEditor, AClickGoesAfterTheSelectionAndSelectsItsRelease) {
  Macro m = FiveActions();
  MacroActionEditor editor;
  int selection = 2;  // the third action
  const EditOutcome out = editor.Insert(&m, selection, InsertOperation::kRightClick);
  EXPECT_TRUE(out.listChanged);
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(selection, 5);
  EXPECT_EQ(Actions(m),
            (std::vector<MacroAction>{Press(0x41), MacroAction::Delay(10), Release(0x41), Press(0xE1),
                                      MacroAction::Delay(50), Release(0xE1), MacroAction::Delay(10), Press(0x42)}));
  EXPECT_EQ(m.MacroCommandActionNum, 5);

  selection = -1;  // no selection: at the end
  editor.Insert(&m, selection, InsertOperation::kLeftClick);
  EXPECT_EQ(selection, 10);
  EXPECT_EQ(m.AllAction[8], Press(0xE0));
  editor.Insert(&m, selection, InsertOperation::kMiddleClick);
  EXPECT_EQ(m.AllAction[13], Release(0xE2));
}

TEST(MacroEditor, InsertingIsRefusedWithoutAMacroOrRoom) {
  MacroActionEditor editor;
  int selection = -1;
  EXPECT_EQ(editor.Insert(nullptr, selection, InsertOperation::kDelay).message, 236);

  Macro m(u"m");
  m.MacroCommandActionNum = 167;
  for (InsertOperation op : {InsertOperation::kLeftClick, InsertOperation::kKey}) {
    const EditOutcome out = editor.Insert(&m, selection, op);
    EXPECT_EQ(out.message, 237);
    EXPECT_FALSE(out.listChanged);
    EXPECT_EQ(out.dialog, Dialog::kNone);
  }
  EXPECT_EQ(m.MacroActionNum, 0u);

  // 166 events may still be too many actions when hand-inserted delays fill the list.
  m.MacroCommandActionNum = 166;
  for (int i = 0; i < 334; ++i) m.InsertAction(i, MacroAction::Delay(1));
  EXPECT_EQ(editor.Insert(&m, selection, InsertOperation::kRightClick).message, 237);
  EXPECT_EQ(m.MacroActionNum, 334u);
}

TEST(MacroEditor, ADelayIsInsertedAndEditedOrRemovedAgain) {
  Macro m(u"m");
  MacroActionEditor editor;
  int selection = -1;
  EditOutcome out = editor.Insert(&m, selection, InsertOperation::kDelay);
  EXPECT_EQ(out.dialog, Dialog::kDelay);
  EXPECT_EQ(out.dialogAction, 0);
  EXPECT_EQ(Actions(m), std::vector<MacroAction>{MacroAction::Delay(100)});
  EXPECT_EQ(DelayDialogText(m.AllAction[0]), u"100");
  editor.FinishDelayDialog(m, selection, false, u"");
  EXPECT_EQ(m.MacroActionNum, 0u);
  EXPECT_EQ(selection, -1);

  m = FiveActions();
  selection = 0;
  out = editor.Insert(&m, selection, InsertOperation::kDelay);
  EXPECT_EQ(out.dialogAction, 1);
  EXPECT_EQ(m.MacroActionNum, 6u);
  editor.FinishDelayDialog(m, selection, true, u"250");
  EXPECT_EQ(m.AllAction[1], MacroAction::Delay(250));
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(m.MacroCommandActionNum, 3);
}

TEST(MacroEditor, ADelayBeforeTheInsertionPointIsEditedInstead) {
  Macro m = FiveActions();
  MacroActionEditor editor;
  int selection = 1;  // a delay
  const EditOutcome out = editor.Insert(&m, selection, InsertOperation::kDelay);
  EXPECT_EQ(out.dialog, Dialog::kDelay);
  EXPECT_EQ(out.dialogAction, 1);
  EXPECT_EQ(m.MacroActionNum, 5u);
  editor.FinishDelayDialog(m, selection, false, u"999");
  EXPECT_EQ(Actions(m), Actions(FiveActions()));  // Cancel keeps it
  editor.Insert(&m, selection, InsertOperation::kDelay);
  editor.FinishDelayDialog(m, selection, true, u"999");
  EXPECT_EQ(m.AllAction[1], MacroAction::Delay(999));
  EXPECT_EQ(m.MacroActionNum, 5u);
}

TEST(MacroEditor, AKeyIsInsertedWithThePlaceholderUntilChosen) {
  MacroActionEditor editor;
  struct Case {
    bool ok;
    std::optional<std::uint8_t> code;
    std::vector<MacroAction> tail;  // what follows the five actions
    int selection;
  };
  const Case cases[] = {
      {true, 0x43, {Press(0x43), MacroAction::Delay(50), Release(0x43)}, 7},
      // OK given with Enter writes no code: the placeholder stays.
      {true, std::nullopt, {Press(0x41), MacroAction::Delay(50), Release(0x41)}, 7},
      {false, 0x43, {}, 4},
  };
  for (const Case& c : cases) {
    Macro m = FiveActions();
    int selection = 4;
    const EditOutcome out = editor.Insert(&m, selection, InsertOperation::kKey);
    EXPECT_EQ(out.dialog, Dialog::kKey);
    EXPECT_EQ(out.dialogAction, 5);
    EXPECT_EQ(m.MacroActionNum, 8u);
    EXPECT_EQ(m.MacroCommandActionNum, 3);  // counted only on OK
    editor.FinishKeyDialog(m, selection, c.ok, c.code);
    std::vector<MacroAction> expected = Actions(FiveActions());
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(Actions(m), expected);
    EXPECT_EQ(m.MacroCommandActionNum, c.ok ? 5 : 3);
    EXPECT_EQ(selection, c.selection);
    EXPECT_FALSE(editor.dialogPending());
  }
}

TEST(MacroEditor, ModifyChangesOnlyTheOneAction) {
  Macro m = MacroOf({Press(0x41), MacroAction::Delay(50), Release(0x41), Press(0xE0), Release(0xE0)});
  MacroActionEditor editor;
  int selection = 0;
  EditOutcome out = editor.Modify(&m, 0);
  ASSERT_EQ(out.dialog, Dialog::kKey);
  editor.FinishKeyDialog(m, selection, true, 0x5A);
  EXPECT_EQ(m.AllAction[0], Press(0x5A));
  EXPECT_EQ(m.AllAction[2], Release(0x41));  // the release keeps its old key
  // Release bit kept when a release is changed.
  editor.Modify(&m, 2);
  editor.FinishKeyDialog(m, selection, true, 0x5A);
  EXPECT_EQ(m.AllAction[2], Release(0x5A));

  EXPECT_EQ(editor.Modify(&m, 3).dialog, Dialog::kNone);  // mouse button
  EXPECT_EQ(editor.Modify(&m, -1).dialog, Dialog::kNone);
  EXPECT_EQ(editor.Modify(&m, 5).dialog, Dialog::kNone);
  EXPECT_EQ(editor.Modify(nullptr, 0).dialog, Dialog::kNone);

  out = editor.Modify(&m, 1);
  ASSERT_EQ(out.dialog, Dialog::kDelay);
  editor.FinishDelayDialog(m, selection, true, u"99999999");
  EXPECT_EQ(m.AllAction[1], (MacroAction{{0x03, 0xE9, 0x75, 0xA0}}));
  editor.Modify(&m, 1);
  editor.FinishDelayDialog(m, selection, true, u"-40");
  EXPECT_EQ(m.AllAction[1], MacroAction::Delay(0));
}

TEST(MacroEditor, DelayTextIsReadAsDigitsAndCapped) {
  EXPECT_EQ(ParseDelayText(u"15300000"), 15300000u);
  EXPECT_EQ(ParseDelayText(u"15300001"), 15300000u);
  EXPECT_EQ(ParseDelayText(u"12ab"), 12u);
  EXPECT_EQ(ParseDelayText(u""), 0u);
}

TEST(MacroEditor, DeleteRemovesOneActionAndMovesTheSelection) {
  Macro m = FiveActions();
  MacroActionEditor editor;
  int selection = 0;
  editor.DeleteSelected(&m, selection);  // an event: one event fewer
  EXPECT_EQ(m.MacroCommandActionNum, 2);
  EXPECT_EQ(m.AllAction[0], MacroAction::Delay(10));  // its delay and release stay
  EXPECT_EQ(selection, 0);
  editor.DeleteSelected(&m, selection);  // a delay: the count stays
  EXPECT_EQ(m.MacroCommandActionNum, 2);
  selection = 2;  // the last one
  editor.DeleteSelected(&m, selection);
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(Actions(m), (std::vector<MacroAction>{Release(0x41), MacroAction::Delay(10)}));
  selection = 0;
  editor.DeleteSelected(&m, selection);
  editor.DeleteSelected(&m, selection);
  EXPECT_EQ(selection, -1);
  EXPECT_FALSE(editor.DeleteSelected(&m, selection).listChanged);
}

TEST(MacroEditor, RowTextsAndIcons) {
  struct Row {
    MacroAction action;
    std::u16string text;
    ActionIcon icon;
  };
  const Row rows[] = {
      {MacroAction::Delay(15300000), u"15300000ms", ActionIcon::kDelay},
      {MacroAction{{0x00, 0, 0, 0}}, u"0ms", ActionIcon::kDelay},
      {Press(0x41), u"A", ActionIcon::kPress},
      {Release(0xE0), u"L Key", ActionIcon::kRelease},
      {MacroAction::Event(0xE5, false, 5), u"Move Right 5", ActionIcon::kPress},
      {MacroAction::Event(0xE5, false, 0xFB), u"Move Left 5", ActionIcon::kPress},
      {MacroAction::Event(0xE6, false, 0x80), u"Move Up 128", ActionIcon::kPress},
      {MacroAction::Event(0xE6, false, 0x7F), u"Move Down 127", ActionIcon::kPress},
      {MacroAction::Event(0xE7, true, 1), u"Wheel Down 1", ActionIcon::kRelease},
      {MacroAction::Event(0xE7, false, 0xFF), u"Wheel Up 1", ActionIcon::kPress},
      {Press(0xFF), u"Undefined", ActionIcon::kPress},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ActionRowText(row.action), row.text);
    EXPECT_EQ(ActionRowIcon(row.action), row.icon);
  }
}

}  // namespace
}  // namespace zeltra
