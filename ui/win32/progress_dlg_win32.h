// Shown after settings reached the mouse: a text and a bar that grows in
// about half a second, then the dialog ends itself with IDOK. The bar is
// animated by a timer of the dialog's own thread, which owns the window.
#pragma once

#include <string>

#include "ui/progress_animation.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CProgressBarDlg : public CSmallDialog {
 public:
  CProgressBarDlg(std::u16string text, HWND parent);
  ~CProgressBarDlg() override;

  int progress() const { return animation_.progress(); }

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Draws one step of the bar straight onto the window.
  virtual void DrawBar(const ProgressBarStep& step);

 private:
  void Step();
  void StopAnimation();

  std::u16string text_;
  SkinImage frame_;
  SkinImage bar_;
  ProgressAnimation animation_;
  bool animating_ = false;  // this dialog holds the animation guard
};

}  // namespace zeltra::win32
