#include "ui/skin_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

StretchMaps MapStretch(int destX, int destY, int destWidth, int destHeight, int sourceX, int sourceY,
                       int sourceWidth, int sourceHeight, int imageWidth, int imageHeight) {
  return StretchMaps{sourceX,
                     sourceY,
                     sourceWidth,
                     sourceHeight,
                     StretchSources(destX, destWidth, sourceX, sourceWidth, imageWidth),
                     StretchSources(destY, destHeight, sourceY, sourceHeight, imageHeight)};
}

std::vector<int> BlitStretchSources(int destLength, int sourceLength) {
  std::vector<int> sources(destLength > 0 ? static_cast<std::size_t>(destLength) : 0, 0);
  if (destLength <= 0 || sourceLength <= 0) return sources;
  // Integer mid-point test along the major axis: `error` is the distance of
  // the mid-point from the ideal line, doubled to stay in integers.
  const long long d = destLength;
  const long long s = sourceLength;
  if (d >= s) {
    long long error = 3 * s - 2 * d;
    int source = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
      sources[i] = source;
      if (error > 0) {
        ++source;
        error += 2 * s - 2 * d;
      } else {
        error += 2 * s;
      }
    }
    return sources;
  }
  long long error = 3 * d - 2 * s;
  std::size_t dest = 0;
  bool runStart = true;
  for (int source = 0; source < sourceLength && dest < sources.size(); ++source) {
    if (runStart) sources[dest] = source;
    runStart = false;
    if (error > 0) {
      ++dest;
      runStart = true;
      error += 2 * d - 2 * s;
    } else {
      error += 2 * d;
    }
  }
  return sources;
}

std::uint32_t AverageRgb(const std::uint32_t* pixels, std::size_t count) {
  if (count == 0) return 0;
  std::uint64_t red = 0;
  std::uint64_t green = 0;
  std::uint64_t blue = 0;
  for (std::size_t i = 0; i < count; ++i) {
    red += (pixels[i] >> 16) & 0xFF;
    green += (pixels[i] >> 8) & 0xFF;
    blue += pixels[i] & 0xFF;
  }
  return static_cast<std::uint32_t>((red / count) << 16 | (green / count) << 8 | (blue / count));
}

bool ShowsWholeArea(const StretchMaps& maps) {
  const auto shown = [](int source) { return source >= 0; };
  return std::all_of(maps.columns.begin(), maps.columns.end(), shown) &&
         std::all_of(maps.rows.begin(), maps.rows.end(), shown);
}

void BlendPremultiplied(const std::uint32_t* source, std::uint32_t* dest, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t s = source[i];
    const std::uint32_t alpha = s >> 24;
    if (alpha == 0) continue;
    if (alpha == 255) {
      dest[i] = s;
      continue;
    }
    const std::uint32_t d = dest[i];
    const std::uint32_t keep = 255 - alpha;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::uint32_t channel = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep + 127) / 255;
      out |= (channel & 0xFF) << shift;
    }
    dest[i] = out;
  }
}

void ScaleNearest(const std::uint32_t* source, int sourceStride, const std::vector<int>& columns,
                  const std::vector<int>& rows, std::uint32_t* dest, int destStride) {
  for (std::size_t y = 0; y < rows.size(); ++y) {
    std::uint32_t* row = dest + static_cast<std::ptrdiff_t>(y) * destStride;
    if (y > 0 && rows[y] == rows[y - 1]) {
      // A source row shown twice (every row at 2x): the row just made again.
      std::memcpy(row, row - destStride, columns.size() * sizeof(std::uint32_t));
      continue;
    }
    if (rows[y] < 0) {
      for (std::size_t x = 0; x < columns.size(); ++x) row[x] = 0;
      continue;
    }
    const std::uint32_t* line = source + static_cast<std::ptrdiff_t>(rows[y]) * sourceStride;
    for (std::size_t x = 0; x < columns.size(); ++x) row[x] = columns[x] >= 0 ? line[columns[x]] : 0;
  }
}

}  // namespace zeltra
