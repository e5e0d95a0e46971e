// Editing the current macro's action list: the five insert operations, the
// key and delay dialogs' results, modify and delete of one action, and the
// texts of the action list's rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/macro.h"

namespace zeltra {

// Hand-entered delays above this are stored as this (bytes 03 E9 75 A0).
inline constexpr std::uint32_t kMaxDelayMs = 15300000;
inline constexpr std::uint32_t kClickDelayMs = 50;      // between a press and its release
inline constexpr std::uint32_t kInsertedDelayMs = 100;  // a new delay's value
inline constexpr std::uint8_t kPlaceholderKey = 0x41;   // "A" until a key is chosen
// Attention messages of the editor (language strings).
inline constexpr int kNoMacroToEditMessage = 236;
inline constexpr int kMacroTooLongMessage = 237;

// The entries of the insert popup, in order.
enum class InsertOperation { kLeftClick = 0, kRightClick = 1, kMiddleClick = 2, kDelay = 3, kKey = 4 };

struct EditOutcome {
  enum class Dialog { kNone, kDelay, kKey };

  int message = 0;                // attention dialog to show (language string), 0 for none
  bool listChanged = false;       // refresh the list; scroll it to its end when it overflows
  Dialog dialog = Dialog::kNone;  // a dialog to open on action `dialogAction`
  int dialogAction = -1;
};

// Drives the edits of one manager. `selection` is the action list's selected
// row (-1 for none); each operation updates it. An operation that opens a
// dialog is finished by the matching Finish call with the dialog's result.
class MacroActionEditor {
 public:
  EditOutcome Insert(Macro* macro, int& selection, InsertOperation operation);
  // Modify button or a double click: opens the dialog that edits the action.
  EditOutcome Modify(const Macro* macro, int selection);
  EditOutcome DeleteSelected(Macro* macro, int& selection);

  // The delay dialog ended: on OK `text` is the edit box's text.
  EditOutcome FinishDelayDialog(Macro& macro, int& selection, bool ok, std::u16string_view text);
  // The key dialog ended: on OK `code` is the key it wrote, or nothing when it
  // was ended with Enter (the action keeps its code).
  EditOutcome FinishKeyDialog(Macro& macro, int& selection, bool ok, std::optional<std::uint8_t> code);

  bool dialogPending() const { return pending_ != Pending::kNone; }

 private:
  enum class Pending { kNone, kInsertedDelay, kEditedDelay, kInsertedKey, kModifiedKey };
  EditOutcome InsertClick(Macro& macro, int& selection, std::uint8_t button, int at);
  EditOutcome InsertDelay(Macro& macro, int at);
  EditOutcome InsertKey(Macro& macro, int at);

  Pending pending_ = Pending::kNone;
  int pendingAction_ = -1;
};

// The delay dialog's text read as milliseconds: leading digits, a negative or
// missing number as 0, capped at kMaxDelayMs.
std::uint32_t ParseDelayText(std::u16string_view text);
// The text the delay dialog opens with.
std::u16string DelayDialogText(const MacroAction& delay);

// First visible row of the action list after an edit: scrolled to its end when
// the actions do not fit, else -1 (leave it).
int ActionListFirstRowAfterEdit(int actionCount, int visibleRows);

// Rows of the action list.
enum class ActionIcon { kDelay, kRelease, kPress };
ActionIcon ActionRowIcon(const MacroAction& action);
// "%ums" for a delay, "Move Right %d" ... for moves and the wheel, else the key name.
std::u16string ActionRowText(const MacroAction& action);

}  // namespace zeltra
