#include "macro/assignment_controller.h"

#include <array>

#include "macro/macro_library.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr std::array<MenuChoice, 3> kDialogs{MenuChoice::kFireKeyDialog, MenuChoice::kMacroChooser,
                                             MenuChoice::kKeyCombinationDialog};
constexpr std::array<AssignmentPopup, 5> kSubmenuPopups{AssignmentPopup::kDpiFunctions, AssignmentPopup::kMultimedia,
                                                        AssignmentPopup::kOffice, AssignmentPopup::kWindows,
                                                        AssignmentPopup::kDpiLock};
// The mouse picture numbers its buttons from combo 2013 as 1.
constexpr int kFirstPictureCombo = 2012;
constexpr int kLastButtonCombo = 2021;

bool IsButtonCombo(std::intptr_t id) { return id >= kFirstButtonCombo && id <= kLastButtonCombo; }

}  // namespace

std::optional<MenuMessage> FindMenuMessage(unsigned message) {
  using K = MenuMessageKind;
  switch (message) {
    case kMainMenuResultMessage: return MenuMessage{message, K::kMainResult};
    case kMainMenuLostActivationMessage: return MenuMessage{message, K::kMainLostActivation};
    case kCloseSubmenusMessage: return MenuMessage{message, K::kCloseSubmenus};
    case kFireKeyResultMessage: return MenuMessage{message, K::kDialogResult, {}, MenuChoice::kFireKeyDialog};
    case kKeyCombinationResultMessage:
      return MenuMessage{message, K::kDialogResult, {}, MenuChoice::kKeyCombinationDialog};
    case kMacroChosenMessage: return MenuMessage{message, K::kMacroChosen, {}, MenuChoice::kMacroChooser};
    default: break;
  }
  for (AssignmentPopup popup : kSubmenuPopups) {
    const AssignmentPopupInfo& info = AssignmentPopupInfoOf(popup);
    if (message == info.openMessage) return MenuMessage{message, K::kOpenSubmenu, popup};
    if (message == info.resultMessage) return MenuMessage{message, K::kSubmenuResult, popup};
    if (message == info.lostActivationMessage) return MenuMessage{message, K::kSubmenuLostActivation, popup};
  }
  for (MenuChoice dialog : kDialogs) {
    const DialogMessages messages = MenuDialogMessages(dialog);
    if (message == static_cast<unsigned>(messages.request)) return MenuMessage{message, K::kDialogRequest, {}, dialog};
    if (message == static_cast<unsigned>(messages.open)) return MenuMessage{message, K::kDialogOpen, {}, dialog};
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
    case kCodeEntered: host_.SetPictureHighlight(comboId - kFirstPictureCombo); break;
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
      if (IsOpen(AssignmentPopup::kMain) && !AnySubmenuOpen()) CloseMenus();
      break;
    case MenuMessageKind::kCloseSubmenus: CloseSubmenus(); break;
    case MenuMessageKind::kOpenSubmenu:
      if (combo && IsOpen(AssignmentPopup::kMain)) OpenSubmenu(m->popup, combo);
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
      host_.PostToSelf(static_cast<unsigned>(MenuDialogMessages(m->dialog).open));
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

void AssignmentMenus::OpenMainMenu(int comboId) {
  CloseMenus();
  menuCombo_ = comboId;
  host_.SetComboPressed(comboId, true);
  const MenuPlacement placement = MainMenuPlacement(host_.ComboRect(comboId), host_.Screen());
  host_.OpenPopup(AssignmentPopup::kMain, placement.topLeft, comboId);
  open_[Index(AssignmentPopup::kMain)] = true;
}

void AssignmentMenus::OpenSubmenu(AssignmentPopup submenu, int comboId) {
  // Moving from one submenu entry straight to another replaces the submenu;
  // coming back to the entry whose submenu is open keeps it.
  if (IsOpen(submenu)) return;
  CloseSubmenus();
  host_.OpenPopup(submenu, SubmenuPlacement(submenu, host_.ComboRect(comboId), host_.Screen()), comboId);
  open_[Index(submenu)] = true;
}

void AssignmentMenus::Close(AssignmentPopup popup) {
  if (!IsOpen(popup)) return;
  open_[Index(popup)] = false;
  host_.ClosePopup(popup);
}

void AssignmentMenus::CloseSubmenus() {
  for (AssignmentPopup popup : kSubmenuPopups) Close(popup);
}

void AssignmentMenus::CloseMenus() {
  CloseSubmenus();
  Close(AssignmentPopup::kMain);
  if (menuCombo_) host_.SetComboPressed(menuCombo_, false);
  menuCombo_ = 0;
}

bool AssignmentMenus::AnySubmenuOpen() const {
  for (AssignmentPopup popup : kSubmenuPopups)
    if (IsOpen(popup)) return true;
  return false;
}

}  // namespace zeltra
