#include "macro/shortcut_dialog.h"

#include "settings/key_tables.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

bool IsModifierKey(std::uint8_t vk) { return vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5); }

std::uint8_t ModifierOfBox(int id) {
  switch (id) {
    case kShortcutCtrlBox: return kModifierCtrl;
    case kShortcutShiftBox: return kModifierShift;
    case kShortcutAltBox: return kModifierAlt;
    case kShortcutWinBox: return kModifierWin;
    default: return 0;
  }
}

// A modifier box and, 15 units right of it, its name.
constexpr DialogControl Box(int id, int x) { return CheckBoxControl(id, {x, 72, 11, 11}); }
constexpr DialogControl BoxName(int id, int x, std::u16string_view name) {
  return LabelControl(id, {x + 15, 70, 30, 18}, name);
}

}  // namespace

const std::array<DialogControl, 14> kShortcutDialogControls{{
    TextControl(kDialogCaptionId, {20, 3, 210, 24}, 180),
    TextControl(kShortcutKeyField, {25, 35, 158, 22}, 0),
    Box(kShortcutShiftBox, 25),
    BoxName(kShortcutShiftName, 25, u"Shift"),
    Box(kShortcutCtrlBox, 82),
    BoxName(kShortcutCtrlName, 82, u"Ctrl"),
    Box(kShortcutAltBox, 139),
    BoxName(kShortcutAltName, 139, u"Alt"),
    Box(kShortcutWinBox, 196),
    BoxName(kShortcutWinName, 196, u"Win"),
    CheckBoxControl(kShortcutNoModifiersBox, {22, 139, 11, 11}),
    PushButtonControl(kIdOk, {260, 110, 69, 20}, kOkText),
    PushButtonControl(kIdCancel, {350, 110, 69, 20}, kCancelText),
    CloseCrossControl({405, 4, 15, 15}),
}};

bool ShortcutDialogState::OnKey(std::uint8_t virtualKey) {
  // Codes below 8 are no keys (a popup's closing notice arrives as code 0).
  if (virtualKey < 8 || IsModifierKey(virtualKey)) return false;
  keyName_ = KeyName(virtualKey);
  deviceKey_ = DeviceKeyCode(virtualKey);
  return true;
}

void ShortcutDialogState::SetBox(int id, bool checked) {
  if (id == kShortcutNoModifiersBox) {
    noModifiers_ = checked;
    return;
  }
  const std::uint8_t bit = ModifierOfBox(id);
  modifiers_ = static_cast<std::uint8_t>(checked ? modifiers_ | bit : modifiers_ & ~bit);
}

std::optional<ButtonAssignment> ShortcutDialogState::Ok() const {
  // The no-modifiers box wins over boxes ticked before it.
  const std::uint8_t modifiers = noModifiers_ ? 0 : modifiers_;
  ButtonAssignment result{KeyCombinationName(modifiers, keyName_), KeyCombinationCode(modifiers, deviceKey_)};
  if (result.name.empty()) return std::nullopt;
  return result;
}

}  // namespace zeltra
