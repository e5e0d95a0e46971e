// The UI scale factor chosen from the screen, and where the main window goes.
#pragma once

namespace zeltra {

inline constexpr int kMainDesignWidth = 1127;
inline constexpr int kMainDesignHeight = 740;

// Scale factor (1.0, 1.5 or 2.0) for a full-screen client area of
// width x height pixels: large screens get larger skins.
float UiScaleFactor(int fullWidth, int fullHeight);

struct WindowPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The main window centred on the full-screen client area at the given scale;
// a screen not larger than the window puts that edge at 0.
WindowPlacement MainWindowPlacement(int fullWidth, int fullHeight, float scale);

}  // namespace zeltra
