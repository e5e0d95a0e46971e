#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/test_support.h"
#include "test_dialog.h"
#include "ui/skin_image_files.h"
#include "ui/skin_pixels.h"
#include "ui/ui_context.h"
#include "ui/win32/buttons_win32.h"
#include "ui/win32/draw_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::Area;
using win32::SkinImage;

constexpr std::uint32_t Argb(int a, int r, int g, int b) {
  return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
         static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

// 23 x 17 pixels of pseudo-random colour, each pixel's alpha made from its
// random word by `alpha`.
template <class Alpha>
Picture NoisePicture(std::uint32_t seed, Alpha alpha) {
  Picture picture(23, 17, 0);
  for (auto& pixel : picture.argb) {
    seed = seed * 1103515245u + 12345u;
    pixel = alpha(seed) << 24 | ((seed >> 4) & 0xFFFFFF);
  }
  return picture;
}

HBITMAP UniformBitmap(int width, int height, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, width, height};
  win32::FillSolid(memory, all, colour);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

TEST(AverageColour, OfAUniformImageIsThatColour) {
  HDC screen = GetDC(nullptr);
  for (COLORREF colour : {RGB(12, 34, 56), RGB(255, 255, 255), RGB(0, 0, 0), RGB(1, 254, 128)}) {
    HBITMAP bitmap = UniformBitmap(37, 11, colour);
    auto average = win32::AverageColour(screen, bitmap, 37, 11);
    ASSERT_TRUE(average.has_value());
    EXPECT_EQ(*average, colour);
    DeleteObject(bitmap);
  }
  EXPECT_FALSE(win32::AverageColour(screen, nullptr, 10, 10).has_value());
  ReleaseDC(nullptr, screen);
}

TEST(AverageColour, TruncatesEachChannelMean) {
  TempDir dir;
  Picture picture(3, 1, Argb(255, 0, 0, 0));
  picture.at(0, 0) = Argb(255, 255, 10, 1);
  picture.at(1, 0) = Argb(255, 0, 10, 1);  // red 255/3 = 85, green 20/3 = 6, blue 2/3 = 0
  WriteBmp(dir / "frame.bmp", picture);
  win32::FrameBitmap frame;
  ASSERT_TRUE(win32::LoadFrameBitmap(dir / "frame.bmp", frame));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(win32::AverageColour(screen, frame.handle(), frame.width(), frame.height()), RGB(85, 6, 0));
  ReleaseDC(nullptr, screen);
}

TEST(DialogBackground, TakesTheAverageColourOfItsImageOrKeepsItsOwn) {
  TempDir dir;
  WriteBmp(dir / "uniform.bmp", Picture(40, 30, Argb(255, 40, 50, 60)));
  TestDialog dialog({});
  ASSERT_TRUE(dialog.Open());
  dialog.SetBackgroundImage(dir / "missing.bmp");
  EXPECT_EQ(dialog.backgroundColour(), RGB(186, 226, 239));
  dialog.SetBackgroundImage(dir / "uniform.bmp");
  EXPECT_EQ(dialog.backgroundColour(), RGB(40, 50, 60));
  dialog.SetBackgroundBitmap(4321);  // no such resource
  EXPECT_EQ(dialog.backgroundColour(), RGB(40, 50, 60));
}

TEST(FrameBitmap, TransparentPixelsBecomeBlack) {
  TempDir dir;
  Picture picture(4, 2, Argb(255, 200, 100, 50));
  picture.at(1, 0) = Argb(0, 255, 255, 255);
  WritePng(dir / "frame.png", picture);
  win32::FrameBitmap frame;
  ASSERT_TRUE(win32::LoadFrameBitmap(dir / "frame.png", frame));
  EXPECT_EQ(frame.width(), 4);
  EXPECT_EQ(frame.height(), 2);
  Canvas canvas(4, 2, RGB(9, 9, 9));
  win32::FrameFile file;
  ASSERT_TRUE(file.Draw(canvas.dc(), dir / "frame.png", 4, 2, 1.0f));
  EXPECT_EQ(canvas.Pixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(200, 100, 50));
  EXPECT_FALSE(win32::LoadFrameBitmap(dir / "none.bmp", frame));
  EXPECT_EQ(frame.width(), 4);  // a failed load keeps the previous bitmap
  win32::FrameFile missing;
  EXPECT_FALSE(missing.Draw(canvas.dc(), dir / "none.bmp", 4, 2, 1.0f));
}

// Frames are stretched once and kept; the picture must be the one a block
// transfer of the decoded frame (as every paint used to make it) gives.
TEST(FrameFile, IsStretchedAsABlockTransferStretchedIt) {
  TempDir dir;
  const Picture picture = NoisePicture(777, [](std::uint32_t) { return 255u; });
  WriteBmp(dir / "frame.bmp", picture);
  win32::FrameBitmap decoded;
  ASSERT_TRUE(win32::LoadFrameBitmap(dir / "frame.bmp", decoded));
  struct Case {
    int designWidth, designHeight;
    float scale;
  };
  // 1.5 of 23 x 17 steps at the pixel centres one way and at the edges the
  // other; a design size past the frame leaves the rest unpainted.
  for (const Case& c : {Case{23, 17, 1.0f}, Case{23, 17, 1.5f}, Case{23, 17, 2.0f}, Case{20, 10, 1.5f},
                        Case{30, 20, 2.0f}}) {
    Canvas ours(70, 50, RGB(40, 200, 90));
    Canvas theirs(70, 50, RGB(40, 200, 90));
    win32::FrameFile frame;
    for (int twice = 0; twice < 2; ++twice) {
      ASSERT_TRUE(frame.Draw(ours.dc(), dir / "frame.bmp", c.designWidth, c.designHeight, c.scale));
    }
    {
      const win32::UniqueMemoryDc memory(CreateCompatibleDC(theirs.dc()));
      const win32::SelectionScope selected(memory.get(), decoded.handle());
      SetStretchBltMode(theirs.dc(), COLORONCOLOR);
      StretchBlt(theirs.dc(), 0, 0, Scaled(c.designWidth, c.scale), Scaled(c.designHeight, c.scale),
                 memory.get(), 0, 0, c.designWidth, c.designHeight, SRCCOPY);
    }
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 70; ++x) {
        ASSERT_EQ(ours.Pixel(x, y), theirs.Pixel(x, y))
            << "at " << x << "," << y << " of " << c.designWidth << "x" << c.designHeight << " at " << c.scale;
      }
    }
  }
}

