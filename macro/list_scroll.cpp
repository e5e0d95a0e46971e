#include "macro/list_scroll.h"

#include <algorithm>

#include "ui/control_codes.h"
#include "ui/list_rows.h"

namespace zeltra {

bool ListScroll::MoveTo(int row) {
  row = std::max(row, 0);
  if (row == first_) return false;
  first_ = row;
  return true;
}

bool ListScroll::OnPart(int part, int items) {
  const int last = LastFirstRow(items);
  switch (part) {
    case kPartUpArrow: return first_ >= 1 && MoveTo(first_ - 1);
    case kPartDownArrow: return first_ < last && MoveTo(first_ + 1);
    case kPartTrackAbove: return first_ >= 1 && MoveTo(first_ - rows_ + 1);
    case kPartTrackBelow: return first_ < last && MoveTo(std::min(first_ + rows_ - 1, last));
    default: return false;
  }
}

bool ListScroll::SetFirstRow(int position, int items) { return MoveTo(std::clamp(position, 0, LastFirstRow(items))); }

bool ListScroll::Wheel(int notches, int items) { return MoveTo(std::clamp(first_ - notches, 0, LastFirstRow(items))); }

bool ListScroll::EnsureVisible(int selectedRow, int items) {
  return MoveTo(FirstRowShowing(selectedRow, first_, rows_, items));
}

bool ListScroll::PullBack(int items) { return MoveTo(std::min(first_, LastFirstRow(items))); }

bool ListScroll::ScrollToEnd(int items) { return MoveTo(LastFirstRow(items)); }

ScrollBarReaction OnScrollBarNotify(ListScroll& scroll, int items, int code, int part, int thumbPosition) {
  switch (code) {
    case kCodePressed:
      // A press on the thumb only starts a drag.
      if (part == kPartThumb) return ScrollBarReaction::kNone;
      scroll.OnPart(part, items);
      return ScrollBarReaction::kListAndBar;
    case kCodeValueChanged: scroll.SetFirstRow(thumbPosition, items); return ScrollBarReaction::kListOnly;
    case kCodeClicked: return ScrollBarReaction::kRepaintBar;
    default: return ScrollBarReaction::kNone;
  }
}

}  // namespace zeltra
