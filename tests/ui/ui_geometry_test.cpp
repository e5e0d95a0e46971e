#include "ui/ui_geometry.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

// The two scalings part by a pixel where a truncated edge and a truncated
// width disagree; each layout's pixels depend on keeping its own.
TEST(UiGeometry, DesignRectanglesScaleByEdgesOrByOriginAndSize) {
  struct Case {
    DesignRect design;
    float scale;
    UiRect edges, originAndSize;
  };
  const Case cases[] = {
      {DesignRect::FromEdges(405, 4, 420, 19), 1.0f, {405, 4, 420, 19}, {405, 4, 420, 19}},
      {DesignRect::FromEdges(405, 4, 420, 19), 1.5f, {607, 6, 630, 28}, {607, 6, 629, 28}},
      {{25, 54, 143, 269}, 1.5f, {37, 81, 252, 484}, {37, 81, 251, 484}},
      {{25, 54, 143, 269}, 2.0f, {50, 108, 336, 646}, {50, 108, 336, 646}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleEdges(c.design, c.scale), c.edges) << c.design.left << " " << c.scale;
    EXPECT_EQ(ScaleOriginAndSize(c.design, c.scale), c.originAndSize) << c.design.left << " " << c.scale;
  }
  EXPECT_EQ(DesignRect::FromEdges(405, 4, 420, 19), (DesignRect{405, 4, 15, 15}));
  EXPECT_TRUE(UiRect({0, 0, 10, 10}).Contains(UiPoint{9, 9}));
  EXPECT_FALSE(UiRect({0, 0, 10, 10}).Contains(UiPoint{10, 9}));
}

}  // namespace
}  // namespace zeltra
