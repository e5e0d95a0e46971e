// Decoding the PNG and BMP files skins are made of, without the system's
// imaging library: under Wine that library takes a millisecond or two per
// small image (the first one 15 ms), and the window's first paint decodes
// some thirty of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zeltra {

// Straight-alpha 0xAARRGGBB pixels, rows from the top.
struct ImagePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// The largest side taken, as for any skin image.
inline constexpr int kImageMaxSide = 0x4000;

// Decodes a PNG of 8 bits per sample, not interlaced, of any colour type
// (grey, RGB, palette, grey with alpha, RGBA), whose chunks carry no colour
// space (gAMA, cHRM, sRGB, iCCP) and, but for a palette, no tRNS. Anything
// else, and every damaged file (a chunk's CRC, the stream's checksum, too
// little or too much image data), gives nothing: the caller then leaves the
// file to the system's decoder, which decides as it always did.
std::optional<ImagePixels> DecodePng(const std::uint8_t* data, std::size_t size);

// The same into the memory `target(width, height)` gives for width x height
// pixels (false when it gives none); it is asked only once the image has
// decoded, so nothing is made for a file that does not.
using PixelTarget = std::function<std::uint32_t*(int width, int height)>;
bool DecodePngInto(const std::uint8_t* data, std::size_t size, const PixelTarget& target);

// A bitmap file, or a packed bitmap as a resource holds it (no file
// header): 24 bits per pixel, uncompressed, with the plain 40-byte header,
// rows from the bottom or the top. Anything else, and a file too short for
// its rows, gives nothing (false), for the system's decoder to decide.
std::optional<ImagePixels> DecodeBmp(const std::uint8_t* data, std::size_t size);

// Either of the two: a PNG, else a bitmap.
std::optional<ImagePixels> DecodeSkinImage(const std::uint8_t* data, std::size_t size);

// Such a bitmap's rows where they are (the window's own bitmap is read in
// the executable's image, not copied): row y, counted from the top, starts
// at Row(y), three bytes a pixel, blue first.
struct Bgr24Rows {
  const std::uint8_t* bits = nullptr;
  std::size_t stride = 0;
  int width = 0;
  int height = 0;
  bool bottomUp = true;
  const std::uint8_t* Row(int y) const {
    return bits + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * stride;
  }
};
std::optional<Bgr24Rows> ViewBmp(const std::uint8_t* data, std::size_t size);

// The mean of every pixel's red, green and blue, each truncated, as 0x00RRGGBB.
std::uint32_t AverageRgb(const Bgr24Rows& rows);
// Stretches the rows as ScaleNearest does (column and row maps of source
// pixels, none negative) into 0x00RRGGBB words; `destStride` in pixels.
void ScaleNearest(const Bgr24Rows& source, const std::vector<int>& columns, const std::vector<int>& rows,
                  std::uint32_t* dest, int destStride);
bool DecodeBmpInto(const std::uint8_t* data, std::size_t size, const PixelTarget& target);

// The raw-deflate (RFC 1951) data at `data` inflated into `out`, which must
// come to exactly `expected` bytes; false for damaged data or another size.
bool Inflate(const std::uint8_t* data, std::size_t size, std::size_t expected, std::vector<std::uint8_t>& out);

}  // namespace zeltra
