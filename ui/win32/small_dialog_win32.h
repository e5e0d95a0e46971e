// Pieces the 429 x 140 small dialogs share: their frame and their close,
// OK and Cancel buttons.
#pragma once

#include <windows.h>

#include <string>

#include "ui/small_dialogs.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

// A design rectangle at the UI scale factor.
RECT ScaledWindowRect(const DesignRect& design);

// An image button on two skin images, appended to the dialog's first group.
CImageButton* AddSkinButton(CDlgBase& dialog, int id, const DesignRect& place, std::u16string text,
                            const wchar_t* normalImage, const wchar_t* overImage);
// The close cross, OK (language string 4) and, when asked, Cancel (5).
void AddCommonButtons(CDlgBase& dialog, bool withCancel);

// Fills the client area with the dialog's colour and stretches
// "skins\Frame_common.bmp" over it.
void DrawCommonFrame(HDC dc, const RECT& client, COLORREF background, FrameFile& frame);

// A small skinned dialog of a fixed design size whose close cross and
// Cancel end it with IDCANCEL.
class CSmallDialog : public CDlgBase {
 protected:
  CSmallDialog(HWND parent, int designWidth, int designHeight);

  // Releases the images and ends with IDOK or IDCANCEL.
  void EndReleasing(bool ok);
  // The clicks of the close cross and Cancel end the dialog, and OK's too
  // when `okEnds`; true when the message was one of them.
  bool EndOnButtons(UINT message, LPARAM code, bool okEnds);
};

// True for the control notification "clicked" of the control `id`.
inline bool IsClick(UINT message, LPARAM code, int id) { return message == static_cast<UINT>(id) && code == 2; }

}  // namespace zeltra::win32
