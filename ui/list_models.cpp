#include "ui/list_models.h"

#include <algorithm>

#include "ui/list_rows.h"
#include "ui/ui_context.h"

namespace zeltra {

bool ListModel::OnLButtonUp(int x, int y) { return StandardRelease(x, y, 0); }

int ListModel::rowHeight() const { return std::max(Scaled(20, scale_), 1); }

int ListModel::visibleRows() const { return ListRowsThatFit(rect().height(), scale_); }

int ListModel::ItemRowAt(int y) const {
  const int row = firstRow_ + (y - rect().top) / rowHeight();
  return row < ItemCount() ? row : -1;
}

UiRect ListModel::RowRect(int r, int leftInset) const {
  const UiRect& box = rect();
  const int h = rowHeight();
  return {box.left + leftInset, box.top + r * h, box.right - Scaled(2, scale_), box.top + (r + 1) * h};
}

void TreeModel::SetIconSize(int width, int height) {
  iconWidth_ = std::max(width, 0);
  iconHeight_ = std::max(height, 0);
}

}  // namespace zeltra
