// Decoding skin images and drawing them, their frames, fills and texts.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/language.h"
#include "ui/win32/scoped_win32.h"

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

// One decoded image: premultiplied 32-bit pixels in a DIB section, with its
// copies stretched to the sizes it was drawn at. Shared by every slot that
// loaded the same file.
class SkinBitmap;

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
  bool drawable() const { return bitmap_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  SkinBitmap* bitmap() const { return bitmap_.get(); }

 private:
  friend bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot);
  friend bool LoadResourcePng(UINT id, SkinImage& slot);

  bool assigned_ = false;
  std::shared_ptr<SkinBitmap> bitmap_;
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
  HBITMAP handle() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  friend bool LoadFrameBitmap(const std::filesystem::path& file, FrameBitmap& frame);
  UniqueBitmap bitmap_;
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

// Draws a source area of the image into a destination area, blended by its
// alpha, nearest neighbour so that scaled skins stay sharp (NearestSourceIndex).
// The stretched copy is kept for the next draw at that size.
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

// A dialog's frame file, decoded at its first paint and kept with the dialog.
class FrameFile {
 public:
  // As DrawFrameBitmap, the file decoded at the first call; false (and
  // nothing drawn) when it cannot be decoded.
  bool Draw(HDC dc, const std::filesystem::path& file, int designWidth, int designHeight, float scale);

 private:
  FrameBitmap frame_;
  bool tried_ = false;
};

// The font of a native edit box: `face` at `tenths` of a point for the
// vertical resolution of `window`'s DC.
UniqueFont CreateEditBoxFont(HWND window, int tenths, std::u16string_view face);

// The controls' font: the UI font's height, character set and face.
HFONT CreateControlFont(const UiFont& font);
HFONT CreateControlFont(int height, const std::u16string& face, int charset);

}  // namespace zeltra::win32
