// Points and rectangles of the portable user-interface code, in a dialog's
// client pixels (already multiplied by the UI scale factor).
#pragma once

namespace zeltra {

struct UiPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const UiPoint&, const UiPoint&) = default;
};

// Right and bottom are exclusive, as the platform's rectangles.
struct UiRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const UiRect&, const UiRect&) = default;
};

}  // namespace zeltra
