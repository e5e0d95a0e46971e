#include "app/window_placement.h"

namespace zeltra {

float UiScaleFactor(int fullWidth, int fullHeight) {
  if (fullWidth > 2400) {
    if (fullHeight >= 1601) return 2.0f;
    if (fullHeight >= 1201) return 1.5f;
    return 1.0f;
  }
  if (fullWidth >= 1801 && fullHeight > 1200) return 1.5f;
  return 1.0f;
}

WindowPlacement MainWindowPlacement(int fullWidth, int fullHeight, float scale) {
  // Computed in floating point and truncated at the end, so that a
  // fractional window size (1127 x 1.5) still centres to the same pixel.
  const double w = kMainDesignWidth * static_cast<double>(scale);
  const double h = kMainDesignHeight * static_cast<double>(scale);
  WindowPlacement p;
  p.left = fullWidth > w ? static_cast<int>((fullWidth - w) * 0.5) : 0;
  p.top = fullHeight > h ? static_cast<int>((fullHeight - h) * 0.5) : 0;
  p.width = static_cast<int>(w);
  p.height = static_cast<int>(h);
  return p;
}

}  // namespace zeltra
