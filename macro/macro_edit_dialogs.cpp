#include "macro/macro_edit_dialogs.h"

#include "settings/key_tables.h"
#include "ui/control_codes.h"

namespace zeltra {

int MacroEditDialogCaption(MacroEditDialog dialog) {
  switch (dialog) {
    case MacroEditDialog::kKey: return 221;
    case MacroEditDialog::kDelay: return 220;
    case MacroEditDialog::kMacroName: return 239;
    case MacroEditDialog::kFolderName: return 243;
    case MacroEditDialog::kRename: return 238;
  }
  return 0;
}

bool MacroEditDialogDrawsFrame(MacroEditDialog dialog) {
  return dialog == MacroEditDialog::kKey || dialog == MacroEditDialog::kDelay;
}

std::array<DialogControl, 5> MacroEditDialogControls(MacroEditDialog dialog) {
  const int captionWidth = MacroEditDialogDrawsFrame(dialog) ? 210 : 290;
  constexpr DesignRect field{11, 40, 295, 22};
  return {{
      TextControl(kDialogCaptionId, {10, 3, captionWidth, 18}, MacroEditDialogCaption(dialog)),
      CloseCrossControl({300, 4, 15, 15}),
      dialog == MacroEditDialog::kKey ? TextControl(kMacroEditKeyField, field, 0)
                                      : ImageControl(kMacroEditBox, ControlKind::kEditBox, field),
      PushButtonControl(kIdOk, {170, 70, 65, 23}, kOkText),
      PushButtonControl(kIdCancel, {240, 70, 65, 23}, kCancelText),
  }};
}

DialogKeys MacroEditDialogKeys(MacroEditDialog dialog) {
  if (dialog == MacroEditDialog::kKey) return {DialogKeyRule::kEndWithoutResult, DialogKeyRule::kEndWithoutResult};
  return {DialogKeyRule::kOk, DialogKeyRule::kSwallow};
}

bool KeyDialogState::OnKey(std::uint8_t virtualKey) {
  // Codes below 8 are no keys (a popup's closing notice arrives as code 0),
  // and in an action they would turn the event into a delay.
  if (virtualKey < 8 || virtualKey == code_) return false;
  code_ = virtualKey;
  return true;
}

const std::u16string& KeyDialogState::name() const { return KeyName(code_); }

}  // namespace zeltra
