// Push buttons, check buttons, the combo button and the colour swatches.
#pragma once

#include "ui/button_models.h"
#include "ui/win32/control_base_win32.h"

namespace zeltra::win32 {

// The common button: normal and mouse-over images with a caption.
class CImageButton : public CModelControl<ImageButtonModel> {
 public:
  CImageButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags = DT_CENTER,
               bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;

  void SetNormalImage(const std::filesystem::path& file) { SetSkinFile(file, normal_); }
  void SetOverImage(const std::filesystem::path& file) { SetSkinFile(file, over_); }
  void SetPadding(int left) {
    leftPadding_ = left;
    rightPadding_ = 0;
  }
  void SetReportsMoves(bool reports) { model_.SetReportsMoves(reports); }

 private:
  SkinImage normal_;
  SkinImage over_;
  UINT baseFlags_;
  int leftPadding_ = 0;
  int rightPadding_ = 0;
};

// A check box or toggle: normal, over and checked images; optional captions
// for the unchecked and the checked look.
class CCheckButton : public CModelControl<CheckButtonModel> {
 public:
  CCheckButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags = DT_CENTER,
               bool checked = false, bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;

  void SetNormalImage(const std::filesystem::path& file) { SetSkinFile(file, normal_); }
  void SetOverImage(const std::filesystem::path& file) { SetSkinFile(file, over_); }
  void SetCheckedImage(const std::filesystem::path& file) { SetSkinFile(file, checkedImage_); }
  // Empty texts leave the caption as it is.
  void SetLookTexts(std::u16string unchecked, std::u16string checked) {
    uncheckedText_ = std::move(unchecked);
    checkedText_ = std::move(checked);
  }
  void SetCheckedTextColour(COLORREF colour) { checkedColour_ = colour; }
  void SetPadding(int left, int right) {
    leftPadding_ = left;
    rightPadding_ = right;
  }
  bool checked() const { return model_.checked(); }
  void SetChecked(bool checked) { model_.SetChecked(checked); }

 private:
  SkinImage normal_;
  SkinImage over_;
  SkinImage checkedImage_;
  std::u16string uncheckedText_;
  std::u16string checkedText_;
  COLORREF checkedColour_ = kTextPressed;
  UINT baseFlags_;
  int leftPadding_ = 0;
  int rightPadding_ = 0;
};

// The button that shows a current choice and opens a popup; codes 2, 4 and 5
// go out under `messageNumber`. Its label starts as the given text.
class CComboButton : public CModelControl<ComboButtonModel> {
 public:
  CComboButton(HWND parent, int id, const RECT& rect, std::u16string text, int messageNumber,
               UINT baseFlags = DT_LEFT, bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;

  void SetNormalImage(const std::filesystem::path& file) { SetSkinFile(file, normal_); }
  void SetOverImage(const std::filesystem::path& file) { SetSkinFile(file, over_); }
  // Repaints the control.
  void SetLabel(std::u16string label);
  const std::u16string& label() const { return label_; }
  void SetPopupOpen(bool open) { model_.SetPopupOpen(open); }
  bool popupOpen() const { return model_.popupOpen(); }
  void SetPadding(int left, int right) {
    leftPadding_ = left;
    rightPadding_ = right;
  }

 private:
  std::u16string label_;
  SkinImage normal_;
  SkinImage over_;
  UINT baseFlags_;
  int leftPadding_ = 0;
  int rightPadding_ = 0;
};

// A colour swatch drawn into a part of the control (`swatch`, in client
// coordinates like the rectangle); no image.
class CColorSelectButton : public CModelControl<PushButtonModel> {
 public:
  CColorSelectButton(HWND parent, int id, const RECT& rect, std::u16string text, const RECT& swatch,
                     COLORREF colour = kDefaultSwatchColour, bool visible = true, bool shown = true,
                     bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void SetColour(COLORREF colour) { colour_ = colour; }
  COLORREF colour() const { return colour_; }
  void SetSwatchRect(const RECT& swatch) { swatch_ = swatch; }

 private:
  RECT swatch_;
  COLORREF colour_;
};

// A colour slot: normal or checked image with the colour inset by 3 design
// pixels; a double click sends code 10.
class CColorSelectCheckButton : public CModelControl<ColorCheckModel> {
 public:
  CColorSelectCheckButton(HWND parent, int id, const RECT& rect, std::u16string text,
                          COLORREF colour = kDefaultSwatchColour, bool visible = true, bool shown = true,
                          bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;

  void SetNormalImage(const std::filesystem::path& file) { SetSkinFile(file, normal_); }
  void SetCheckedImage(const std::filesystem::path& file) { SetSkinFile(file, checkedImage_); }
  void SetChecked(int checked) { model_.SetChecked(checked != 0); }
  int checked() const { return model_.checked() ? 1 : 0; }
  void SetColour(COLORREF colour) { colour_ = colour; }
  COLORREF colour() const { return colour_; }

 private:
  SkinImage normal_;
  SkinImage checkedImage_;
  COLORREF colour_;
};

// Fills a rectangle through a small memory bitmap (the swatches).
void FillSwatch(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace zeltra::win32
