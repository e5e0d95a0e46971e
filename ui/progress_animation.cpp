#include "ui/progress_animation.h"

#include <algorithm>
#include <atomic>

#include "ui/ui_context.h"

namespace zeltra {

namespace {
std::atomic<int> g_animationGuard{0};
}  // namespace

ProgressBarStep ProgressBarAt(int percent, float scale) {
  ProgressBarStep step;
  step.percent = std::clamp(percent, 0, 100);
  step.sourceWidth = step.percent * kProgressDesignWidth / 100;
  step.destLeft = 0;
  step.destTop = Scaled(kProgressBarTop, scale);
  step.destWidth = Scaled(step.sourceWidth, scale);
  step.destHeight = Scaled(kProgressBarHeight, scale);
  return step;
}

std::optional<ProgressBarStep> ProgressAnimation::NextStep(float scale) {
  if (finished()) return std::nullopt;
  const ProgressBarStep step = ProgressBarAt(progress_, scale);
  progress_ = std::min(100, progress_ + kProgressStepPercent);
  return step;
}

bool AnimationGuard::TryAcquire() { return g_animationGuard.exchange(1) == 0; }

void AnimationGuard::Release() { g_animationGuard.store(0); }

bool AnimationGuard::Held() { return g_animationGuard.load() != 0; }

}  // namespace zeltra
