// The toolkit's lists apart from drawing: rows 20 design pixels high, the
// first visible row, the selection, and the row under a point. What a list
// shows comes from its data's own model, through the interfaces below.
#pragma once

#include <string>
#include <vector>

#include "ui/control_model.h"

namespace zeltra {

class ListModel : public ControlModel {
 public:
  static constexpr int kMaxRow = 1 << 20;
  ListModel(int id, const UiRect& rect, float scale) : ControlModel(id, rect), scale_(scale) {}

  // The standard release: state 1 and code 2 inside, state 0 outside.
  bool OnLButtonUp(int x, int y) override;

  int rowHeight() const;
  // Rows that fit, a half-visible last row included (ListRowsThatFit).
  int visibleRows() const;
  virtual int ItemCount() const = 0;
  int firstRow() const { return firstRow_; }
  // Clamped into 0..kMaxRow (far beyond any list) so row sums never overflow.
  void SetFirstRow(int row) { firstRow_ = row < 0 ? 0 : (row > kMaxRow ? kMaxRow : row); }
  // -1 for none.
  int selectedRow() const { return selectedRow_; }
  void SetSelectedRow(int row) { selectedRow_ = row >= 0 ? row : -1; }
  // The item row under a point inside the list, or -1 below the last item.
  int ItemRowAt(int y) const;

 protected:
  // Shown row r (0 = the first visible) between the given insets.
  UiRect RowRect(int r, int leftInset) const;

  float scale_;
  int firstRow_ = 0;
  int selectedRow_ = -1;
};

// One shown row of a tree: folders show an open or closed icon.
struct TreeRow {
  UiRect rect;   // highlight area
  UiRect text;   // where the name goes
  UiPoint icon;  // folder icon's top-left (folders only)
  bool folder = false;
  bool open = false;
  bool selected = false;
  std::u16string name;
};

// A tree shown as indented rows.
class TreeModel : public ListModel {
 public:
  using ListModel::ListModel;

  // The folder icons' size in image pixels (indents and the folder-icon zone).
  void SetIconSize(int width, int height);
  // The rows to draw, from the first visible one.
  virtual std::vector<TreeRow> Rows() const = 0;

 protected:
  int iconWidth_ = 0;
  int iconHeight_ = 0;
};

// One shown row of a list with an icon left of each row's text; `image` is
// the list's own number for the icon.
struct IconRow {
  UiRect rect;
  UiPoint icon;  // top-left of the icon
  int image = 0;
  bool selected = false;
  std::u16string text;
};

class IconListModel : public ListModel {
 public:
  using ListModel::ListModel;

  // The rows to draw, from the first visible one.
  virtual std::vector<IconRow> Rows() const = 0;
};

}  // namespace zeltra
