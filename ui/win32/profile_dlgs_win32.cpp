#include "ui/win32/profile_dlgs_win32.h"

#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/small_dialog_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

CProfileNameDlg::CProfileNameDlg(HWND parent, int titleString, const DesignRect& editPlace, std::u16string initialText)
    : CSmallDialog(parent, kCommonDialogWidth, kCommonDialogHeight),
      titleString_(titleString),
      editPlace_(editPlace),
      initialText_(std::move(initialText)) {}

CProfileNameDlg::~CProfileNameDlg() = default;

void CProfileNameDlg::CreateControls(const RECT&) {
  AddCommonButtons(*this, true);
  auto title = std::make_unique<CStaticText>(hwnd_, kProfileTitleId, ScaledWindowRect(kCommonTitle), u"", kTextNormal,
                                             DT_LEFT | DT_SINGLELINE);
  title->SetCaption(LanguageString(titleString_));
  AddControl(0, std::move(title));
  CreateEdit();
}

void CProfileNameDlg::CreateEdit() {
  const RECT r = ScaledWindowRect(editPlace_);
  edit_.reset(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProfileNameEditId)),
                              GetModuleHandleW(nullptr), nullptr));
  if (!edit_) return;
  SendMessageW(edit_.get(), WM_KEYDOWN, VK_END, 0);
  editFont_ = CreateEditBoxFont(edit_.get(), EditBoxFontTenths(Ui().scale, Ui().textScale), kEditBoxFontFace);
  if (editFont_) SendMessageW(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), FALSE);
  SetWindowTextW(edit_.get(), Wide(initialText_));
  SetFocus(edit_.get());
}

std::u16string CProfileNameDlg::EditText() const {
  if (!edit_) return {};
  const int length = GetWindowTextLengthW(edit_.get());
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int read = GetWindowTextW(edit_.get(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  return FromWide(text);
}

void CProfileNameDlg::OnConfirm() {
  const ProfileNameOutcome outcome = Confirm(EditText());
  if (outcome.warning != 0) {
    CAttentionDlg warning(kProfileWarningTitle, LanguageString(outcome.warning), hwnd_);
    warning.DoModal();
    if (outcome.staysOpen) {
      if (edit_) SetFocus(edit_.get());
      return;
    }
  }
  EndReleasing(outcome.accepted);
}

bool CProfileNameDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    OnConfirm();
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
  return CSmallDialog::PreTranslateMessage(msg);
}

void CProfileNameDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_, frameFile_);
  DrawControls(dc, client);
}

MessageResult CProfileNameDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, false)) return 0;
  if (IsClick(message, lParam, kIdOk)) {
    OnConfirm();
    return 0;
  }
  if (message == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lParam) == edit_.get()) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
