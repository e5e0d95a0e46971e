// The base of the windowless controls: plain objects a skinned dialog paints
// into its off-screen bitmap and hands the mouse to. Each holds its portable
// behaviour (ui/*_model.h) and draws that state.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "ui/control_model.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/scoped_win32.h"

namespace zeltra::win32 {

inline constexpr COLORREF kTextNormal = RGB(180, 180, 180);
inline constexpr COLORREF kTextHover = RGB(255, 255, 255);
inline constexpr COLORREF kTextPressed = RGB(255, 255, 0);
inline constexpr COLORREF kSelectionColour = RGB(53, 160, 222);
inline constexpr COLORREF kDefaultSwatchColour = RGB(0, 255, 0);
inline constexpr UINT kButtonTextFlags = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

using ImageVisitor = std::function<void(SkinImage&)>;

inline UiRect ToUiRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}
inline RECT ToRect(const UiRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

class CControlBase : public ControlSink {
 public:
  CControlBase(HWND parent, std::u16string text, bool visible, bool shown);
  ~CControlBase() override;
  CControlBase(const CControlBase&) = delete;
  CControlBase& operator=(const CControlBase&) = delete;

  virtual void Draw(HDC dc, const RECT& clip) = 0;
  // `rect` is in the dialog's client coordinates, already scaled.
  virtual void SetRect(int left, int top, int right, int bottom);
  virtual RECT GetRect() const { return ToRect(model().rect()); }
  // Repaints the control when the text changes.
  virtual void SetText(std::u16string text);
  virtual std::u16string GetText() const { return text_; }
  // A control that stops being drawn lets its decoded images go (UnloadImages).
  void SetVisible(int visible);
  void SetShown(int shown);
  // Mouse operations return non-zero when the control's look changed.
  virtual int OnMouseMove(UINT flags, int x, int y);
  virtual int OnLButtonDown(UINT flags, int x, int y);
  virtual int OnLButtonUp(UINT flags, int x, int y);
  virtual int OnRButtonUp(UINT flags, int x, int y);
  virtual int OnLButtonDblClk(UINT flags, int x, int y);
  // Every image slot the control holds.
  virtual void ForEachImage(const ImageVisitor& visit) { (void)visit; }
  // Forgets every image; afterwards only texts are drawn.
  void ReleaseImages();
  // Lets the decoded pixels of every image go; each is decoded again when
  // the control is next drawn (done when the control is hidden).
  void UnloadImages();

  // The portable behaviour (state, geometry, notifications).
  virtual ControlModel& model() = 0;
  virtual const ControlModel& model() const = 0;

  int id() const { return model().id(); }
  int state() const { return model().state(); }
  bool IsVisible() const { return visible_ != 0; }
  bool IsShown() const { return shown_ != 0; }
  // Drawn and given the mouse only when both flags are set.
  bool IsActive() const { return visible_ != 0 && shown_ != 0; }
  bool IsDisabled() const { return model().disabled(); }
  void SetDisabled(int disabled) { model().SetDisabled(disabled != 0); }
  bool Contains(int x, int y) const { return model().Contains(x, y); }
  // Replaces the font by one of another height and face.
  void SetFont(int height, const std::u16string& face);
  HFONT font() const { return font_.get(); }
  HWND parent() const { return parent_; }
  void Invalidate() const;

  // Where the model's notifications go: synchronous messages to the dialog.
  void Notify(int message, std::uintptr_t wParam, int code) override;
  void NotifyPoint(int message, UiPoint point, int code) override;
  void Invalidate(const UiRect& rect) override;

 protected:
  int visible_;
  int shown_;
  std::u16string text_;
  HWND parent_;
  UniqueFont font_;
};

// A control whose behaviour is a `Model`, built from the arguments after the
// common ones.
template <class Model>
class CModelControl : public CControlBase {
 public:
  template <class... Args>
  CModelControl(HWND parent, std::u16string text, bool visible, bool shown, Args&&... modelArgs)
      : CControlBase(parent, std::move(text), visible, shown), model_(std::forward<Args>(modelArgs)...) {
    model_.SetSink(this);
  }
  Model& model() override { return model_; }
  const Model& model() const override { return model_; }

 protected:
  Model model_;
};

}  // namespace zeltra::win32
