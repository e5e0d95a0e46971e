#include "macro/win32/fire_key_dlg_win32.h"

#include "macro/assignment_controller.h"
#include "macro/fire_key_dialog.h"
#include "macro/win32/dialog_controls_win32.h"
#include "ui/control_codes.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

CFireKeyDlg::CFireKeyDlg(HWND parent, HWND resultWindow)
    : CSmallDialog(parent, kFireKeyDialogWidth, kFireKeyDialogHeight), resultWindow_(resultWindow) {}

CFireKeyDlg::~CFireKeyDlg() {
  // The boxes use the font: they go first.
  if (first_ != nullptr && IsWindow(first_)) DestroyWindow(first_);
  if (second_ != nullptr && IsWindow(second_)) DestroyWindow(second_);
  if (editFont_ != nullptr) DeleteObject(editFont_);
}

void CFireKeyDlg::CreateControls(const RECT&) {
  AddDialogControls(*this, kFireKeyDialogControls);
  first_ = CreateDialogEdit(hwnd_, *FindDialogControl(kFireKeyDialogControls, kFireKeyFirstBox),
                            std::u16string(kFireKeyFirstPreset), editFont_);
  second_ = CreateDialogEdit(hwnd_, *FindDialogControl(kFireKeyDialogControls, kFireKeySecondBox),
                             std::u16string(kFireKeySecondPreset), editFont_);
}

BOOL CFireKeyDlg::OnInitDialog() {
  const BOOL result = CSmallDialog::OnInitDialog();
  SetTimer(hwnd_, kCheckTimer, kFireKeyCheckTimerMs, nullptr);
  if (first_ != nullptr) SetFocus(first_);
  return result;
}

void CFireKeyDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_);
  DrawControls(dc, client);
}

void CFireKeyDlg::CheckBoxes() {
  // The check's own warning runs a loop in which the timer goes on ticking.
  if (warning_) return;
  const FireKeyCheck check = CheckFireKeyBoxes(EditText(first_), EditText(second_));
  if (check.firstText) SetWindowTextW(first_, Wide(*check.firstText));
  if (check.secondText) SetWindowTextW(second_, Wide(*check.secondText));
  warning_ = true;
  for (int message : check.messages) ShowDialogAttention(hwnd_, message);
  warning_ = false;
}

void CFireKeyDlg::OnOkClicked() {
  const FireKeyOk ok = FireKeyDialogOk(EditText(first_), EditText(second_));
  if (!ok.close) {
    if (ok.message != 0) ShowDialogAttention(hwnd_, ok.message);
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
  if (msg.message == WM_CHAR && (msg.hwnd == first_ || msg.hwnd == second_)) {
    // The warning does not take the character away.
    const int warning = NotADigitWarning(static_cast<char16_t>(msg.wParam));
    if (warning != 0) ShowDialogAttention(hwnd_, warning);
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
      if (reinterpret_cast<HWND>(lParam) == first_ || reinterpret_cast<HWND>(lParam) == second_)
        return PaintEditColours(wParam);
      break;
    case WM_DESTROY: KillTimer(hwnd_, kCheckTimer); break;
    default: break;
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
