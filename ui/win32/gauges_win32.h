// The slider, the DPI value gauge, the battery and the static image and text.
#pragma once

#include "ui/slider_model.h"
#include "ui/win32/control_base_win32.h"

namespace zeltra::win32 {

// A horizontal slider with a fixed number of positions; it draws only its
// thumb, at the thumb image's size x scale.
class CSliderControl : public CModelControl<SliderModel> {
 public:
  CSliderControl(HWND parent, int id, const RECT& rect, std::u16string text, int positions, int leftExtent,
                 int rightExtent, bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override { visit(thumb_); }
  void SetThumbImage(const std::filesystem::path& file) { SetSkinFile(file, thumb_); }
  void SetPosition(int index) { model_.SetPosition(index); }
  int value() const { return model_.value(); }
  // From the owner's mouse-move handler while the left button is down.
  int FollowDrag(int x) { return model_.FollowDrag(x) ? 1 : 0; }

 private:
  SkinImage thumb_;
};

// A vertical gauge of `steps` steps: the background image, then the lower
// part of the fill image for the value.
class CDPIValueShowControl : public CModelControl<PushButtonModel> {
 public:
  CDPIValueShowControl(HWND parent, int id, const RECT& rect, std::u16string text, int steps, int value = 0,
                       bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;
  void SetBackgroundImage(const std::filesystem::path& file) { SetSkinFile(file, background_); }
  void SetFillImage(const std::filesystem::path& file) { SetSkinFile(file, fill_); }
  void SetValue(int value) { value_ = value; }
  void SetSteps(int steps) { steps_ = steps; }
  int value() const { return value_; }
  int steps() const { return steps_; }

 private:
  SkinImage background_;
  SkinImage fill_;
  int steps_;
  int value_;
};

// The battery gauge; it never takes the mouse.
class CBattery : public CModelControl<PushButtonModel> {
 public:
  enum Mode : int { kShowLevel = 0, kCharging = 1, kFull = 2 };

  CBattery(HWND parent, int id, const RECT& rect, bool visible = true, bool shown = true);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override;

  void SetOutlineImage(const std::filesystem::path& file) { SetSkinFile(file, outline_); }
  void SetLevelImage(const std::filesystem::path& file) { SetSkinFile(file, level_); }
  void SetChargingImage(const std::filesystem::path& file) { SetSkinFile(file, charging_); }
  void SetSymbolImage(const std::filesystem::path& file) { SetSkinFile(file, symbol_); }

  void SetLevel(int level) { levelPercent_ = level; }
  void SetMode(int mode) { mode_ = mode; }
  void SetChargingLevel(int level) { chargingLevel_ = level; }
  int levelPercent() const { return levelPercent_; }
  int mode() const { return mode_; }
  int chargingLevel() const { return chargingLevel_; }

 private:
  void DrawLowerPart(HDC dc, const SkinImage& image, int level) const;

  SkinImage outline_;
  SkinImage level_;
  SkinImage charging_;
  SkinImage symbol_;
  int mode_ = kShowLevel;
  int levelPercent_ = 100;
  int chargingLevel_ = 25;
};

// One image stretched to the rectangle; never takes the mouse.
class CStaticImage : public CModelControl<PushButtonModel> {
 public:
  CStaticImage(HWND parent, int id, const RECT& rect, std::u16string text, bool visible = true, bool shown = true);

  void Draw(HDC dc, const RECT& clip) override;
  void ForEachImage(const ImageVisitor& visit) override { visit(image_); }
  void SetImage(const std::filesystem::path& file) { SetSkinFile(file, image_); }
  int imageWidth() const { return image_.width(); }
  int imageHeight() const { return image_.height(); }

 private:
  SkinImage image_;
};

// A text that never takes the mouse. It draws its caption, which its owner
// sets (the text given at construction is not drawn).
class CStaticText : public CModelControl<PushButtonModel> {
 public:
  CStaticText(HWND parent, int id, const RECT& rect, std::u16string text, COLORREF colour, UINT baseFlags = 0,
              bool visible = true, bool shown = true);

  void Draw(HDC dc, const RECT& clip) override;
  // Repaints when the caption changes.
  void SetCaption(std::u16string caption);
  const std::u16string& caption() const { return caption_; }
  void SetColour(COLORREF colour) { colour_ = colour; }

 private:
  COLORREF colour_;
  UINT baseFlags_;
  std::u16string caption_;
};

}  // namespace zeltra::win32
