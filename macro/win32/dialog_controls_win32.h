// Builds a macro or assignment dialog's windowless controls from its control
// table (macro/dialog_layout.h), and the pieces those dialogs share: their
// native number boxes, the list host calls and the attention message.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "macro/button_function.h"
#include "macro/dialog_layout.h"
#include "macro/list_scroll.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra {
class MacroLibrary;
}

namespace zeltra::win32 {

// A table rectangle at the UI scale factor (origin and size scaled).
RECT DialogControlRect(const DialogControl& control);

// Adds one control of the table to group 0 with its images and text; the
// tree list shows `library`. Edit boxes are native windows (CreateDialogEdit)
// and are skipped here: null for them.
CControlBase* AddDialogControl(CDlgBase& dialog, const DialogControl& control, MacroLibrary* library = nullptr);
void AddDialogControls(CDlgBase& dialog, std::span<const DialogControl> controls, MacroLibrary* library = nullptr);

// A native single-line edit box with centred text at the table's place, in
// the edit-box font (`font` receives it; the caller deletes it after the
// box is gone).
HWND CreateDialogEdit(HWND dialog, const DialogControl& control, const std::u16string& text, HFONT& font);
std::u16string EditText(HWND edit);
// The colours of the dialogs' edit boxes: black on white.
LRESULT PaintEditColours(WPARAM dc);

// The MacroListHost calls on the dialog's own controls: the list's first
// row (tree 2015 or action list 2020) and a scroll bar's info, each
// repainted.
void ShowDialogList(CDlgBase& dialog, int listId, int firstRow);
void SetDialogScrollBar(CDlgBase& dialog, int barId, const ScrollInfo& info);
void RepaintDialogControl(CDlgBase& dialog, int id);

// The attention dialog of these dialogs: title string 150, message string
// `message`, modal over `owner`.
void ShowDialogAttention(HWND owner, int message);

}  // namespace zeltra::win32
