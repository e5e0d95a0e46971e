// Behaviour of the button family: check buttons, colour swatches, the combo
// button, radio buttons, DPI radios and the power-saving dial.
#pragma once

#include <array>
#include <string>

#include "ui/control_model.h"
#include "ui/control_selection.h"

namespace zeltra {

// Looks of the buttons that show a checked state: 0 normal, 1 mouse over,
// 2 checked (or pressed).
enum ButtonLook : int { kLookNormal = 0, kLookOver = 1, kLookChecked = 2 };

// A check box: each complete click toggles the checked flag before code 2.
class CheckButtonModel : public PushButtonModel {
 public:
  using PushButtonModel::PushButtonModel;
  bool checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  // Checked or pressed: 2; else the mouse state.
  int look() const;

 protected:
  void OnClicked() override { checked_ = !checked_; }

 private:
  bool checked_ = false;
};

// A colour slot with a checked look that its owner sets; a double click
// inside sends code 10.
class ColorCheckModel : public PushButtonModel {
 public:
  using PushButtonModel::PushButtonModel;
  bool OnLButtonDblClk(int x, int y) override;
  bool checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }

 private:
  bool checked_ = false;
};

// The button that shows a current choice and opens a popup. Codes 2, 4 and 5
// go out under its own message number with its id as wParam; code 1 under
// its id. Entering sends code 4 on the first five moves inside; leaving
// sends code 5 once, and not while its popup is open.
class ComboButtonModel : public ControlModel {
 public:
  static constexpr int kEnterMoves = 5;
  ComboButtonModel(int id, const UiRect& rect, int messageNumber, bool disabled = false)
      : ControlModel(id, rect, disabled), messageNumber_(messageNumber) {}

  bool OnMouseMove(int x, int y) override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonUp(int x, int y) override;

  int messageNumber() const { return messageNumber_; }
  // Set by the owner while the popup opened from this button is shown.
  bool popupOpen() const { return popupOpen_; }
  void SetPopupOpen(bool open) { popupOpen_ = open; }
  // Drawn with the over image and white text.
  bool highlighted() const { return popupOpen_ || state_ != kStateNormal; }
  int enterCounter() const { return enterCounter_; }
  bool entered() const { return entered_; }
  bool left() const { return left_; }

 private:
  bool popupOpen_ = false;
  int messageNumber_;
  bool entered_ = false;
  bool left_ = true;  // no code 5 before the mouse first came in
  int enterCounter_ = 0;
};

// A radio button of the radio selection word: drawn checked while its bit is
// set; a click selects it within its group. A button given no bit only
// sends code 2.
class RadioButtonModel : public PushButtonModel {
 public:
  using PushButtonModel::PushButtonModel;
  void SetRadioBit(RadioBit bit) { bit_ = bit; }
  RadioBit radioBit() const { return bit_; }
  bool checked() const { return RadioChecked(bit_); }
  int look() const { return checked() ? kLookChecked : state_; }

 protected:
  void OnClicked() override { SelectRadio(bit_); }

 private:
  RadioBit bit_;
};

// DPI radio k (0..7; beyond, the last): shows a DPI value (index x 50), drawn
// checked while bit k of the DPI radio mask is set; a click sets the low
// k + 1 bits.
class DpiRadioModel : public PushButtonModel {
 public:
  DpiRadioModel(int id, int index, const UiRect& rect, int valueIndex, bool disabled = false)
      : PushButtonModel(id, rect, disabled), index_(index), valueIndex_(valueIndex) {}
  int index() const;
  bool checked() const;
  int look() const { return checked() ? kLookChecked : state_; }
  int valueIndex() const { return valueIndex_; }
  void SetValueIndex(int valueIndex) { valueIndex_ = valueIndex; }
  // "%d" of value index x 50.
  std::u16string Label() const;
  // The band the label is centred in: the top 11 design pixels.
  UiRect LabelBand(float scale) const;

 protected:
  void OnClicked() override;

 private:
  int index_;
  int valueIndex_;
};

// The half dial of the power-saving delay: eight triangular wedges 2..9
// round a centre; a release on wedge k chooses k + 1 minutes.
class PowerDialModel : public PushButtonModel {
 public:
  static constexpr int kMinValue = 1;
  static constexpr int kMaxValue = 10;
  static constexpr int kDefaultValue = 6;
  struct Wedge {
    UiPoint a, b, centre;
  };

  PowerDialModel(int id, const UiRect& rect, float scale);
  void SetRect(const UiRect& rect) override;
  bool OnLButtonUp(int x, int y) override;

  int value() const { return value_; }
  // Clamped into 1..10.
  void SetValue(int value);
  // Wedge k = 2..9 at index k - 2.
  const std::array<Wedge, 8>& wedges() const { return wedges_; }
  // The first wedge (2..9) holding the point, edges included; 0 for none.
  int WedgeAt(int x, int y) const;

 private:
  void BuildWedges();

  float scale_;
  int value_ = kDefaultValue;
  std::array<Wedge, 8> wedges_{};
};

}  // namespace zeltra
