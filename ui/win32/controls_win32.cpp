#include "ui/win32/controls_win32.h"

#include "ui/control_codes.h"
#include "ui/gauge_geometry.h"
#include "ui/ui_context.h"

namespace zeltra::win32 {

CControlBase::CControlBase(HWND parent, int id, const RECT& rect, std::u16string text, bool visible, bool shown,
                           bool disabled)
    : id_(id),
      rect_(rect),
      visible_(visible ? 1 : 0),
      shown_(shown ? 1 : 0),
      disabled_(disabled ? 1 : 0),
      text_(std::move(text)),
      parent_(parent),
      font_(CreateControlFont(Language().font)) {}

CControlBase::~CControlBase() {
  if (font_ != nullptr) DeleteObject(font_);
}

void CControlBase::SetRect(int left, int top, int right, int bottom) { rect_ = RECT{left, top, right, bottom}; }

void CControlBase::SetText(std::u16string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

int CControlBase::OnMouseMove(UINT, int, int) { return 0; }
int CControlBase::OnLButtonDown(UINT, int, int) { return 0; }
int CControlBase::OnLButtonUp(UINT, int, int) { return 0; }
int CControlBase::OnRButtonUp(UINT, int, int) { return 0; }
int CControlBase::OnLButtonDblClk(UINT, int, int) { return 0; }

bool CControlBase::Contains(int x, int y) const {
  return x >= rect_.left && x < rect_.right && y >= rect_.top && y < rect_.bottom;
}

void CControlBase::SetFont(int height, const std::u16string& face) {
  HFONT replacement = CreateControlFont(height, face, Language().font.charset);
  if (replacement == nullptr) return;
  if (font_ != nullptr) DeleteObject(font_);
  font_ = replacement;
}

void CControlBase::Invalidate() const {
  if (parent_ != nullptr) InvalidateRect(parent_, &rect_, TRUE);
}

void CControlBase::Notify(WPARAM wParam, int code) const {
  if (parent_ != nullptr) SendMessageW(parent_, static_cast<UINT>(id_), wParam, code);
}

// ---------------------------------------------------------------------------

CImageButton::CImageButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags, bool visible,
                           bool shown, bool disabled)
    : CControlBase(parent, id, rect, std::move(text), visible, shown, disabled), baseFlags_(baseFlags) {}

namespace {
// The profile picker reports every move over it, so that its owner knows
// whether its popup was open when the click comes.
constexpr int kProfilePickerId = 3502;
}  // namespace

int CImageButton::OnMouseMove(UINT, int x, int y) {
  if (disabled_ != 0 || state_ == 2) return 0;
  const int old = state_;
  const bool inside = Contains(x, y);
  state_ = inside ? 1 : 0;
  if (inside && id_ == kProfilePickerId) Notify(0, kCodePickerMove);
  return state_ != old;
}

int CImageButton::OnLButtonDown(UINT, int x, int y) {
  if (disabled_ != 0 || !Contains(x, y)) return 0;
  const int old = state_;
  state_ = 2;
  Notify(0, kCodePressed);
  return state_ != old;
}

int CImageButton::OnLButtonUp(UINT, int x, int y) {
  if (disabled_ != 0) return 0;
  const int old = state_;
  if (Contains(x, y)) {
    state_ = 1;
    Notify(static_cast<WPARAM>(id_), kCodeClicked);
  } else {
    state_ = 0;
  }
  return state_ != old;
}

void CImageButton::Draw(HDC dc, const RECT&) {
  if (!normal_.assigned()) return;
  COLORREF colour = kTextNormal;
  const SkinImage* image = &normal_;
  if (state_ == 1) {
    image = &over_;
    colour = kTextHover;
  } else if (state_ == 2) {
    image = &over_;
    colour = kTextPressed;
  }
  DrawImageScaled(dc, *image, rect_);
  RECT box{rect_.left + leftPadding_, rect_.top, rect_.right - rightPadding_, rect_.bottom};
  DrawControlText(dc, font_, text_, box, colour, baseFlags_ | kButtonTextFlags);
}

void CImageButton::ReleaseImages() {
  normal_.Reset();
  over_.Reset();
}

// ---------------------------------------------------------------------------

CStaticText::CStaticText(HWND parent, int id, const RECT& rect, std::u16string text, COLORREF colour, UINT baseFlags,
                         bool visible, bool shown)
    : CControlBase(parent, id, rect, std::move(text), visible, shown, true), colour_(colour), baseFlags_(baseFlags) {}

void CStaticText::Draw(HDC dc, const RECT&) {
  DrawControlText(dc, font_, caption_, rect_, colour_, baseFlags_ | DT_VCENTER | DT_WORD_ELLIPSIS);
}

void CStaticText::SetCaption(std::u16string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

// ---------------------------------------------------------------------------

CBattery::CBattery(HWND parent, const RECT& rect, bool visible, bool shown)
    : CControlBase(parent, kId, rect, u"", visible, shown, true) {}

void CBattery::DrawLowerPart(HDC dc, const SkinImage& image, int level) const {
  const float scale = Ui().scale;
  const int top = BatteryFillTop(rect_.top, rect_.bottom, level, scale);
  const LowerImagePart part = LowerPartOf(image.width(), image.height(), top, rect_.bottom, scale);
  if (part.sourceHeight <= 0) return;
  DrawImageScaled(dc, image, Area{rect_.left, top, part.destWidth, part.destHeight},
                  Area{0, part.sourceTop, image.width(), part.sourceHeight});
}

void CBattery::Draw(HDC dc, const RECT&) {
  switch (mode_) {
    case kCharging:
      DrawLowerPart(dc, charging_, chargingLevel_);
      DrawImageScaled(dc, symbol_, rect_);
      break;
    case kFull:
      DrawImageScaled(dc, level_, rect_);
      DrawImageScaled(dc, symbol_, rect_);
      break;
    default:
      DrawImageScaled(dc, outline_, rect_);
      DrawLowerPart(dc, level_, levelPercent_);
      break;
  }
}

void CBattery::ReleaseImages() {
  outline_.Reset();
  level_.Reset();
  charging_.Reset();
  symbol_.Reset();
}

}  // namespace zeltra::win32
