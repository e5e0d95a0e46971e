// Holds the toolkit's UI scale factor at a dialog's own value while the
// dialog runs, and gives the old value back after.
#pragma once

#include "ui/ui_context.h"

namespace zeltra::win32 {

class UiScaleScope {
 public:
  explicit UiScaleScope(float scale) : saved_(Ui().scale) {
    if (scale > 0.0f) Ui().scale = scale;
  }
  ~UiScaleScope() { Ui().scale = saved_; }
  UiScaleScope(const UiScaleScope&) = delete;
  UiScaleScope& operator=(const UiScaleScope&) = delete;

 private:
  float saved_;
};

}  // namespace zeltra::win32
