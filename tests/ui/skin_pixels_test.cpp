#include "ui/skin_pixels.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/shared_cache.h"

namespace zeltra {
namespace {

TEST(SkinPixels, PremultiplyingRoundsEachChannelAndKnowsOpaqueImages) {
  EXPECT_EQ(PremultipliedPixel(0xFF123456), 0xFF123456u);
  EXPECT_EQ(PremultipliedPixel(0x00FFFFFF), 0x00000000u);
  // 255 * 128 / 255 = 128; 1 * 128 / 255 = 0.502 rounds up; 100 * 128 / 255 = 50.2 rounds down.
  EXPECT_EQ(PremultipliedPixel(0x80FF0164), 0x80800132u);
  std::vector<std::uint32_t> pixels{0xFF000000, 0xFFFFFFFF};
  EXPECT_TRUE(PremultiplyPixels(pixels.data(), pixels.size()));
  pixels.push_back(0xFE102030);
  EXPECT_FALSE(PremultiplyPixels(pixels.data(), pixels.size()));
  EXPECT_EQ(pixels[2], 0xFE102030u);  // 254 of 255 still rounds back to the same channels
}

TEST(SkinPixels, BlendingKeepsUnderClearPixelsReplacesUnderOpaqueOnesAndRoundsTheRest) {
  const std::vector<std::uint32_t> source{0x00000000, 0xFF102030, 0x80400000, 0x01010101};
  std::vector<std::uint32_t> dest{0x12345678, 0x12345678, 0xFF8000FF, 0xFFFFFFFF};
  BlendPremultiplied(source.data(), dest.data(), source.size());
  EXPECT_EQ(dest[0], 0x12345678u);
  EXPECT_EQ(dest[1], 0xFF102030u);
  // 127 of 255 kept, (d * 127 + 127) / 255 added: blue 0xFF -> 127, red 0x40 + 64, alpha 0x80 + 127.
  EXPECT_EQ(dest[2], 0xFF80007Fu);
  // 254 of 255 kept: each 0xFF channel keeps 254, plus the source's 1.
  EXPECT_EQ(dest[3], 0xFFFFFFFFu);
}

TEST(SkinPixels, StretchingTakesThePixelAtEachDestinationPixelsEdge) {
  const auto two = StretchSources(0, 40, 0, 20, 20);  // 2x: 2 x 2 blocks
  for (int i = 0; i < 40; ++i) EXPECT_EQ(two[static_cast<std::size_t>(i)], i / 2);
  EXPECT_EQ(StretchSources(5, 7, 3, 7, 10), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));  // 1:1 keeps the offset
  // 1.5x of 2 pixels: the edges 0, 1, 2 of 3 fall on 0, 0.67, 1.33; shrinking
  // 10 to 4: on 0, 2.5, 5, 7.5.
  EXPECT_EQ(StretchSources(0, 3, 0, 2, 2), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(StretchSources(0, 4, 0, 10, 10), (std::vector<int>{0, 2, 5, 7}));
  // An area reaching past the image: nothing there.
  EXPECT_EQ(StretchSources(0, 4, 2, 2, 3), (std::vector<int>{2, 2, -1, -1}));
  // Single-precision steps: 230 stretched to 250 from x = 20 shows column 22
  // at pixel 25 (exact arithmetic: 23), and 230 to 540 from x = 560 starts
  // just short of the image, so its first pixel shows nothing.
  EXPECT_EQ(StretchSources(20, 250, 0, 230, 230)[25], 22);
  const auto panel = StretchSources(560, 540, 0, 230, 230);
  EXPECT_EQ(panel[0], -1);
  EXPECT_EQ(panel[1], 0);
  EXPECT_EQ(panel.back(), 229);
}

TEST(SkinPixels, OneStretchedCopyServesEveryPlaceWhoseMapsAgree) {
  struct Case {
    int x1, y1, x2, y2;  // two places of the same destination size
    int destWidth, destHeight, sourceWidth, sourceHeight;
    bool shared;
  };
  const Case cases[] = {
      {0, 0, 37, 113, 40, 20, 20, 10, true},        // 2.0: the place never matters
      {5, 9, 1201, 777, 440, 720, 220, 360, true},  // the mouse picture at 2.0
      {3, 4, 90, 50, 20, 10, 20, 10, true},         // as it is
      {0, 0, 20, 0, 345, 123, 230, 82, false},      // 1.5: single-precision steps differ by place
  };
  for (const Case& c : cases) {
    const auto at = [&](int x, int y) {
      return MapStretch(x, y, c.destWidth, c.destHeight, 0, 0, c.sourceWidth, c.sourceHeight, c.sourceWidth,
                        c.sourceHeight);
    };
    EXPECT_EQ(at(c.x1, c.y1) == at(c.x2, c.y2), c.shared) << c.destWidth << "x" << c.destHeight;
  }
  // Another size or another source area is another copy.
  EXPECT_FALSE(MapStretch(0, 0, 40, 20, 0, 0, 20, 10, 20, 10) == MapStretch(0, 0, 42, 20, 0, 0, 20, 10, 20, 10));
  EXPECT_FALSE(MapStretch(0, 0, 20, 10, 0, 0, 10, 10, 20, 10) == MapStretch(0, 0, 20, 10, 10, 0, 10, 10, 20, 10));
}

TEST(SkinPixels, AStretchedCopyIsWholeOnlyWhenNoPixelIsLeftClear) {
  struct Case {
    int x, y, destWidth, destHeight, sourceX, sourceY, sourceWidth, sourceHeight, imageWidth, imageHeight;
    bool whole;
  };
  const Case cases[] = {
      {37, 113, 40, 20, 0, 0, 20, 10, 20, 10, true},        // 2.0
      {560, 0, 540, 20, 0, 0, 230, 10, 230, 10, false},     // a panel whose first column shows nothing
      {0, 0, 40, 20, 10, 0, 20, 10, 20, 10, false},         // source area past the image's right
      {0, 0, 40, 20, 0, 5, 20, 10, 20, 10, false},          // and past its bottom
      {0, 0, 10, 5, 0, 0, 20, 10, 20, 10, true},            // shrunk
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowsWholeArea(MapStretch(c.x, c.y, c.destWidth, c.destHeight, c.sourceX, c.sourceY, c.sourceWidth,
                                        c.sourceHeight, c.imageWidth, c.imageHeight)),
              c.whole)
        << c.x << "," << c.y << " " << c.destWidth << "x" << c.destHeight;
  }
}

TEST(SkinPixels, BlockTransferStretchesStepAtTheMidPointBetweenPixelCentres) {
  struct Case {
    int dest, source;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {4, 4, {0, 1, 2, 3}},        // 1:1
      {6, 3, {0, 0, 1, 1, 2, 2}},  // 2x: every pixel twice
      {3, 2, {0, 0, 1}},           // 1.5x of an even length: the first pixel twice
      {5, 3, {0, 0, 1, 2, 2}},     // the middle pixel once, the edges twice
      {2, 4, {0, 2}},              // shrinking: the first pixel of each run
      {0, 4, {}},
      {3, 0, {0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlitStretchSources(c.dest, c.source), c.expected) << c.dest << "/" << c.source;
  // The main window's frame at 1.5: 1127 columns over 1690 step at the pixel
  // centres (floor((i + 0.5) * 1127 / 1690)), its 740 rows over 1110 at the
  // pixel edges (floor(i * 740 / 1110)); both end on the last source pixel.
  const auto columns = BlitStretchSources(1690, 1127);
  const auto rows = BlitStretchSources(1110, 740);
  for (int i = 0; i < 1690; ++i) ASSERT_EQ(columns[static_cast<std::size_t>(i)], (2 * i + 1) * 1127 / 3380) << i;
  for (int i = 0; i < 1110; ++i) ASSERT_EQ(rows[static_cast<std::size_t>(i)], i * 740 / 1110) << i;
}

TEST(SkinPixels, ScalingFillsFromTheMapsAndLeavesNothingWhereTheyHaveNoSource) {
  // 3 x 2 image, pixels numbered 1..6.
  const std::uint32_t image[] = {1, 2, 3, 4, 5, 6};
  std::vector<std::uint32_t> out(3 * 2, 99);
  ScaleNearest(image, 3, {1, 2, -1}, {1, -1}, out.data(), 3);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{5, 6, 0, 0, 0, 0}));
  // A destination stride wider than its width leaves the gap alone.
  std::vector<std::uint32_t> strided(3 * 2, 99);
  ScaleNearest(image, 3, {0, 0}, {0, 1}, strided.data(), 3);
  EXPECT_EQ(strided, (std::vector<std::uint32_t>{1, 1, 99, 4, 4, 99}));
}

TEST(SharedCache, OneObjectPerKeyWhileHeldAndAFreshOneAfter) {
  SharedCache<std::string, int> cache;
  int made = 0;
  auto make = [&] { return std::make_shared<int>(++made); };
  auto a = cache.Get("a", make);
  auto again = cache.Get("a", make);
  EXPECT_EQ(a, again);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(cache.Get("fails", [] { return std::shared_ptr<int>(); }), nullptr);
  EXPECT_EQ(cache.EntryCount(), 1u);  // a failure is not remembered
  a.reset();
  again.reset();
  EXPECT_EQ(cache.LiveCount(), 0u);
  auto fresh = cache.Get("a", make);
  EXPECT_EQ(*fresh, 2);
  cache.Get("b", make);  // dropped at once: the entry of "b" stays only until the next insert
  cache.Get("c", make);
  EXPECT_EQ(cache.EntryCount(), 2u);  // "a" held, "c" just made
}

TEST(LazyShared, MakesOnFirstUseSharesByKeyAndLetsGoWhenUnloaded) {
  SharedCache<std::string, int> cache;
  int made = 0;
  auto make = [&] { return std::make_shared<int>(++made); };
  LazyShared<std::string, int> a;
  LazyShared<std::string, int> b;
  EXPECT_EQ(a.Get(make), nullptr);  // no key: nothing to make
  a.Assign(cache, "skin");
  b.Assign(cache, "skin");
  EXPECT_EQ(made, 0);  // naming decodes nothing
  EXPECT_TRUE(a.named());
  EXPECT_FALSE(a.loaded());
  EXPECT_EQ(*a.Get(make), 1);
  EXPECT_EQ(b.Get(make), a.Get(make));  // one object for both slots
  EXPECT_EQ(made, 1);

  a.Unload();  // a hidden control: b still shows it
  EXPECT_FALSE(a.loaded());
  EXPECT_EQ(cache.LiveCount(), 1u);
  EXPECT_EQ(*a.Get(make), 1);  // taken back from b, not made again
  a.Unload();
  b.Unload();
  EXPECT_EQ(cache.LiveCount(), 0u);  // nobody shows it: freed
  EXPECT_EQ(*b.Get(make), 2);

  b.Reset();
  EXPECT_FALSE(b.named());
  EXPECT_EQ(b.Get(make), nullptr);
}

TEST(LazyShared, AFailureIsNotRetriedUntilUnloadedOrRenamed) {
  SharedCache<std::string, int> cache;
  int attempts = 0;
  auto fail = [&] {
    ++attempts;
    return std::shared_ptr<int>();
  };
  LazyShared<std::string, int> slot;
  slot.Assign(cache, "missing");
  EXPECT_EQ(slot.Get(fail), nullptr);
  EXPECT_EQ(slot.Get(fail), nullptr);  // every paint after the first
  EXPECT_EQ(attempts, 1);
  slot.Unload();
  EXPECT_EQ(slot.Get(fail), nullptr);
  slot.Assign(cache, "other");
  EXPECT_EQ(slot.Get(fail), nullptr);
  EXPECT_EQ(attempts, 3);
}

TEST(RecentCache, DropsTheLeastRecentlyUsed) {
  RecentCache<int, std::string> cache(2);
  cache.Insert(1, "one");
  cache.Insert(2, "two");
  ASSERT_NE(cache.Find(1), nullptr);  // 1 is now the most recent
  cache.Insert(3, "three");
  EXPECT_EQ(cache.Find(2), nullptr);
  EXPECT_EQ(*cache.Find(1), "one");
  EXPECT_EQ(*cache.Find(3), "three");
  EXPECT_EQ(cache.size(), 2u);
}

}  // namespace
}  // namespace zeltra
