// Builds a skinned dialog's windowless controls from its control table
// (macro/dialog_layout.h), and the native edit boxes some tables name.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "macro/dialog_layout.h"
#include "ui/win32/dlg_base_win32.h"
#include "ui/win32/scoped_win32.h"

namespace zeltra {
class MacroLibrary;
}

namespace zeltra::win32 {

struct TableOptions {
  MacroLibrary* library = nullptr;  // the tree list's library
  int comboMessage = 0;             // what the combo buttons report under
  COLORREF textColour = kTextNormal;
};

// Appends every control of the table to the dialog's first group at the UI
// scale factor, with its language text and skin images. Edit boxes are left
// out: they are native windows (NativeEditBox).
void AddTableControls(CDlgBase& dialog, std::span<const DialogControl> controls, const TableOptions& options = {});

// A design rectangle of a table at the UI scale factor.
RECT TableRect(const DesignRect& design);

// A native child edit control in the edit-box font ("Tahoma" at the size
// the UI and text scale give), which it owns.
class NativeEditBox {
 public:
  NativeEditBox() = default;
  ~NativeEditBox();
  NativeEditBox(const NativeEditBox&) = delete;
  NativeEditBox& operator=(const NativeEditBox&) = delete;

  bool Create(HWND parent, int id, const RECT& rect, DWORD extraStyle, const std::u16string& text);
  void Destroy();
  HWND hwnd() const { return window_.get(); }
  std::u16string Text() const;
  void SetText(const std::u16string& text);
  void SelectAll();
  void PutCaretAtEnd();

 private:
  UniqueFont font_;  // outlives the window
  UniqueWindow window_;
};

}  // namespace zeltra::win32