TEST(SkinImage, AMissingFileIsAssignedButDrawsNothingAndKeepsItsSize) {
  TempDir dir;
  WritePng(dir / "a.png", Picture(20, 10, Argb(255, 1, 2, 3)));
  SkinImage slot;
  EXPECT_FALSE(slot.assigned());
  ASSERT_TRUE(win32::LoadSkinImage(dir / "a.png", slot));
  EXPECT_EQ(slot.width(), 20);
  EXPECT_EQ(slot.height(), 10);
  EXPECT_FALSE(win32::LoadSkinImage(dir / "missing.png", slot));
  EXPECT_TRUE(slot.assigned());
  EXPECT_FALSE(slot.drawable());
  EXPECT_EQ(slot.width(), 20);
  Canvas canvas(30, 30, RGB(7, 7, 7));
  win32::DrawImageScaled(canvas.dc(), slot, RECT{0, 0, 30, 30});
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(7, 7, 7));

  SkinImage fresh;
  EXPECT_FALSE(win32::LoadSkinImage(dir / "missing.png", fresh));
  EXPECT_EQ(fresh.width(), 0);
}

TEST(SkinImage, IsDecodedWhenFirstDrawnSharedByFileAndLetGoWhenUnloaded) {
  TempDir dir;
  WritePng(dir / "a.png", Picture(20, 10, Argb(255, 1, 2, 3)));
  SkinImage first;
  SkinImage second;
  win32::SetSkinFile(dir / "a.png", first);
  win32::SetSkinFile(dir / "a.png", second);
  EXPECT_TRUE(first.assigned());
  EXPECT_FALSE(first.loaded());  // named, not decoded
  Canvas canvas(20, 10, RGB(7, 7, 7));
  win32::DrawImageScaled(canvas.dc(), first, RECT{0, 0, 20, 10});
  EXPECT_EQ(canvas.Pixel(3, 3), RGB(1, 2, 3));
  EXPECT_TRUE(first.loaded());
  EXPECT_EQ(second.bitmap(), first.bitmap());  // one decode for both slots
  first.Unload();
  EXPECT_FALSE(first.loaded());
  EXPECT_TRUE(first.assigned());
  EXPECT_EQ(first.width(), 20);  // asked for: decoded again
  EXPECT_TRUE(first.loaded());

  // A control that is hidden lets its images go; drawn again, it decodes them.
  win32::CImageButton button(nullptr, 2100, RECT{0, 0, 20, 10}, u"");
  button.SetNormalImage(dir / "a.png");
  button.SetOverImage(dir / "missing.png");
  button.Draw(canvas.dc(), RECT{0, 0, 20, 10});
  int loaded = 0;
  button.ForEachImage([&](SkinImage& image) { loaded += image.loaded() ? 1 : 0; });
  EXPECT_EQ(loaded, 1);  // the normal look only; the hover look was never drawn
  button.SetShown(0);
  loaded = 0;
  button.ForEachImage([&](SkinImage& image) { loaded += image.loaded() ? 1 : 0; });
  EXPECT_EQ(loaded, 0);
  button.SetShown(1);
  button.Draw(canvas.dc(), RECT{0, 0, 20, 10});
  EXPECT_EQ(canvas.Pixel(3, 3), RGB(1, 2, 3));
}

