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
