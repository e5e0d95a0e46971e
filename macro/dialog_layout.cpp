#include "macro/dialog_layout.h"

#include "macro/macro_manager.h"
#include "ui/ui_context.h"

namespace zeltra {

PixelRect ScaleRect(const DesignRect& rect, float scale) {
  const int left = Scaled(rect.x, scale);
  const int top = Scaled(rect.y, scale);
  return {left, top, left + Scaled(rect.width, scale), top + Scaled(rect.height, scale)};
}

PixelRect ScaleEdges(int left, int top, int right, int bottom, float scale) {
  return {Scaled(left, scale), Scaled(top, scale), Scaled(right, scale), Scaled(bottom, scale)};
}

const DialogControl* FindDialogControl(std::span<const DialogControl> controls, int id) {
  for (const DialogControl& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

int ListRowsThatFit(int height, float scale) {
  const int row = Scaled(20, scale);
  if (row <= 0 || height <= 0) return 0;
  return (height + Scaled(10, scale)) / row;
}

int NotADigitWarning(char16_t c) { return IsDigitOrBackspace(c) ? 0 : kNotADigitMessage; }

int EditBoxFontTenths(float scale, float textScale) {
  if (textScale <= 0.0f) textScale = 1.0f;
  return static_cast<int>(100.0f * scale / textScale);
}

}  // namespace zeltra
