// Geometry of the gauges that show a value by drawing only the lower part of
// a fill image (the battery and the DPI value boxes).
#pragma once

namespace zeltra {

// Top edge of the battery's fill for a level of 0..100 percent: the fill area
// is 50 design pixels high and starts 7 below the image top; even an empty
// battery shows one design pixel. At scales above 1 the edge moves up one
// pixel when the remaining height is odd, so it meets the image's pixel grid.
int BatteryFillTop(int top, int bottom, int level, float scale);

// Top edge of a DPI value gauge's fill for value v of m steps: (v + 1) / m
// of the height, clamped into the control (no fill without steps). At
// scales above 1 an odd fill height gains a pixel, as for the battery.
int GaugeFillTop(int top, int bottom, int value, int steps, float scale);

// Which rows of a fill image of imageWidth x imageHeight (image pixels) are
// drawn so that its lower part fills a control from fillTop to bottom.
struct LowerImagePart {
  int sourceTop = 0;     // first image row drawn
  int sourceHeight = 0;  // rows drawn
  int destWidth = 0;     // destination size in window pixels, at (left, fillTop)
  int destHeight = 0;
};
LowerImagePart LowerPartOf(int imageWidth, int imageHeight, int fillTop, int bottom, float scale);

}  // namespace zeltra
