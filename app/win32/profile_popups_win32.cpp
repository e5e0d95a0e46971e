// The main window's popups: the profile picker, the profile-tab context
// popup and the lighting modes, each opened where the model places it.
#include <memory>
#include <string>

#include "app/main_layout.h"
#include "app/main_window_ids.h"
#include "app/win32/main_port_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "macro/win32/popup_menus_win32.h"

namespace zeltra::win32 {

namespace {

std::filesystem::path SkinOf(std::u16string_view name) {
  const std::wstring wide(name.begin(), name.end());
  return SkinPath(wide.c_str());
}

PopupImages ImagesOf(const std::array<std::u16string_view, 4>& names) {
  return PopupImages{SkinOf(names[0]), SkinOf(names[1]), SkinOf(names[2]), SkinOf(names[3])};
}

}  // namespace

void MainPort::ClosePopupOf(int slot) {
  if (auto* popup = dynamic_cast<CWndPopup*>(window_.Popup(slot))) popup->StopDismissals();
  window_.ClosePopup(slot);
}

void MainPort::OpenProfilePicker(const PickerPopupSpec& desc) {
  auto popup = std::make_unique<CComboProfilePopup>(desc.rows, SkinOf(desc.headerImage));
  OpenPopup(window_, PopupSlotOf(PopupClass::kComboProfile), std::move(popup), Screen(desc.topLeft),
            desc.resultMessage, 0);
  if (auto* picker = window_.controls_.Find(kIdProfilePicker)) picker->Invalidate();
}

void MainPort::CloseProfilePicker() { ClosePopupOf(PopupSlotOf(PopupClass::kComboProfile)); }

void MainPort::OpenProfileTabPopup(const ProfileTabPopupSpec& desc) {
  OpenPopup(window_, PopupSlotOf(PopupClass::kProfileRKey), std::make_unique<CProfileRKeyPopup>(ImagesOf(desc.images)),
            Screen(desc.topLeft), desc.resultMessage, desc.ownerValue);
}

void MainPort::CloseProfileTabPopup() { ClosePopupOf(PopupSlotOf(PopupClass::kProfileRKey)); }

void MainPort::OpenLightingModePopup(const UiPoint& topLeft) {
  OpenPopup(window_, PopupSlotOf(PopupClass::kComboLighting), std::make_unique<CComboLightingPopup>(),
            Screen(topLeft), kLightingModeResultMessage, kIdLightingModeCombo);
}

void MainPort::CloseLightingModePopup() { ClosePopupOf(PopupSlotOf(PopupClass::kComboLighting)); }

void MainPort::SetComboPressed(int id, bool pressed) {
  if (auto* combo = window_.controls_.As<CComboButton>(id)) {
    combo->SetPopupOpen(pressed);
    combo->Invalidate();
  }
}

}  // namespace zeltra::win32
