// CShortcutDlg: a key from the keyboard hook and modifiers from four check
// boxes; OK sends the key combination (0x70) to the result window. The hook
// runs exactly while the dialog's window exists.
#pragma once

#include <windows.h>

#include "macro/shortcut_dialog.h"
#include "macro/win32/keyboard_hook_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CShortcutDlg : public CSmallDialog {
 public:
  // The result goes to `resultWindow` as kKeyCombinationResultMessage
  // (lParam a ButtonAssignment, valid during the call); null: the owner.
  explicit CShortcutDlg(HWND parent, HWND resultWindow = nullptr);
  ~CShortcutDlg() override;

  const ShortcutDialogState& state() const { return state_; }
  bool hookStarted() const { return hook_.IsStarted(); }

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnBoxClicked(int id);
  void OnOkClicked();

  HWND resultWindow_;
  ShortcutDialogState state_;
  CKeyboardHook hook_;
};

}  // namespace zeltra::win32
