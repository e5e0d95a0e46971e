// The macro dialogs' two lists: the library tree and one macro's actions,
// whose row images are the action icons (ActionIcon).
#pragma once

#include "macro/macro_lists.h"
#include "ui/win32/lists_win32.h"

namespace zeltra::win32 {

using CEditShowList = CTreeList<TreeListModel>;
using CImageShowList = CIconList<ActionListModel>;

}  // namespace zeltra::win32
