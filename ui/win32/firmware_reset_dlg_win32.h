// Asks before the mouse and the current profile go back to their factory
// settings. IDOK when the user confirmed (OK or Enter); the caller resets.
#pragma once

#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CFirmwareResetDlg : public CSmallDialog {
 public:
  explicit CFirmwareResetDlg(HWND parent = nullptr);

 protected:
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;
};

}  // namespace zeltra::win32
