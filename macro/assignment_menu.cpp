#include "macro/assignment_menu.h"

#include <array>

#include "settings/key_tables.h"
#include "settings/language.h"
#include "ui/ui_context.h"

namespace zeltra {

namespace {

// Design numbers of the placements: the main menu starts 161 right of the
// combo and 20 above its bottom, and is 314 high at most.
constexpr int kMenuOffsetX = 161;
constexpr int kMenuRaise = 20;
constexpr int kMenuReach = 314;

constexpr const SubmenuInfo& SubmenuRow(MenuChoice choice) {
  for (const SubmenuInfo& row : kSubmenus)
    if (row.menu == choice) return row;
  return kSubmenus[0];
}

// The submenus' messages come from the catalogue's table; the kinds name
// their dismissal messages.
constexpr AssignmentPopupInfo Submenu(AssignmentPopup popup, int kind, MenuChoice choice) {
  const SubmenuInfo& row = SubmenuRow(choice);
  return {popup,
          kind,
          static_cast<unsigned>(row.resultMessage),
          static_cast<unsigned>(row.lostActivationMessage),
          static_cast<unsigned>(row.openMessage),
          choice};
}

constexpr std::array<AssignmentPopupInfo, kAssignmentPopupCount> kPopups{{
    {AssignmentPopup::kMain, 0, kMainMenuResultMessage, kMainMenuLostActivationMessage, 0, MenuChoice::kAssign},
    Submenu(AssignmentPopup::kDpiFunctions, 2, MenuChoice::kDpiFunctionMenu),
    Submenu(AssignmentPopup::kMultimedia, 3, MenuChoice::kMultimediaMenu),
    Submenu(AssignmentPopup::kOffice, 12, MenuChoice::kOfficeMenu),
    Submenu(AssignmentPopup::kWindows, 11, MenuChoice::kWindowsMenu),
    Submenu(AssignmentPopup::kDpiLock, 10, MenuChoice::kDpiLockMenu),
}};

const MainMenuEntry* MainEntry(int value) {
  if (value < 1 || value > static_cast<int>(kMainAssignmentMenu.size())) return nullptr;
  return &kMainAssignmentMenu[static_cast<std::size_t>(value - 1)];
}

bool OpensSubmenu(const MainMenuEntry& entry) {
  AssignmentPopup ignored;
  return SubmenuOfChoice(entry.choice, ignored);
}

// The submenu's rows of the placement table (design units below the combo,
// or below a moved-up main menu).
const SubmenuInfo& SubmenuOffsets(AssignmentPopup submenu) { return SubmenuRow(AssignmentPopupInfoOf(submenu).choice); }

}  // namespace

const AssignmentPopupInfo& AssignmentPopupInfoOf(AssignmentPopup popup) {
  for (const AssignmentPopupInfo& info : kPopups)
    if (info.popup == popup) return info;
  return kPopups[0];
}

bool SubmenuOfChoice(MenuChoice choice, AssignmentPopup& submenu) {
  for (const AssignmentPopupInfo& info : kPopups) {
    if (info.openMessage != 0 && info.choice == choice) {
      submenu = info.popup;
      return true;
    }
  }
  return false;
}

std::vector<PopupItem> AssignmentPopupItems(AssignmentPopup popup) {
  std::vector<PopupItem> items;
  if (popup == AssignmentPopup::kMain) {
    int value = 1;
    for (const MainMenuEntry& entry : kMainAssignmentMenu)
      items.push_back({value++, LanguageString(entry.label), OpensSubmenu(entry)});
  } else if (popup == AssignmentPopup::kDpiLock) {
    for (int level = 1; level <= kDpiLockLevels; ++level) items.push_back({level, DpiLockLabel(level), false});
  } else {
    int value = 1;
    for (const SubmenuEntry& entry : SubmenuEntries(AssignmentPopupInfoOf(popup).choice))
      items.push_back({value++, LanguageString(entry.label), false});
  }
  return items;
}

ButtonAssignment AssignmentPopupChoice(AssignmentPopup popup, int value) {
  if (popup == AssignmentPopup::kMain) return MainMenuAssignment(value);
  return SubmenuAssignment(AssignmentPopupInfoOf(popup).choice, value);
}

PopupSignal MainMenuHover(int index, int value) {
  PopupSignal signal{kCloseSubmenusMessage, true, value, false};
  const MainMenuEntry* entry = MainEntry(index + 1);
  AssignmentPopup submenu;
  if (entry && SubmenuOfChoice(entry->choice, submenu)) signal.message = AssignmentPopupInfoOf(submenu).openMessage;
  return signal;
}

PopupSignal MainMenuPress(int value) {
  if (value >= 1 && value <= 4) return {kMainMenuResultMessage, false, 0, false};
  return {};
}

PopupSignal MainMenuRelease(int value) {
  const MainMenuEntry* entry = MainEntry(value);
  if (!entry || OpensSubmenu(*entry)) return {};
  if (entry->choice != MenuChoice::kAssign)
    return {static_cast<unsigned>(MenuDialogMessages(entry->choice).request), true, 0, false};
  return {kMainMenuResultMessage, true, 0, true};
}

MenuPlacement MainMenuPlacement(const PixelRect& combo, const MenuScreen& screen) {
  const float s = screen.scale;
  MenuPlacement placement;
  placement.topLeft.x = combo.left + Scaled(kMenuOffsetX, s);
  int y = combo.bottom - Scaled(kMenuRaise, s);
  const int reach = Scaled(kMenuReach, s);
  if (y + screen.windowTop + reach > screen.fullScreenHeight) {
    y = y + Scaled(kMenuRaise, s) - (reach - (screen.fullScreenHeight - y - screen.windowTop));
    placement.movedUp = true;
  }
  placement.topLeft.y = y;
  return placement;
}

PixelPoint SubmenuPlacement(AssignmentPopup submenu, const PixelRect& combo, const MenuScreen& screen) {
  const float s = screen.scale;
  const SubmenuInfo& offsets = SubmenuOffsets(submenu);
  const MenuPlacement main = MainMenuPlacement(combo, screen);
  PixelPoint at;
  at.x = combo.right + Scaled(kMenuOffsetX, s);
  at.y = main.movedUp ? main.topLeft.y + Scaled(offsets.offsetInMovedMenu, s)
                      : combo.bottom + Scaled(offsets.offsetBelowCombo, s);
  return at;
}

}  // namespace zeltra
