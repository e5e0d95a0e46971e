// The profile picker's name dialogs (add a profile, rename a profile) apart
// from what their OK does with the name (app/win32/profile_name_dlgs_win32.h).
// A native edit box takes the name; Enter confirms like OK, Escape is ignored.
#pragma once

#include <string>

#include "ui/small_dialogs.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CProfileNameDlg : public CSmallDialog {
 public:
  ~CProfileNameDlg() override;

  HWND edit() const { return edit_.get(); }
  std::u16string EditText() const;

 protected:
  CProfileNameDlg(HWND parent, int titleString, const DesignRect& editPlace, std::u16string initialText);

  // What OK does with the name.
  virtual ProfileNameOutcome Confirm(const std::u16string& name) = 0;

  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void OnConfirm();
  void CreateEdit();

  int titleString_;
  DesignRect editPlace_;
  std::u16string initialText_;
  UniqueFont editFont_;  // outlives the edit box
  UniqueWindow edit_;
};

}  // namespace zeltra::win32
