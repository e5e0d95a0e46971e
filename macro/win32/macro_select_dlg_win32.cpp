#include "macro/win32/macro_select_dlg_win32.h"

#include <windowsx.h>

#include "macro/assignment_controller.h"
#include "macro/win32/dialog_table_win32.h"
#include "macro/win32/macro_lists_win32.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"

namespace zeltra::win32 {

namespace {
constexpr COLORREF kTreeSurround = RGB(148, 148, 148);
}

CMacroSelectDlg::CMacroSelectDlg(MacroLibrary& library, HWND parent, HWND resultWindow)
    : CSmallDialog(parent, kMacroSelectDialogWidth, kMacroSelectDialogHeight),
      library_(library),
      resultWindow_(resultWindow) {
  SetBackgroundImage(SkinPath(L"skins\\Frame_Macro_Manager.bmp"));
}

void CMacroSelectDlg::CreateControls(const RECT&) {
  AddTableControls(*this, kMacroSelectDialogControls, TableOptions{&library_, 0, kTextNormal});
  auto* tree = dynamic_cast<CEditShowList*>(FindControl(kTreeListId));
  chooser_.emplace(library_, static_cast<MacroChooserHost&>(*this), tree != nullptr ? tree->model().visibleRows() : 1);
}

BOOL CMacroSelectDlg::OnInitDialog() {
  const BOOL result = CSmallDialog::OnInitDialog();
  if (chooser_) chooser_->Open();
  return result;
}

void CMacroSelectDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  const float s = Ui().scale;
  frameFile_.Draw(dc, SkinPath(L"skins\\Frame_Macro_Manager.bmp"), kMacroSelectDialogWidth, kMacroSelectDialogHeight, s);
  const auto& g = kMacroSelectTreeSurround;
  FillSolid(dc, RECT{Scaled(g[0], s), Scaled(g[1], s), Scaled(g[2], s), Scaled(g[3], s)}, kTreeSurround);
  DrawControls(dc, client);
}

bool CMacroSelectDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return true;
  return CSmallDialog::PreTranslateMessage(msg);
}

MessageResult CMacroSelectDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!chooser_) return CSmallDialog::OnMessage(message, wParam, lParam);
  const int code = static_cast<int>(lParam);
  switch (message) {
    case kTreeListId:
      chooser_->OnTreeNotify(code);
      return 0;
    case kTreeScrollBarId: {
      auto* bar = dynamic_cast<CVScrollBar*>(FindControl(kTreeScrollBarId));
      chooser_->OnScrollBarNotify(code, static_cast<int>(wParam), bar != nullptr ? bar->position() : 0);
      return 0;
    }
    case kIdOk:
      if (code == kCodeClicked) chooser_->OnOk();
      return 0;
    case kIdClose:
      if (code == kCodeClicked) chooser_->OnClose();
      return 0;
    case WM_MOUSEWHEEL:
      chooser_->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_MOUSEMOVE: {
      // A dragged thumb follows the pointer anywhere over the dialog.
      auto* bar = dynamic_cast<CVScrollBar*>(FindControl(kTreeScrollBarId));
      if (bar != nullptr && bar->dragging() &&
          bar->FollowDrag(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) != 0)
        bar->Invalidate();
      break;
    }
    default: break;
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

void CMacroSelectDlg::ShowList(int listId, int firstRow) {
  CControlBase* list = FindControl(listId);
  if (list == nullptr) return;
  if (auto* rows = dynamic_cast<ListModel*>(&list->model())) rows->SetFirstRow(firstRow);
  list->Invalidate();
}

void CMacroSelectDlg::SetScrollBar(int barId, const ScrollInfo& info) {
  if (auto* bar = dynamic_cast<CVScrollBar*>(FindControl(barId))) {
    bar->SetScrollInfo(info.position, info.page, info.range);
    bar->Invalidate();
  }
}

void CMacroSelectDlg::RepaintControl(int id) {
  if (CControlBase* control = FindControl(id)) control->Invalidate();
}

void CMacroSelectDlg::RepaintAll() { InvalidateRect(hwnd_, nullptr, FALSE); }

void CMacroSelectDlg::ShowAttention(int message) {
  CAttentionDlg attention(LanguageString(kStringAttentionTitle), LanguageString(message), hwnd_);
  attention.DoModal();
}

void CMacroSelectDlg::SendMacroChosen() {
  chose_ = true;
  HWND target = resultWindow_ != nullptr ? resultWindow_ : GetWindow(hwnd_, GW_OWNER);
  if (target != nullptr) SendMessageW(target, kMacroChosenMessage, 0, 0);
}

void CMacroSelectDlg::End() { EndReleasing(chose_); }

}  // namespace zeltra::win32
