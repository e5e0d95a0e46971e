#include "macro/win32/macro_manager_dlg_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "macro/macro_manager_layout.h"
#include "macro/win32/macro_edit_dlgs_win32.h"
#include "macro/win32/macro_lists_win32.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/file_dialog.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "macro/win32/popup_menus_win32.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

constexpr int kPanelMargin = 14;  // design units between the panel's inner edge and the dialog's

COLORREF Colour(std::uint32_t rgb) { return static_cast<COLORREF>(rgb); }  // red in the low byte, as COLORREF

bool IsRepeatRadio(UINT id) { return id == kRepeatRuleControl1 || id == kRepeatRuleControl4 || id == kRepeatRuleControl2; }

}  // namespace

CMacroManagerDlg::CMacroManagerDlg(MacroLibrary& library, const ProfileRecord& profile,
                                   std::filesystem::path libraryPath, HWND parent)
    : CDlgBase(IDD_SMALL_DIALOG, parent),
      library_(library),
      rules_(library, profile, std::move(libraryPath), *this, Ui().scale) {
  width_ = Scaled(kMacroManagerWidth);
  height_ = Scaled(kMacroManagerHeight);
}

CMacroManagerDlg::~CMacroManagerDlg() {
  // Whatever way the dialog went, no key reaches a window that is gone.
  hook_.StopHook();
  countBox_.Destroy();
}

BOOL CMacroManagerDlg::OnInitDialog() {
  const BOOL result = CDlgBase::OnInitDialog();
  SetBackgroundImage(SkinPath(Wide(std::u16string(kSkinMacroFrame))));
  rules_.Open();
  return result;
}

void CMacroManagerDlg::CreateControls(const RECT&) {
  AddTableControls(*this, kMacroManagerControls, TableOptions{&library_, static_cast<int>(kInsertComboMessage)});
  // Labels longer than the right-hand panel end in an ellipsis inside it.
  const int panelRight = Scaled(kMacroManagerWidth - kPanelMargin);
  for (const auto& control : group(0)) {
    if (dynamic_cast<CStaticText*>(control.get()) == nullptr) continue;
    const RECT r = control->GetRect();
    if (r.right > panelRight) control->SetRect(r.left, r.top, panelRight, r.bottom);
  }
  countBoxBrush_.reset(CreateSolidBrush(Colour(kCountBoxBackColour)));
  // Hidden until the repeat rule with a count is chosen.
  countBox_.Create(hwnd_, kManagerCountBox, ToRect(CountBoxRect(false, Ui().scale)), ES_CENTER, u"");
}

void CMacroManagerDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  frameFile_.Draw(dc, SkinPath(Wide(std::u16string(kSkinMacroFrame))), kMacroManagerWidth, kMacroManagerHeight,
                Ui().scale);
  for (const auto& s : kManagerSurrounds) {
    FillSolid(dc, RECT{Scaled(s[0]), Scaled(s[1]), Scaled(s[2]), Scaled(s[3])}, Colour(kManagerSurroundColour));
  }
  DrawControls(dc, client);
}

// --- messages -----------------------------------------------------------------

