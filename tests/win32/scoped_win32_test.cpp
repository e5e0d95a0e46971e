#include <gtest/gtest.h>

#include <vector>

#include "ui/win32/scoped_win32.h"

namespace zeltra::test {
namespace {

using win32::BackBuffer;
using win32::UniqueHandle;

std::vector<int> g_closed;

struct CountingTraits {
  using Handle = int;
  static constexpr Handle kNone = 0;
  static bool Valid(Handle h) noexcept { return h > 0; }
  static void Close(Handle h) noexcept { g_closed.push_back(h); }
};
using Counted = UniqueHandle<CountingTraits>;

TEST(UniqueHandle, ClosesEachHandleOnceWhateverWayItGoes) {
  g_closed.clear();
  {
    Counted a(1);
    a.reset(2);  // 1 goes now
    Counted b(std::move(a));
    EXPECT_FALSE(a);
    Counted c(3);
    c = std::move(b);  // 3 goes, c holds 2
    Counted d(4);
    EXPECT_EQ(d.release(), 4);  // given up: never closed
    Counted none(-1);           // not a handle
  }
  EXPECT_EQ(g_closed, (std::vector<int>{1, 3, 2}));
  EXPECT_FALSE(win32::UniqueKernelHandle(INVALID_HANDLE_VALUE));
}

TEST(BackBuffer, IsMadeAgainOnlyWhenTheSizeChanges) {
  const win32::WindowDc screen(nullptr);
  BackBuffer buffer;
  ASSERT_TRUE(buffer.Prepare(screen.get(), 40, 30));
  const HGDIOBJ firstBitmap = GetCurrentObject(buffer.dc(), OBJ_BITMAP);
  ASSERT_TRUE(buffer.Prepare(screen.get(), 40, 30));
  EXPECT_EQ(GetCurrentObject(buffer.dc(), OBJ_BITMAP), firstBitmap);
  ASSERT_TRUE(buffer.Prepare(screen.get(), 50, 30));
  BITMAP selected{};
  GetObjectW(GetCurrentObject(buffer.dc(), OBJ_BITMAP), sizeof selected, &selected);
  EXPECT_EQ(selected.bmWidth, 50);
  EXPECT_EQ(buffer.width(), 50);
  EXPECT_FALSE(buffer.Prepare(screen.get(), 0, 30));
  EXPECT_EQ(buffer.dc(), nullptr);
  EXPECT_EQ(buffer.pixels(), nullptr);
}

TEST(BackBuffer, CopiesTheAreaToTheSamePlaceAndShowsItsPixels) {
  const win32::WindowDc screen(nullptr);
  BackBuffer source(BackBuffer::Format::TopDown32);
  BackBuffer target;
  ASSERT_TRUE(source.Prepare(screen.get(), 20, 10));
  ASSERT_TRUE(target.Prepare(screen.get(), 20, 10));
  ASSERT_NE(source.pixels(), nullptr);
  PatBlt(target.dc(), 0, 0, 20, 10, BLACKNESS);
  PatBlt(source.dc(), 0, 0, 20, 10, WHITENESS);
  GdiFlush();
  source.pixels()[3 * 20 + 5] = 0x0000FF;  // blue, row 3 from the top
  source.CopyTo(target.dc(), RECT{4, 2, 8, 5});
  EXPECT_EQ(GetPixel(target.dc(), 5, 3), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(target.dc(), 4, 2), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(target.dc(), 8, 2), RGB(0, 0, 0)) << "outside the area";
}

TEST(SelectionScope, PutsBackWhatWasSelected) {
  BackBuffer buffer;
  const win32::WindowDc screen(nullptr);
  ASSERT_TRUE(buffer.Prepare(screen.get(), 4, 4));
  const HGDIOBJ before = GetCurrentObject(buffer.dc(), OBJ_FONT);
  const win32::UniqueFont font(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                                           L"Tahoma"));
  {
    const win32::SelectionScope selected(buffer.dc(), font.get());
    EXPECT_EQ(GetCurrentObject(buffer.dc(), OBJ_FONT), font.get());
  }
  EXPECT_EQ(GetCurrentObject(buffer.dc(), OBJ_FONT), before);
}

}  // namespace
}  // namespace zeltra::test
