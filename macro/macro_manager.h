// What the macro manager's buttons, context popup and repeat-rule controls do
// to the library. Each operation returns which attention message to show and
// whether the tree must be refreshed, so the dialog only draws and asks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "macro/macro_library.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "ui/control_selection.h"

namespace zeltra {

// Attention messages of the manager (language strings; title 150).
inline constexpr int kDeleteConfirmMessage = 232;
inline constexpr int kNothingSelectedMessage = 233;
inline constexpr int kNameExistsMessage = 241;
inline constexpr int kEmptyNameMessage = 242;
inline constexpr int kItemInUseMessage = 257;
inline constexpr int kNotADigitMessage = 175;
inline constexpr int kLibraryUnavailableMessage = kStringLibraryUnavailable;

// Repeat-rule radio buttons, the MacroKeyLoopType each one sets, and their
// bits in the radio selection word.
inline constexpr int kRepeatRuleControl1 = 2031;  // type 1
inline constexpr int kRepeatRuleControl4 = 2032;  // type 4
inline constexpr int kRepeatRuleControl2 = 2033;  // type 2, with the count box
inline constexpr RadioBit kRepeatRuleRadio1{kRadioGroupMacroRepeat, 0x2000};
inline constexpr RadioBit kRepeatRuleRadio4{kRadioGroupMacroRepeat, 0x4000};
inline constexpr RadioBit kRepeatRuleRadio2{kRadioGroupMacroRepeat, 0x8000};

struct ManagerOutcome {
  int message = 0;           // attention dialog to show, 0 for none
  bool treeChanged = false;  // refresh the tree and the current macro, repaint
};

// The current macro: the selected item's macro, none for a folder or nothing.
Macro* CurrentMacro(MacroLibrary& library);

// Context popup (CMacroListPopup): kind 1 for a selected macro, 2 for a
// folder, 0 otherwise, which picks the entries it lists
// (PopupOptions::macroListContext); entry k is operation k - 1.
enum class ManagerOperation {
  kNewMacro = 0,
  kNewFolder = 1,
  kExportMacro = 2,
  kImportMacro = 3,
  kRename = 4,
  kDelete = 5,
  kImportLibrary = 6,
  kExportLibrary = 7,
};
int ContextPopupKind(const MacroLibrary& library);

// New macro / new folder with the name dialog's text, at the selected location
// (inside a selected folder, which opens; else at the top level). The new
// item becomes the selection. A full level or a folder inside a stage 1
// folder adds nothing and shows nothing.
ManagerOutcome NewMacro(MacroLibrary& library, std::u16string_view name);
ManagerOutcome NewFolder(MacroLibrary& library, std::u16string_view name);

// The text the rename dialog opens with (empty when nothing is selected).
std::u16string SelectedItemName(const MacroLibrary& library);
// The rename dialog's OK: an empty name or a sibling's name is refused.
ManagerOutcome RenameSelectedItem(MacroLibrary& library, std::u16string_view newName);

// Delete, first step: kNothingSelectedMessage, or kDeleteConfirmMessage as a
// question; only after the user confirms call DeleteSelectedItem.
int DeleteQuestion(const MacroLibrary& library);
// Refused with kItemInUseMessage while a button of `currentProfile` holds a
// macro at or below the selection; otherwise deletes it and clears the selection.
ManagerOutcome DeleteSelectedItem(MacroLibrary& library, const ProfileRecord& currentProfile);
// Whether a macro button (code 0x90) of the profile uses a macro at or below `location`.
bool ProfileUsesLibraryItem(const ProfileRecord& profile, const MacroLibrary& library, const MacroLocation& location);

// Repeat rule. The radio button that shows the macro's type (0 for none).
int RepeatRuleControl(const Macro* macro);
// A click on kRepeatRuleControl1, 4 or 2 sets that type; true when the count
// box is to be shown (type 2).
bool ChooseRepeatRule(Macro* macro, int control);

struct RepeatCount {
  std::uint8_t value = 1;
  // The text the box must show instead of what was typed (caret at its end).
  std::optional<std::u16string> replacement;
};
// The count box's text as a count: 256 or more gives 255, 0, a negative
// number or no number gives 1.
RepeatCount NormaliseRepeatCount(std::u16string_view text);
// A change of the count box's text: stored as MacroKeyLoopNum while the
// macro's type is 2 (then the normalised count), otherwise ignored (nothing).
std::optional<RepeatCount> ApplyRepeatCountText(Macro* macro, std::u16string_view text);
// Typing anything but a digit or backspace shows kNotADigitMessage (the
// character is not suppressed).
constexpr bool IsDigitOrBackspace(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'\b'; }

}  // namespace zeltra
