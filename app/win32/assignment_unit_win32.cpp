#include "app/win32/assignment_unit_win32.h"

#include <memory>

#include "app/main_window_ids.h"
#include "device/device_link.h"
#include "macro/macro_library.h"
#include "macro/win32/fire_key_dlg_win32.h"
#include "macro/win32/macro_select_dlg_win32.h"
#include "macro/win32/shortcut_dlg_win32.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "ui/control_codes.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"
#include "macro/win32/popup_menus_win32.h"

namespace zeltra::win32 {

namespace {

std::unique_ptr<CWndPopup> MakeAssignmentPopup(PopupClass popup) {
  switch (popup) {
    case PopupClass::kCombo: return std::make_unique<CComboPopup>();
    case PopupClass::kDpi: return std::make_unique<CDPIPopup>();
    case PopupClass::kMultimedia: return std::make_unique<CMultimediaPopup>();
    case PopupClass::kOffice: return std::make_unique<COfficePopup>();
    case PopupClass::kWindowsManage: return std::make_unique<CWindowsManagePopup>();
    case PopupClass::kDpiLock: return std::make_unique<CDPILockPopup>();
    default: return nullptr;
  }
}

}  // namespace

bool AssignmentUnit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kButtonComboMessage) {
    menus_.OnComboNotify(static_cast<int>(wParam), static_cast<int>(lParam));
    result = 0;
    return true;
  }
  const std::optional<MenuMessage> known = FindMenuMessage(message);
  if (!known) return false;
  const auto owner = static_cast<std::intptr_t>(wParam);
  std::optional<ButtonAssignment> record;
  if (lParam != 0 && MenuMessageCarriesRecord(message, owner)) {
    // The dialogs hand over an assignment, the popups their result record.
    if (known->kind == MenuMessageKind::kDialogResult)
      record = *reinterpret_cast<const ButtonAssignment*>(lParam);
    else
      record = AssignmentOfResult(*PopupResultOf(lParam));
  }
  menus_.HandleMessage(message, owner, record ? &*record : nullptr);
  result = 0;
  return true;
}

CWndPopup* AssignmentUnit::OpenMenu(PopupClass popup) const {
  if (!IsAssignmentPopup(popup)) return nullptr;
  return dynamic_cast<CWndPopup*>(window_.Dialog().Popup(PopupSlotOf(popup)));
}

ProfileRecord& AssignmentUnit::CurrentProfile() { return window_.AssignedProfile(); }
const MacroLibrary& AssignmentUnit::Library() { return window_.AssignedLibrary(); }

UiRect AssignmentUnit::ComboRect(int comboId) {
  const CControlBase* combo = window_.Dialog().FindControl(comboId);
  return combo != nullptr ? ToUiRect(combo->GetRect()) : UiRect{};
}

MenuScreen AssignmentUnit::Screen() {
  RECT window{};
  GetWindowRect(hwnd(), &window);
  int height = Ui().fullScreenHeight;
  if (height <= 0) height = GetSystemMetrics(SM_CYFULLSCREEN);
  return MenuScreen{Ui().scale, height, static_cast<int>(window.top)};
}

void AssignmentUnit::OpenPopup(PopupClass popup, UiPoint topLeft, int comboId) {
  POINT at{topLeft.x, topLeft.y};
  ClientToScreen(hwnd(), &at);
  win32::OpenPopup(window_.Dialog(), PopupSlotOf(popup), MakeAssignmentPopup(popup), at,
                   AssignmentMessagesOf(popup).result, comboId);
}

void AssignmentUnit::ClosePopup(PopupClass popup) {
  if (CWndPopup* open = OpenMenu(popup)) open->StopDismissals();
  window_.Dialog().ClosePopup(PopupSlotOf(popup));
}

bool AssignmentUnit::PointerOverMainMenu() {
  CWndPopup* menu = OpenMenu(PopupClass::kCombo);
  if (menu == nullptr) return false;
  POINT cursor{};
  RECT area{};
  return GetCursorPos(&cursor) && GetWindowRect(menu->GetSafeHwnd(), &area) && PtInRect(&area, cursor);
}

void AssignmentUnit::BringPopupsToFront() {
  for (PopupClass popup : kAssignmentPopups) {
    if (CWndPopup* open = OpenMenu(popup)) SetForegroundWindow(open->GetSafeHwnd());
  }
}

void AssignmentUnit::SetComboPressed(int comboId, bool pressed) {
  if (auto* combo = dynamic_cast<CComboButton*>(window_.Dialog().FindControl(comboId))) {
    combo->SetPopupOpen(pressed);
    combo->Invalidate();
  }
}

void AssignmentUnit::SetComboText(int comboId, const std::u16string& text) {
  if (auto* combo = dynamic_cast<CComboButton*>(window_.Dialog().FindControl(comboId))) combo->SetLabel(text);
}

void AssignmentUnit::SetPictureHighlight(int button) { window_.HighlightPictureButton(button); }

void AssignmentUnit::PostToSelf(unsigned message) { PostMessageW(hwnd(), message, 0, 0); }

void AssignmentUnit::RunDialog(MenuChoice dialog) {
  // Each dialog tells the window its result while it runs.
  switch (dialog) {
    case MenuChoice::kFireKeyDialog: {
      CFireKeyDlg fireKey(hwnd(), hwnd());
      fireKey.DoModal();
      break;
    }
    case MenuChoice::kKeyCombinationDialog: {
      CShortcutDlg shortcut(hwnd(), hwnd());
      shortcut.DoModal();
      break;
    }
    case MenuChoice::kMacroChooser: {
      CMacroSelectDlg chooser(window_.AssignedLibrary(), hwnd(), hwnd());
      chooser.DoModal();
      break;
    }
    default: break;
  }
}

void AssignmentUnit::ApplyButtons() { window_.ApplyChangedButtons(); }
void AssignmentUnit::StartTimer(int id, int milliseconds) {
  SetTimer(hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}
void AssignmentUnit::StopTimer(int id) { KillTimer(hwnd(), static_cast<UINT_PTR>(id)); }
void AssignmentUnit::ShowAttention(int message) {
  CAttentionDlg attention(LanguageString(kStringAttentionTitle), LanguageString(message), hwnd());
  attention.DoModal();
}

}  // namespace zeltra::win32

namespace zeltra::win32 {

ProfileRecord& ButtonAssignmentUnit::AssignedProfile() { return window_->Settings().CurrentProfile(); }

void ButtonAssignmentUnit::ApplyChangedButtons() { window_->Link().RequestApply(kPendingButtons); }

}  // namespace zeltra::win32
