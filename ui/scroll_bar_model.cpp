#include "ui/scroll_bar_model.h"

#include <algorithm>
#include <cmath>

#include "ui/control_codes.h"
#include "ui/ui_context.h"

namespace zeltra {

ScrollBarModel::ScrollBarModel(int id, const UiRect& rect, float scale, bool disabled)
    : ControlModel(id, rect, disabled), scale_(scale) {
  Layout();
}

void ScrollBarModel::SetRect(const UiRect& rect) {
  ControlModel::SetRect(rect);
  Layout();
}

void ScrollBarModel::SetArrowHeights(int up, int down) {
  upHeight_ = Scaled(std::max(up, 0), scale_);
  downHeight_ = Scaled(std::max(down, 0), scale_);
  Layout();
}

void ScrollBarModel::Layout() {
  trackTop_ = rect().top + upHeight_;
  // The last row above the down arrow; a bar shorter than its arrows keeps
  // an empty track rather than one that runs backwards.
  trackBottom_ = std::max(rect().bottom - downHeight_ - 1, trackTop_ - 1);
  SetScrollInfo(position_, page_, range_);
}

void ScrollBarModel::SetScrollInfo(int position, int page, int range) {
  position_ = std::max(position, 0);
  page_ = std::max(page, 0);
  range_ = std::max(range, 0);
  const int length = trackBottom_ - trackTop_ + 1;
  if (range_ == 0 || length <= 0) {
    thumbTop_ = trackTop_;
    thumbBottom_ = trackBottom_;
  } else {
    const double lt = length;
    const double r = range_;
    const int offset = static_cast<int>(std::floor(position_ / r * lt + 0.5));
    const int size = std::min(length, static_cast<int>(std::floor(page_ / r * lt + 0.5)));
    // A position beyond the range keeps the thumb on the track's last row,
    // and an empty page still leaves a row to see and grab.
    thumbTop_ = std::min(trackTop_ + offset, trackBottom_);
    thumbBottom_ = std::max(std::min(thumbTop_ + size - 1, trackBottom_), thumbTop_);
  }
  Repaint();
}

UiRect ScrollBarModel::UpArrowRect() const {
  const UiRect& r = rect();
  return {r.left, r.top, r.right, r.top + upHeight_};
}

UiRect ScrollBarModel::DownArrowRect() const {
  const UiRect& r = rect();
  return {r.left, r.bottom - downHeight_, r.right, r.bottom};
}

UiRect ScrollBarModel::ThumbRect() const { return {rect().left, thumbTop_, rect().right, thumbBottom_ + 1}; }

int ScrollBarModel::PartAt(int y) const {
  if (y < rect().top + upHeight_) return kPartUpArrow;
  if (y >= rect().bottom - downHeight_) return kPartDownArrow;
  if (y < thumbTop_) return kPartTrackAbove;
  if (y > thumbBottom_) return kPartTrackBelow;
  return kPartThumb;
}

void ScrollBarModel::UpdateHover(int x, int y) {
  const bool inside = Contains(x, y);
  overUp_ = inside && UpArrowRect().Contains(x, y);
  overDown_ = inside && DownArrowRect().Contains(x, y);
  overThumb_ = inside && !overUp_ && !overDown_ && ThumbRect().Contains(x, y);
}

bool ScrollBarModel::DragThumb(int y) {
  const int size = thumbBottom_ - thumbTop_;
  const int top = std::clamp(y - grab_, trackTop_, std::max(trackTop_, trackBottom_ - size));
  const bool moved = top != thumbTop_;
  thumbTop_ = top;
  thumbBottom_ = top + size;
  const long long length = trackBottom_ - trackTop_ + 1;
  const int position = length > 0 ? static_cast<int>((thumbTop_ - trackTop_) * static_cast<long long>(range_) / length) : 0;
  if (position != position_) {
    position_ = position;
    Notify(0, kCodeValueChanged);
  }
  return moved;
}

bool ScrollBarModel::OnMouseMove(int x, int y) {
  bool changed = false;
  if (!disabled() && state_ != kStatePressed) {
    const bool up = overUp_, down = overDown_, thumb = overThumb_;
    changed = SetState(Contains(x, y) ? kStateOver : kStateNormal);
    UpdateHover(x, y);
    changed = changed || up != overUp_ || down != overDown_ || thumb != overThumb_;
  }
  if (dragging_ && DragThumb(y)) changed = true;
  return changed;
}

bool ScrollBarModel::FollowDrag(int x, int y) {
  (void)x;
  if (!dragging_) return false;
  const bool moved = DragThumb(std::clamp(y, rect().top, std::max(rect().top, rect().bottom)));
  if (moved) Repaint();
  return moved;
}

bool ScrollBarModel::OnLButtonDown(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  SetState(kStatePressed);
  const int part = PartAt(y);
  if (part == kPartThumb) {
    dragging_ = true;
    grab_ = y - thumbTop_;
  }
  Notify(static_cast<std::uintptr_t>(part), kCodePressed);
  return true;
}

bool ScrollBarModel::OnLButtonUp(int x, int y) {
  if (disabled()) return false;
  const bool wasDragging = dragging_;
  dragging_ = false;
  if (Contains(x, y)) {
    SetState(kStateOver);
    Notify(0, kCodeClicked);
  } else {
    SetState(kStateNormal);
    overUp_ = overDown_ = overThumb_ = false;
    if (wasDragging) Notify(0, kCodeClicked);
  }
  SetScrollInfo(position_, page_, range_);
  return true;
}

}  // namespace zeltra
