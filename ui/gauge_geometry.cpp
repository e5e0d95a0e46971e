#include "ui/gauge_geometry.h"

#include <algorithm>

namespace zeltra {

int BatteryFillTop(int top, int bottom, int level, float scale) {
  level = std::clamp(level, 0, 100);
  const int filled = std::max(level * 50 / 100, 1);
  int y = top + static_cast<int>(static_cast<float>(7 + 50 - filled) * scale);
  if (scale > 1.0f && (bottom - y) % 2 != 0) --y;
  return y;
}

int GaugeFillTop(int top, int bottom, int value, int steps, float scale) {
  const long long height = bottom - top;
  if (steps <= 0 || height <= 0) return bottom;
  const long long filled = std::clamp(height * (static_cast<long long>(value) + 1) / steps, 0LL, height);
  int y = bottom - static_cast<int>(filled);
  if (scale > 1.0f && filled % 2 != 0 && y > top) --y;
  return y;
}

LowerImagePart LowerPartOf(int imageWidth, int imageHeight, int fillTop, int bottom, float scale) {
  LowerImagePart part;
  if (imageWidth <= 0 || imageHeight <= 0 || scale <= 0.0f) return part;
  const int rows = static_cast<int>(static_cast<float>(bottom - fillTop) / scale);
  // A fill taller than the image (a control larger than its art) shows the
  // whole image rather than reading above its first row.
  part.sourceTop = std::clamp(imageHeight - rows, 0, imageHeight);
  part.sourceHeight = imageHeight - part.sourceTop;
  part.destWidth = static_cast<int>(static_cast<float>(imageWidth) * scale);
  part.destHeight = static_cast<int>(static_cast<float>(part.sourceHeight) * scale);
  return part;
}

}  // namespace zeltra
