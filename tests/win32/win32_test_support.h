// Helpers of the Windows suites: message pumping, pictures written for a
// test, and GDI+ for the whole run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "ui/win32/scoped_win32.h"

namespace zeltra::test {

// Both stop at a WM_QUIT and leave it queued for the loop it belongs to.
// Runs the thread's messages for about `ms` milliseconds.
void PumpFor(int ms);
// Runs messages until `done` holds or `timeoutMs` passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Runs messages until a WM_QUIT comes (and takes it); false on timeout.
bool PumpUntilQuit(int timeoutMs = 3000);
// Removes every queued message of the given number for `hwnd` (or any
// window); returns how many there were and the last one in `last`.
int TakeMessages(HWND hwnd, UINT message, MSG* last = nullptr);

// Pixels as 0xAARRGGBB, row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
  Picture(int w, int h, std::uint32_t fill) : width(w), height(h), argb(static_cast<std::size_t>(w * h), fill) {}
  std::uint32_t& at(int x, int y) { return argb[static_cast<std::size_t>(y * width + x)]; }
};
// Writes the picture as a PNG (with alpha) or a 24-bit BMP through GDI+.
void WritePng(const std::filesystem::path& file, const Picture& picture);
void WriteBmp(const std::filesystem::path& file, const Picture& picture);

// A bitmap to draw into and read back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill);
  HDC dc() const { return picture_.dc(); }
  COLORREF Pixel(int x, int y) const;

 private:
  win32::BackBuffer picture_{win32::BackBuffer::Format::TopDown32};
};

}  // namespace zeltra::test
