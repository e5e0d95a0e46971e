#include "macro/win32/fire_key_dlg_win32.h"

#include "macro/assignment_controller.h"
#include "macro/fire_key_dialog.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/small_dialogs.h"
#include "ui/win32/attention_dlg_win32.h"

namespace zeltra::win32 {

CFireKeyDlg::CFireKeyDlg(HWND parent, HWND resultWindow)
    : CSmallDialog(parent, kFireKeyDialogWidth, kFireKeyDialogHeight), resultWindow_(resultWindow) {}

namespace {

void ShowAttention(HWND owner, int message) {
  CAttentionDlg attention(LanguageString(kStringAttentionTitle), LanguageString(message), owner);
  attention.DoModal();
}

RECT BoxRect(int id) { return TableRect(FindDialogControl(kFireKeyDialogControls, id)->rect); }

}  // namespace

void CFireKeyDlg::CreateControls(const RECT&) {
  AddTableControls(*this, kFireKeyDialogControls);
  first_.Create(hwnd_, kFireKeyFirstBox, BoxRect(kFireKeyFirstBox), ES_CENTER, std::u16string(kFireKeyFirstPreset));
  second_.Create(hwnd_, kFireKeySecondBox, BoxRect(kFireKeySecondBox), ES_CENTER,
                 std::u16string(kFireKeySecondPreset));
}

BOOL CFireKeyDlg::OnInitDialog() {
  const BOOL result = CSmallDialog::OnInitDialog();
  SetTimer(hwnd_, kCheckTimer, kFireKeyCheckTimerMs, nullptr);
  if (first_.hwnd() != nullptr) SetFocus(first_.hwnd());
  return result;
}

void CFireKeyDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_, frameFile_);
  DrawControls(dc, client);
}

void CFireKeyDlg::CheckBoxes() {
  // The check's own warning runs a loop in which the timer goes on ticking.
  if (warning_) return;
  const FireKeyCheck check = CheckFireKeyBoxes(first_.Text(), second_.Text());
  if (check.firstText) first_.SetText(*check.firstText);
  if (check.secondText) second_.SetText(*check.secondText);
  warning_ = true;
  for (int message : check.messages) ShowAttention(hwnd_, message);
  warning_ = false;
}

void CFireKeyDlg::OnOkClicked() {
  const FireKeyOk ok = FireKeyDialogOk(first_.Text(), second_.Text());
  if (!ok.close) {
    if (ok.message != 0) ShowAttention(hwnd_, ok.message);
    return;
  }
  if (ok.result) {
    HWND target = resultWindow_ != nullptr ? resultWindow_ : GetWindow(hwnd_, GW_OWNER);
    if (target != nullptr)
      SendMessageW(target, kFireKeyResultMessage, 0, reinterpret_cast<LPARAM>(&*ok.result));
  }
  EndReleasing(true);
}

bool CFireKeyDlg::PreTranslateMessage(MSG& msg) {
  // Enter and Esc do nothing here: the dialog ends only by its buttons.
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return true;
  if (msg.message == WM_CHAR && (msg.hwnd == first_.hwnd() || msg.hwnd == second_.hwnd())) {
    // The warning does not take the character away.
    const int warning = NotADigitWarning(static_cast<char16_t>(msg.wParam));
    if (warning != 0) ShowAttention(hwnd_, warning);
  }
  return CSmallDialog::PreTranslateMessage(msg);
}

MessageResult CFireKeyDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, false)) return 0;
  if (IsClick(message, lParam, kIdOk)) {
    OnOkClicked();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kCheckTimer) {
        CheckBoxes();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == first_.hwnd() || reinterpret_cast<HWND>(lParam) == second_.hwnd()) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      break;
    case WM_DESTROY: KillTimer(hwnd_, kCheckTimer); break;
    default: break;
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
