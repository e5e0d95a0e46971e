// Decoding the PNG files skins are made of, without the system's imaging
// library: under Wine that library takes a millisecond or two per small
// image, and the window's first paint decodes some thirty of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zeltra {

// Straight-alpha 0xAARRGGBB pixels, rows from the top.
struct PngPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// The largest side taken, as for any skin image.
inline constexpr int kPngMaxSide = 0x4000;

// Decodes a PNG of 8 bits per sample, not interlaced, of any colour type
// (grey, RGB, palette, grey with alpha, RGBA), whose chunks carry no colour
// space (gAMA, cHRM, sRGB, iCCP) and, but for a palette, no tRNS. Anything
// else, and every damaged file (a chunk's CRC, the stream's checksum, too
// little or too much image data), gives nothing: the caller then leaves the
// file to the system's decoder, which decides as it always did.
std::optional<PngPixels> DecodePng(const std::uint8_t* data, std::size_t size);

// The raw-deflate (RFC 1951) data at `data` inflated into `out`, which must
// come to exactly `expected` bytes; false for damaged data or another size.
bool Inflate(const std::uint8_t* data, std::size_t size, std::size_t expected, std::vector<std::uint8_t>& out);

}  // namespace zeltra
