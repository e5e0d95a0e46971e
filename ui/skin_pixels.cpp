#include "ui/skin_pixels.h"

#include <cmath>
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

namespace {

// Every step rounded to single precision, also where the compiler would
// keep more (x87 on 32-bit builds).
float F(float value) {
  volatile float rounded = value;
  return rounded;
}

}  // namespace

std::vector<int> StretchSources(int destStart, int destLength, int sourceStart, int sourceLength, int imageLength) {
  std::vector<int> sources(destLength > 0 ? static_cast<std::size_t>(destLength) : 0, -1);
  if (destLength <= 0 || sourceLength <= 0) return sources;
  // The source-to-destination scale and offset, inverted, then the source
  // position of the first destination pixel and the step per pixel.
  const float scale = F(static_cast<float>(destLength) / static_cast<float>(sourceLength));
  const float offset = F(static_cast<float>(destStart) - F(scale * static_cast<float>(sourceStart)));
  const float origin = F(-offset / scale);
  const float step = F(F(F(1.0f / scale) + origin) - origin);
  const float end = static_cast<float>(sourceStart + sourceLength);
  float delta = F(static_cast<float>(destStart) * step);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const float at = F(F(origin + delta) + 0.0f);
    delta = F(delta + step);
    if (!(at >= static_cast<float>(sourceStart) && at < end)) continue;
    const auto index = static_cast<int>(std::floor(at));
    if (index >= 0 && index < imageLength) sources[i] = index;
  }
  return sources;
}

void ScaleNearest(const std::uint32_t* source, int sourceStride, const std::vector<int>& columns,
                  const std::vector<int>& rows, std::uint32_t* dest, int destStride) {
  for (std::size_t y = 0; y < rows.size(); ++y) {
    std::uint32_t* row = dest + static_cast<std::ptrdiff_t>(y) * destStride;
    if (rows[y] < 0) {
      for (std::size_t x = 0; x < columns.size(); ++x) row[x] = 0;
      continue;
    }
    const std::uint32_t* line = source + static_cast<std::ptrdiff_t>(rows[y]) * sourceStride;
    for (std::size_t x = 0; x < columns.size(); ++x) row[x] = columns[x] >= 0 ? line[columns[x]] : 0;
  }
}

}  // namespace zeltra
