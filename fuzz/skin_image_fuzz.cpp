// Skin images: any bytes decode without harm, as a PNG or as a bitmap, and a
// decoded image holds the pixels its header promises.
#include <cstdint>
#include <cstdlib>

#include "ui/skin_image_files.h"

namespace {

void Check(const std::optional<zeltra::ImagePixels>& image) {
  if (image && (image->width <= 0 || image->height <= 0 || image->width > zeltra::kImageMaxSide ||
                image->height > zeltra::kImageMaxSide ||
                image->argb.size() != static_cast<std::size_t>(image->width) * image->height)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check(zeltra::DecodePng(data, size));
  Check(zeltra::DecodeBmp(data, size));
  return 0;
}
