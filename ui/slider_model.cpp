#include "ui/slider_model.h"

#include <algorithm>

#include "ui/control_codes.h"

namespace zeltra {

SliderModel::SliderModel(int id, const UiRect& rect, int positions, int leftExtent, int rightExtent, bool disabled)
    : ControlModel(id, rect, disabled),
      leftExtent_(leftExtent),
      rightExtent_(rightExtent),
      count_(std::max(positions, 1)) {
  BuildTable();
}

void SliderModel::SetRect(const UiRect& rect) {
  ControlModel::SetRect(rect);
  BuildTable();
}

void SliderModel::BuildTable() {
  const UiRect& r = rect();
  positions_.assign(static_cast<std::size_t>(count_), 0);
  positions_.front() = r.left + leftExtent_;
  const int span = r.right - r.left - leftExtent_ - rightExtent_;
  for (int i = 1; i < count_ - 1; ++i) {
    positions_[static_cast<std::size_t>(i)] = r.left + leftExtent_ + i * span / (count_ - 1);
  }
  positions_.back() = r.right - rightExtent_;
  value_ = std::clamp(value_, 0, count_ - 1);
  PlaceThumb();
}

int SliderModel::Snap(int x) const {
  for (std::size_t i = 0; i + 1 < positions_.size(); ++i) {
    if (x < (positions_[i] + positions_[i + 1]) / 2) return static_cast<int>(i);
  }
  return count_ - 1;
}

void SliderModel::PlaceThumb() {
  const int p = positions_[static_cast<std::size_t>(value_)];
  thumb_ = UiRect{p - leftExtent_, rect().top, p + rightExtent_, rect().bottom};
}

void SliderModel::SetPosition(int index) {
  value_ = std::clamp(index, 0, count_ - 1);
  PlaceThumb();
}

void SliderModel::DragTo(int x, bool moveThumb) {
  x = std::clamp(x, rect().left, std::max(rect().left, rect().right));
  dragX_ = x - leftExtent_;
  value_ = Snap(x);
  if (moveThumb) PlaceThumb();
  Repaint();
  // Every drag step reports, changed or not.
  Notify(static_cast<std::uintptr_t>(value_), kCodeValueChanged);
}

bool SliderModel::OnMouseMove(int x, int y) {
  bool changed = false;
  if (!disabled() && state_ != kStatePressed) {
    changed = SetState(Contains(x, y) ? kStateOver : kStateNormal);
    if (state_ == kStateNormal) dragging_ = false;
  }
  if (dragging_ && state_ != kStateNormal) {
    DragTo(x, false);
    changed = true;
  }
  return changed;
}

bool SliderModel::OnLButtonDown(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  const bool changed = SetState(kStatePressed);
  if (thumb_.Contains(x, y)) dragging_ = true;
  dragX_ = x - leftExtent_;
  Notify(0, kCodePressed);
  return changed;
}

bool SliderModel::OnLButtonUp(int x, int y) {
  if (disabled()) return false;
  const bool wasDragging = dragging_;
  dragging_ = false;
  if (!Contains(x, y)) return SetState(kStateNormal) || wasDragging;
  SetState(kStateOver);
  value_ = Snap(x);
  PlaceThumb();
  Notify(0, kCodeClicked);
  return true;
}

bool SliderModel::FollowDrag(int x) {
  if (!dragging_) return false;
  if (state_ != kStateNormal) DragTo(x, true);
  return true;
}

int SliderModel::ThumbDrawX(int thumbWidth) const {
  if (!dragging_) return positions_[static_cast<std::size_t>(value_)] - leftExtent_;
  return std::max(rect().left, std::min(dragX_, rect().right - thumbWidth));
}

}  // namespace zeltra
