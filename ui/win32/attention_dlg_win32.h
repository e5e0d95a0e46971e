// The program's message box: a title, a one-line message and an OK button.
#pragma once

#include <string>

#include "ui/small_dialogs.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

class CAttentionDlg : public CDlgBase {
 public:
  static constexpr int kDesignWidth = kAttentionDialogWidth;
  static constexpr int kDesignHeight = kAttentionDialogHeight;

  CAttentionDlg(std::u16string title, std::u16string message, HWND parent);

  // Shows the dialog without a loop of its own, above every other window,
  // keeping its size and place; it destroys its window when closed.
  bool CreateTopmost();

  const std::u16string& title() const { return title_; }
  const std::u16string& message() const { return message_; }

 protected:
  void DrawBackground(HDC dc, const RECT& client) override;
  void CreateControls(const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::u16string title_;
  std::u16string message_;
};

}  // namespace zeltra::win32
