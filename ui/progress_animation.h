// The progress dialog's bar: fifty steps of two percent, ten milliseconds
// apart, then the dialog closes itself twenty milliseconds later.
#pragma once

#include <optional>

namespace zeltra {

inline constexpr int kProgressStepPercent = 2;
inline constexpr int kProgressStepMs = 10;
inline constexpr int kProgressCloseDelayMs = 20;
inline constexpr int kProgressStepTimer = 1;
inline constexpr int kProgressCloseTimer = 2;
inline constexpr int kProgressDesignWidth = 429;
inline constexpr int kProgressDesignHeight = 140;
// The bar rows of "skins\Frame_progress_ov.bmp".
inline constexpr int kProgressBarTop = 66;
inline constexpr int kProgressBarHeight = 12;
inline constexpr int kProgressTextId = 2012;
inline constexpr int kProgressTextHeight = 18;  // design pixels, the UI font's face

// One drawing of the bar: `sourceWidth` columns of the bar image from x 0,
// rows 66 to 77, stretched to the destination (window pixels).
struct ProgressBarStep {
  int percent = 0;
  int sourceWidth = 0;
  int destLeft = 0;
  int destTop = 0;
  int destWidth = 0;
  int destHeight = 0;
  friend bool operator==(const ProgressBarStep&, const ProgressBarStep&) = default;
};
// The bar for a progress of 0..100 (clamped): width = percent x 429 / 100.
ProgressBarStep ProgressBarAt(int percent, float scale);

class ProgressAnimation {
 public:
  // The bar to draw now, advancing the progress by two; nothing once 100 is
  // reached, so the bar is drawn for 0, 2 ... 98 and never full.
  std::optional<ProgressBarStep> NextStep(float scale);
  int progress() const { return progress_; }
  bool finished() const { return progress_ >= 100; }

 private:
  int progress_ = 0;
};

// At most one bar animates in the process at a time.
class AnimationGuard {
 public:
  // False when another animation holds the guard.
  static bool TryAcquire();
  static void Release();
  static bool Held();
};

}  // namespace zeltra
