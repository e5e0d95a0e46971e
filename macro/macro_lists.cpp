#include "macro/macro_lists.h"

#include <algorithm>

#include "ui/control_codes.h"
#include "ui/list_rows.h"
#include "ui/ui_context.h"

namespace zeltra {

// --- tree ----------------------------------------------------------------------

int TreeListModel::ItemCount() const { return library_ != nullptr ? library_->VisibleRowCount() : 0; }

void TreeListModel::ToggleFolder(MacroItem* item) {
  // Only folders open; a macro item keeps its flag as stored.
  if (item != nullptr && item->IsFolder()) item->MacroItemFolderIsOpen = item->IsOpen() ? 0 : 1;
}

void TreeListModel::SelectAt(int x, int y, bool toggleInIconZone) {
  const int row = ItemRowAt(y);
  selectedRow_ = row;
  if (library_ == nullptr) return;
  const MacroLocation location = row >= 0 ? library_->RowToLocation(row) : MacroLocation::None();
  library_->selectedLocation = location;
  if (!toggleInIconZone || location.stage < 0) return;
  const float zone = static_cast<float>(iconWidth_) * scale_ * static_cast<float>(location.stage + 1);
  if (static_cast<float>(x - rect().left) < zone) ToggleFolder(library_->ItemAt(location));
}

bool TreeListModel::OnLButtonDown(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  SetState(kStatePressed);
  SelectAt(x, y, true);
  return true;
}

bool TreeListModel::OnLButtonDblClk(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  SetState(kStateOver);
  const int row = ItemRowAt(y);
  if (row < 0) return true;
  selectedRow_ = row;
  if (library_ != nullptr) ToggleFolder(library_->ItemAt(library_->RowToLocation(row)));
  Notify(0, kCodeDoubleClick);
  return true;
}

bool TreeListModel::OnRButtonUp(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  SetState(kStateOver);
  SelectAt(x, y, false);
  NotifyPoint(UiPoint{x, y}, kCodeRightReleased);
  return true;
}

void TreeListModel::EnsureSelectionVisible() {
  firstRow_ = FirstRowShowing(selectedRow_, firstRow_, visibleRows(), ItemCount());
}

std::vector<TreeRow> TreeListModel::Rows() const {
  std::vector<TreeRow> rows;
  const int shown = visibleRows();
  if (library_ == nullptr || shown <= 0) return rows;
  const int step = Scaled(iconWidth_ + 3, scale_);
  library_->ForEachVisibleRow(firstRow_, [&](int row, const MacroLocation& location, const MacroItem& item) {
    const int r = row - firstRow_;
    if (r >= shown) return false;
    TreeRow out;
    out.rect = RowRect(r, Scaled(2, scale_));
    out.name = item.name;
    out.folder = item.IsFolder();
    out.open = item.IsOpen();
    out.selected = row == selectedRow_;
    const int indent = out.rect.left + static_cast<int>(static_cast<float>(location.stage * (iconWidth_ + 3)) * scale_);
    out.icon = UiPoint{indent, out.rect.top + Scaled(1, scale_)};
    out.text = out.rect;
    out.text.left = out.folder ? indent + step : indent;
    rows.push_back(std::move(out));
    return true;
  });
  return rows;
}

// --- action list ---------------------------------------------------------------

int ActionListModel::ItemCount() const {
  if (macro_ == nullptr) return 0;
  return static_cast<int>(std::min<std::uint32_t>(macro_->MacroActionNum, kMaxMacroActions));
}

bool ActionListModel::OnLButtonDown(int x, int y) {
  if (disabled() || !Contains(x, y)) return false;
  SetState(kStatePressed);
  const int row = ItemRowAt(y);
  if (row >= 0) selectedRow_ = row;
  return true;
}

bool ActionListModel::OnLButtonDblClk(int x, int y) { return StandardDoubleClick(x, y); }

std::vector<IconRow> ActionListModel::Rows() const {
  std::vector<IconRow> rows;
  const int count = ItemCount();
  const int shown = visibleRows();
  for (int r = 0; r < shown && firstRow_ + r < count; ++r) {
    const int index = firstRow_ + r;
    const MacroAction& action = macro_->AllAction[static_cast<std::size_t>(index)];
    IconRow out;
    out.rect = RowRect(r, Scaled(17, scale_));
    out.icon = UiPoint{out.rect.left - Scaled(15, scale_), out.rect.top + Scaled(3, scale_)};
    out.image = static_cast<int>(ActionRowIcon(action));
    out.selected = index == selectedRow_;
    out.text = ActionRowText(action);
    rows.push_back(std::move(out));
  }
  return rows;
}

}  // namespace zeltra
