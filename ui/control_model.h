// The behaviour of a windowless control without its drawing: id, rectangle,
// the disabled flag, the mouse state and the notifications it sends to its
// dialog. The Windows classes hold one of these, draw its state and hand it
// the mouse.
#pragma once

#include <cstdint>

#include "ui/ui_geometry.h"

namespace zeltra {

enum ControlState : int { kStateNormal = 0, kStateOver = 1, kStatePressed = 2 };

// Where a control's notifications and repaint requests go: its dialog.
class ControlSink {
 public:
  virtual ~ControlSink() = default;
  // Sends window message `message` (wParam, lParam = code) and returns once
  // the dialog has handled it.
  virtual void Notify(int message, std::uintptr_t wParam, int code) = 0;
  // The same with wParam pointing at `point` for the duration of the call.
  virtual void NotifyPoint(int message, UiPoint point, int code) = 0;
  virtual void Invalidate(const UiRect& rect) = 0;
};

class ControlModel {
 public:
  ControlModel(int id, const UiRect& rect, bool disabled = false) : id_(id), rect_(rect), disabled_(disabled) {}
  virtual ~ControlModel() = default;
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;

  int id() const { return id_; }
  const UiRect& rect() const { return rect_; }
  // Classes whose geometry derives from the rectangle lay it out again.
  virtual void SetRect(const UiRect& rect) { rect_ = rect; }
  bool Contains(int x, int y) const { return rect_.Contains(x, y); }
  // A disabled control is drawn but ignores the mouse and sends nothing.
  bool disabled() const { return disabled_; }
  void SetDisabled(bool disabled) { disabled_ = disabled; }
  int state() const { return state_; }
  void SetSink(ControlSink* sink) { sink_ = sink; }

  // Client coordinates; each returns whether the control's look changed.
  virtual bool OnMouseMove(int, int) { return false; }
  virtual bool OnLButtonDown(int, int) { return false; }
  virtual bool OnLButtonUp(int, int) { return false; }
  virtual bool OnRButtonUp(int, int) { return false; }
  virtual bool OnLButtonDblClk(int, int) { return false; }

 protected:
  // Returns whether the state changed.
  bool SetState(int state);
  // The standard press (inside: state 2 and code 1) and release (inside:
  // state 1 and code 2 with `clickParam`; outside: state 0). Both return
  // whether the state changed.
  bool StandardPress(int x, int y);
  bool StandardRelease(int x, int y, std::uintptr_t clickParam);
  // A double click inside: state 1 and code 10.
  bool StandardDoubleClick(int x, int y);
  // Message number = the control's id.
  void Notify(std::uintptr_t wParam, int code) const { NotifyAs(id_, wParam, code); }
  void NotifyAs(int message, std::uintptr_t wParam, int code) const;
  void NotifyPoint(UiPoint point, int code) const;
  void Repaint() const;

  int state_ = kStateNormal;

 private:
  int id_;
  UiRect rect_;
  bool disabled_;
  ControlSink* sink_ = nullptr;
};

// The standard button: the state follows the pointer (0 outside, 1 inside)
// unless the button is pressed; a press inside gives state 2 and code 1; a
// release inside gives state 1, OnClicked and code 2, a release outside
// state 0 and nothing else.
class PushButtonModel : public ControlModel {
 public:
  using ControlModel::ControlModel;

  bool OnMouseMove(int x, int y) override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonUp(int x, int y) override;

 protected:
  // Runs on a release inside, before code 2 goes out.
  virtual void OnClicked() {}
  // wParam of code 2.
  virtual std::uintptr_t ClickParam() const { return 0; }
};

// The common image button. A click passes the button's own id; one that
// reports moves (the main window's profile picker) also sends code 12 on
// every move over it while not pressed.
class ImageButtonModel : public PushButtonModel {
 public:
  using PushButtonModel::PushButtonModel;
  bool OnMouseMove(int x, int y) override;
  void SetReportsMoves(bool reports) { reportsMoves_ = reports; }

 protected:
  std::uintptr_t ClickParam() const override { return static_cast<std::uintptr_t>(id()); }

 private:
  bool reportsMoves_ = false;
};

}  // namespace zeltra
