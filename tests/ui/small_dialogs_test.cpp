#include "ui/small_dialogs.h"

#include <gtest/gtest.h>

#include "ui/progress_animation.h"
#include "ui/ui_context.h"

namespace zeltra {
namespace {

TEST(ProfileDialogFont, FollowsTheUiAndTextScales) {
  EXPECT_EQ(EditBoxFontTenths(1.0f, 1.0f), 100);
  EXPECT_EQ(EditBoxFontTenths(2.0f, 1.0f), 200);
  EXPECT_EQ(EditBoxFontTenths(1.5f, 1.5f), 100);
  EXPECT_EQ(EditBoxFontTenths(2.0f, 1.25f), 160);
  EXPECT_EQ(EditBoxFontTenths(1.0f, 0.0f), 100);
  EXPECT_EQ(PointFontHeight(100, 96), -13);
  EXPECT_EQ(PointFontHeight(200, 96), -27);
  EXPECT_EQ(PointFontHeight(100, 144), -20);
}

TEST(ProgressAnimation, FiftyStepsFromNothingTo420DesignPixelsNeverFull) {
  ProgressAnimation animation;
  std::vector<int> widths;
  while (auto step = animation.NextStep(2.0f)) {
    widths.push_back(step->sourceWidth);
    EXPECT_EQ(step->destTop, 132);
    EXPECT_EQ(step->destHeight, 24);
    EXPECT_EQ(step->destWidth, step->sourceWidth * 2);
  }
  ASSERT_EQ(widths.size(), 50u);
  EXPECT_EQ(widths[0], 0);
  EXPECT_EQ(widths[1], 8);
  EXPECT_EQ(widths.back(), 420);
  EXPECT_TRUE(animation.finished());
  EXPECT_EQ(animation.progress(), 100);
  EXPECT_EQ(ProgressBarAt(150, 1.5f).destWidth, 643);
}

TEST(ProgressAnimation, OnlyOneAnimationAtATime) {
  ASSERT_TRUE(AnimationGuard::TryAcquire());
  EXPECT_FALSE(AnimationGuard::TryAcquire());
  AnimationGuard::Release();
  EXPECT_TRUE(AnimationGuard::TryAcquire());
  AnimationGuard::Release();
}

}  // namespace
}  // namespace zeltra