TEST(SkinImage, ResourcePngsLoadAndAMissingOneLeavesTheSlot) {
  SkinImage slot;
  EXPECT_FALSE(win32::LoadResourcePng(4321, slot));
  EXPECT_FALSE(slot.assigned());
  if (FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PNG_ARROW_UP), L"PNG") == nullptr) {
    GTEST_SKIP() << "the arrow images are not built into this program";
  }
  ASSERT_TRUE(win32::LoadResourcePng(IDR_PNG_ARROW_UP, slot));
  EXPECT_GT(slot.width(), 0);
  Canvas canvas(slot.width(), slot.height(), RGB(1, 1, 1));
  win32::DrawImageScaled(canvas.dc(), slot, RECT{0, 0, slot.width(), slot.height()});
  bool drew = false;
  for (int x = 0; x < slot.width(); ++x) drew = drew || canvas.Pixel(x, slot.height() / 2) != RGB(1, 1, 1);
  EXPECT_TRUE(drew);
}

TEST(ScaledDrawing, EverySourcePixelBecomesASharpBlock) {
  TempDir dir;
  Picture picture(20, 20, 0);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) picture.at(x, y) = Argb(255, x * 12, y * 12, (x + y) % 2 ? 255 : 0);
  }
  WritePng(dir / "grid.png", picture);
  SkinImage image;
  ASSERT_TRUE(win32::LoadSkinImage(dir / "grid.png", image));
  Canvas canvas(40, 40, RGB(0, 0, 0));
  win32::DrawImageScaled(canvas.dc(), image, RECT{0, 0, 40, 40});
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int sx = x / 2;
      const int sy = y / 2;
      ASSERT_EQ(canvas.Pixel(x, y), RGB(sx * 12, sy * 12, (sx + sy) % 2 ? 255 : 0)) << x << "," << y;
    }
  }
}

