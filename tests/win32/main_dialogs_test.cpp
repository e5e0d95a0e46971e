// The DPI value dialog, the colour palette and the on-screen display as
// real windows, driven through the program's own message loop.
#include <gtest/gtest.h>

#include "app/win32/colour_palette_dlg_win32.h"
#include "app/win32/dpi_value_dlg_win32.h"
#include "app/win32/osd_dlg_win32.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/wide_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

// A key as the message loop hands it out, at once: pre-translation first.
void PressKey(HWND window, WPARAM key) {
  MSG msg{window, WM_KEYDOWN, key, 0, 0, {}};
  win32::DispatchOneMessage(msg);
}

std::u16string TextOf(HWND window) {
  wchar_t buffer[64] = {};
  GetWindowTextW(window, buffer, 64);
  return win32::FromWide(buffer);
}

struct MainDialogs : testing::Test {
  UiContext saved = Ui();
  void SetUp() override {
    Ui().scale = 1.0f;
    OpenDialogs().Clear();
  }
  void TearDown() override { Ui() = saved; }
};

TEST_F(MainDialogs, DpiEnterRoundsTheTypedValueUpAndKeepsTheDialogOpen) {
  DpiValueDialog model(DpiTableFor(0x3311), 2, 7);
  win32::CDPIValueSettingDlg dialog(model);
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(TextOf(dialog.edit()), u"800");
  EXPECT_EQ(GetFocus(), dialog.edit());
  DWORD start = 0, end = 0;
  SendMessageW(dialog.edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u) << "the caret stands at the end";

  SetWindowTextW(dialog.edit(), L"850");
  PressKey(dialog.edit(), VK_RETURN);
  PressKey(dialog.edit(), VK_ESCAPE);
  EXPECT_TRUE(IsWindow(dialog.GetSafeHwnd())) << "neither Enter nor Escape closes it";
  EXPECT_EQ(model.index(), 8);
  EXPECT_EQ(TextOf(dialog.edit()), u"900");
  EXPECT_EQ(dialog.valueText()->caption(), u"900");
  EXPECT_EQ(dialog.slider()->value(), 8);

  PressKey(dialog.edit(), VK_LEFT);
  PressKey(dialog.edit(), VK_LEFT);
  PressKey(dialog.edit(), VK_RIGHT);
  EXPECT_EQ(dialog.valueText()->caption(), u"800");
  EXPECT_EQ(TextOf(dialog.edit()), u"800");
  SetWindowTextW(dialog.edit(), L"fast");
  PressKey(dialog.edit(), VK_RETURN);
  EXPECT_EQ(model.index(), 0) << "no number reads as 0";

  // A click on the slider picks the step under it; the thumb dragged past
  // the slider's right end and let go there picks the last one.
  const RECT slider = dialog.slider()->GetRect();
  const int middle = (slider.top + slider.bottom) / 2;
  auto mouse = [&](UINT message, WPARAM keys, int x) {
    SendMessageW(dialog.GetSafeHwnd(), message, keys, MAKELPARAM(x, middle));
  };
  const int step = dialog.slider()->model().positions()[59];
  mouse(WM_MOUSEMOVE, 0, step);
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, step);
  mouse(WM_LBUTTONUP, 0, step);
  EXPECT_EQ(TextOf(dialog.edit()), u"6000");
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, step);
  mouse(WM_MOUSEMOVE, MK_LBUTTON, slider.right + 30);
  mouse(WM_LBUTTONUP, 0, slider.right + 30);
  EXPECT_EQ(model.index(), 119);
  EXPECT_EQ(TextOf(dialog.edit()), u"12000");
  EXPECT_EQ(dialog.valueText()->caption(), u"12000");
  DestroyWindow(dialog.GetSafeHwnd());
}

TEST_F(MainDialogs, DpiOkRoundsWhatWasTypedCloseKeepsTheIndex) {
  DpiValueDialog model(DpiTableFor(0x3311), 0, 7);
  Script ok({[] {
    HWND dialog = NewestDialog();
    SetDlgItemTextW(dialog, DpiValueDialog::kEditId, L"99999");
    SendMessageW(dialog, kIdOk, 0, kCodeClicked);
  }});
  EXPECT_TRUE(win32::RunDpiValueSettingDialog(nullptr, model, 2.0f));
  EXPECT_EQ(model.index(), 119) << "capped at the largest";
  EXPECT_EQ(Ui().scale, 1.0f) << "the scale is given back";

  DpiValueDialog other(DpiTableFor(0x3311), 0, 7);
  Script close({[] {
    HWND dialog = NewestDialog();
    SetDlgItemTextW(dialog, DpiValueDialog::kEditId, L"3000");
    SendMessageW(dialog, kIdClose, 0, kCodeClicked);
  }});
  EXPECT_FALSE(win32::RunDpiValueSettingDialog(nullptr, other, 1.0f));
  EXPECT_EQ(other.index(), 7);
}

