#include "ui/win32/small_dialog_win32.h"

#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

RECT ScaledWindowRect(const DesignRect& design) {
  const UiRect r = ScaleEdges(design, Ui().scale);
  return RECT{r.left, r.top, r.right, r.bottom};
}

CImageButton* AddSkinButton(CDlgBase& dialog, int id, const DesignRect& place, std::u16string text,
                            const wchar_t* normalImage, const wchar_t* overImage) {
  auto button = std::make_unique<CImageButton>(dialog.GetSafeHwnd(), id, ScaledWindowRect(place), std::move(text));
  button->SetNormalImage(SkinPath(normalImage));
  button->SetOverImage(SkinPath(overImage));
  return dialog.AddControl(0, std::move(button));
}

void AddCommonButtons(CDlgBase& dialog, bool withCancel) {
  AddSkinButton(dialog, kIdClose, kCommonCloseButton, u"", L"skins\\exit_nr.png", L"skins\\exit_ov.png");
  AddSkinButton(dialog, kIdOk, kCommonOkButton, LanguageString(4), L"skins\\button2_nr.png", L"skins\\button2_ov.png");
  if (withCancel) {
    AddSkinButton(dialog, kIdCancel, kCommonCancelButton, LanguageString(5), L"skins\\button2_nr.png",
                  L"skins\\button2_ov.png");
  }
}

void DrawCommonFrame(HDC dc, const RECT& client, COLORREF background, FrameFile& frame) {
  FillSolid(dc, client, background);
  frame.Draw(dc, SkinPath(L"skins\\Frame_common.bmp"), kCommonDialogWidth, kCommonDialogHeight, Ui().scale);
}

CSmallDialog::CSmallDialog(HWND parent, int designWidth, int designHeight) : CDlgBase(IDD_SMALL_DIALOG, parent) {
  width_ = Scaled(designWidth);
  height_ = Scaled(designHeight);
}

void CSmallDialog::EndReleasing(bool ok) {
  ReleaseControlImages();
  if (ok) {
    OnOK();
  } else {
    OnCancel();
  }
}

bool CSmallDialog::EndOnButtons(UINT message, LPARAM code, bool okEnds) {
  if (IsClick(message, code, kIdClose) || IsClick(message, code, kIdCancel)) {
    EndReleasing(false);
    return true;
  }
  if (okEnds && IsClick(message, code, kIdOk)) {
    EndReleasing(true);
    return true;
  }
  return false;
}

}  // namespace zeltra::win32
