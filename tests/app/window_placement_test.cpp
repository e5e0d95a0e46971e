#include <gtest/gtest.h>

#include "app/window_placement.h"

namespace zeltra {
namespace {

struct ScaleCase {
  int width;
  int height;
  float scale;
};

class ScaleFactor : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleFactor, FollowsTheScreenSizeBands) {
  EXPECT_EQ(UiScaleFactor(GetParam().width, GetParam().height), GetParam().scale)
      << GetParam().width << " x " << GetParam().height;
}

INSTANTIATE_TEST_SUITE_P(Bands, ScaleFactor,
                         testing::Values(ScaleCase{3840, 2117, 2.0f}, ScaleCase{2401, 1601, 2.0f},
                                         ScaleCase{2401, 1600, 1.5f}, ScaleCase{2401, 1201, 1.5f},
                                         ScaleCase{2401, 1200, 1.0f}, ScaleCase{2560, 1417, 1.5f},
                                         ScaleCase{2400, 1601, 1.5f}, ScaleCase{2400, 1201, 1.5f},
                                         ScaleCase{2400, 1200, 1.0f}, ScaleCase{1801, 1201, 1.5f},
                                         ScaleCase{1800, 1601, 1.0f}, ScaleCase{1920, 1057, 1.0f},
                                         ScaleCase{1024, 768, 1.0f}));

struct PlacementCase {
  int width;
  int height;
  WindowPlacement expected;
};

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, CentresTheScaledWindow) {
  const auto& c = GetParam();
  const WindowPlacement p = MainWindowPlacement(c.width, c.height, UiScaleFactor(c.width, c.height));
  EXPECT_EQ(p.left, c.expected.left);
  EXPECT_EQ(p.top, c.expected.top);
  EXPECT_EQ(p.width, c.expected.width);
  EXPECT_EQ(p.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    testing::Values(
        // (2560 - 1690.5) x 0.5 = 434.75: the fractional width is kept until the end.
        PlacementCase{2560, 1400, {434, 145, 1690, 1110}},
        PlacementCase{1920, 1040, {396, 150, 1127, 740}},
        PlacementCase{3840, 2117, {793, 318, 2254, 1480}},
        // Not larger than the window: that edge goes to 0.
        PlacementCase{1024, 700, {0, 0, 1127, 740}}, PlacementCase{1127, 740, {0, 0, 1127, 740}},
        PlacementCase{1128, 741, {0, 0, 1127, 740}}, PlacementCase{1129, 742, {1, 1, 1127, 740}}));

}  // namespace
}  // namespace zeltra
