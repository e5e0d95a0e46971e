#include "ui/win32/scoped_win32.h"

namespace zeltra::win32 {

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
  return true;
}

void BackBuffer::Release() noexcept {
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
