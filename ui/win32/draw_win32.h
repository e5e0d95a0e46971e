// Decoding skin images and drawing them, their frames, fills and texts.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "settings/language.h"

namespace Gdiplus {
class GpImage;
}

namespace zeltra::win32 {

// Starts GDI+ for the life of the object (the application holds one).
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool ok() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// A decoded image held by a control: `assigned` once an image was set, even
// when its file could not be decoded (such an image draws nothing).
class SkinImage {
 public:
  SkinImage() = default;
  ~SkinImage() { Reset(); }
  SkinImage(const SkinImage&) = delete;
  SkinImage& operator=(const SkinImage&) = delete;

  void Reset();
  bool assigned() const { return assigned_; }
  bool drawable() const { return image_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  Gdiplus::GpImage* image() const { return image_; }

 private:
  friend bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot);
  friend bool LoadResourcePng(UINT id, SkinImage& slot);

  bool assigned_ = false;
  Gdiplus::GpImage* image_ = nullptr;
  HGLOBAL bytes_ = nullptr;  // backs an image decoded from a resource stream
  int width_ = 0;
  int height_ = 0;
};

// A skin file relative to the program folder, e.g. L"skins\\exit_nr.png".
std::filesystem::path SkinPath(const wchar_t* relative);

// Decodes a skin file into the slot (replacing what it held). On failure the
// slot is still assigned, keeps its recorded size and draws nothing.
bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot);
// Decodes a "PNG" resource of the executable; a missing resource leaves the slot as it was.
bool LoadResourcePng(UINT id, SkinImage& slot);

// A GDI bitmap decoded from a file, for dialog frames.
class FrameBitmap {
 public:
  FrameBitmap() = default;
  ~FrameBitmap() { Reset(); }
  FrameBitmap(const FrameBitmap&) = delete;
  FrameBitmap& operator=(const FrameBitmap&) = delete;
  void Reset();
  HBITMAP handle() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  friend bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame);
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Decodes an image file into a GDI bitmap; transparent pixels become black.
bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame);

// Mean of every pixel's red, green and blue (each divided by the pixel count,
// truncated); nothing when the pixels cannot be read.
std::optional<COLORREF> AverageColour(HDC windowDc, HBITMAP bitmap, int width, int height);

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
inline Area AreaOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// Draws a source area of the image into a destination area, nearest
// neighbour with half-pixel offset so that scaled skins stay sharp.
void DrawImageScaled(HDC dc, const SkinImage& image, const Area& dest, const Area& source);
// The whole image stretched to the rectangle.
void DrawImageScaled(HDC dc, const SkinImage& image, const RECT& dest);
// Frame `index` of a strip of equal frames laid side by side from the left.
void DrawStripFrame(HDC dc, const SkinImage& strip, int index, int frameWidth, int frameHeight, const RECT& dest);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
void DrawControlText(HDC dc, HFONT font, const std::u16string& text, const RECT& rect, COLORREF colour, UINT format);

// Stretches a dialog frame of designWidth x designHeight to its scaled size
// at the top-left corner; false when the bitmap is missing.
bool DrawFrameBitmap(HDC dc, HBITMAP bitmap, int designWidth, int designHeight, float scale);
// The same from a frame file, decoded for this one paint.
bool DrawFrameFile(HDC dc, const std::filesystem::path& file, int designWidth, int designHeight, float scale);

// The controls' font: the UI font's height, character set and face.
HFONT CreateControlFont(const UiFont& font);
HFONT CreateControlFont(int height, const std::u16string& face, int charset);

}  // namespace zeltra::win32
