#include "ui/ui_context.h"

namespace zeltra {

UiContext& Ui() {
  static UiContext context;
  return context;
}

int Scaled(int design, float scale) { return static_cast<int>(static_cast<float>(design) * scale); }

int Scaled(int design) { return Scaled(design, Ui().scale); }

}  // namespace zeltra
