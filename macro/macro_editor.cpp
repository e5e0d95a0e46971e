#include "macro/macro_editor.h"

#include <algorithm>

#include "settings/key_tables.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::uint8_t kLeftButtonCode = 0xE0;
constexpr std::uint8_t kFirstMouseCode = 0xE0;
constexpr std::uint8_t kLastMouseCode = 0xE7;

int Count(const Macro& macro) {
  return static_cast<int>(std::min<std::uint32_t>(macro.MacroActionNum, kMaxMacroActions));
}

bool ValidSelection(const Macro& macro, int selection) { return selection >= 0 && selection < Count(macro); }

// After the selected action, or at the end without a selection.
int InsertionPoint(const Macro& macro, int selection) {
  return ValidSelection(macro, selection) ? selection + 1 : Count(macro);
}

// Two more events (a press and a release) and three more actions must fit.
bool RoomForPressAndRelease(const Macro& macro) {
  return macro.MacroCommandActionNum + 2 <= kMaxMacroEvents && Count(macro) + 3 <= kMaxMacroActions;
}

EditOutcome Changed() {
  EditOutcome outcome;
  outcome.listChanged = true;
  return outcome;
}

EditOutcome Message(int message) {
  EditOutcome outcome;
  outcome.message = message;
  return outcome;
}

EditOutcome OpenDialog(EditOutcome::Dialog dialog, int action, bool listChanged) {
  EditOutcome outcome;
  outcome.dialog = dialog;
  outcome.dialogAction = action;
  outcome.listChanged = listChanged;
  return outcome;
}

}  // namespace

EditOutcome MacroActionEditor::Insert(Macro* macro, int& selection, InsertOperation operation) {
  if (!macro) return Message(kNoMacroToEditMessage);
  if (pending_ != Pending::kNone) return {};
  const int at = InsertionPoint(*macro, selection);
  switch (operation) {
    case InsertOperation::kLeftClick:
    case InsertOperation::kRightClick:
    case InsertOperation::kMiddleClick:
      return InsertClick(*macro, selection, static_cast<std::uint8_t>(kLeftButtonCode + static_cast<int>(operation)),
                         at);
    case InsertOperation::kDelay: return InsertDelay(*macro, at);
    case InsertOperation::kKey: return InsertKey(*macro, at);
  }
  return {};
}

EditOutcome MacroActionEditor::InsertClick(Macro& macro, int& selection, std::uint8_t button, int at) {
  if (!RoomForPressAndRelease(macro)) return Message(kMacroTooLongMessage);
  macro.MacroCommandActionNum = static_cast<std::uint8_t>(macro.MacroCommandActionNum + 2);
  macro.InsertAction(at, MacroAction::Event(button, false));
  macro.InsertAction(at + 1, MacroAction::Delay(kClickDelayMs));
  macro.InsertAction(at + 2, MacroAction::Event(button, true));
  selection = at + 2;
  return Changed();
}

EditOutcome MacroActionEditor::InsertDelay(Macro& macro, int at) {
  // A delay right before the insertion point is edited rather than doubled.
  if (at > 0 && macro.AllAction[static_cast<std::size_t>(at - 1)].IsDelay()) {
    pending_ = Pending::kEditedDelay;
    pendingAction_ = at - 1;
    return OpenDialog(EditOutcome::Dialog::kDelay, at - 1, false);
  }
  if (Count(macro) >= kMaxMacroActions) return Message(kMacroTooLongMessage);
  macro.InsertAction(at, MacroAction::Delay(kInsertedDelayMs));
  pending_ = Pending::kInsertedDelay;
  pendingAction_ = at;
  return OpenDialog(EditOutcome::Dialog::kDelay, at, true);
}

EditOutcome MacroActionEditor::InsertKey(Macro& macro, int at) {
  if (!RoomForPressAndRelease(macro)) return Message(kMacroTooLongMessage);
  macro.InsertAction(at, MacroAction::Event(kPlaceholderKey, false));
  macro.InsertAction(at + 1, MacroAction::Delay(kClickDelayMs));
  macro.InsertAction(at + 2, MacroAction::Event(kPlaceholderKey, true));
  pending_ = Pending::kInsertedKey;
  pendingAction_ = at;
  return OpenDialog(EditOutcome::Dialog::kKey, at, true);
}

