// The two lists of the macro dialogs as their dialogs drive them: the
// library tree, opened collapsed with nothing selected and kept scrolled to
// its selection, and the action list, each with its scroll bar.
#pragma once

#include "macro/list_scroll.h"

namespace zeltra {

class MacroLibrary;

inline constexpr int kTreeCaptionId = 2025;  // above the tree
inline constexpr int kTreeListId = 2015;
inline constexpr int kTreeScrollBarId = 2021;
inline constexpr int kActionListId = 2020;
inline constexpr int kActionScrollBarId = 2022;

// What the dialogs that show the lists do for them.
class MacroListHost {
 public:
  virtual ~MacroListHost() = default;
  // The list's first visible row (the tree or the action list); repaints it.
  virtual void ShowList(int listId, int firstRow) = 0;
  // The scroll bar's position, page and range (SetScrollInfo); repaints it.
  virtual void SetScrollBar(int barId, const ScrollInfo& info) = 0;
  virtual void RepaintControl(int id) = 0;
  virtual void RepaintAll() = 0;
};

// A list and its scroll bar, moved together. `items` is the list's current
// number of rows.
class ScrolledList {
 public:
  ScrolledList(MacroListHost& host, int listId, int barId, int visibleRows)
      : host_(host), listId_(listId), barId_(barId), scroll_(visibleRows) {}

  void OnScrollBarNotify(int code, int part, int thumbPosition, int items);
  void OnWheel(int notches, int items);
  // Shows the list from its first row and sets its bar.
  void Show(int items);

  ListScroll& scroll() { return scroll_; }
  const ListScroll& scroll() const { return scroll_; }

 private:
  MacroListHost& host_;
  int listId_;
  int barId_;
  ListScroll scroll_;
};

class MacroTreeView {
 public:
  MacroTreeView(MacroLibrary& library, MacroListHost& host, int visibleRows)
      : library_(library), list_(host, kTreeListId, kTreeScrollBarId, visibleRows) {}

  // Every folder closed, nothing selected, from the first row.
  void Open();
  // The selected row scrolled into view, then the tree and its bar shown
  // (first of every reaction to a notification of the tree).
  void EnsureSelectionVisible();
  void OnScrollBarNotify(int code, int part, int thumbPosition);
  void OnWheel(int notches);
  // After items went away: no empty rows at the end.
  void PullBack();
  void Show();

  int firstRow() const { return list_.scroll().firstRow(); }
  int visibleRows() const { return list_.scroll().visibleRows(); }

 private:
  int Items() const;

  MacroLibrary& library_;
  ScrolledList list_;
};

}  // namespace zeltra
