#include "ui/skin_pixels.h"

#include <vector>

namespace zeltra {

namespace {

std::uint32_t Channel(std::uint32_t value, std::uint32_t alpha) { return (value * alpha + 127) / 255; }

}  // namespace

std::uint32_t PremultipliedPixel(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  if (a == 255) return argb;
  const std::uint32_t r = Channel((argb >> 16) & 0xFF, a);
  const std::uint32_t g = Channel((argb >> 8) & 0xFF, a);
  const std::uint32_t b = Channel(argb & 0xFF, a);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

bool PremultiplyPixels(std::uint32_t* pixels, std::size_t count) {
  bool opaque = true;
  for (std::size_t i = 0; i < count; ++i) {
    if ((pixels[i] >> 24) != 255) opaque = false;
    pixels[i] = PremultipliedPixel(pixels[i]);
  }
  return opaque;
}

int NearestSourceIndex(int index, int destLength, int sourceStart, int sourceLength) {
  // floor(index * sourceLength / destLength) in exact integers.
  return sourceStart + static_cast<int>(static_cast<long long>(index) * sourceLength / destLength);
}

void ScaleNearest(const std::uint32_t* source, int width, int height, int sourceStride, const PixelArea& from,
                  std::uint32_t* dest, int destWidth, int destHeight, int destStride) {
  if (destWidth <= 0 || destHeight <= 0) return;
  std::vector<int> columns(static_cast<std::size_t>(destWidth));
  for (int x = 0; x < destWidth; ++x) {
    const int sx = from.width > 0 ? NearestSourceIndex(x, destWidth, from.x, from.width) : -1;
    columns[static_cast<std::size_t>(x)] = sx >= 0 && sx < width ? sx : -1;
  }
  for (int y = 0; y < destHeight; ++y) {
    std::uint32_t* row = dest + static_cast<std::ptrdiff_t>(y) * destStride;
    const int sy = from.height > 0 ? NearestSourceIndex(y, destHeight, from.y, from.height) : -1;
    if (sy < 0 || sy >= height) {
      for (int x = 0; x < destWidth; ++x) row[x] = 0;
      continue;
    }
    const std::uint32_t* line = source + static_cast<std::ptrdiff_t>(sy) * sourceStride;
    for (int x = 0; x < destWidth; ++x) {
      const int sx = columns[static_cast<std::size_t>(x)];
      row[x] = sx >= 0 ? line[sx] : 0;
    }
  }
}

}  // namespace zeltra
