#include "ui/win32/draw_win32.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "ui/ui_context.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace gp = Gdiplus::DllExports;

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, codecs and thread as usual
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

void SkinImage::Reset() {
  if (image_ != nullptr) gp::GdipDisposeImage(image_);
  image_ = nullptr;
  if (bytes_ != nullptr) GlobalFree(bytes_);
  bytes_ = nullptr;
  assigned_ = false;
  width_ = height_ = 0;
}

std::filesystem::path SkinPath(const wchar_t* relative) { return Ui().programFolder / relative; }

namespace {

void ReadSize(Gdiplus::GpImage* image, int& width, int& height) {
  UINT w = 0;
  UINT h = 0;
  gp::GdipGetImageWidth(image, &w);
  gp::GdipGetImageHeight(image, &h);
  width = static_cast<int>(w);
  height = static_cast<int>(h);
}

}  // namespace

bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot) {
  const int oldWidth = slot.width_;
  const int oldHeight = slot.height_;
  slot.Reset();
  slot.assigned_ = true;
  slot.width_ = oldWidth;
  slot.height_ = oldHeight;
  Gdiplus::GpImage* image = nullptr;
  if (gp::GdipLoadImageFromFileICM(file.c_str(), &image) != Gdiplus::Ok || image == nullptr) {
    if (image != nullptr) gp::GdipDisposeImage(image);
    return false;
  }
  slot.image_ = image;
  ReadSize(image, slot.width_, slot.height_);
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

  // GDI+ reads the stream for as long as the image lives, so the copy of the
  // bytes is kept with the image and freed with it.
  HGLOBAL bytes = GlobalAlloc(GMEM_FIXED, size);
  if (bytes == nullptr) return false;
  std::memcpy(reinterpret_cast<void*>(bytes), data, size);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(bytes, FALSE, &stream)) || stream == nullptr) {
    GlobalFree(bytes);
    return false;
  }
  Gdiplus::GpImage* image = nullptr;
  const bool ok = gp::GdipLoadImageFromStream(stream, &image) == Gdiplus::Ok && image != nullptr;
  stream->Release();
  if (!ok) {
    GlobalFree(bytes);
    return false;
  }
  slot.Reset();
  slot.assigned_ = true;
  slot.image_ = image;
  slot.bytes_ = bytes;
  ReadSize(image, slot.width_, slot.height_);
  return true;
}

void FrameBitmap::Reset() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame) {
  Gdiplus::GpBitmap* decoded = nullptr;
  if (gp::GdipCreateBitmapFromFile(file.c_str(), &decoded) != Gdiplus::Ok || decoded == nullptr) return false;
  HBITMAP bitmap = nullptr;
  const bool ok = gp::GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFF000000) == Gdiplus::Ok && bitmap != nullptr;
  gp::GdipDisposeImage(decoded);
  if (!ok) return false;
  frame.Reset();
  frame.bitmap_ = bitmap;
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof(info), &info) != 0) {
    frame.width_ = info.bmWidth;
    frame.height_ = info.bmHeight;
  }
  return true;
}

std::optional<COLORREF> AverageColour(HDC windowDc, HBITMAP bitmap, int width, int height) {
  if (bitmap == nullptr || width <= 0 || height <= 0) return std::nullopt;
  HDC memory = CreateCompatibleDC(windowDc);
  if (memory == nullptr) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  // GetDIBits wants the bitmap not selected into any device context.
  const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(memory);
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
  Gdiplus::GpGraphics* graphics = nullptr;
  if (gp::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok || graphics == nullptr) return;
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor);
  gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  gp::GdipDrawImageRectRectI(graphics, image.image(), dest.x, dest.y, dest.width, dest.height, source.x, source.y,
                             source.width, source.height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  gp::GdipDeleteGraphics(graphics);
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
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  const COLORREF oldColour = SetTextColor(dc, colour);
  RECT box = rect;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &box, format);
  SetTextColor(dc, oldColour);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
}

bool DrawFrameBitmap(HDC dc, HBITMAP bitmap, int designWidth, int designHeight, float scale) {
  if (bitmap == nullptr) return false;
  HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return false;
  HGDIOBJ old = SelectObject(memory, bitmap);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, Scaled(designWidth, scale), Scaled(designHeight, scale), memory, 0, 0, designWidth, designHeight,
             SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  SelectObject(memory, old);
  DeleteDC(memory);
  return true;
}

bool DrawFrameFile(HDC dc, const std::filesystem::path& file, int designWidth, int designHeight, float scale) {
  FrameBitmap frame;
  if (!LoadFrameBitmap(file, frame)) return false;
  return DrawFrameBitmap(dc, frame.handle(), designWidth, designHeight, scale);
}

HFONT CreateControlFont(int height, const std::u16string& face, int charset) {
  return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, static_cast<DWORD>(charset & 0xFF),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, Wide(face));
}

HFONT CreateControlFont(const UiFont& font) { return CreateControlFont(font.height, font.face, font.charset); }

}  // namespace zeltra::win32
