#include <gtest/gtest.h>

#include "ui/gauge_geometry.h"

namespace zeltra {
namespace {

struct FillCase {
  int level;
  float scale;
  int top;
  int bottom;
  int expected;
};

class BatteryFill : public testing::TestWithParam<FillCase> {};

TEST_P(BatteryFill, TopEdge) {
  const auto& c = GetParam();
  EXPECT_EQ(BatteryFillTop(c.top, c.bottom, c.level, c.scale), c.expected) << "level " << c.level;
}

INSTANTIATE_TEST_SUITE_P(
    Levels, BatteryFill,
    testing::Values(FillCase{100, 1.0f, 0, 64, 7}, FillCase{50, 1.0f, 0, 64, 32},
                    // An empty battery still shows one design pixel.
                    FillCase{0, 1.0f, 0, 64, 56}, FillCase{1, 1.0f, 0, 64, 56}, FillCase{2, 1.0f, 0, 64, 56},
                    FillCase{4, 1.0f, 10, 74, 65},
                    // 1.5: 32 x 1.5 = 48 leaves an even 48; 33 x 1.5 = 49.5 -> 49 leaves
                    // an odd 47, so the edge moves up to 48.
                    FillCase{50, 1.5f, 0, 96, 48}, FillCase{49, 1.5f, 0, 96, 48},
                    FillCase{100, 2.0f, 0, 128, 14}, FillCase{0, 2.0f, 0, 128, 112},
                    // Out-of-range levels behave as the nearest valid one.
                    FillCase{250, 1.0f, 0, 64, 7}, FillCase{-3, 1.0f, 0, 64, 56}));

TEST(DpiGauge, FillTopForValueAndSteps) {
  struct Case {
    int value, steps;
    float scale;
    int top, bottom, expected;
  };
  const Case cases[] = {
      {0, 10, 1.0f, 0, 100, 90}, {9, 10, 1.0f, 0, 100, 0},  {4, 10, 1.0f, 20, 120, 70},
      {0, 8, 2.0f, 0, 200, 174},  // 25 rows: odd, one higher
      {0, 0, 1.0f, 0, 100, 100},  // no steps: no fill
      {30, 10, 1.0f, 0, 100, 0},  // beyond the steps: full
      {-5, 10, 1.0f, 0, 100, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GaugeFillTop(c.top, c.bottom, c.value, c.steps, c.scale), c.expected) << c.value << "/" << c.steps;
  }
}

TEST(LowerPart, CoversTheFillAreaFromTheBottom) {
  LowerImagePart full = LowerPartOf(30, 64, 7, 64, 1.0f);
  EXPECT_EQ(full.sourceTop, 7);
  EXPECT_EQ(full.sourceHeight, 57);
  EXPECT_EQ(full.destWidth, 30);
  EXPECT_EQ(full.destHeight, 57);

  LowerImagePart half = LowerPartOf(30, 64, 48, 96, 1.5f);
  EXPECT_EQ(half.sourceTop, 32);
  EXPECT_EQ(half.sourceHeight, 32);
  EXPECT_EQ(half.destWidth, 45);
  EXPECT_EQ(half.destHeight, 48);

  // A fill reaching above the image's first row draws the whole image.
  LowerImagePart tall = LowerPartOf(30, 64, 0, 100, 1.0f);
  EXPECT_EQ(tall.sourceTop, 0);
  EXPECT_EQ(tall.sourceHeight, 64);

  LowerImagePart none = LowerPartOf(0, 0, 7, 64, 1.0f);
  EXPECT_EQ(none.sourceHeight, 0);
  EXPECT_EQ(none.destHeight, 0);
}

}  // namespace
}  // namespace zeltra
