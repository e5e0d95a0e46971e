#include "ui/win32/draw_win32.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "base/win32/unique_handle_win32.h"
#include "ui/shared_cache.h"
#include "ui/small_dialogs.h"
#include "ui/skin_pixels.h"
#include "ui/ui_context.h"
#include "ui/win32/gdiplus_api_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, codecs and thread as usual
  ULONG_PTR token = 0;
  if (Gdip().GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdip().GdiplusShutdown(token_);
}

// --- decoded skin images -------------------------------------------------------

namespace {

// A 32-bit top-down DIB section and its pixels.
class Dib {
 public:
  Dib() = default;
  Dib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    handle_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle_) return;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
  }
  Dib(Dib&& other) noexcept { *this = std::move(other); }
  Dib& operator=(Dib&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(bits_, other.bits_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    return *this;
  }
  HBITMAP handle() const { return handle_.get(); }
  std::uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  UniqueBitmap handle_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Where an image was stretched to: its source area and the destination (the
// stretch depends on the destination's place too).
struct StretchKey {
  Area dest;
  Area source;
  friend bool operator==(const StretchKey& a, const StretchKey& b) {
    return std::memcmp(&a, &b, sizeof(StretchKey)) == 0;
  }
};

// A control draws an image at one or two sizes (a panel image a few more).
constexpr std::size_t kStretchedCopies = 6;

// The memory DC every image is drawn from, selected only during a draw (the
// drawing happens on the user-interface thread alone).
HDC SourceDc() {
  static const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  return dc.get();
}

}  // namespace

class SkinBitmap {
 public:
  explicit SkinBitmap(Dib pixels, bool opaque) : pixels_(std::move(pixels)), opaque_(opaque) {}
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }

  void Draw(HDC dc, const Area& dest, const Area& source) {
    const bool inside = source.x >= 0 && source.y >= 0 && source.x + source.width <= width() &&
                        source.y + source.height <= height();
    const Dib* from = &pixels_;
    int x = source.x;
    int y = source.y;
    if (!inside || dest.width != source.width || dest.height != source.height) {
      from = Stretched(dest, source);
      if (from == nullptr) return;
      x = y = 0;
    }
    HDC memory = SourceDc();
    const SelectionScope selected(memory, from->handle());
    // A stretched copy may start with a clear column or row (see StretchSources).
    if (opaque_ && from == &pixels_) {
      BitBlt(dc, dest.x, dest.y, dest.width, dest.height, memory, x, y, SRCCOPY);
    } else {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      GdiAlphaBlend(dc, dest.x, dest.y, dest.width, dest.height, memory, x, y, dest.width, dest.height, blend);
    }
  }

 private:
  const Dib* Stretched(const Area& dest, const Area& source) {
    const StretchKey key{dest, source};
    if (const Dib* kept = stretched_.Find(key)) return kept;
    Dib copy(dest.width, dest.height);
    if (copy.bits() == nullptr) return nullptr;
    ScaleNearest(pixels_.bits(), width(), StretchSources(dest.x, dest.width, source.x, source.width, width()),
                 StretchSources(dest.y, dest.height, source.y, source.height, height()), copy.bits(), dest.width);
    return &stretched_.Insert(key, std::move(copy));
  }

  Dib pixels_;
  bool opaque_;
  RecentCache<StretchKey, Dib> stretched_{kStretchedCopies};
};

void SkinImage::Reset() {
  bitmap_.reset();
  assigned_ = false;
  width_ = height_ = 0;
}

std::filesystem::path SkinPath(const wchar_t* relative) { return Ui().programFolder / relative; }

namespace {

// The decoded image's pixels, premultiplied, in a bitmap of our own; the
// GDI+ image is no longer needed afterwards.
std::shared_ptr<SkinBitmap> ToSkinBitmap(Gdiplus::GpImage* image) {
  UINT w = 0;
  UINT h = 0;
  Gdip().GdipGetImageWidth(image, &w);
  Gdip().GdipGetImageHeight(image, &h);
  if (w == 0 || h == 0 || w > 0x4000 || h > 0x4000) return nullptr;
  auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image);
  const Gdiplus::GpRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  Gdiplus::BitmapData data{};
  if (Gdip().GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok) {
    return nullptr;  // not a raster image
  }
  Dib pixels(static_cast<int>(w), static_cast<int>(h));
  if (pixels.bits() != nullptr) {
    for (UINT row = 0; row < h; ++row) {
      std::memcpy(pixels.bits() + static_cast<std::size_t>(row) * w,
                  static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride,
                  static_cast<std::size_t>(w) * 4);
    }
  }
  Gdip().GdipBitmapUnlockBits(bitmap, &data);
  if (pixels.bits() == nullptr) return nullptr;
  const bool opaque = PremultiplyPixels(pixels.bits(), static_cast<std::size_t>(w) * h);
  return std::make_shared<SkinBitmap>(std::move(pixels), opaque);
}

SharedCache<std::wstring, SkinBitmap>& DecodedFiles() {
  static SharedCache<std::wstring, SkinBitmap> files;
  return files;
}

}  // namespace

bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot) {
  const int oldWidth = slot.width_;
  const int oldHeight = slot.height_;
  slot.Reset();
  slot.assigned_ = true;
  slot.width_ = oldWidth;
  slot.height_ = oldHeight;
  slot.bitmap_ = DecodedFiles().Get(file.native(), [&]() -> std::shared_ptr<SkinBitmap> {
    Gdiplus::GpImage* image = nullptr;
    if (Gdip().GdipLoadImageFromFileICM(file.c_str(), &image) != Gdiplus::Ok || image == nullptr) return nullptr;
    auto decoded = ToSkinBitmap(image);
    Gdip().GdipDisposeImage(image);
    return decoded;
  });
  if (!slot.bitmap_) return false;
  slot.width_ = slot.bitmap_->width();
  slot.height_ = slot.bitmap_->height();
  return true;
}

