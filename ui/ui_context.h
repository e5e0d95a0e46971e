// Process-wide values that every dialog and control reads: chosen once at
// start-up by the main window.
#pragma once

#include <filesystem>

namespace zeltra {

struct UiContext {
  float scale = 1.0f;      // UI scale factor: 1.0, 1.5 or 2.0
  float textScale = 1.0f;  // logical pixels per inch of the main window / 96
  std::filesystem::path programFolder;  // skins are read relative to it
  std::filesystem::path dataFolder;     // the user's data, with its config folder
  int fullScreenWidth = 0;              // full-screen client area at start-up
  int fullScreenHeight = 0;
};

UiContext& Ui();

// A design length multiplied by the UI scale factor, truncated.
int Scaled(int design);
int Scaled(int design, float scale);

}  // namespace zeltra
