#include "macro/assignment_menu.h"

#include "ui/ui_context.h"

namespace zeltra {

namespace {

// Design numbers of the placements: the main menu starts at the combo's
// right edge, 20 above its bottom, and is 314 high at most; a submenu starts
// one menu width further right, on the main menu's border.
constexpr int kMenuWidth = 161;
constexpr int kMenuRaise = 20;
constexpr int kMenuReach = 314;

// The catalogue's row of a submenu class: its messages and its placement
// (design units below the combo, or below a moved-up main menu). Null for
// the classes that are no submenu.
const SubmenuInfo* SubmenuRow(PopupClass popup) {
  const std::optional<MenuChoice> choice = SubmenuChoice(popup);
  return choice ? FindSubmenu(*choice) : nullptr;
}

}  // namespace

bool IsAssignmentPopup(PopupClass popup) {
  for (PopupClass c : kAssignmentPopups)
    if (c == popup) return true;
  return false;
}

AssignmentPopupMessages AssignmentMessagesOf(PopupClass popup) {
  if (!IsAssignmentPopup(popup)) return {};
  AssignmentPopupMessages messages;
  messages.lostActivation = DismissalMessage(PopupKind(popup));
  if (popup == PopupClass::kCombo) {
    messages.result = kMainMenuResultMessage;
  } else if (const SubmenuInfo* row = SubmenuRow(popup)) {
    messages.result = row->resultMessage;
    messages.open = row->openMessage;
  }
  return messages;
}

ButtonAssignment AssignmentOfResult(const PopupResult& result) { return {result.label, CodeOf(result)}; }

MenuPlacement MainMenuPlacement(const UiRect& combo, const MenuScreen& screen) {
  const float s = screen.scale;
  MenuPlacement placement;
  // Beside the combo whatever its width (the menus were laid out for combos
  // as wide as a menu), so that it never covers the combo's text.
  placement.topLeft.x = combo.right;
  int y = combo.bottom - Scaled(kMenuRaise, s);
  const int reach = Scaled(kMenuReach, s);
  if (y + screen.windowTop + reach > screen.fullScreenHeight) {
    y = y + Scaled(kMenuRaise, s) - (reach - (screen.fullScreenHeight - y - screen.windowTop));
    placement.movedUp = true;
  }
  placement.topLeft.y = y;
  return placement;
}

UiPoint SubmenuPlacement(PopupClass submenu, const UiRect& combo, const MenuScreen& screen) {
  const float s = screen.scale;
  const SubmenuInfo* row = SubmenuRow(submenu);
  const SubmenuInfo& offsets = row != nullptr ? *row : kSubmenus[0];
  const MenuPlacement main = MainMenuPlacement(combo, screen);
  UiPoint at;
  at.x = main.topLeft.x + Scaled(kMenuWidth, s);
  at.y = main.movedUp ? main.topLeft.y + Scaled(offsets.offsetInMovedMenu, s)
                      : combo.bottom + Scaled(offsets.offsetBelowCombo, s);
  return at;
}

}  // namespace zeltra
