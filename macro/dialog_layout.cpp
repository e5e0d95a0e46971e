#include "macro/dialog_layout.h"

#include "macro/macro_manager.h"

namespace zeltra {

const DialogControl* FindDialogControl(std::span<const DialogControl> controls, int id) {
  for (const DialogControl& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

int NotADigitWarning(char16_t c) { return IsDigitOrBackspace(c) ? 0 : kNotADigitMessage; }

}  // namespace zeltra
