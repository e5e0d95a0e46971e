#include "ui/control_model.h"

#include "ui/control_codes.h"

namespace zeltra {

bool ControlModel::SetState(int state) {
  const bool changed = state != state_;
  state_ = state;
  return changed;
}

void ControlModel::NotifyAs(int message, std::uintptr_t wParam, int code) const {
  if (sink_ != nullptr) sink_->Notify(message, wParam, code);
}

void ControlModel::NotifyPoint(UiPoint point, int code) const {
  if (sink_ != nullptr) sink_->NotifyPoint(id_, point, code);
}

void ControlModel::Repaint() const {
  if (sink_ != nullptr) sink_->Invalidate(rect_);
}

bool PushButtonModel::OnMouseMove(int x, int y) {
  if (disabled() || state_ == kStatePressed) return false;
  return SetState(Contains(x, y) ? kStateOver : kStateNormal);
}

bool ControlModel::StandardPress(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  const bool changed = SetState(kStatePressed);
  Notify(0, kCodePressed);
  return changed;
}

bool ControlModel::StandardRelease(int x, int y, std::uintptr_t clickParam) {
  if (disabled()) return false;
  if (!Contains(x, y)) return SetState(kStateNormal);
  const bool changed = SetState(kStateOver);
  Notify(clickParam, kCodeClicked);
  return changed;
}

bool ControlModel::StandardDoubleClick(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  const bool changed = SetState(kStateOver);
  Notify(0, kCodeDoubleClick);
  return changed;
}

bool PushButtonModel::OnLButtonDown(int x, int y) { return StandardPress(x, y); }

bool PushButtonModel::OnLButtonUp(int x, int y) {
  // The click's effect (a toggle, a selection) comes before code 2.
  if (!disabled() && Contains(x, y)) OnClicked();
  return StandardRelease(x, y, ClickParam());
}

bool ImageButtonModel::OnMouseMove(int x, int y) {
  if (disabled() || state_ == kStatePressed) return false;
  const bool changed = SetState(Contains(x, y) ? kStateOver : kStateNormal);
  if (state_ == kStateOver && reportsMoves_) Notify(0, kCodePickerMove);
  return changed;
}

}  // namespace zeltra