MessageResult CMacroManagerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      const MessageResult result = CDlgBase::OnMessage(message, wParam, lParam);
      // Pending popup operations run once the popup has gone from the screen.
      if (!ended_) rules_.OnPainted();
      return result;
    }
    case WM_MOUSEMOVE: {
      const MessageResult result = CDlgBase::OnMessage(message, wParam, lParam);
      OnMouseMoveAfterBase(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return result;
    }
    case WM_MOUSEWHEEL: {
      POINT pointer{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(hwnd_, &pointer);
      rules_.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, UiPoint{pointer.x, pointer.y});
      return 0;
    }
    case WM_CLOSE:
      // The application closes every open dialog: the same as the cross.
      if (!ended_) rules_.Close();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kManagerCountBox && HIWORD(wParam) == EN_CHANGE) {
        if (!settingCountText_) rules_.OnCountBoxChanged(countBox_.Text());
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == countBox_.hwnd() && countBox_.hwnd() != nullptr) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, Colour(kCountBoxTextColour));
        SetBkColor(dc, Colour(kCountBoxBackColour));
        return reinterpret_cast<LRESULT>(countBoxBrush_.get());
      }
      break;
    case kInsertComboMessage:
      if (lParam == kCodeClicked && !ended_) rules_.actions().OnInsertCombo(Ui().scale);
      return 0;
    case kKeyHookMessage:
      // Keys from the hook while recording, or a popup's closing notice (wParam 0).
      rules_.actions().OnHookMessage(wParam, static_cast<std::uint64_t>(lParam));
      return 0;
    case kInsertPopupResultMessage:
      if (const PopupResult* chosen = PopupResultOf(lParam)) {
        OnPopupGone(PopupClass::kActionInsert);
        rules_.actions().OnInsertChosen(chosen->bytes[0]);
      }
      return 0;
    case kContextPopupResultMessage:
      if (const PopupResult* chosen = PopupResultOf(lParam)) rules_.OnContextPopupChosen(chosen->bytes[0]);
      return 0;
    default:
      break;
  }
  if (message == DismissalMessage(PopupKind(PopupClass::kActionInsert))) {
    OnPopupGone(PopupClass::kActionInsert);
    ClosePopup(PopupClass::kActionInsert);
    return 0;
  }
  if (message == DismissalMessage(PopupKind(PopupClass::kMacroList))) {
    ClosePopup(PopupClass::kMacroList);
    return 0;
  }
  if (message >= kFirstControlId && message <= kLastManagerControlId && OnControlNotify(message, wParam, lParam))
    return 0;
  return CDlgBase::OnMessage(message, wParam, lParam);
}

bool CMacroManagerDlg::OnControlNotify(UINT id, WPARAM wParam, LPARAM code) {
  if (ended_) return true;
  if (id == kTreeListId) {
    const auto* point = code == kCodeRightReleased ? reinterpret_cast<const POINT*>(wParam) : nullptr;
    rules_.OnTreeNotify(static_cast<int>(code), point ? UiPoint{point->x, point->y} : UiPoint{});
    return true;
  }
  if (id == kActionListId) {
    const auto* list = dynamic_cast<CImageShowList*>(FindControl(kActionListId));
    rules_.actions().OnActionListNotify(static_cast<int>(code), list ? list->model().selectedRow() : -1);
    return true;
  }
  if (id == kTreeScrollBarId || id == kActionScrollBarId) {
    const auto* bar = dynamic_cast<CVScrollBar*>(FindControl(static_cast<int>(id)));
    rules_.OnScrollBarNotify(static_cast<int>(id), static_cast<int>(code), static_cast<int>(wParam),
                             bar ? bar->position() : 0);
    return true;
  }
  if (code != kCodeClicked) return false;
  if (IsRepeatRadio(id)) {
    rules_.OnRepeatRule(static_cast<int>(id));
    return true;
  }
  switch (id) {
    case kIdClose: rules_.Close(); return true;
    case kManagerNewMacroButton: rules_.OnNewMacro(); return true;
    case kManagerDeleteItemButton: rules_.OnDeleteItem(); return true;
    case kManagerModifyButton: rules_.actions().OnModify(); return true;
    case kManagerDeleteActionButton: rules_.actions().OnDeleteAction(); return true;
    case kManagerRecordButton:
      if (const auto* record = dynamic_cast<CCheckButton*>(FindControl(kManagerRecordButton)))
        rules_.actions().OnRecordToggled(record->checked());
      return true;
    case kManagerDelayBox:
      if (const auto* box = dynamic_cast<CCheckButton*>(FindControl(kManagerDelayBox)))
        rules_.actions().SetRecordDelays(box->checked());
      return true;
    default: return false;
  }
}

void CMacroManagerDlg::OnMouseMoveAfterBase(UINT flags, int x, int y) {
  // A dragged thumb follows the pointer outside its bar as well.
  for (int id : {kActionScrollBarId, kTreeScrollBarId}) {
    auto* bar = dynamic_cast<CVScrollBar*>(FindControl(id));
    if (bar != nullptr && bar->dragging() && bar->FollowDrag(flags, x, y) != 0) bar->Invalidate();
  }
}

