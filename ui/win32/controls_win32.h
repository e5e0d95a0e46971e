// Windowless controls: plain objects a skinned dialog paints into its
// off-screen bitmap and hands the mouse to.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/draw_win32.h"

namespace zeltra::win32 {

inline constexpr COLORREF kTextNormal = RGB(180, 180, 180);
inline constexpr COLORREF kTextHover = RGB(255, 255, 255);
inline constexpr COLORREF kTextPressed = RGB(255, 255, 0);
inline constexpr UINT kButtonTextFlags = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

class CControlBase {
 public:
  // `rect` is in the dialog's client coordinates, already scaled.
  CControlBase(HWND parent, int id, const RECT& rect, std::u16string text, bool visible = true, bool shown = true,
               bool disabled = false);
  virtual ~CControlBase();
  CControlBase(const CControlBase&) = delete;
  CControlBase& operator=(const CControlBase&) = delete;

  virtual void Draw(HDC dc, const RECT& clip) = 0;
  virtual void SetRect(int left, int top, int right, int bottom);
  virtual RECT GetRect() const { return rect_; }
  // Repaints the control when the text changes.
  virtual void SetText(std::u16string text);
  virtual std::u16string GetText() const { return text_; }
  virtual void SetVisible(int visible) { visible_ = visible; }
  virtual void SetShown(int shown) { shown_ = shown; }
  // Mouse operations return non-zero when the control's look changed.
  virtual int OnMouseMove(UINT flags, int x, int y);
  virtual int OnLButtonDown(UINT flags, int x, int y);
  virtual int OnLButtonUp(UINT flags, int x, int y);
  virtual int OnRButtonUp(UINT flags, int x, int y);
  virtual int OnLButtonDblClk(UINT flags, int x, int y);
  // Frees every decoded image; afterwards only texts are drawn.
  virtual void ReleaseImages() {}

  int id() const { return id_; }
  bool IsVisible() const { return visible_ != 0; }
  bool IsShown() const { return shown_ != 0; }
  // Drawn and given the mouse only when both flags are set.
  bool IsActive() const { return visible_ != 0 && shown_ != 0; }
  bool IsDisabled() const { return disabled_ != 0; }
  void SetDisabled(int disabled) { disabled_ = disabled; }
  bool Contains(int x, int y) const;
  // Replaces the font by one of another height and face.
  void SetFont(int height, const std::u16string& face);
  HFONT font() const { return font_; }
  HWND parent() const { return parent_; }
  void Invalidate() const;

 protected:
  // Sends a notification to the dialog: message = id, lParam = code.
  void Notify(WPARAM wParam, int code) const;

  int id_;
  RECT rect_;
  int visible_;
  int shown_;
  int disabled_;
  std::u16string text_;
  HWND parent_;
  HFONT font_ = nullptr;
};

// The common button: normal and mouse-over images with a caption.
class CImageButton : public CControlBase {
 public:
  CImageButton(HWND parent, int id, const RECT& rect, std::u16string text, UINT baseFlags = DT_CENTER,
               bool visible = true, bool shown = true, bool disabled = false);

  void Draw(HDC dc, const RECT& clip) override;
  int OnMouseMove(UINT flags, int x, int y) override;
  int OnLButtonDown(UINT flags, int x, int y) override;
  int OnLButtonUp(UINT flags, int x, int y) override;
  void ReleaseImages() override;

  bool SetNormalImage(const std::filesystem::path& file) { return LoadSkinImage(file, normal_); }
  bool SetOverImage(const std::filesystem::path& file) { return LoadSkinImage(file, over_); }
  void SetPadding(int left) {
    leftPadding_ = left;
    rightPadding_ = 0;
  }
  int state() const { return state_; }

 private:
  int state_ = 0;  // 0 normal, 1 mouse over, 2 pressed
  SkinImage normal_;
  SkinImage over_;
  UINT baseFlags_;
  int leftPadding_ = 0;
  int rightPadding_ = 0;
};

// A text that never takes the mouse. It draws its caption, which its owner
// sets (the text given at construction is not drawn).
class CStaticText : public CControlBase {
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

// The battery gauge (id 3406).
class CBattery : public CControlBase {
 public:
  static constexpr int kId = 3406;
  enum Mode : int { kShowLevel = 0, kCharging = 1, kFull = 2 };

  CBattery(HWND parent, const RECT& rect, bool visible = true, bool shown = true);

  void Draw(HDC dc, const RECT& clip) override;
  void ReleaseImages() override;

  bool SetOutlineImage(const std::filesystem::path& file) { return LoadSkinImage(file, outline_); }
  bool SetLevelImage(const std::filesystem::path& file) { return LoadSkinImage(file, level_); }
  bool SetChargingImage(const std::filesystem::path& file) { return LoadSkinImage(file, charging_); }
  bool SetSymbolImage(const std::filesystem::path& file) { return LoadSkinImage(file, symbol_); }

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

}  // namespace zeltra::win32
