#include "ui/win32/gauges_win32.h"

#include "ui/gauge_geometry.h"
#include "ui/ui_context.h"

namespace zeltra::win32 {

namespace {

// The lower part of a fill image from `fillTop` to the control's bottom.
void DrawFillFrom(HDC dc, const SkinImage& image, const RECT& rect, int fillTop) {
  const LowerImagePart part = LowerPartOf(image.width(), image.height(), fillTop, rect.bottom, Ui().scale);
  if (part.sourceHeight <= 0) return;
  DrawImageScaled(dc, image, Area{rect.left, fillTop, part.destWidth, part.destHeight},
                  Area{0, part.sourceTop, image.width(), part.sourceHeight});
}

}  // namespace

// --- slider ------------------------------------------------------------------

CSliderControl::CSliderControl(HWND parent, int id, const RECT& rect, std::u16string text, int positions,
                               int leftExtent, int rightExtent, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), positions, leftExtent, rightExtent,
                    disabled) {}

void CSliderControl::Draw(HDC dc, const RECT&) {
  const int w = Scaled(thumb_.width());
  const int h = Scaled(thumb_.height());
  DrawImageScaled(dc, thumb_, Area{model_.ThumbDrawX(w), model_.rect().top, w, h},
                  Area{0, 0, thumb_.width(), thumb_.height()});
}

// --- DPI value gauge -----------------------------------------------------------

CDPIValueShowControl::CDPIValueShowControl(HWND parent, int id, const RECT& rect, std::u16string text, int steps,
                                           int value, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled),
      steps_(steps),
      value_(value) {}

void CDPIValueShowControl::Draw(HDC dc, const RECT&) {
  const RECT rect = GetRect();
  const float scale = Ui().scale;
  // Both images have the fill image's size.
  const int w = fill_.width();
  const int h = fill_.height();
  DrawImageScaled(dc, background_, Area{rect.left, rect.top, Scaled(w, scale), Scaled(h, scale)},
                  Area{0, 0, w, h});
  DrawFillFrom(dc, fill_, rect, GaugeFillTop(rect.top, rect.bottom, value_, steps_, scale));
}

void CDPIValueShowControl::ForEachImage(const ImageVisitor& visit) {
  visit(background_);
  visit(fill_);
}

// --- battery -------------------------------------------------------------------

CBattery::CBattery(HWND parent, int id, const RECT& rect, bool visible, bool shown)
    : CModelControl(parent, u"", visible, shown, id, ToUiRect(rect), true) {}

void CBattery::DrawLowerPart(HDC dc, const SkinImage& image, int level) const {
  const RECT rect = GetRect();
  DrawFillFrom(dc, image, rect, BatteryFillTop(rect.top, rect.bottom, level, Ui().scale));
}

void CBattery::Draw(HDC dc, const RECT&) {
  const RECT rect = GetRect();
  switch (mode_) {
    case kCharging:
      DrawLowerPart(dc, charging_, chargingLevel_);
      DrawImageScaled(dc, symbol_, rect);
      break;
    case kFull:
      DrawImageScaled(dc, level_, rect);
      DrawImageScaled(dc, symbol_, rect);
      break;
    default:
      DrawImageScaled(dc, outline_, rect);
      DrawLowerPart(dc, level_, levelPercent_);
      break;
  }
}

void CBattery::ForEachImage(const ImageVisitor& visit) {
  visit(outline_);
  visit(level_);
  visit(charging_);
  visit(symbol_);
}

// --- static image and text -------------------------------------------------------

CStaticImage::CStaticImage(HWND parent, int id, const RECT& rect, std::u16string text, bool visible, bool shown)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), true) {}

void CStaticImage::Draw(HDC dc, const RECT&) { DrawImageScaled(dc, image_, GetRect()); }

CStaticText::CStaticText(HWND parent, int id, const RECT& rect, std::u16string text, COLORREF colour, UINT baseFlags,
                         bool visible, bool shown)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), true),
      colour_(colour),
      baseFlags_(baseFlags) {}

void CStaticText::Draw(HDC dc, const RECT&) {
  DrawControlText(dc, font(), caption_, GetRect(), colour_, baseFlags_ | DT_VCENTER | DT_WORD_ELLIPSIS);
}

void CStaticText::SetCaption(std::u16string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

}  // namespace zeltra::win32
