#include "macro/assignment_controller.h"

#include <array>
#include <span>

#include "macro/macro_library.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr std::array<MenuChoice, 3> kDialogs{MenuChoice::kFireKeyDialog, MenuChoice::kMacroChooser,
                                             MenuChoice::kKeyCombinationDialog};
bool IsButtonCombo(std::intptr_t id) { return id >= kFirstButtonCombo && id < kFirstButtonCombo + kButtonComboCount; }

// The assignment popups but the main menu.
std::span<const PopupClass> Submenus() { return std::span(kAssignmentPopups).subspan(1); }

std::size_t SlotOf(PopupClass popup) { return static_cast<std::size_t>(PopupSlotOf(popup)); }

}  // namespace

std::optional<MenuMessage> FindMenuMessage(unsigned message) {
  using K = MenuMessageKind;
  switch (message) {
    case kMainMenuResultMessage: return MenuMessage{message, K::kMainResult};
    case kCloseSubmenusMessage: return MenuMessage{message, K::kCloseSubmenus};
    case kFireKeyResultMessage: return MenuMessage{message, K::kDialogResult, {}, MenuChoice::kFireKeyDialog};
    case kKeyCombinationResultMessage:
      return MenuMessage{message, K::kDialogResult, {}, MenuChoice::kKeyCombinationDialog};
    case kMacroChosenMessage: return MenuMessage{message, K::kMacroChosen, {}, MenuChoice::kMacroChooser};
    default: break;
  }
  if (message == AssignmentMessagesOf(PopupClass::kCombo).lostActivation)
    return MenuMessage{message, K::kMainLostActivation};
  for (PopupClass popup : Submenus()) {
    const AssignmentPopupMessages messages = AssignmentMessagesOf(popup);
    if (message == messages.open) return MenuMessage{message, K::kOpenSubmenu, popup};
    if (message == messages.result) return MenuMessage{message, K::kSubmenuResult, popup};
    if (message == messages.lostActivation) return MenuMessage{message, K::kSubmenuLostActivation, popup};
  }
  for (MenuChoice dialog : kDialogs) {
    const DialogMessages messages = MenuDialogMessages(dialog);
    if (message == messages.request) return MenuMessage{message, K::kDialogRequest, {}, dialog};
    if (message == messages.open) return MenuMessage{message, K::kDialogOpen, {}, dialog};
  }
  return std::nullopt;
}

bool MenuMessageCarriesRecord(unsigned message, std::intptr_t wParam) {
  const std::optional<MenuMessage> m = FindMenuMessage(message);
  if (!m) return false;
  switch (m->kind) {
    case MenuMessageKind::kMainResult: return wParam != 0;
    case MenuMessageKind::kSubmenuResult:
    case MenuMessageKind::kDialogResult: return true;
    default: return false;
  }
}

void AssignmentMenus::OnComboNotify(int comboId, int code) {
  if (!IsButtonCombo(comboId)) return;
  switch (code) {
    case kCodeClicked: OpenMainMenu(comboId); break;
    // The mouse picture numbers its buttons from the first combo as 1.
    case kCodeEntered: host_.SetPictureHighlight(comboId - kFirstButtonCombo + 1); break;
    case kCodeLeft: host_.SetPictureHighlight(0); break;
    default: break;
  }
}