bool LoadResourcePng(UINT id, SkinImage& slot) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (resource == nullptr) return false;
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return false;

  // GDI+ reads the stream while it decodes; the pixels are copied out at
  // once, so the bytes go with the stream.
  const win32::UniqueGlobalMemory bytes(GlobalAlloc(GMEM_FIXED, size));
  if (!bytes) return false;
  std::memcpy(reinterpret_cast<void*>(bytes.get()), data, size);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(bytes.get(), FALSE, &stream)) || stream == nullptr) return false;
  Gdiplus::GpImage* image = nullptr;
  std::shared_ptr<SkinBitmap> decoded;
  if (Gdip().GdipLoadImageFromStream(stream, &image) == Gdiplus::Ok && image != nullptr) {
    decoded = ToSkinBitmap(image);
    Gdip().GdipDisposeImage(image);
  }
  stream->Release();
  if (!decoded) return false;
  slot.Reset();
  slot.assigned_ = true;
  slot.bitmap_ = std::move(decoded);
  slot.width_ = slot.bitmap_->width();
  slot.height_ = slot.bitmap_->height();
  return true;
}

void FrameBitmap::Reset() {
  bitmap_.reset();
  width_ = height_ = 0;
}

bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame) {
  Gdiplus::GpBitmap* decoded = nullptr;
  if (Gdip().GdipCreateBitmapFromFile(file.c_str(), &decoded) != Gdiplus::Ok || decoded == nullptr) return false;
  HBITMAP bitmap = nullptr;
  const bool ok = Gdip().GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFF000000) == Gdiplus::Ok && bitmap != nullptr;
  Gdip().GdipDisposeImage(decoded);
  if (!ok) return false;
  frame.Reset();
  frame.bitmap_.reset(bitmap);
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof(info), &info) != 0) {
    frame.width_ = info.bmWidth;
    frame.height_ = info.bmHeight;
  }
  return true;
}

std::optional<COLORREF> AverageColour(HDC windowDc, HBITMAP bitmap, int width, int height) {
  if (bitmap == nullptr || width <= 0 || height <= 0) return std::nullopt;
  const UniqueMemoryDc memory(CreateCompatibleDC(windowDc));
  if (!memory) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  // GetDIBits wants the bitmap not selected into any device context.
  const int lines =
      GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  if (lines != height) return std::nullopt;
  std::uint64_t blue = 0;
  std::uint64_t green = 0;
  std::uint64_t red = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    blue += pixels[i];
    green += pixels[i + 1];
    red += pixels[i + 2];
  }
  const std::uint64_t count = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  return RGB(static_cast<BYTE>(red / count), static_cast<BYTE>(green / count), static_cast<BYTE>(blue / count));
}

void DrawImageScaled(HDC dc, const SkinImage& image, const Area& dest, const Area& source) {
  if (!image.drawable() || dest.width <= 0 || dest.height <= 0 || source.width <= 0 || source.height <= 0) return;
  image.bitmap()->Draw(dc, dest, source);
}

void DrawImageScaled(HDC dc, const SkinImage& image, const RECT& dest) {
  DrawImageScaled(dc, image, AreaOf(dest), Area{0, 0, image.width(), image.height()});
}

void DrawStripFrame(HDC dc, const SkinImage& strip, int index, int frameWidth, int frameHeight, const RECT& dest) {
  DrawImageScaled(dc, strip, AreaOf(dest), Area{index * frameWidth, 0, frameWidth, frameHeight});
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void DrawControlText(HDC dc, HFONT font, const std::u16string& text, const RECT& rect, COLORREF colour, UINT format) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const SelectionScope selectedFont(dc, font);
  const COLORREF oldColour = SetTextColor(dc, colour);
  RECT box = rect;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &box, format);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

bool DrawFrameBitmap(HDC dc, HBITMAP bitmap, int designWidth, int designHeight, float scale) {
  if (bitmap == nullptr) return false;
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return false;
  const SelectionScope selected(memory.get(), bitmap);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, Scaled(designWidth, scale), Scaled(designHeight, scale), memory.get(), 0, 0, designWidth,
             designHeight, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  return true;
}

bool FrameFile::Draw(HDC dc, const std::filesystem::path& file, int designWidth, int designHeight, float scale) {
  if (!tried_) {
    tried_ = true;
    LoadFrameBitmap(file, frame_);
  }
  return DrawFrameBitmap(dc, frame_.handle(), designWidth, designHeight, scale);
}

HFONT CreateControlFont(int height, const std::u16string& face, int charset) {
  return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, static_cast<DWORD>(charset & 0xFF),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, Wide(face));
}

UniqueFont CreateEditBoxFont(HWND window, int tenths, std::u16string_view face) {
  int dpiY = 96;
  if (const WindowDc dc(window); dc) dpiY = GetDeviceCaps(dc.get(), LOGPIXELSY);
  return UniqueFont(CreateFontW(PointFontHeight(tenths, dpiY), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                Wide(std::u16string(face))));
}

HFONT CreateControlFont(const UiFont& font) { return CreateControlFont(font.height, font.face, font.charset); }

}  // namespace zeltra::win32
