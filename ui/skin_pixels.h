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

// Fills a destWidth x destHeight image from a source image by the column and
// row maps of StretchSources; -1 gives 0 (transparent). Strides in pixels.
void ScaleNearest(const std::uint32_t* source, int sourceStride, const std::vector<int>& columns,
                  const std::vector<int>& rows, std::uint32_t* dest, int destStride);

}  // namespace zeltra
