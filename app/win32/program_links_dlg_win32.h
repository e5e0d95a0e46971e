// The linked-programs dialog of one profile: it draws ProgramLinksDialog's
// three rows (the program's file name, its full path as the row's tip,
// "Browse…" and "Remove") and forwards the clicks to it. Enter confirms like
// OK, Escape is ignored, as in the profile dialogs.
#pragma once

#include <windows.h>

#include "app/program_links_dialog.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CProgramLinksDlg : public CSmallDialog {
 public:
  CProgramLinksDlg(ProgramLinksDialog& dialog, HWND parent = nullptr);
  ~CProgramLinksDlg() override;

  const ProgramLinksDialog& dialog() const { return dialog_; }
  // The rows' tip window (a system tooltip); null when it could not be made.
  HWND tips() const { return tips_.get(); }
  // The tip the tooltip holds for row k.
  std::u16string TipOf(int row) const;

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void CreateTips();
  void ShowRows();
  void OnRowButton(const ProgramLinksDialog::RowButton& button);

  ProgramLinksDialog& dialog_;
  UniqueWindow tips_;
};

// Runs the dialog modally over `owner` at the UI scale `scale`. True on OK:
// the dialog's links are then the ones to keep.
bool RunProgramLinksDialog(HWND owner, ProgramLinksDialog& dialog, float scale);

}  // namespace zeltra::win32
