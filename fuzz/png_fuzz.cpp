// Skin images: any bytes decode without harm, and a decoded image holds the
// pixels its header promises.
#include <cstdint>
#include <cstdlib>

#include "ui/png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = zeltra::DecodePng(data, size);
  if (image && (image->width <= 0 || image->height <= 0 || image->width > zeltra::kPngMaxSide ||
                image->height > zeltra::kPngMaxSide ||
                image->argb.size() != static_cast<std::size_t>(image->width) * image->height)) {
    std::abort();
  }
  return 0;
}
