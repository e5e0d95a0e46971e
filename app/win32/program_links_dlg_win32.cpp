#include "app/win32/program_links_dlg_win32.h"

#include <commctrl.h>

#include "app/win32/ui_scale_scope_win32.h"
#include "macro/win32/dialog_table_win32.h"
#include "ui/control_codes.h"
#include "ui/file_dialog.h"
#include "ui/win32/common_controls_win32.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// The row's tool in the tooltip: its number, counted from 1.
UINT_PTR ToolOf(int row) { return static_cast<UINT_PTR>(row) + 1; }

// The version-5 layout: the tooltip of either common-controls version takes it.
TOOLINFOW ToolInfo(HWND dialog, int row) {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = dialog;
  tool.uId = ToolOf(row);
  return tool;
}

}  // namespace

CProgramLinksDlg::CProgramLinksDlg(ProgramLinksDialog& dialog, HWND parent)
    : CSmallDialog(parent, kProgramLinksDialogWidth, kProgramLinksDialogHeight), dialog_(dialog) {}

CProgramLinksDlg::~CProgramLinksDlg() = default;

void CProgramLinksDlg::CreateControls(const RECT&) {
  AddTableControls(*this, kProgramLinksDialogControls);
  if (auto* title = dynamic_cast<CStaticText*>(FindControl(kProgramLinksTitleId))) title->SetCaption(dialog_.title());
  for (int row = 0; row < kProgramLinkCount; ++row) {
    if (CControlBase* browse = FindControl(kProgramBrowseFirstId + row))
      browse->SetText(ProgramLinksText(kStringBrowse));
    if (CControlBase* remove = FindControl(kProgramRemoveFirstId + row))
      remove->SetText(ProgramLinksText(kStringRemoveLink));
  }
}

BOOL CProgramLinksDlg::OnInitDialog() {
  const BOOL result = CSmallDialog::OnInitDialog();
  CreateTips();
  ShowRows();
  return result;
}

void CProgramLinksDlg::CreateTips() {
  // A class of the system's common controls; without them there are no
  // tips, and the rows still work.
  EnsureCommonControls();
  tips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), nullptr));
  if (!tips_) return;
  // Long paths wrap instead of running off the screen.
  SendMessageW(tips_.get(), TTM_SETMAXTIPWIDTH, 0, MulDiv(width_, 3, 2));
  for (int row = 0; row < kProgramLinkCount; ++row) {
    TOOLINFOW tool = ToolInfo(hwnd_, row);
    if (const CControlBase* name = FindControl(kProgramNameFirstId + row)) tool.rect = name->GetRect();
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::u16string CProgramLinksDlg::TipOf(int row) const {
  if (!tips_) return {};
  std::wstring text(32768, L'\0');
  TOOLINFOW tool = ToolInfo(hwnd_, row);
  tool.lpszText = text.data();
  SendMessageW(tips_.get(), TTM_GETTEXTW, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(&tool));
  return FromWide(text.c_str());
}

void CProgramLinksDlg::ShowRows() {
  for (int row = 0; row < kProgramLinkCount; ++row) {
    if (auto* name = dynamic_cast<CStaticText*>(FindControl(kProgramNameFirstId + row))) {
      name->SetCaption(dialog_.RowText(row));
      name->SetColour(dialog_.RowUsed(row) ? kTextHover : kTextNormal);
    }
    if (tips_) {
      const std::u16string tip = dialog_.RowTip(row);
      TOOLINFOW tool = ToolInfo(hwnd_, row);
      tool.lpszText = const_cast<wchar_t*>(Wide(tip));
      SendMessageW(tips_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CProgramLinksDlg::OnRowButton(const ProgramLinksDialog::RowButton& button) {
  if (button.kind == ProgramLinksDialog::RowButton::Kind::Remove) {
    dialog_.Remove(button.row);
  } else if (const auto file = RunFileDialog(dialog_.BrowseRequest())) {
    dialog_.Browsed(button.row, *file);
  }
  ShowRows();
}

bool CProgramLinksDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    EndReleasing(true);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
  return CSmallDialog::PreTranslateMessage(msg);
}

void CProgramLinksDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawCommonFrame(dc, client, background_, frameFile_);
  DrawControls(dc, client);
}

MessageResult CProgramLinksDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, true)) return 0;
  if (lParam == kCodeClicked) {
    if (const auto button = ProgramLinksDialog::RowButtonOf(static_cast<int>(message))) {
      OnRowButton(*button);
      return 0;
    }
  }
  if (tips_ && (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)) {
    // The rows are drawn by the dialog itself: the tooltip learns of the
    // pointer from here.
    MSG relayed{hwnd_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageW(tips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

bool RunProgramLinksDialog(HWND owner, ProgramLinksDialog& dialog, float scale) {
  UiScaleScope scope(scale);
  CProgramLinksDlg window(dialog, owner);
  return window.DoModal() == IDOK;
}

}  // namespace zeltra::win32