// The drawing GDI+ did with nearest neighbour and half-pixel offset, the
// yardstick of the program's own stretching and blending.
void DrawWithGdiplus(HDC dc, const std::filesystem::path& file, const Area& dest, const Area& source) {
  namespace gp = Gdiplus::DllExports;
  Gdiplus::GpImage* image = nullptr;
  ASSERT_EQ(gp::GdipLoadImageFromFileICM(file.c_str(), &image), Gdiplus::Ok);
  Gdiplus::GpGraphics* graphics = nullptr;
  ASSERT_EQ(gp::GdipCreateFromHDC(dc, &graphics), Gdiplus::Ok);
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor);
  gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  gp::GdipDrawImageRectRectI(graphics, image, dest.x, dest.y, dest.width, dest.height, source.x, source.y,
                             source.width, source.height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  gp::GdipDeleteGraphics(graphics);
  gp::GdipDisposeImage(image);
}

TEST(SkinImage, EveryShippedImageDecodesToThePixelsTheSystemGives) {
  namespace gp = Gdiplus::DllExports;
  int images = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZELTRA_SOURCE_DIR "/res")) {
    const bool png = entry.path().extension() == ".png";
    if (!png && entry.path().extension() != ".bmp") continue;
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto ours = png ? DecodePng(bytes.data(), bytes.size()) : DecodeBmp(bytes.data(), bytes.size());
    ASSERT_TRUE(ours) << entry.path();
    Gdiplus::GpBitmap* theirs = nullptr;
    ASSERT_EQ(gp::GdipCreateBitmapFromFile(entry.path().c_str(), &theirs), Gdiplus::Ok);
    const Gdiplus::GpRect all{0, 0, ours->width, ours->height};
    Gdiplus::BitmapData data{};
    ASSERT_EQ(gp::GdipBitmapLockBits(theirs, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data),
              Gdiplus::Ok);
    for (int y = 0; y < ours->height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data.Scan0) +
                                                               static_cast<std::ptrdiff_t>(y) * data.Stride);
      for (int x = 0; x < ours->width; ++x) {
        ASSERT_EQ(ours->argb[static_cast<std::size_t>(y) * ours->width + x], row[x]) << entry.path() << " " << x << "," << y;
      }
    }
    gp::GdipBitmapUnlockBits(theirs, &data);
    gp::GdipDisposeImage(theirs);
    ++images;
  }
  EXPECT_GT(images, 60);
}

TEST(ScaledDrawing, BlendsAndStretchesAsGdiplusDid) {
  TempDir dir;
  // Every alpha edge case: clear, opaque and in between, over a background
  // that shows any rounding difference.
  const Picture picture = NoisePicture(12345, [](std::uint32_t seed) {
    return (seed >> 24) % 3 == 0 ? 0u : (seed >> 24) % 3 == 1 ? 255u : (seed >> 8) & 0xFF;
  });
  WritePng(dir / "a.png", picture);
  Picture opaque(23, 17, 0);
  for (std::size_t i = 0; i < opaque.argb.size(); ++i) opaque.argb[i] = picture.argb[i] | 0xFF000000;
  WriteBmp(dir / "b.bmp", opaque);
  struct Case {
    Area dest;
    Area source;
  };
  const Case cases[] = {
      {{3, 2, 23, 17}, {0, 0, 23, 17}},   // as it is
      {{0, 0, 46, 34}, {0, 0, 23, 17}},   // 2.0
      {{1, 1, 34, 25}, {0, 0, 23, 17}},   // 1.5
      {{0, 0, 31, 9}, {4, 3, 13, 11}},    // a part, stretched one way and shrunk the other
      {{2, 0, 10, 10}, {5, 5, 10, 10}},   // a part as it is
      {{0, 0, 40, 30}, {10, 8, 20, 15}},  // reaching past the image
      {{7, 3, 41, 37}, {0, 0, 23, 17}},   // steps that fall just short of a pixel
  };
  for (const char* name : {"a.png", "b.bmp"}) {
    SkinImage image;
    ASSERT_TRUE(win32::LoadSkinImage(dir / name, image));
    for (const Case& c : cases) {
      Canvas ours(50, 40, RGB(40, 200, 90));
      Canvas theirs(50, 40, RGB(40, 200, 90));
      for (int twice = 0; twice < 2; ++twice) win32::DrawImageScaled(ours.dc(), image, c.dest, c.source);
      DrawWithGdiplus(theirs.dc(), dir / name, c.dest, c.source);
      DrawWithGdiplus(theirs.dc(), dir / name, c.dest, c.source);
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x) {
          ASSERT_EQ(ours.Pixel(x, y), theirs.Pixel(x, y))
              << name << " at " << x << "," << y << " into " << c.dest.width << "x" << c.dest.height;
        }
      }
    }
  }
}