bool CMacroManagerDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return true;
  if (msg.message == WM_CHAR && !rules_.actions().recording()) rules_.OnChar(static_cast<char16_t>(msg.wParam));
  return CDlgBase::PreTranslateMessage(msg);
}

// --- the combo's pressed look -----------------------------------------------

void CMacroManagerDlg::OnPopupGone(PopupClass popup) {
  if (popup != PopupClass::kActionInsert) return;
  if (auto* combo = dynamic_cast<CComboButton*>(FindControl(kManagerInsertCombo))) {
    combo->SetPopupOpen(false);
    combo->Invalidate();
  }
}

// --- MacroManagerHost -----------------------------------------------------------

void CMacroManagerDlg::ShowList(int listId, int firstRow) {
  if (auto* control = FindControl(listId)) {
    if (auto* list = dynamic_cast<ListModel*>(&control->model())) list->SetFirstRow(firstRow);
    // The highlighted row follows the library's selection, also when an
    // operation (a new or imported macro, a delete) moved it.
    if (auto* tree = dynamic_cast<TreeListModel*>(&control->model()))
      tree->SetSelectedRow(library_.selectedLocation.stage >= 0 ? library_.LocationToRow(library_.selectedLocation) : -1);
    control->Invalidate();
  }
}

void CMacroManagerDlg::SetScrollBar(int barId, const ScrollInfo& info) {
  if (auto* bar = dynamic_cast<CVScrollBar*>(FindControl(barId))) {
    bar->SetScrollInfo(info.position, info.page, info.range);
    bar->Invalidate();
  }
}

void CMacroManagerDlg::RepaintControl(int id) {
  if (auto* control = FindControl(id)) control->Invalidate();
}

