// The assignment menus as popups: the main menu (CComboPopup) and its five
// submenus, with their items, their messages, what hovering, pressing and
// releasing an item of the main menu sends, and where each one is placed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "macro/button_function.h"
#include "macro/dialog_layout.h"

namespace zeltra {

enum class AssignmentPopup {
  kMain,          // CComboPopup
  kDpiFunctions,  // CDPIPopup
  kMultimedia,    // CMultimediaPopup
  kOffice,        // COfficePopup
  kWindows,       // CWindowsManagePopup
  kDpiLock,       // CDPILockPopup
};
inline constexpr int kAssignmentPopupCount = 6;

struct AssignmentPopupInfo {
  AssignmentPopup popup;
  int kind;                        // the popup kind, which names its dismissal message
  unsigned resultMessage;          // an item was chosen (wParam combo id, lParam the record)
  unsigned lostActivationMessage;  // wParam combo id, lParam kind
  unsigned openMessage;            // the main menu asks to open the submenu; 0 for the main menu
  MenuChoice choice;               // the main-menu choice that opens it; kAssign for the main menu
};
const AssignmentPopupInfo& AssignmentPopupInfoOf(AssignmentPopup popup);
// The submenu a main-menu choice opens; false for choices that open none.
bool SubmenuOfChoice(MenuChoice choice, AssignmentPopup& submenu);

inline constexpr unsigned kMainMenuResultMessage = 0x403;
inline constexpr unsigned kMainMenuLostActivationMessage = 0x405;
inline constexpr unsigned kCloseSubmenusMessage = 0x409;

// One item as the popup lists it: value (1, 2, 3 ...), text, and the marked
// flag that draws it with the submenu backgrounds (kMenuItemSkins 2 and 3).
struct PopupItem {
  int value = 0;
  std::u16string label;
  bool marked = false;
  friend bool operator==(const PopupItem&, const PopupItem&) = default;
};
// The main menu's sixteen entries (6, 11, 12, 13 and 15 marked), or a
// submenu's entries; the DPI-lock entries are labelled "200" ... "1200".
std::vector<PopupItem> AssignmentPopupItems(AssignmentPopup popup);
// The result record of item `value`: its name and code (the DPI-lock name is
// composed from string 36). Empty name for an item that assigns nothing.
ButtonAssignment AssignmentPopupChoice(AssignmentPopup popup, int value);

// A message the main menu sends to its owner.
struct PopupSignal {
  unsigned message = 0;        // 0: nothing is sent
  bool ownerAsWParam = false;  // wParam is the owner value (the combo id), else 0
  int lParam = 0;              // unless `withRecord`: then the address of the filled result record
  bool withRecord = false;
  friend bool operator==(const PopupSignal&, const PopupSignal&) = default;
};
// The pointer entered item `index` (0-based) with value `value`: the request
// to open that entry's submenu, or 0x409 to close any open one.
PopupSignal MainMenuHover(int index, int value);
// The left button went down on an item: entries 1 to 4 send 0x403 with
// wParam 0, the owner's cue to bring its popups to the foreground.
PopupSignal MainMenuPress(int value);
// The left button was released on an item: submenu entries send nothing,
// the dialog entries their request, every other entry its result.
PopupSignal MainMenuRelease(int value);

// What the placements depend on: the UI scale factor, the full-screen client
// height kept from start-up and the main window's screen top.
struct MenuScreen {
  float scale = 1.0f;
  int fullScreenHeight = 0;
  int windowTop = 0;
};
struct MenuPlacement {
  PixelPoint topLeft;  // client coordinates of the main window
  bool movedUp = false;
};
// The main menu below and right of the combo (client coordinates), moved up
// when it would reach past the bottom of the screen.
MenuPlacement MainMenuPlacement(const PixelRect& combo, const MenuScreen& screen);
// A submenu to the right of the main menu, level with its entry.
PixelPoint SubmenuPlacement(AssignmentPopup submenu, const PixelRect& combo, const MenuScreen& screen);

}  // namespace zeltra
