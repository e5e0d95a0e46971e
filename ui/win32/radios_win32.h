// Radio buttons of the radio selection word, the DPI radios and the power
// dial: controls that draw one of several images by a shared or own value.
#pragma once

#include <array>

#include "ui/button_models.h"
#include "ui/win32/control_base_win32.h"

namespace zeltra::win32 {

// Images of the normal, over and checked looks, drawn stretched.
class LookImages {
 public:
  void SetNormal(const std::filesystem::path& file) { SetSkinFile(file, images_[0]); }
  void SetOver(const std::filesystem::path& file) { SetSkinFile(file, images_[1]); }
  void SetChecked(const std::filesystem::path& file) { SetSkinFile(file, images_[2]); }
  void Draw(HDC dc, int look, const RECT& rect) const;
  void ForEach(const ImageVisitor& visit);

 private:
  std::array<SkinImage, 3> images_;
};

// Drawn checked while its bit is set in the radio selection word; no text.
class CRadioButton : public CModelControl<RadioButtonModel> {
 public:
  CRadioButton(HWND parent, int id, const RECT& rect, std::u16string text, bool visible = true, bool shown = true,
               bool disabled = false);
  void SetRadioBit(RadioBit bit) { model_.SetRadioBit(bit); }

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override { images_.ForEach(visit); }
  void SetNormalImage(const std::filesystem::path& file) { images_.SetNormal(file); }
  void SetOverImage(const std::filesystem::path& file) { images_.SetOver(file); }
  void SetCheckedImage(const std::filesystem::path& file) { images_.SetChecked(file); }

 private:
  LookImages images_;
};

// DPI radio k (0..7) with its value (index x 50) in the top band.
class CDPIRadioButton : public CModelControl<DpiRadioModel> {
 public:
  CDPIRadioButton(HWND parent, int id, int index, const RECT& rect, std::u16string text, int valueIndex,
                  COLORREF textColour = kTextNormal, bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override { images_.ForEach(visit); }
  void SetNormalImage(const std::filesystem::path& file) { images_.SetNormal(file); }
  void SetOverImage(const std::filesystem::path& file) { images_.SetOver(file); }
  void SetCheckedImage(const std::filesystem::path& file) { images_.SetChecked(file); }
  void SetValueIndex(int valueIndex) { model_.SetValueIndex(valueIndex); }
  void SetTextColour(COLORREF colour) { textColour_ = colour; }

 private:
  LookImages images_;
  COLORREF textColour_;
};

// The power-saving half dial: one image per value 1..10 minutes.
class CPowerManageButton : public CModelControl<PowerDialModel> {
 public:
  CPowerManageButton(HWND parent, int id, const RECT& rect, std::u16string text,
                     int value = PowerDialModel::kDefaultValue, bool visible = true, bool shown = true,
                     bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;
  // Names the image of one value (1..10); false for other values.
  bool SetValueImage(int value, const std::filesystem::path& file);
  // The skins "skins\power_manage_3min.png" .. "skins\power_manage_10min.png".
  void LoadSkinImages();
  void SetValue(int value) { model_.SetValue(value); }
  int value() const { return model_.value(); }

 private:
  std::array<SkinImage, PowerDialModel::kMaxValue> images_;
};

}  // namespace zeltra::win32
