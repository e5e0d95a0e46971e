// CFireKeyDlg: the fire key's two values in two number boxes, checked every
// 100 ms; OK sends the code 0x30 with both values to the result window.
#pragma once

#include <windows.h>

#include <string>

#include "macro/win32/dialog_table_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CFireKeyDlg : public CSmallDialog {
 public:
  static constexpr UINT_PTR kCheckTimer = 1;

  // The result goes to `resultWindow` as kFireKeyResultMessage (lParam a
  // ButtonAssignment, valid during the call); null: the owner.
  explicit CFireKeyDlg(HWND parent, HWND resultWindow = nullptr);

  HWND firstBox() const { return first_.hwnd(); }
  HWND secondBox() const { return second_.hwnd(); }
  // One tick of the check, as the timer runs it.
  void CheckBoxes();

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void OnOkClicked();

  HWND resultWindow_;
  NativeEditBox first_;
  NativeEditBox second_;
  bool warning_ = false;  // an attention dialog of the check is up
};

}  // namespace zeltra::win32
