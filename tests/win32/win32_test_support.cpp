#include "win32_test_support.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/win32/draw_win32.h"

namespace zeltra::test {

namespace gp = Gdiplus::DllExports;

namespace {

class GdiplusEnvironment : public testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<win32::GdiplusSession>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<win32::GdiplusSession> session_;
};

[[maybe_unused]] testing::Environment* const kGdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

void Save(const std::filesystem::path& file, const Picture& picture, const CLSID& encoder) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  std::vector<std::uint32_t> pixels = picture.argb;
  if (gp::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppARGB,
                                    reinterpret_cast<BYTE*>(pixels.data()), &bitmap) != Gdiplus::Ok) {
    throw std::runtime_error("cannot make a bitmap");
  }
  const Gdiplus::Status status = gp::GdipSaveImageToFile(bitmap, file.c_str(), &encoder, nullptr);
  gp::GdipDisposeImage(bitmap);
  if (status != Gdiplus::Ok) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

namespace {

// Dispatches what is queued; false when a WM_QUIT came, which is left for
// the loop it belongs to.
bool PumpQueued(bool* quit) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      if (quit != nullptr) {
        *quit = true;
      } else {
        PostQuitMessage(static_cast<int>(msg.wParam));
      }
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace

void PumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    if (!PumpQueued(nullptr)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return done();
    if (!PumpQueued(nullptr)) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

bool PumpUntilQuit(int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  bool quit = false;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    PumpQueued(&quit);
    if (quit) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return false;
}

int TakeMessages(HWND hwnd, UINT message, MSG* last) {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, hwnd, message, message, PM_REMOVE)) {
    ++count;
    if (last != nullptr) *last = msg;
  }
  return count;
}

void WritePng(const std::filesystem::path& file, const Picture& picture) {
  static const CLSID kPng = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Save(file, picture, kPng);
}

void WriteBmp(const std::filesystem::path& file, const Picture& picture) {
  static const CLSID kBmp = {0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Save(file, picture, kBmp);
}

Canvas::Canvas(int width, int height, COLORREF fill) {
  picture_.Prepare(nullptr, width, height);
  win32::FillSolid(picture_.dc(), RECT{0, 0, width, height}, fill);
}

COLORREF Canvas::Pixel(int x, int y) const {
  GdiFlush();
  const std::uint32_t v = picture_.pixels()[static_cast<std::size_t>(y * picture_.width() + x)];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

}  // namespace zeltra::test
