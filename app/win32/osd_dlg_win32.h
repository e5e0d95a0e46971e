// The on-screen display of a DPI or report-rate change: a translucent,
// topmost tool window in the work area's bottom-right corner with three
// white texts on purple. One window is made and re-used while the display
// is shown; the main window's timer 50 decides when it goes.
#pragma once

#include <windows.h>

#include "app/osd.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/window_win32.h"

namespace zeltra::win32 {

class COSDDialog : public CDialog {
 public:
  explicit COSDDialog(HWND parent = nullptr);
  ~COSDDialog() override;

  // Shows `view`: makes the window when there is none (whatever `create`
  // says, so that a display forgotten by its owner is never doubled), and
  // places it; a shown window only takes the new texts and repaints.
  void Show(const OsdView& view, bool create);
  // Destroys the window; a later Show makes a new one.
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  const OsdView& view() const { return view_; }
  // Paints the display as WM_PAINT does, into any device context.
  void PaintInto(HDC target);

 protected:
  // The display never takes the keyboard focus.
  BOOL OnInitDialog() override { return FALSE; }
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool CreateWindowOnce();
  void Place();

  OsdView view_;
  BackBuffer picture_;
};

}  // namespace zeltra::win32
