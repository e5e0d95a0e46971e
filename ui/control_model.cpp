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

bool PushButtonModel::OnLButtonDown(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  const bool changed = SetState(kStatePressed);
  Notify(0, kCodePressed);
  return changed;
}

bool PushButtonModel::OnLButtonUp(int x, int y) {
  if (disabled()) return false;
  if (!Contains(x, y)) return SetState(kStateNormal);
  const bool changed = SetState(kStateOver);
  OnClicked();
  Notify(ClickParam(), kCodeClicked);
  return changed;
}

bool ImageButtonModel::OnMouseMove(int x, int y) {
  if (disabled() || state_ == kStatePressed) return false;
  const bool changed = SetState(Contains(x, y) ? kStateOver : kStateNormal);
  if (state_ == kStateOver && id() == kProfilePickerId) Notify(0, kCodePickerMove);
  return changed;
}

}  // namespace zeltra
