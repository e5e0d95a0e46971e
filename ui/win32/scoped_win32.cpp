#include "ui/win32/scoped_win32.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace zeltra::win32 {

namespace {

// The top-down 32-bit pictures by their DC: GDI does not tell a DIB
// section's row order reliably (Wine answers a positive height either way).
// A background may be drawn on a thread of its own, hence the lock.
struct KnownPictures {
  std::mutex lock;
  std::vector<std::pair<HDC, const BackBuffer*>> pictures;
};
KnownPictures& Known() {
  static KnownPictures known;
  return known;
}

}  // namespace

const BackBuffer* BackBuffer::TopDownPictureOf(HDC dc) {
  KnownPictures& known = Known();
  const std::lock_guard<std::mutex> hold(known.lock);
  for (const auto& [picture, buffer] : known.pictures) {
    if (picture == dc) return buffer;
  }
  return nullptr;
}

bool BackBuffer::Prepare(HDC target, int width, int height) {
  if (width <= 0 || height <= 0) {
    Release();
    return false;
  }
  if (dc_ && bitmap_ && width == width_ && height == height_) return true;
  Release();
  dc_.reset(CreateCompatibleDC(target));
  if (!dc_) return false;
  void* bits = nullptr;
  if (format_ == Format::TopDown32) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  } else {
    bitmap_.reset(CreateCompatibleBitmap(target, width, height));
  }
  if (!bitmap_ || (format_ == Format::TopDown32 && bits == nullptr)) {
    Release();
    return false;
  }
  old_ = SelectObject(dc_.get(), bitmap_.get());
  pixels_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  if (pixels_ != nullptr) {
    KnownPictures& known = Known();
    const std::lock_guard<std::mutex> hold(known.lock);
    known.pictures.emplace_back(dc_.get(), this);
  }
  return true;
}

void BackBuffer::Release() noexcept {
  if (pixels_ != nullptr) {
    KnownPictures& known = Known();
    const std::lock_guard<std::mutex> hold(known.lock);
    auto& list = known.pictures;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const auto& entry) { return entry.second == this; }),
               list.end());
  }
  // The bitmap leaves the DC before either goes.
  if (dc_ && old_ != nullptr) SelectObject(dc_.get(), old_);
  old_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
}

void BackBuffer::CopyTo(HDC target, const RECT& area) const {
  if (!dc_) return;
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left, area.top,
         SRCCOPY);
}

}  // namespace zeltra::win32
