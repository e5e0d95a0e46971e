// The assignment menus as popups: the main menu (CComboPopup) and its five
// submenus. What each lists and sends is its popup class's (PopupLogic);
// here are the messages the main window gives and knows each one by, and
// where each one is placed.
#pragma once

#include <array>

#include "macro/button_function.h"
#include "macro/macro_messages.h"
#include "macro/popup_menus.h"
#include "ui/ui_geometry.h"

namespace zeltra {

// The main menu, then its five submenus.
inline constexpr std::array<PopupClass, 6> kAssignmentPopups{PopupClass::kCombo,  PopupClass::kDpi,
                                                             PopupClass::kMultimedia, PopupClass::kOffice,
                                                             PopupClass::kWindowsManage, PopupClass::kDpiLock};
bool IsAssignmentPopup(PopupClass popup);

struct AssignmentPopupMessages {
  unsigned result = 0;          // given to the popup: an item was chosen
  unsigned lostActivation = 0;  // the popup's dismissal message (wParam combo id, lParam kind)
  unsigned open = 0;            // the main menu asks to open the submenu; 0 for the main menu
};
// Zeros for a class that is not one of the assignment popups.
AssignmentPopupMessages AssignmentMessagesOf(PopupClass popup);

// The assignment a popup's result record stands for.
ButtonAssignment AssignmentOfResult(const PopupResult& result);

// What the placements depend on: the UI scale factor, the full-screen client
// height kept from start-up and the main window's screen top.
struct MenuScreen {
  float scale = 1.0f;
  int fullScreenHeight = 0;
  int windowTop = 0;
};
struct MenuPlacement {
  UiPoint topLeft;  // client coordinates of the main window
  bool movedUp = false;
};
// The main menu right of the combo, from its right edge (client
// coordinates), moved up when it would reach past the bottom of the screen.
MenuPlacement MainMenuPlacement(const UiRect& combo, const MenuScreen& screen);
// A submenu to the right of the main menu, level with its entry.
UiPoint SubmenuPlacement(PopupClass submenu, const UiRect& combo, const MenuScreen& screen);

}  // namespace zeltra
