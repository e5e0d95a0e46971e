#include "macro/win32/macro_edit_dlgs_win32.h"

#include "macro/macro_manager.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

constexpr COLORREF kCaptionColour = RGB(82, 146, 254);  // as the attention dialog's title line

void ShowNotice(HWND owner, int message) {
  CAttentionDlg notice(LanguageString(kStringAttentionTitle), LanguageString(message), owner);
  notice.DoModal();
}

bool IsKeyDown(const MSG& msg, WPARAM key) { return msg.message == WM_KEYDOWN && msg.wParam == key; }

}  // namespace

CMacroEditDlg::CMacroEditDlg(MacroEditDialog kind, HWND parent)
    : CSmallDialog(parent, kMacroEditDialogWidth, kMacroEditDialogHeight), kind_(kind) {}

void CMacroEditDlg::CreateControls(const RECT&) {
  const auto controls = MacroEditDialogControls(kind_);
  AddTableControls(*this, controls, TableOptions{nullptr, 0, kCaptionColour});
  for (const DialogControl& control : controls) {
    if (control.kind != ControlKind::kEditBox) continue;
    if (edit_.Create(hwnd_, control.id, TableRect(control.rect), ES_CENTER, InitialText())) {
      edit_.PutCaretAtEnd();
      SetFocus(edit_.hwnd());
    }
  }
}

void CMacroEditDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  // Every dialog of this size wears the notice frame; the key and delay
  // dialogs put their field on white.
  frameFile_.Draw(dc, SkinPath(Wide(std::u16string(kMacroEditDialogFrame))), kMacroEditDialogWidth,
                kMacroEditDialogHeight, Ui().scale);
  if (MacroEditDialogDrawsFrame(kind_)) {
    const auto& f = kMacroEditFieldBackground;
    FillSolid(dc, RECT{Scaled(f[0]), Scaled(f[1]), Scaled(f[2]), Scaled(f[3])}, RGB(255, 255, 255));
  }
  DrawControls(dc, client);
}

MessageResult CMacroEditDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, false)) return 0;
  if (IsClick(message, lParam, kIdOk)) {
    OnConfirm();
    return 0;
  }
  if (message == WM_CTLCOLOREDIT && edit_.hwnd() != nullptr && reinterpret_cast<HWND>(lParam) == edit_.hwnd()) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

bool CMacroEditDlg::PreTranslateMessage(MSG& msg) {
  const DialogKeys keys = MacroEditDialogKeys(kind_);
  if (IsKeyDown(msg, VK_RETURN) && keys.enter == DialogKeyRule::kOk) {
    OnConfirm();
    return true;
  }
  if (IsKeyDown(msg, VK_ESCAPE) && keys.escape == DialogKeyRule::kSwallow) return true;
  if (IsKeyDown(msg, VK_RETURN) && keys.enter == DialogKeyRule::kSwallow) return true;
  // The warning comes first; the character still reaches the box.
  if (msg.message == WM_CHAR && edit_.hwnd() != nullptr && msg.hwnd == edit_.hwnd())
    OnEditChar(static_cast<char16_t>(msg.wParam));
  return CSmallDialog::PreTranslateMessage(msg);
}

// --- the key dialog -----------------------------------------------------------

CActionKeyModifyDlg::CActionKeyModifyDlg(std::uint8_t code, HWND parent)
    : CMacroEditDlg(MacroEditDialog::kKey, parent), state_(code) {}

CActionKeyModifyDlg::~CActionKeyModifyDlg() { hook_.StopHook(); }

BOOL CActionKeyModifyDlg::OnInitDialog() {
  const BOOL result = CMacroEditDlg::OnInitDialog();
  hook_.StartHook(hwnd_);
  return result;
}

void CActionKeyModifyDlg::CreateControls(const RECT& client) {
  CMacroEditDlg::CreateControls(client);
  // The key's name sits centred on the white field, as the edit boxes' texts do.
  auto& controls = groups_[0];
  for (auto& control : controls) {
    if (control->id() != kMacroEditKeyField) continue;
    auto field = std::make_unique<CStaticText>(hwnd_, kMacroEditKeyField, control->GetRect(), u"", RGB(0, 0, 0),
                                               DT_CENTER | DT_SINGLELINE);
    field->SetCaption(state_.name());
    control = std::move(field);
  }
}

MessageResult CActionKeyModifyDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kKeyHookMessage) {
    if (state_.OnKey(static_cast<std::uint8_t>(wParam & 0xFF))) {
      if (auto* field = dynamic_cast<CStaticText*>(FindControl(kMacroEditKeyField))) field->SetCaption(state_.name());
    }
    return 0;
  }
  if (message == WM_DESTROY) hook_.StopHook();
  return CMacroEditDlg::OnMessage(message, wParam, lParam);
}

bool CActionKeyModifyDlg::PreTranslateMessage(MSG& msg) {
  // Enter and Esc end the dialog the platform's way: nothing is taken.
  if (IsKeyDown(msg, VK_RETURN)) {
    hook_.StopHook();
    EndReleasing(true);
    return true;
  }
  if (IsKeyDown(msg, VK_ESCAPE)) {
    hook_.StopHook();
    EndReleasing(false);
    return true;
  }
  return CMacroEditDlg::PreTranslateMessage(msg);
}

void CActionKeyModifyDlg::OnConfirm() {
  hook_.StopHook();
  chosen_ = state_.code();
  EndReleasing(true);
}

void CActionKeyModifyDlg::OnOK() {
  hook_.StopHook();
  CMacroEditDlg::OnOK();
}

void CActionKeyModifyDlg::OnCancel() {
  hook_.StopHook();
  chosen_.reset();
  CMacroEditDlg::OnCancel();
}

// --- the delay dialog ---------------------------------------------------------

CActionTimeModifyDlg::CActionTimeModifyDlg(std::u16string preset, HWND parent)
    : CMacroEditDlg(MacroEditDialog::kDelay, parent), preset_(std::move(preset)) {}

void CActionTimeModifyDlg::OnConfirm() {
  result_ = edit_.Text();
  EndReleasing(true);
}

void CActionTimeModifyDlg::OnEditChar(char16_t c) {
  if (const int warning = NotADigitWarning(c)) ShowNotice(hwnd_, warning);
}

// --- the name dialogs ---------------------------------------------------------

CMacroKeyOrFolderNameDlg::CMacroKeyOrFolderNameDlg(bool folder, HWND parent)
    : CMacroEditDlg(folder ? MacroEditDialog::kFolderName : MacroEditDialog::kMacroName, parent) {}

void CMacroKeyOrFolderNameDlg::OnConfirm() {
  result_ = edit_.Text();
  EndReleasing(true);
}

CMacroKeyRenameDlg::CMacroKeyRenameDlg(std::u16string current, HWND parent)
    : CMacroEditDlg(MacroEditDialog::kRename, parent), current_(std::move(current)) {}

void CMacroKeyRenameDlg::OnConfirm() {
  const std::u16string typed = edit_.Text();
  if (!RenameDialogAccepts(current_, typed)) {
    EndReleasing(false);
    return;
  }
  result_ = typed;
  EndReleasing(true);
}

}  // namespace zeltra::win32
