// Scrolling of the macro dialogs' two lists (the library tree and the action
// list): the first visible row, kept within the items, moved by the scroll
// bar's parts, its thumb, the wheel and the selection.
#pragma once

namespace zeltra {

// What a vertical scroll bar shows: position = the list's first visible
// row, page = its visible rows, range = its items.
struct ScrollInfo {
  int position = 0;
  int page = 1;
  int range = 0;
  friend bool operator==(const ScrollInfo&, const ScrollInfo&) = default;
};

class ListScroll {
 public:
  explicit ListScroll(int visibleRows = 1) : rows_(visibleRows > 0 ? visibleRows : 1) {}

  int firstRow() const { return first_; }
  int visibleRows() const { return rows_; }
  ScrollInfo Info(int items) const { return {first_, rows_, items > 0 ? items : 0}; }

  // A press on part `part` (code 1, a ScrollPart); true when the first row moved.
  bool OnPart(int part, int items);
  // The thumb was dragged to `position` (code 3).
  bool SetFirstRow(int position, int items);
  // `notches` wheel notches, positive away from the user (scrolling up).
  bool Wheel(int notches, int items);
  // The selected row (-1 for none) scrolled into view (FirstRowShowing).
  bool EnsureVisible(int selectedRow, int items);
  // No empty rows below the last item (after items went away).
  bool PullBack(int items);
  // The last item at the bottom row when the items do not fit; else row 0.
  bool ScrollToEnd(int items);
  void Reset() { first_ = 0; }

 private:
  int LastFirstRow(int items) const { return items > rows_ ? items - rows_ : 0; }
  bool MoveTo(int row);

  int rows_;
  int first_ = 0;
};

// What a list's scroll bar notification asks for (both bars alike).
enum class ScrollBarReaction {
  kNone,
  kListAndBar,  // the list's first row moved: show it and set the bar (position, page, range)
  kListOnly,    // the thumb was dragged: the list follows the bar's own position
  kRepaintBar,  // the press ended: repaint the bar
};
// Notification `code` (1 pressed with `part`, 2 released, 3 thumb dragged to
// `thumbPosition`) of the scroll bar of a list with `items` items.
ScrollBarReaction OnScrollBarNotify(ListScroll& scroll, int items, int code, int part, int thumbPosition);

}  // namespace zeltra
