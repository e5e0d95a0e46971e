// What a programmable button does: the three-byte function code, the
// catalogue of functions the assignment menus offer, the names shown for
// them, storing an assignment in a profile and the left-click rule.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/macro.h"
#include "macro/macro_messages.h"
#include "settings/profile.h"

namespace zeltra {

class MacroLibrary;

// Category byte 0, then two parameter bytes: stored, written and sent as is.
struct ButtonFunctionCode {
  std::array<std::uint8_t, 3> bytes{};

  constexpr ButtonFunctionCode() = default;
  constexpr ButtonFunctionCode(std::uint8_t category, std::uint8_t param1, std::uint8_t param2)
      : bytes{category, param1, param2} {}
  constexpr std::uint8_t category() const { return bytes[0]; }
  friend constexpr bool operator==(const ButtonFunctionCode&, const ButtonFunctionCode&) = default;
};

enum ButtonCategory : std::uint8_t {
  kCategoryDisabled = 0x00,
  kCategoryMouseButton = 0x10,
  kCategoryFireKey = 0x30,
  kCategoryDpiFunction = 0x40,
  kCategoryDpiLock = 0x50,
  kCategoryMenuEntry14 = 0x60,
  kCategoryKeyCombination = 0x70,
  kCategoryConsumer = 0x80,
  kCategoryMacro = 0x90,
};

// Mouse-button masks (byte 1 of category 0x10).
inline constexpr std::uint8_t kLeftButtonMask = 0x01;
// Key-combination modifier bits (byte 1 of category 0x70), a USB keyboard's order.
inline constexpr std::uint8_t kModifierCtrl = 0x01;
inline constexpr std::uint8_t kModifierShift = 0x02;
inline constexpr std::uint8_t kModifierAlt = 0x04;
inline constexpr std::uint8_t kModifierWin = 0x08;

inline constexpr ButtonFunctionCode kLeftClickCode{kCategoryMouseButton, kLeftButtonMask, 0};
inline constexpr ButtonFunctionCode kDisabledCode{kCategoryDisabled, 0, 0};
inline constexpr ButtonFunctionCode kAssignedMacroCode{kCategoryMacro, 0, 0};

// What choosing a main-menu entry does.
enum class MenuChoice {
  kAssign,           // assigns the entry's code at once
  kDpiFunctionMenu,  // opens a submenu ...
  kMultimediaMenu,
  kOfficeMenu,
  kWindowsMenu,
  kDpiLockMenu,
  kFireKeyDialog,  // ... or a dialog that builds the code
  kMacroChooser,
  kKeyCombinationDialog,
};

struct MainMenuEntry {
  int label;  // language string
  MenuChoice choice;
  ButtonFunctionCode code;  // for kAssign
};

struct SubmenuEntry {
  int label;  // language string
  ButtonFunctionCode code;
};

// The main assignment menu, sixteen entries in order.
inline constexpr std::array<MainMenuEntry, 16> kMainAssignmentMenu{{
    {20, MenuChoice::kAssign, {0x10, 0x01, 0x00}},
    {21, MenuChoice::kAssign, {0x10, 0x02, 0x00}},
    {22, MenuChoice::kAssign, {0x10, 0x04, 0x00}},
    {23, MenuChoice::kAssign, {0x10, 0x10, 0x00}},
    {24, MenuChoice::kAssign, {0x10, 0x08, 0x00}},
    {25, MenuChoice::kDpiFunctionMenu, {}},
    {26, MenuChoice::kFireKeyDialog, {}},
    {27, MenuChoice::kAssign, {0x30, 0x32, 0x03}},
    {28, MenuChoice::kMacroChooser, {}},
    {29, MenuChoice::kKeyCombinationDialog, {}},
    {30, MenuChoice::kMultimediaMenu, {}},
    {31, MenuChoice::kOfficeMenu, {}},
    {32, MenuChoice::kWindowsMenu, {}},
    {33, MenuChoice::kAssign, {0x60, 0x04, 0x00}},
    {36, MenuChoice::kDpiLockMenu, {}},
    {34, MenuChoice::kAssign, {0x00, 0x00, 0x00}},
}};

inline constexpr std::array<SubmenuEntry, 3> kDpiFunctionMenu{{
    {40, {0x40, 0x02, 0x00}},
    {41, {0x40, 0x03, 0x00}},
    {42, {0x40, 0x01, 0x00}},
}};

// USB HID consumer-page usages, low byte first.
inline constexpr std::array<SubmenuEntry, 10> kMultimediaMenu{{
    {45, {0x80, 0x83, 0x01}},  // media player
    {46, {0x80, 0xB6, 0x00}},  // previous track
    {47, {0x80, 0xB5, 0x00}},  // next track
    {48, {0x80, 0xB7, 0x00}},  // stop
    {49, {0x80, 0xCD, 0x00}},  // play/pause
    {50, {0x80, 0xE2, 0x00}},  // mute
    {51, {0x80, 0xE9, 0x00}},  // volume up
    {52, {0x80, 0xEA, 0x00}},  // volume down
    {53, {0x80, 0x8A, 0x01}},  // e-mail
    {54, {0x80, 0x92, 0x01}},  // calculator
}};

inline constexpr std::array<SubmenuEntry, 9> kOfficeMenu{{
    {60, {0x70, 0x01, 0x06}},  // Ctrl+C
    {61, {0x70, 0x01, 0x19}},  // Ctrl+V
    {62, {0x70, 0x01, 0x1B}},  // Ctrl+X
    {63, {0x70, 0x01, 0x04}},  // Ctrl+A
    {64, {0x70, 0x01, 0x11}},  // Ctrl+N
    {65, {0x70, 0x01, 0x16}},  // Ctrl+S
    {66, {0x70, 0x01, 0x13}},  // Ctrl+P
    {67, {0x70, 0x08, 0x08}},  // Win+E
    {68, {0x70, 0x01, 0x1D}},  // Ctrl+Z
}};

inline constexpr std::array<SubmenuEntry, 6> kWindowsManagementMenu{{
    {75, {0x80, 0x94, 0x01}},  // local machine browser
    {76, {0x70, 0x04, 0x3D}},  // Alt+F4
    {77, {0x70, 0x08, 0x07}},  // Win+D
    {78, {0x70, 0x08, 0x15}},  // Win+R
    {79, {0x70, 0x08, 0x51}},  // Win+Down Arrow
    {80, {0x70, 0x08, 0x52}},  // Win+Up Arrow
}};

inline constexpr int kDpiLockLevels = 11;

// The submenus of the main menu: the message the main menu sends to open one,
// the one its choice comes back with, and the offsets (design units) below
// the combo, or below a moved-up main menu. What a submenu sends on losing
// activation follows from its popup kind (DismissalMessage).
struct SubmenuInfo {
  MenuChoice menu;
  unsigned openMessage;
  unsigned resultMessage;
  int offsetBelowCombo;
  int offsetInMovedMenu;
};
inline constexpr std::array<SubmenuInfo, 5> kSubmenus{{
    {MenuChoice::kDpiFunctionMenu, kDpiMenuOpen, kDpiMenuResult, 102, 118},
    {MenuChoice::kMultimediaMenu, kMultimediaMenuOpen, kMultimediaMenuResult, 213, 89},
    {MenuChoice::kOfficeMenu, kOfficeMenuOpen, kOfficeMenuResult, 235, 110},
    {MenuChoice::kWindowsMenu, kWindowsMenuOpen, kWindowsMenuResult, 257, 176},
    {MenuChoice::kDpiLockMenu, kDpiLockMenuOpen, kDpiLockMenuResult, 296, 118},
}};
const SubmenuInfo* FindSubmenu(MenuChoice menu);
// The entries a submenu lists (the DPI-lock submenu has none here: its
// eleven entries are built from the DPI-lock labels, see DpiLockAssignment).
std::span<const SubmenuEntry> SubmenuEntries(MenuChoice menu);

// The dialogs' request messages (the menu sends them; the main window then
// posts the second to open the dialog after the menus have closed).
struct DialogMessages {
  unsigned request;
  unsigned open;
};
DialogMessages MenuDialogMessages(MenuChoice dialog);

// A choice ready for AssignButtonFunction.
struct ButtonAssignment {
  std::u16string name;
  ButtonFunctionCode code;
  const Macro* macro = nullptr;
};

// Main-menu entry `entry` (1..16) that assigns at once; code 0 name empty for the others.
ButtonAssignment MainMenuAssignment(int entry);
// Entry `entry` (1..n) of a submenu; the DPI-lock entries by DpiLockAssignment.
ButtonAssignment SubmenuAssignment(MenuChoice menu, int entry);
// DPI lock level 1..11: code 50 level 00, name "<string 36>-<label>".
ButtonAssignment DpiLockAssignment(int level);

// Display names.
// Fire key: language string 26 without one trailing "+".
std::u16string FireKeyName();
ButtonFunctionCode FireKeyCode(std::uint8_t first, std::uint8_t second);
// "Ctrl+", "Shift+", "Alt+", "Win+" for each set bit, then the key's name
// (empty when no key was captured); one trailing "+" is removed.
std::u16string KeyCombinationName(std::uint8_t modifiers, std::u16string_view keyName);
ButtonFunctionCode KeyCombinationCode(std::uint8_t modifiers, std::uint8_t deviceKey);
// Language string 190 followed by the macro item's name.
std::u16string MacroAssignmentName(std::u16string_view itemName);
// The macro chooser's OK (kMacroChosenMessage): the macro at the library's selected
// location, or, when there is none, language string 34 with code 00 00 00.
ButtonAssignment ChosenMacroAssignment(const MacroLibrary& library);

// The main window's button combos from this id on: the first six are key
// slots 0..5, the three after them have no slot (-1).
inline constexpr int kFirstButtonCombo = 2013;
inline constexpr int kButtonComboCount = 9;
int SlotOfCombo(int comboId);

// Stores one assignment in `profile` (the current one). With a macro the slot
// gets a copy of it and its MacroKeyIndex; without one only the slot macro's
// action count becomes 0. Returns false when the combo has no slot.
bool AssignButtonFunction(ProfileRecord& profile, int comboId, std::u16string_view name, const ButtonFunctionCode& code,
                          const Macro* macro = nullptr);

// A button whose macro is gone from the library, and that the device link
// disabled (code 00 00 00), is called as nothing chosen: language string 34.
// Slot `position` of `profile`; nothing for a position out of range.
void NameDisabledButton(ProfileRecord& profile, int position);

// Slots 0..5 whose code starts 10 01 (byte 2 is not looked at).
int CountLeftClickSlots(const ProfileRecord& profile);

inline constexpr int kWarningTimerId = 20;
inline constexpr int kWarningTimerMs = 100;
inline constexpr int kLeftClickWarningMessage = 151;
inline constexpr int kLeftClickName = 20;

struct LeftClickDecision {
  enum class Action {
    kApply,              // set buttonsPending and start the apply timer
    kRestoredLeftClick,  // show comboText on the combo, start timer kWarningTimerId
                         // (kWarningTimerMs); when it fires stop it and show the
                         // attention dialog kLeftClickWarningMessage; nothing is sent
  };
  Action action = Action::kApply;
  std::u16string comboText;
};

// The left-click rule after every assignment: when no slot keeps the left
// click, the slot of `comboId` gets it back.
LeftClickDecision EnsureLeftClick(ProfileRecord& profile, int comboId);

}  // namespace zeltra
