#include "ui/ui_geometry.h"

#include "ui/ui_context.h"

namespace zeltra {

UiRect ScaleEdges(const DesignRect& rect, float scale) {
  return {Scaled(rect.left, scale), Scaled(rect.top, scale), Scaled(rect.right(), scale),
          Scaled(rect.bottom(), scale)};
}

UiRect ScaleOriginAndSize(const DesignRect& rect, float scale) {
  const int left = Scaled(rect.left, scale);
  const int top = Scaled(rect.top, scale);
  return {left, top, left + Scaled(rect.width, scale), top + Scaled(rect.height, scale)};
}

}  // namespace zeltra
