// Owners of GDI and user handles, so that nothing is released by hand: GDI
// objects, memory DCs, menus, child windows, a window's DC, a paint's DC, an
// object selected into a DC for a while, and the one back buffer every
// painter draws into.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win32/unique_handle_win32.h"

namespace zeltra::win32 {

using UniqueFont = UniqueHandle<NullableHandleTraits<HFONT, &DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullableHandleTraits<HBITMAP, &DeleteObject>>;
using UniqueBrush = UniqueHandle<NullableHandleTraits<HBRUSH, &DeleteObject>>;
// A DC of our own (CreateCompatibleDC).
using UniqueMemoryDc = UniqueHandle<NullableHandleTraits<HDC, &DeleteDC>>;
using UniqueMenu = UniqueHandle<NullableHandleTraits<HMENU, &DestroyMenu>>;

// A child window of our own (the native edit boxes). Its parent may have
// destroyed it already; a font it uses must be declared before it, so that it
// outlives the window.
struct WindowTraits {
  using Handle = HWND;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle window) noexcept { return window != nullptr; }
  static void Close(Handle window) noexcept {
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// A window's DC (or the screen's, for a null window) for the life of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around the scope (EndPaint also when BeginPaint
// gave no DC, as the window expects).
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  const RECT& area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC while the scope lasts; what was selected
// before comes back at its end. A null object selects nothing.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectionScope() {
    if (old_ != nullptr) SelectObject(dc_, old_);
  }
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// An off-screen picture that a painter draws into and then copies to the
// screen in one block transfer, so that nothing flickers: a memory DC with a
// bitmap of the picture's size selected into it. Made at the first Prepare,
// made again only when the size changes, kept until Release or the owner goes.
class BackBuffer {
 public:
  enum class Format {
    Compatible,  // a bitmap like the target's
    TopDown32,   // a 32-bit top-down DIB section whose pixels the painter may touch
  };

  explicit BackBuffer(Format format = Format::Compatible) noexcept : format_(format) {}
  ~BackBuffer() { Release(); }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // Ready for a picture of width x height for `target`; false (and nothing
  // held) when GDI cannot make it or the size is empty.
  bool Prepare(HDC target, int width, int height);
  void Release() noexcept;

  HDC dc() const noexcept { return dc_.get(); }
  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }
  // TopDown32: the pixels, row after row from the top; null otherwise.
  std::uint32_t* pixels() const noexcept { return pixels_; }

  // The TopDown32 picture whose DC `dc` is, if any.
  static const BackBuffer* TopDownPictureOf(HDC dc);

  // Copies `area` of the picture to the same place in `target`.
  void CopyTo(HDC target, const RECT& area) const;
  void CopyTo(HDC target) const { CopyTo(target, RECT{0, 0, width_, height_}); }

 private:
  Format format_;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;  // what dc_ held before the bitmap
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace zeltra::win32
