#include "ui/small_dialogs.h"

#include <cstdlib>

namespace zeltra {

int PointFontHeight(int tenths, int dpiY) {
  // Rounded to the nearest pixel, as the system's multiply-divide does.
  const long long product = static_cast<long long>(std::abs(tenths)) * std::abs(dpiY);
  return -static_cast<int>((product + 360) / 720);
}

}  // namespace zeltra
