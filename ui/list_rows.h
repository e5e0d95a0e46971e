// The row rules of the two macro lists (the library tree and the action
// list), shared by the list controls and the dialogs that scroll them.
#pragma once

namespace zeltra {

// Rows of a list `height` pixels high: rows are 20 design units high and a
// row that is at least half visible counts, (height + 10 s) / 20 s.
int ListRowsThatFit(int height, float scale);

// The first visible row after the selected row (-1 for none) is scrolled
// into view: no selection and all items fitting go back to row 0; a
// selection below the last visible row becomes the last visible row; empty
// rows below the last item are taken up; a selection above the first row
// leaves the list where it is. Never negative.
int FirstRowShowing(int selectedRow, int firstRow, int visibleRows, int items);

}  // namespace zeltra