// Swatch (i, j) of the picture starts at (244 + 29 i, 26 + 28 j); the gaps
// between them are the background, which never counts.
TEST_F(MainDialogs, PalettePicksTheDrawnPixelAndIgnoresTheBackground) {
  for (const float scale : {1.0f, 1.5f}) {
    Ui().scale = scale;
    ProfileRecord record;
    record.DPILevelIndicationValue[1] = Rgb(1, 2, 3);
    ColourPalette palette = ColourPalette::ForDpiStage(record, 1);
    win32::CColorPaletteDlg dialog(palette);
    ASSERT_TRUE(dialog.Create());
    auto press = [&](int x, int y) {
      const LPARAM at = MAKELPARAM(Scaled(x, scale), Scaled(y, scale));
      SendMessageW(dialog.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(dialog.GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    };
    EXPECT_EQ(dialog.valueText(2)->caption(), u"3");
    press(244 + 29 + 10, 26 + 10);  // second swatch of the first row: hue 30
    EXPECT_EQ(palette.working(), Rgb(255, 128, 0)) << scale;
    EXPECT_EQ(dialog.valueText(0)->caption(), u"255");
    EXPECT_EQ(dialog.valueText(1)->caption(), u"128");
    press(244 + 29 * 2 - 2, 26 + 10);  // the gap after it
    press(300, 26 + 28 - 2);            // the gap below the first row
    EXPECT_EQ(palette.working(), Rgb(255, 128, 0)) << scale;
    press(18, 26);  // the field's top-left: pure red
    EXPECT_EQ(palette.working(), Rgb(255, 0, 0)) << scale;
    EXPECT_EQ(dialog.DrawnPixel(Scaled(250, scale), Scaled(220, scale)), RGB(255, 0, 0)) << "the preview shows it";
    DestroyWindow(dialog.GetSafeHwnd());
  }
}

TEST_F(MainDialogs, PaletteEndsOnEnterIgnoresEscapeAndClosesWithoutOk) {
  ProfileRecord record;
  ColourPalette palette = ColourPalette::ForLightingSlot(record, 2, 1);
  bool openAfterEscape = false;
  Script enter({[&] {
    HWND dialog = NewestDialog();
    PressKey(dialog, VK_ESCAPE);
    openAfterEscape = IsWindowVisible(dialog) != 0;
    PressKey(dialog, VK_RETURN);
  }});
  EXPECT_TRUE(win32::RunColourPaletteDialog(nullptr, palette, 1.0f));
  EXPECT_TRUE(openAfterEscape);
  Script close({[] { SendMessageW(NewestDialog(), kIdClose, 0, kCodeClicked); }});
  EXPECT_FALSE(win32::RunColourPaletteDialog(nullptr, palette, 1.0f));
}

TEST_F(MainDialogs, OsdIsOneTranslucentTopmostWindowInTheCorner) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const UiRect area{work.left, work.top, work.right, work.bottom};
  win32::COSDDialog osd;
  osd.Show(MakeOsdView({u"DPI-1", u"12000", u"1000Hz"}, u"Tahoma", area, 1.5f), true);
  HWND shown = osd.hwnd();
  ASSERT_TRUE(IsWindow(shown));
  const LONG_PTR ex = GetWindowLongPtrW(shown, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(shown, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  RECT r{};
  GetWindowRect(shown, &r);
  EXPECT_EQ(r.right - r.left, 270);
  EXPECT_EQ(r.bottom - r.top, 210);
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.bottom, work.bottom);
  EXPECT_NE(GetForegroundWindow(), shown) << "it never takes the focus";

  osd.Show(MakeOsdView({u"DPI-2", u"800", u"500Hz"}, u"Tahoma", area, 1.5f), false);
  osd.Show(MakeOsdView({u"DPI-3", u"1600", u"500Hz"}, u"Tahoma", area, 1.5f), true);
  EXPECT_EQ(osd.hwnd(), shown) << "the shown window is re-used";
  EXPECT_EQ(osd.view().texts.stage, u"DPI-3");

  Canvas canvas(270, 210, RGB(0, 0, 0));
  osd.PaintInto(canvas.dc());
  EXPECT_EQ(canvas.Pixel(2, 2), RGB(0xA4, 0x49, 0xA4));
  int white = 0;
  for (int y = 66; y < 138; ++y) {
    for (int x = 0; x < 270; ++x) white += canvas.Pixel(x, y) == RGB(255, 255, 255);
  }
  EXPECT_GT(white, 100) << "the value is drawn in white";

  osd.Destroy();
  EXPECT_FALSE(IsWindow(shown));
  osd.Show(MakeOsdView({u"DPI-1", u"400", u"125Hz"}, u"", area, 1.0f), false);
  EXPECT_TRUE(IsWindow(osd.hwnd())) << "a display forgotten by its owner is made again";
}

}  // namespace
}  // namespace zeltra::test
