// CMacroSelectDlg: the macro library as a tree to pick one macro from. OK on
// a macro tells the result window (kMacroChosenMessage); the choice is the
// library's selected location.
#pragma once

#include <windows.h>

#include <optional>

#include "macro/macro_select_dialog.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CMacroSelectDlg : public CSmallDialog, private MacroChooserHost {
 public:
  // null `resultWindow`: the owner.
  CMacroSelectDlg(MacroLibrary& library, HWND parent, HWND resultWindow = nullptr);

  const MacroChooser* chooser() const { return chooser_ ? &*chooser_ : nullptr; }
  bool chose() const { return chose_; }

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  // MacroChooserHost
  void ShowList(int listId, int firstRow) override;
  void SetScrollBar(int barId, const ScrollInfo& info) override;
  void RepaintControl(int id) override;
  void RepaintAll() override;
  void ShowAttention(int message) override;
  void SendMacroChosen() override;
  void End() override;

  MacroLibrary& library_;
  HWND resultWindow_;
  std::optional<MacroChooser> chooser_;
  bool chose_ = false;
};

}  // namespace zeltra::win32