TEST(ScaledDrawing, AnOpaqueImageWrittenStraightIntoAPictureIsWhatDrawingItGives) {
  TempDir dir;
  Picture opaque = NoisePicture(777, [](std::uint32_t) { return 255u; });
  WritePng(dir / "o.png", opaque);
  SkinImage image;
  ASSERT_TRUE(win32::LoadSkinImage(dir / "o.png", image));
  const auto pixels = win32::DecodeOwnImageFile(dir / "o.png");
  ASSERT_TRUE(pixels);
  const Area cases[][2] = {{{3, 2, 23, 17}, {0, 0, 23, 17}},
                           {{0, 0, 46, 34}, {0, 0, 23, 17}},
                           {{1, 1, 34, 25}, {0, 0, 23, 17}},
                           {{5, 4, 31, 9}, {4, 3, 13, 11}}};
  for (const auto& c : cases) {
    win32::BackBuffer ours(win32::BackBuffer::Format::TopDown32);
    win32::BackBuffer theirs(win32::BackBuffer::Format::TopDown32);
    ASSERT_TRUE(ours.Prepare(nullptr, 50, 40));
    ASSERT_TRUE(theirs.Prepare(nullptr, 50, 40));
    win32::FillSolid(ours.dc(), RECT{0, 0, 50, 40}, RGB(40, 200, 90));
    win32::FillSolid(theirs.dc(), RECT{0, 0, 50, 40}, RGB(40, 200, 90));
    ASSERT_TRUE(win32::DrawOpaqueScaled(ours, *pixels, c[0], c[1]));
    win32::DrawImageScaled(theirs.dc(), image, c[0], c[1], false);
    GdiFlush();
    for (int i = 0; i < 50 * 40; ++i) ASSERT_EQ(ours.pixels()[i], theirs.pixels()[i]) << i << " into " << c[0].width;
  }
  // Reaching past the picture, or past the image: left to the usual drawing.
  win32::BackBuffer small(win32::BackBuffer::Format::TopDown32);
  ASSERT_TRUE(small.Prepare(nullptr, 20, 20));
  EXPECT_FALSE(win32::DrawOpaqueScaled(small, *pixels, Area{0, 0, 46, 34}, Area{0, 0, 23, 17}));
  EXPECT_FALSE(win32::DrawOpaqueScaled(small, *pixels, Area{0, 0, 20, 20}, Area{10, 8, 20, 15}));
}

