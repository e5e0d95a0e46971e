#include "macro/macro_select_dialog.h"

#include "macro/macro_library.h"
#include "ui/control_codes.h"

namespace zeltra {

const std::array<DialogControl, 5> kMacroSelectDialogControls{{
    TextControl(kTreeCaptionId, {24, 35, 100, 17}, 191),
    CloseCrossControl({505, 3, 15, 15}),
    ImageControl(kTreeListId, ControlKind::kTreeList, {25, 54, 463, 269}, kSkinFolderOpen, kSkinFolderClosed),
    ImageControl(kTreeScrollBarId, ControlKind::kScrollBar, {489, 53, 18, 271}),
    PushButtonControl(kIdOk, {232, 333, 65, 23}, kOkText),
}};

void MacroChooser::OnTreeNotify(int code) {
  tree_.EnsureSelectionVisible();
  if (code == kCodeDoubleClick) host_.RepaintAll();
}

void MacroChooser::OnOk() {
  if (!library_.MacroAt(library_.selectedLocation)) {
    host_.ShowAttention(kNoMacroChosenMessage);
    return;
  }
  host_.SendMacroChosen();
  host_.End();
}

}  // namespace zeltra
