// Decoding skin images and drawing them, their frames, fills and texts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/language.h"
#include "ui/shared_cache.h"
#include "ui/skin_image_files.h"
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
// names the same file.
class SkinBitmap;

// A skin image held by a control: `assigned` once an image was named for it,
// even when its file cannot be decoded (such an image draws nothing). The
// file is decoded when the image is first drawn (or its size or drawability
// is asked for), shared with every other slot naming the same file, and let
// go by Unload (a hidden control) to be decoded again when next drawn.
class SkinImage {
 public:
  SkinImage() = default;
  ~SkinImage() { Reset(); }
  SkinImage(const SkinImage&) = delete;
  SkinImage& operator=(const SkinImage&) = delete;

  // Forgets the image: nothing assigned, size 0 x 0.
  void Reset();
  // Lets the decoded pixels go; the image stays assigned.
  void Unload() { pixels_.Unload(); }
  bool assigned() const { return assigned_; }
  // Whether the pixels are decoded now (without decoding them).
  bool loaded() const { return pixels_.loaded(); }
  bool drawable() const { return bitmap() != nullptr; }
  // The image's size: the last size decoded into this slot (0 x 0 when none).
  int width() const;
  int height() const;
  SkinBitmap* bitmap() const;

 private:
  friend void SetSkinFile(const std::filesystem::path& file, SkinImage& slot);
  friend bool LoadResourcePng(UINT id, SkinImage& slot);

  bool assigned_ = false;
  mutable LazyShared<std::wstring, SkinBitmap> pixels_;
  mutable int width_ = 0;
  mutable int height_ = 0;
};

// A skin file relative to the program folder, e.g. L"skins\\exit_nr.png".
std::filesystem::path SkinPath(const wchar_t* relative);

// Names the image file of the slot (replacing what it held) without decoding
// it: it is decoded when first drawn. Until then, and when it cannot be
// decoded, the slot keeps its recorded size.
void SetSkinFile(const std::filesystem::path& file, SkinImage& slot);
// The same, decoded at once: false when the file cannot be decoded (the slot
// is still assigned, keeps its recorded size and draws nothing).
bool LoadSkinImage(const std::filesystem::path& file, SkinImage& slot);
// Decodes a "PNG" resource of the executable; a missing resource leaves the slot as it was.
bool LoadResourcePng(UINT id, SkinImage& slot);

// A GDI bitmap decoded from a file (the average colour of a dialog's frame).
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
// alpha, nearest neighbour so that scaled skins stay sharp (StretchSources).
// A stretched copy is kept for the next draw with the same pixels (at most
// one per image, size and stretch), unless `keep` is false (what is drawn
// once, into a picture that is itself kept).
void DrawImageScaled(HDC dc, const SkinImage& image, const Area& dest, const Area& source, bool keep = true);
// The whole image stretched to the rectangle.
void DrawImageScaled(HDC dc, const SkinImage& image, const RECT& dest);
// Frame `index` of a strip of equal frames laid side by side from the left.
void DrawStripFrame(HDC dc, const SkinImage& strip, int index, int frameWidth, int frameHeight, const RECT& dest);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
void DrawControlText(HDC dc, HFONT font, const std::u16string& text, const RECT& rect, COLORREF colour, UINT format);

// Where a dialog frame comes from: an image file, or a bitmap resource of
// the executable when `resource` is not 0.
struct FrameSource {
  std::filesystem::path file;
  UINT resource = 0;
};

// A frame's pixels, opaque, transparent ones made black: 0x00RRGGBB words,
// rows from the top; nothing when the source cannot be decoded.
struct FramePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
};
std::optional<FramePixels> ReadFramePixels(const FrameSource& source);
// The rows of a 24-bit bitmap resource of the executable where they are;
// nothing for another kind of bitmap.
std::optional<Bgr24Rows> BitmapResourceRows(UINT id);

// Draws a frame's designWidth x designHeight stretched by `scale` at the
// top-left corner as a block transfer stretches it (BlitStretchSources),
// keeping nothing (for a picture that is itself kept).
void DrawFramePixels(HDC dc, const FramePixels& frame, int designWidth, int designHeight, float scale);
// The same straight into the pixels of a 32-bit picture (no copy of the
// stretched frame is made) where the frame covers its design size.
void DrawFramePixels(BackBuffer& picture, const FramePixels& frame, int designWidth, int designHeight, float scale);

// An image file decoded by our own decoders alone (PNG or BMP as skins are),
// straight alpha; nothing for a file they leave to GDI+. Touches no shared
// state: any thread may call it.
std::optional<ImagePixels> DecodeOwnImageFile(const std::filesystem::path& file);

// Draws a source area of an opaque image stretched over `dest` straight into
// the pixels of a 32-bit picture, pixel for pixel as DrawImageScaled draws it;
// false (and nothing drawn) unless the image is opaque and the area shows it
// whole inside the picture. Touches no shared state.
bool DrawOpaqueScaled(BackBuffer& picture, const ImagePixels& image, const Area& dest, const Area& source);

// A dialog's frame, decoded and stretched to its drawn size at its first
// paint; only the stretched copy is kept, with the dialog.
class FrameFile {
 public:
  FrameFile();
  ~FrameFile();
  FrameFile(const FrameFile&) = delete;
  FrameFile& operator=(const FrameFile&) = delete;
  // As DrawFramePixels; false (and nothing drawn) when the source cannot be
  // decoded. The source is read once.
  bool Draw(HDC dc, const FrameSource& source, int designWidth, int designHeight, float scale);
  bool Draw(HDC dc, const std::filesystem::path& file, int designWidth, int designHeight, float scale) {
    return Draw(dc, FrameSource{file, 0}, designWidth, designHeight, scale);
  }

 private:
  std::unique_ptr<SkinBitmap> stretched_;
  float scale_ = 0;
  bool tried_ = false;
};

// The font of a native edit box: `face` at `tenths` of a point for the
// vertical resolution of `window`'s DC.
UniqueFont CreateEditBoxFont(HWND window, int tenths, std::u16string_view face);

// The controls' font: the UI font's height, character set and face.
HFONT CreateControlFont(const UiFont& font);
HFONT CreateControlFont(int height, const std::u16string& face, int charset);

}  // namespace zeltra::win32
