#include "ui/list_rows.h"

#include <algorithm>

#include "ui/ui_context.h"

namespace zeltra {

int ListRowsThatFit(int height, float scale) {
  const int row = std::max(Scaled(20, scale), 1);
  return std::max((height + Scaled(10, scale)) / row, 0);
}

int FirstRowShowing(int selectedRow, int firstRow, int visibleRows, int items) {
  int first = firstRow;
  if (selectedRow < 0 && items <= visibleRows) {
    first = 0;
  } else if (selectedRow >= firstRow + visibleRows) {
    first = selectedRow - visibleRows + 1;
  } else if (firstRow + visibleRows > items) {
    first = items - visibleRows;
  }
  return std::max(first, 0);
}

}  // namespace zeltra
