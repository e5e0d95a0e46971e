#include "ui/win32/firmware_reset_dlg_win32.h"

#include "settings/language.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

namespace {
// Centred both ways, with word breaks.
constexpr UINT kQuestionFlags = 0x2015;
}  // namespace

CFirmwareResetDlg::CFirmwareResetDlg(HWND parent) : CSmallDialog(parent, kCommonDialogWidth, kCommonDialogHeight) {}

void CFirmwareResetDlg::CreateControls(const RECT&) {
  AddCommonButtons(*this, true);
  auto question = std::make_unique<CStaticText>(hwnd_, kResetQuestionId, ScaledWindowRect(kResetQuestion), u"",
                                                kTextNormal, kQuestionFlags);
  question->SetCaption(LanguageString(kResetQuestionText));
  AddControl(0, std::move(question));
}

void CFirmwareResetDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_, frameFile_);
  DrawControls(dc, client);
}

bool CFirmwareResetDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    EndReleasing(true);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
  return CSmallDialog::PreTranslateMessage(msg);
}

MessageResult CFirmwareResetDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, true)) return 0;
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