EditOutcome MacroActionEditor::Modify(const Macro* macro, int selection) {
  if (!macro || pending_ != Pending::kNone || !ValidSelection(*macro, selection)) return {};
  const MacroAction& action = macro->AllAction[static_cast<std::size_t>(selection)];
  if (action.IsDelay()) {
    pending_ = Pending::kEditedDelay;
    pendingAction_ = selection;
    return OpenDialog(EditOutcome::Dialog::kDelay, selection, false);
  }
  // Mouse buttons, moves and the wheel have no key to choose.
  if (action.Code() >= kFirstMouseCode && action.Code() <= kLastMouseCode) return {};
  pending_ = Pending::kModifiedKey;
  pendingAction_ = selection;
  return OpenDialog(EditOutcome::Dialog::kKey, selection, false);
}

EditOutcome MacroActionEditor::DeleteSelected(Macro* macro, int& selection) {
  if (!macro || pending_ != Pending::kNone || !ValidSelection(*macro, selection)) return {};
  const bool event = !macro->AllAction[static_cast<std::size_t>(selection)].IsDelay();
  macro->DeleteAction(selection);
  if (event && macro->MacroCommandActionNum > 0) --macro->MacroCommandActionNum;
  const int count = Count(*macro);
  if (count == 0)
    selection = -1;
  else if (selection >= count)
    selection = count - 1;
  return Changed();
}

EditOutcome MacroActionEditor::FinishDelayDialog(Macro& macro, int& selection, bool ok, std::u16string_view text) {
  const Pending pending = pending_;
  const int at = pendingAction_;
  if (pending != Pending::kInsertedDelay && pending != Pending::kEditedDelay) return {};
  pending_ = Pending::kNone;
  pendingAction_ = -1;
  if (at < 0 || at >= Count(macro)) return {};
  if (ok) {
    macro.SetAction(at, MacroAction::Delay(ParseDelayText(text)));
    selection = at;
    return Changed();
  }
  if (pending == Pending::kInsertedDelay) {
    macro.DeleteAction(at);
    return Changed();
  }
  return {};
}

EditOutcome MacroActionEditor::FinishKeyDialog(Macro& macro, int& selection, bool ok,
                                               std::optional<std::uint8_t> code) {
  const Pending pending = pending_;
  const int at = pendingAction_;
  if (pending != Pending::kInsertedKey && pending != Pending::kModifiedKey) return {};
  pending_ = Pending::kNone;
  pendingAction_ = -1;
  if (at < 0 || at >= Count(macro)) return {};
  MacroAction& action = macro.AllAction[static_cast<std::size_t>(at)];
  if (pending == Pending::kModifiedKey) {
    // Only this action: its partner press or release keeps its key.
    if (!ok || !code) return {};
    action.bytes[0] = *code;
    return Changed();
  }
  if (!ok) {
    for (int i = 0; i < 3; ++i) macro.DeleteAction(at);
    return Changed();
  }
  if (code) action.bytes[0] = *code;
  macro.AllAction[static_cast<std::size_t>(at + 2)].bytes[0] = action.bytes[0];
  macro.MacroCommandActionNum = static_cast<std::uint8_t>(macro.MacroCommandActionNum + 2);
  selection = at + 2;
  return Changed();
}

std::uint32_t ParseDelayText(std::u16string_view text) {
  const int value = ParseDecimal(text);
  if (value <= 0) return 0;
  return std::min(static_cast<std::uint32_t>(value), kMaxDelayMs);
}

std::u16string DelayDialogText(const MacroAction& delay) { return Udec(delay.DelayMs()); }

int ActionListFirstRowAfterEdit(int actionCount, int visibleRows) {
  return actionCount > visibleRows ? actionCount - visibleRows : -1;
}

ActionIcon ActionRowIcon(const MacroAction& action) {
  if (action.IsDelay()) return ActionIcon::kDelay;
  return action.IsRelease() ? ActionIcon::kRelease : ActionIcon::kPress;
}

std::u16string ActionRowText(const MacroAction& action) {
  if (action.IsDelay()) return Udec(action.DelayMs()) + u"ms";
  const int amount = static_cast<std::int8_t>(action.bytes[3]);
  const auto moved = [amount](std::u16string_view forward, std::u16string_view back) {
    return std::u16string(amount < 0 ? back : forward) + Dec(amount < 0 ? -amount : amount);
  };
  switch (action.Code()) {
    case 0xE5: return moved(u"Move Right ", u"Move Left ");
    case 0xE6: return moved(u"Move Down ", u"Move Up ");
    case 0xE7: return moved(u"Wheel Down ", u"Wheel Up ");
    default: return KeyName(action.Code());
  }
}

}  // namespace zeltra