void CMacroManagerDlg::RepaintAll() {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CMacroManagerDlg::ShowAttention(int message) {
  CAttentionDlg notice(LanguageString(kStringAttentionTitle), LanguageString(message), hwnd_);
  notice.DoModal();
}

bool CMacroManagerDlg::Confirm(int message) {
  CAttentionDlg question(LanguageString(kStringAttentionTitle), LanguageString(message), hwnd_);
  return question.DoModal() == IDOK;
}

std::optional<std::u16string> CMacroManagerDlg::RunNameDialog(MacroEditDialog dialog, std::u16string_view preset) {
  if (dialog == MacroEditDialog::kRename) {
    CMacroKeyRenameDlg rename{std::u16string(preset), hwnd_};
    if (rename.DoModal() != IDOK) return std::nullopt;
    return rename.result();
  }
  CMacroKeyOrFolderNameDlg name(dialog == MacroEditDialog::kFolderName, hwnd_);
  if (name.DoModal() != IDOK) return std::nullopt;
  return name.result();
}

std::optional<std::u16string> CMacroManagerDlg::RunDelayDialog(std::u16string_view preset) {
  CActionTimeModifyDlg delay{std::u16string(preset), hwnd_};
  if (delay.DoModal() != IDOK) return std::nullopt;
  return delay.result();
}

KeyDialogResult CMacroManagerDlg::RunKeyDialog(std::uint8_t code) {
  CActionKeyModifyDlg key(code, hwnd_);
  const bool ok = key.DoModal() == IDOK;
  return KeyDialogResult{ok, ok ? key.chosen() : std::nullopt};
}

std::optional<std::filesystem::path> CMacroManagerDlg::RunFileDialog(const MacroFileDialog& dialog) {
  return zeltra::RunFileDialog(MacroFileDialogRequest(dialog));
}

void CMacroManagerDlg::OpenPopup(PopupClass popup, const PopupOptions& options, UiPoint at) {
  POINT screen{at.x, at.y};
  ClientToScreen(hwnd_, &screen);
  std::unique_ptr<CWndPopup> window;
  UINT result = 0;
  if (popup == PopupClass::kMacroList) {
    window = std::make_unique<CMacroListPopup>(options.macroListContext);
    result = kContextPopupResultMessage;
  } else if (popup == PopupClass::kActionInsert) {
    window = std::make_unique<CComboActionInsertPopup>();
    result = kInsertPopupResultMessage;
  } else {
    return;
  }
  const bool opened = win32::OpenPopup(*this, PopupSlotOf(popup), std::move(window), screen, result, 0) != nullptr;
  if (opened && popup == PopupClass::kActionInsert) {
    if (auto* combo = dynamic_cast<CComboButton*>(FindControl(kManagerInsertCombo))) {
      combo->SetPopupOpen(true);
      combo->Invalidate();
    }
  }
}

void CMacroManagerDlg::ClosePopup(PopupClass popup) { CDlgBase::ClosePopup(PopupSlotOf(popup)); }

void CMacroManagerDlg::StartHook() {
  // An insert that ran while the application closed the manager does not
  // bring the hook back.
  if (!ended_) hook_.StartHook(hwnd_);
}

void CMacroManagerDlg::StopHook() { hook_.StopHook(); }

void CMacroManagerDlg::EnableControls(bool enabled) {
  for (int id : kControlsDisabledWhileRecording) {
    if (id == kManagerCountBox) {
      if (countBox_.hwnd() != nullptr) EnableWindow(countBox_.hwnd(), enabled ? TRUE : FALSE);
      continue;
    }
    if (CControlBase* control = FindControl(id)) {
      control->SetDisabled(enabled ? 0 : 1);
      control->Invalidate();
    }
  }
}

void CMacroManagerDlg::SetRecordButton(bool on) {
  if (auto* record = dynamic_cast<CCheckButton*>(FindControl(kManagerRecordButton))) {
    record->SetChecked(on);
    record->Invalidate();
  }
}

void CMacroManagerDlg::SetRepeatRule(int radioId) {
  if (auto* radio = dynamic_cast<CRadioButton*>(FindControl(radioId))) {
    SelectRadio(radio->model().radioBit());
  } else {
    SetRadioSelectionWord(RadioSelectionWord() & ~kRadioGroupMacroRepeat);
  }
  for (int id : {kRepeatRuleControl1, kRepeatRuleControl4, kRepeatRuleControl2}) RepaintControl(id);
}

void CMacroManagerDlg::ShowCountBox(bool shown, std::u16string_view text) {
  HWND box = countBox_.hwnd();
  if (box == nullptr) return;
  const RECT r = ToRect(CountBoxRect(shown, Ui().scale));
  MoveWindow(box, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  if (!shown) return;
  EnableWindow(box, TRUE);
  SetCountBoxTextQuietly(text);
  countBox_.SelectAll();
  SetFocus(box);
}

void CMacroManagerDlg::SetCountBoxText(std::u16string_view text) {
  SetCountBoxTextQuietly(text);
  countBox_.PutCaretAtEnd();
}

void CMacroManagerDlg::SetCountBoxTextQuietly(std::u16string_view text) {
  // Only what the user types is a change of the count.
  settingCountText_ = true;
  countBox_.SetText(std::u16string(text));
  settingCountText_ = false;
}

void CMacroManagerDlg::PutCountBoxCaretAtEnd() { countBox_.PutCaretAtEnd(); }

void CMacroManagerDlg::ShowMacro(const Macro* macro) {
  if (auto* list = dynamic_cast<CImageShowList*>(FindControl(kActionListId))) {
    list->model().SetMacro(macro);
    list->Invalidate();
  }
}

void CMacroManagerDlg::SelectAction(int row) {
  if (auto* list = dynamic_cast<CImageShowList*>(FindControl(kActionListId))) {
    list->model().SetSelectedRow(row);
    list->Invalidate();
  }
}

void CMacroManagerDlg::End() {
  ended_ = true;
  hook_.StopHook();
  CDlgBase::ClosePopup(PopupSlotOf(PopupClass::kMacroList));
  CDlgBase::ClosePopup(PopupSlotOf(PopupClass::kActionInsert));
  ReleaseControlImages();
  EndDialog(IDOK);
}

// ---------------------------------------------------------------------------

void RunMacroManager(HWND owner, MacroLibrary& library, const ProfileRecord& profile,
                     const std::filesystem::path& libraryPath) {
  CMacroManagerDlg manager(library, profile, libraryPath, owner);
  manager.DoModal();
}

}  // namespace zeltra::win32
