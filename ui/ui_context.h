// Process-wide values that every dialog and control reads: chosen once at
// start-up by the main window.
#pragma once

#include <filesystem>
#include <string_view>

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

// Size, in tenths of a point, of the font of the dialogs' native edit boxes:
// 10 points at scale 1.0, corrected by the screen's text scale (taken as 1.0
// when the device reports no resolution).
int EditBoxFontTenths(float scale, float textScale);
inline constexpr std::u16string_view kEditBoxFontFace = u"Tahoma";

}  // namespace zeltra
