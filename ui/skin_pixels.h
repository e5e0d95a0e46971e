// Pixel work on decoded skin images, done once per image (or once per size
// it is drawn at) instead of on every paint: premultiplying the alpha and
// nearest-neighbour scaling. Pixels are 32-bit 0xAARRGGBB words, rows top
// down, the layout of a 32-bit top-down device-independent bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeltra {

// A straight-alpha pixel with its colour multiplied by its alpha, each
// channel rounded to nearest: the form alpha blending takes.
std::uint32_t PremultipliedPixel(std::uint32_t argb);

// Premultiplies `count` pixels in place; true when every one is opaque (the
// image can then be copied instead of blended).
bool PremultiplyPixels(std::uint32_t* pixels, std::size_t count);

// The source pixel shown by each of `destLength` destination pixels from
// `destStart` when `sourceLength` pixels from `sourceStart` of an image
// `imageLength` pixels long are stretched over them, -1 where none is (past
// the area or the image). Nearest neighbour at the destination pixel's left
// (top) edge, stepped in single precision exactly as the GDI+ the skins were
// always drawn with (Wine's) steps it, so that stretched skins stay pixel
// for pixel what they were; a 2x scale shows every source pixel as a 2 x 2
// block. The result depends on where the destination starts.
std::vector<int> StretchSources(int destStart, int destLength, int sourceStart, int sourceLength, int imageLength);

// Which pixels a copy of an image stretched to a destination area holds: its
// source area and the source column and row of each destination pixel.
// Equal maps make equal pixels, so one stretched copy serves every place
// whose maps agree (at a scale of 1.0 or 2.0 every place of the same size).
struct StretchMaps {
  int sourceX = 0;
  int sourceY = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
  std::vector<int> columns;
  std::vector<int> rows;
  friend bool operator==(const StretchMaps&, const StretchMaps&) = default;
};
StretchMaps MapStretch(int destX, int destY, int destWidth, int destHeight, int sourceX, int sourceY,
                       int sourceWidth, int sourceHeight, int imageWidth, int imageHeight);

// Blends `count` premultiplied pixels over `dest` as the system's alpha
// blend does with per-pixel alpha: each channel, alpha too, becomes
// source + (dest * (255 - source alpha) + 127) / 255. A clear source pixel
// leaves the destination as it is, an opaque one replaces it.
void BlendPremultiplied(const std::uint32_t* source, std::uint32_t* dest, std::size_t count);

// True when every pixel of such a copy shows a source pixel (none is left
// clear), so that a copy of an opaque image is opaque too.
bool ShowsWholeArea(const StretchMaps& maps);

// The source pixel shown by each of `destLength` destination pixels when a
// block transfer stretches `sourceLength` pixels over them (StretchBlt with
// COLORONCOLOR, as dialog frames were always drawn): a line drawn from the
// first pixel pair to the last, stepping to the next pixel whenever the
// mid-point between the two candidate pixels' centres falls below the exact
// line. A 2x stretch shows every pixel twice; 1:1 is the identity. When
// shrinking, each destination pixel shows the first source pixel of its run.
std::vector<int> BlitStretchSources(int destLength, int sourceLength);

// The mean red, green and blue of `count` pixels (each channel's sum divided
// by the count, truncated) as 0x00RRGGBB; alpha is not looked at. 0 for none.
std::uint32_t AverageRgb(const std::uint32_t* pixels, std::size_t count);

// Fills a destWidth x destHeight image from a source image by the column and
// row maps of StretchSources; -1 gives 0 (transparent). Strides in pixels.
void ScaleNearest(const std::uint32_t* source, int sourceStride, const std::vector<int>& columns,
                  const std::vector<int>& rows, std::uint32_t* dest, int destStride);

}  // namespace zeltra
