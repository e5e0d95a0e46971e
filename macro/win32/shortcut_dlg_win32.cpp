#include "macro/win32/shortcut_dlg_win32.h"

#include <array>

#include "macro/assignment_controller.h"
#include "macro/keyboard_hook.h"
#include "macro/win32/dialog_table_win32.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"

namespace zeltra::win32 {

namespace {

constexpr std::array<int, 4> kModifierBoxes{kShortcutCtrlBox, kShortcutShiftBox, kShortcutAltBox, kShortcutWinBox};

bool IsBox(UINT id) { return id >= kShortcutNoModifiersBox && id <= kShortcutWinBox; }

}  // namespace

CShortcutDlg::CShortcutDlg(HWND parent, HWND resultWindow)
    : CSmallDialog(parent, kShortcutDialogWidth, kShortcutDialogHeight), resultWindow_(resultWindow) {}

CShortcutDlg::~CShortcutDlg() { hook_.StopHook(); }

void CShortcutDlg::CreateControls(const RECT&) {
  AddTableControls(*this, kShortcutDialogControls);
  // The key's name stands on the white field.
  if (auto* field = dynamic_cast<CStaticText*>(FindControl(kShortcutKeyField))) field->SetColour(RGB(0, 0, 0));
}

BOOL CShortcutDlg::OnInitDialog() {
  const BOOL result = CSmallDialog::OnInitDialog();
  hook_.StartHook(hwnd_);
  return result;
}

void CShortcutDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_, frameFile_);
  const float s = Ui().scale;
  const auto& f = kShortcutKeyFieldBackground;
  FillSolid(dc, RECT{Scaled(f[0], s), Scaled(f[1], s), Scaled(f[2], s), Scaled(f[3], s)}, RGB(255, 255, 255));
  DrawControls(dc, client);
}

void CShortcutDlg::OnBoxClicked(int id) {
  auto* box = dynamic_cast<CCheckButton*>(FindControl(id));
  if (box == nullptr) return;
  state_.SetBox(id, box->checked());
  if (id != kShortcutNoModifiersBox) return;
  for (int modifier : kModifierBoxes) {
    if (CControlBase* control = FindControl(modifier)) {
      control->SetDisabled(state_.ModifierBoxesEnabled() ? 0 : 1);
      control->Invalidate();
    }
  }
}

void CShortcutDlg::OnOkClicked() {
  if (const auto result = state_.Ok()) {
    HWND target = resultWindow_ != nullptr ? resultWindow_ : GetWindow(hwnd_, GW_OWNER);
    if (target != nullptr)
      SendMessageW(target, kKeyCombinationResultMessage, 0, reinterpret_cast<LPARAM>(&*result));
  }
  hook_.StopHook();
  EndReleasing(true);
}

MessageResult CShortcutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kKeyHookMessage) {
    const KeyHookEvent event = DecodeKeyHookMessage(wParam, static_cast<std::uint64_t>(lParam));
    if (state_.OnKey(event.virtualKey)) {
      if (auto* field = dynamic_cast<CStaticText*>(FindControl(kShortcutKeyField))) field->SetCaption(state_.keyName());
    }
    return 0;
  }
  if (IsBox(message) && lParam == kCodeClicked) {
    OnBoxClicked(static_cast<int>(message));
    return 0;
  }
  if (IsClick(message, lParam, kIdOk)) {
    OnOkClicked();
    return 0;
  }
  if (EndOnButtons(message, lParam, false)) {
    hook_.StopHook();
    return 0;
  }
  // Every other way out (Enter, Esc, the application closing its dialogs)
  // destroys the window: no key may reach it afterwards.
  if (message == WM_DESTROY) hook_.StopHook();
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