TEST(ScaledDrawing, BlendingIntoAPictureIsWhatTheSystemsAlphaBlendGives) {
  TempDir dir;
  const Picture picture = NoisePicture(4242, [](std::uint32_t seed) {
    return (seed >> 24) % 3 == 0 ? 0u : (seed >> 24) % 3 == 1 ? 255u : (seed >> 8) & 0xFF;
  });
  WritePng(dir / "n.png", picture);
  SkinImage image;
  ASSERT_TRUE(win32::LoadSkinImage(dir / "n.png", image));
  // The system's blend of the same premultiplied pixels, from a bitmap of the test's own.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 23, -17, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const win32::UniqueBitmap source(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(source);
  for (std::size_t i = 0; i < picture.argb.size(); ++i) {
    static_cast<std::uint32_t*>(bits)[i] = PremultipliedPixel(picture.argb[i]);
  }
  const win32::UniqueMemoryDc sourceDc(CreateCompatibleDC(nullptr));
  SelectObject(sourceDc.get(), source.get());
  for (const int band : {0, 7}) {  // as a band of a paint: rows mapped up, clipped
    win32::BackBuffer ours(win32::BackBuffer::Format::TopDown32);
    win32::BackBuffer theirs(win32::BackBuffer::Format::TopDown32);
    ASSERT_TRUE(ours.Prepare(nullptr, 40, 30));
    ASSERT_TRUE(theirs.Prepare(nullptr, 40, 30));
    std::uint32_t seed = 99;
    for (int i = 0; i < 40 * 30; ++i) {
      seed = seed * 1103515245u + 12345u;
      ours.pixels()[i] = theirs.pixels()[i] = seed;  // every channel, alpha too
    }
    for (HDC dc : {ours.dc(), theirs.dc()}) {
      SetViewportOrgEx(dc, 0, -band, nullptr);
      IntersectClipRect(dc, 0, band, 40, band + 20);
    }
    win32::DrawImageScaled(ours.dc(), image, Area{5, 4, 23, 17}, Area{0, 0, 23, 17});
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(theirs.dc(), 5, 4, 23, 17, sourceDc.get(), 0, 0, 23, 17, blend);
    GdiFlush();
    for (int i = 0; i < 40 * 30; ++i) {
      ASSERT_EQ(ours.pixels()[i], theirs.pixels()[i]) << "band " << band << " at " << i % 40 << "," << i / 40;
    }
  }
}

TEST(ScaledDrawing, StripFramesAreTakenFromTheLeft) {
  TempDir dir;
  Picture strip(90, 10, Argb(255, 255, 0, 0));
  for (int y = 0; y < 10; ++y) {
    for (int x = 30; x < 60; ++x) strip.at(x, y) = Argb(255, 0, 255, 0);
    for (int x = 60; x < 90; ++x) strip.at(x, y) = Argb(255, 0, 0, 255);
  }
  WritePng(dir / "strip.png", strip);
  SkinImage image;
  ASSERT_TRUE(win32::LoadSkinImage(dir / "strip.png", image));
  const int frameWidth = image.width() / 3;
  EXPECT_EQ(frameWidth, 30);
  Canvas canvas(45, 15, RGB(0, 0, 0));
  win32::DrawStripFrame(canvas.dc(), image, 1, frameWidth, image.height(), RECT{0, 0, 45, 15});
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(44, 14), RGB(0, 255, 0));
  win32::DrawStripFrame(canvas.dc(), image, 2, frameWidth, image.height(), RECT{0, 0, 45, 15});
  EXPECT_EQ(canvas.Pixel(22, 7), RGB(0, 0, 255));
}

TEST(ControlText, IsDrawnTransparentlyAndRestoresTheDc) {
  Canvas canvas(100, 30, RGB(10, 20, 30));
  HFONT font = win32::CreateControlFont(20, u"Tahoma", 1);
  const COLORREF before = GetTextColor(canvas.dc());
  win32::DrawControlText(canvas.dc(), font, u"WWWW", RECT{0, 0, 100, 30}, RGB(255, 255, 0),
                         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_EQ(GetTextColor(canvas.dc()), before);
  EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
  int inked = 0;
  int other = 0;
  for (int x = 0; x < 100; ++x) {
    const COLORREF p = canvas.Pixel(x, 15);
    if (p == RGB(10, 20, 30)) continue;
    (GetRValue(p) > 100 ? inked : other)++;
  }
  EXPECT_GT(inked, 0);
  DeleteObject(font);
}

}  // namespace
}  // namespace zeltra::test
