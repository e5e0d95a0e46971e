// Points, sizes and rectangles of the portable user-interface code: UiPoint,
// UiSize and UiRect in pixels (already multiplied by the UI scale factor),
// DesignRect in design units (the 1.0 layout), and the two ways design
// rectangles become pixels.
#pragma once

namespace zeltra {

struct UiPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const UiPoint&, const UiPoint&) = default;
};

struct UiSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const UiSize&, const UiSize&) = default;
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
  bool Contains(UiPoint p) const { return Contains(p.x, p.y); }
  friend bool operator==(const UiRect&, const UiRect&) = default;
};

// Design units: the top-left corner and the size.
struct DesignRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  // The rectangle with corners (left, top) and (right, bottom).
  static constexpr DesignRect FromEdges(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
  }
  constexpr int right() const { return left + width; }
  constexpr int bottom() const { return top + height; }
  constexpr bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const DesignRect&, const DesignRect&) = default;
};

// The two differ by truncation: ScaleEdges(r).width() may be a pixel more or
// less than ScaleOriginAndSize(r).width(). Each layout keeps the one its
// pixels were measured with.
//
// Every edge multiplied by the scale and truncated (the main window, the
// small dialogs).
UiRect ScaleEdges(const DesignRect& rect, float scale);
// Left, top, width and height each multiplied by the scale and truncated
// (the assignment and macro dialogs).
UiRect ScaleOriginAndSize(const DesignRect& rect, float scale);

}  // namespace zeltra
