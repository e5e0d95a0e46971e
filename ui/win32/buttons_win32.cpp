#include "ui/win32/buttons_win32.h"

#include "ui/ui_context.h"
#include "ui/win32/scoped_win32.h"

namespace zeltra::win32 {

namespace {

RECT Padded(const RECT& r, int left, int right) { return RECT{r.left + left, r.top, r.right - right, r.bottom}; }

}  // namespace

void FillSwatch(HDC dc, const RECT& rect, COLORREF colour) {
  // A solid fill straight into the picture: it is the same pixels a bitmap of
  // the swatch's own would give, without one made on every paint.
  if (rect.right > rect.left && rect.bottom > rect.top) FillSolid(dc, rect, colour);
}

// --- image button ------------------------------------------------------------

CImageButton::CImageButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags, bool visible,
                           bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled), baseFlags_(baseFlags) {}

void CImageButton::Draw(HDC dc, const RECT&) {
  if (!normal_.assigned()) return;
  COLORREF colour = kTextNormal;
  const SkinImage* image = &normal_;
  if (state() == kStateOver) {
    image = &over_;
    colour = kTextHover;
  } else if (state() == kStatePressed) {
    image = &over_;
    colour = kTextPressed;
  }
  const RECT rect = GetRect();
  DrawImageScaled(dc, *image, rect);
  DrawControlText(dc, font(), text_, Padded(rect, leftPadding_, rightPadding_), colour, baseFlags_ | kButtonTextFlags);
}

void CImageButton::ForEachImage(const ImageVisitor& visit) {
  visit(normal_);
  visit(over_);
}

// --- check button --------------------------------------------------------------

CCheckButton::CCheckButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags, bool checked,
                           bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled), baseFlags_(baseFlags) {
  model_.SetChecked(checked);
}

void CCheckButton::Draw(HDC dc, const RECT&) {
  if (!normal_.assigned()) return;
  const SkinImage* image = &normal_;
  COLORREF colour = kTextNormal;
  const std::u16string* lookText = &uncheckedText_;
  switch (model_.look()) {
    case kLookOver:
      image = &over_;
      colour = kTextHover;
      break;
    case kLookChecked:
      image = &checkedImage_;
      colour = checkedColour_;
      lookText = &checkedText_;
      break;
    default:
      break;
  }
  // A look's own text becomes the caption and stays it.
  if (!lookText->empty()) text_ = *lookText;
  const RECT rect = GetRect();
  DrawImageScaled(dc, *image, rect);
  DrawControlText(dc, font(), text_, Padded(rect, leftPadding_, rightPadding_), colour, baseFlags_ | kButtonTextFlags);
}

void CCheckButton::ForEachImage(const ImageVisitor& visit) {
  visit(normal_);
  visit(over_);
  visit(checkedImage_);
}

// --- combo button --------------------------------------------------------------

CComboButton::CComboButton(HWND parent, int id, const RECT& rect, std::u16string text, int messageNumber,
                           UINT baseFlags, bool visible, bool shown, bool disabled)
    : CModelControl(parent, text, visible, shown, id, ToUiRect(rect), messageNumber, disabled),
      label_(std::move(text)),
      baseFlags_(baseFlags) {}

void CComboButton::SetLabel(std::u16string label) {
  label_ = std::move(label);
  Invalidate();
}

void CComboButton::Draw(HDC dc, const RECT&) {
  const RECT rect = GetRect();
  COLORREF colour = kTextNormal;
  if (normal_.assigned()) {
    const bool lit = model_.highlighted();
    DrawImageScaled(dc, lit ? over_ : normal_, rect);
    if (lit) colour = kTextHover;
  }
  // The label is drawn even without images.
  DrawControlText(dc, font(), label_, Padded(rect, leftPadding_, rightPadding_), colour, baseFlags_ | kButtonTextFlags);
}

void CComboButton::ForEachImage(const ImageVisitor& visit) {
  visit(normal_);
  visit(over_);
}

// --- colour swatches -------------------------------------------------------------

CColorSelectButton::CColorSelectButton(HWND parent, int id, const RECT& rect, std::u16string text, const RECT& swatch,
                                       COLORREF colour, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled),
      swatch_(swatch),
      colour_(colour) {}

void CColorSelectButton::Draw(HDC dc, const RECT&) { FillSwatch(dc, swatch_, colour_); }

CColorSelectCheckButton::CColorSelectCheckButton(HWND parent, int id, const RECT& rect, std::u16string text,
                                                 COLORREF colour, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled), colour_(colour) {}

void CColorSelectCheckButton::Draw(HDC dc, const RECT&) {
  const RECT rect = GetRect();
  DrawImageScaled(dc, model_.checked() ? checkedImage_ : normal_, rect);
  const int inset = Scaled(3);
  FillSwatch(dc, RECT{rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset}, colour_);
}

void CColorSelectCheckButton::ForEachImage(const ImageVisitor& visit) {
  visit(normal_);
  visit(checkedImage_);
}

}  // namespace zeltra::win32
