// Pixel work on decoded skin images, done once per image (or once per size
// it is drawn at) instead of on every paint: premultiplying the alpha and
// nearest-neighbour scaling. Pixels are 32-bit 0xAARRGGBB words, rows top
// down, the layout of a 32-bit top-down device-independent bitmap.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeltra {

// A straight-alpha pixel with its colour multiplied by its alpha, each
// channel rounded to nearest: the form alpha blending takes.
std::uint32_t PremultipliedPixel(std::uint32_t argb);

// Premultiplies `count` pixels in place; true when every one is opaque (the
// image can then be copied instead of blended).
bool PremultiplyPixels(std::uint32_t* pixels, std::size_t count);

// A rectangle of an image in image pixels (may reach past the image).
struct PixelArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The source pixel that destination pixel `index` of `destLength` shows when
// `sourceLength` pixels from `sourceStart` are stretched over it: the one
// under the destination pixel's left (top) edge, the nearest-neighbour
// stretch the skins were always drawn with (GDI+ as Wine has it), so that a
// 2x scale shows every source pixel as a 2 x 2 block.
int NearestSourceIndex(int index, int destLength, int sourceStart, int sourceLength);

// Stretches the area `from` of a width x height image over a destWidth x
// destHeight image by NearestSourceIndex; destination pixels whose source
// lies outside the image become 0 (transparent). Strides are in pixels.
void ScaleNearest(const std::uint32_t* source, int width, int height, int sourceStride, const PixelArea& from,
                  std::uint32_t* dest, int destWidth, int destHeight, int destStride);

}  // namespace zeltra
