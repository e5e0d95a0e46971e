#include "ui/win32/attention_dlg_win32.h"

#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

RECT ScaledCorners(const DesignRect& corners) { return ToRect(ScaleEdges(corners, Ui().scale)); }

}  // namespace

CAttentionDlg::CAttentionDlg(std::u16string title, std::u16string message, HWND parent)
    : CDlgBase(IDD_SMALL_DIALOG, parent), title_(std::move(title)), message_(std::move(message)) {
  width_ = Scaled(kDesignWidth);
  height_ = Scaled(kDesignHeight);
}

bool CAttentionDlg::CreateTopmost() {
  if (!Create()) return false;
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  return true;
}

void CAttentionDlg::CreateControls(const RECT&) {
  auto close = std::make_unique<CImageButton>(hwnd_, kIdClose, ScaledCorners(kAttentionCloseButton), u"");
  close->SetNormalImage(SkinPath(L"skins\\exit_nr.png"));
  close->SetOverImage(SkinPath(L"skins\\exit_ov.png"));
  AddControl(0, std::move(close));

  auto ok = std::make_unique<CImageButton>(hwnd_, kIdOk, ScaledCorners(kAttentionOkButton), LanguageString(4));
  ok->SetNormalImage(SkinPath(L"skins\\button2_nr.png"));
  ok->SetOverImage(SkinPath(L"skins\\button2_ov.png"));
  AddControl(0, std::move(ok));

  auto title = std::make_unique<CStaticText>(hwnd_, kAttentionTitleId, ScaledCorners(kAttentionTitleText), u"", RGB(82, 146, 254),
                                             DT_LEFT | DT_SINGLELINE);
  title->SetCaption(title_);
  AddControl(0, std::move(title));

  auto text = std::make_unique<CStaticText>(hwnd_, kAttentionMessageId, ScaledCorners(kAttentionMessageText), u"", kTextNormal,
                                            0x2015 /* centred, word breaks, edit-control wrapping */);
  text->SetCaption(message_);
  AddControl(0, std::move(text));
}

void CAttentionDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  frameFile_.Draw(dc, SkinPath(L"skins\\Frame_warning.bmp"), kDesignWidth, kDesignHeight, Ui().scale);
  DrawControls(dc, client);
}

MessageResult CAttentionDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == static_cast<UINT>(kIdOk) && lParam == kCodeClicked) {
    ReleaseControlImages();
    OnOK();
    return 0;
  }
  if (message == static_cast<UINT>(kIdClose) && lParam == kCodeClicked) {
    ReleaseControlImages();
    OnCancel();
    return 0;
  }
  return CDlgBase::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
