#include "ui/ui_context.h"

namespace zeltra {

UiContext& Ui() {
  static UiContext context;
  return context;
}

int Scaled(int design, float scale) { return static_cast<int>(static_cast<float>(design) * scale); }

int Scaled(int design) { return Scaled(design, Ui().scale); }

int EditBoxFontTenths(float scale, float textScale) {
  if (!(textScale > 0.0f)) textScale = 1.0f;
  return static_cast<int>(100.0f * scale / textScale);
}

}  // namespace zeltra
