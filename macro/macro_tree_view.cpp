#include "macro/macro_tree_view.h"

#include "macro/macro_library.h"

namespace zeltra {

void ScrolledList::OnScrollBarNotify(int code, int part, int thumbPosition, int items) {
  switch (zeltra::OnScrollBarNotify(scroll_, items, code, part, thumbPosition)) {
    case ScrollBarReaction::kListAndBar: Show(items); break;
    case ScrollBarReaction::kListOnly: host_.ShowList(listId_, scroll_.firstRow()); break;
    case ScrollBarReaction::kRepaintBar: host_.RepaintControl(barId_); break;
    case ScrollBarReaction::kNone: break;
  }
}

void ScrolledList::OnWheel(int notches, int items) {
  if (scroll_.Wheel(notches, items)) Show(items);
}

void ScrolledList::Show(int items) {
  host_.ShowList(listId_, scroll_.firstRow());
  host_.SetScrollBar(barId_, scroll_.Info(items));
}

int MacroTreeView::Items() const { return library_.VisibleRowCount(); }

void MacroTreeView::Open() {
  library_.CloseAllFolders();
  library_.selectedLocation = MacroLocation::None();
  list_.scroll().Reset();
  Show();
}

void MacroTreeView::EnsureSelectionVisible() {
  list_.scroll().EnsureVisible(library_.LocationToRow(library_.selectedLocation), Items());
  Show();
}

void MacroTreeView::OnScrollBarNotify(int code, int part, int thumbPosition) {
  list_.OnScrollBarNotify(code, part, thumbPosition, Items());
}

void MacroTreeView::OnWheel(int notches) { list_.OnWheel(notches, Items()); }

void MacroTreeView::PullBack() {
  list_.scroll().PullBack(Items());
  Show();
}

void MacroTreeView::Show() { list_.Show(Items()); }

}  // namespace zeltra