bool AssignmentMenus::HandleMessage(unsigned message, std::intptr_t wParam, const ButtonAssignment* record) {
  const std::optional<MenuMessage> m = FindMenuMessage(message);
  if (!m) return false;
  const int combo = IsButtonCombo(wParam) ? static_cast<int>(wParam) : 0;
  switch (m->kind) {
    case MenuMessageKind::kMainResult:
      if (wParam == 0)
        host_.BringPopupsToFront();
      else if (combo && record)
        Assign(combo, *record);
      break;
    case MenuMessageKind::kSubmenuResult:
      if (combo && record) Assign(combo, *record);
      break;
    case MenuMessageKind::kMainLostActivation:
      // While a submenu is open the activation went to it.
      if (IsOpen(PopupClass::kCombo) && !AnySubmenuOpen()) CloseMenus();
      break;
    case MenuMessageKind::kCloseSubmenus:
      if (!AnySubmenuOpen()) break;
      CloseSubmenus();
      // The submenu had taken the activation from the main menu, which
      // would then never lose it again: a click elsewhere would leave it on
      // screen. It gets the activation back, so that such a click closes it.
      host_.BringPopupsToFront();
      break;
    case MenuMessageKind::kOpenSubmenu:
      if (combo && IsOpen(PopupClass::kCombo)) OpenSubmenu(m->popup, combo);
      break;
    case MenuMessageKind::kSubmenuLostActivation:
      // A submenu already closed (one replaced by another) reports its loss
      // of activation late: that must not close the menus still in use.
      if (!IsOpen(m->popup) || host_.PointerOverMainMenu()) break;
      Close(m->popup);
      if (!AnySubmenuOpen()) CloseMenus();
      break;
    case MenuMessageKind::kDialogRequest:
      if (!combo) break;
      dialogCombo_ = combo;
      CloseMenus();
      host_.PostToSelf(MenuDialogMessages(m->dialog).open);
      break;
    case MenuMessageKind::kDialogOpen:
      if (!dialogCombo_) break;
      host_.RunDialog(m->dialog);
      // Results only count while their dialog runs.
      dialogCombo_ = 0;
      break;
    case MenuMessageKind::kDialogResult:
      if (dialogCombo_ && record) Assign(dialogCombo_, *record);
      break;
    case MenuMessageKind::kMacroChosen:
      if (dialogCombo_) Assign(dialogCombo_, ChosenMacroAssignment(host_.Library()));
      break;
  }
  return true;
}

void AssignmentMenus::Assign(int comboId, const ButtonAssignment& assignment) {
  ProfileRecord& profile = host_.CurrentProfile();
  host_.SetComboText(comboId, assignment.name);
  AssignButtonFunction(profile, comboId, assignment.name, assignment.code, assignment.macro);
  CloseMenus();
  const LeftClickDecision decision = EnsureLeftClick(profile, comboId);
  if (decision.action == LeftClickDecision::Action::kApply) {
    host_.ApplyButtons();
    return;
  }
  host_.SetComboText(comboId, decision.comboText);
  host_.StartTimer(kWarningTimerId, kWarningTimerMs);
}

void AssignmentMenus::OnWarningTimer() {
  host_.StopTimer(kWarningTimerId);
  host_.ShowAttention(kLeftClickWarningMessage);
}

void AssignmentMenus::CloseAll() { CloseMenus(); }

bool AssignmentMenus::IsOpen(PopupClass popup) const { return IsAssignmentPopup(popup) && open_[SlotOf(popup)]; }

void AssignmentMenus::OpenMainMenu(int comboId) {
  CloseMenus();
  menuCombo_ = comboId;
  host_.SetComboPressed(comboId, true);
  const MenuPlacement placement = MainMenuPlacement(host_.ComboRect(comboId), host_.Screen());
  host_.OpenPopup(PopupClass::kCombo, placement.topLeft, comboId);
  open_[SlotOf(PopupClass::kCombo)] = true;
}

void AssignmentMenus::OpenSubmenu(PopupClass submenu, int comboId) {
  // Moving from one submenu entry straight to another replaces the submenu;
  // coming back to the entry whose submenu is open keeps it.
  if (IsOpen(submenu)) return;
  CloseSubmenus();
  // Showing the submenu takes the activation from the main menu at once:
  // its report of that must already find the submenu open.
  open_[SlotOf(submenu)] = true;
  host_.OpenPopup(submenu, SubmenuPlacement(submenu, host_.ComboRect(comboId), host_.Screen()), comboId);
}

void AssignmentMenus::Close(PopupClass popup) {
  if (!IsOpen(popup)) return;
  open_[SlotOf(popup)] = false;
  host_.ClosePopup(popup);
}

void AssignmentMenus::CloseSubmenus() {
  for (PopupClass popup : Submenus()) Close(popup);
}

void AssignmentMenus::CloseMenus() {
  CloseSubmenus();
  Close(PopupClass::kCombo);
  if (menuCombo_) host_.SetComboPressed(menuCombo_, false);
  menuCombo_ = 0;
}

bool AssignmentMenus::AnySubmenuOpen() const {
  for (PopupClass popup : Submenus())
    if (IsOpen(popup)) return true;
  return false;
}

}  // namespace zeltra
