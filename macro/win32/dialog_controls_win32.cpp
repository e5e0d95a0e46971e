#include "macro/win32/dialog_controls_win32.h"

#include <memory>

#include "settings/language.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

std::filesystem::path Skin(std::u16string_view relative) {
  const std::wstring wide(relative.begin(), relative.end());
  return SkinPath(wide.c_str());
}

std::u16string TextOf(const DialogControl& control) {
  return control.text != 0 ? LanguageString(control.text) : std::u16string(control.label);
}

template <class T>
void SetLooks(T& control, const DialogControl& table) {
  if (!table.images[0].empty()) control.SetNormalImage(Skin(table.images[0]));
  if (!table.images[1].empty()) control.SetOverImage(Skin(table.images[1]));
}

std::unique_ptr<CControlBase> MakeControl(HWND hwnd, const DialogControl& c, MacroLibrary* library) {
  const RECT rect = DialogControlRect(c);
  switch (c.kind) {
    case ControlKind::kStaticText:
      return std::make_unique<CStaticText>(hwnd, c.id, rect, u"", kTextNormal, DT_LEFT | DT_SINGLELINE);
    case ControlKind::kImageButton: {
      auto button = std::make_unique<CImageButton>(hwnd, c.id, rect, TextOf(c));
      SetLooks(*button, c);
      return button;
    }
    case ControlKind::kCheckButton: {
      auto check = std::make_unique<CCheckButton>(hwnd, c.id, rect, TextOf(c));
      SetLooks(*check, c);
      if (!c.images[2].empty()) check->SetCheckedImage(Skin(c.images[2]));
      if (c.checkedText != 0) check->SetLookTexts(TextOf(c), LanguageString(c.checkedText));
      return check;
    }
    case ControlKind::kRadioButton: {
      auto radio = std::make_unique<CRadioButton>(hwnd, c.id, rect, TextOf(c));
      SetLooks(*radio, c);
      if (!c.images[2].empty()) radio->SetCheckedImage(Skin(c.images[2]));
      return radio;
    }
    case ControlKind::kComboButton: {
      auto combo = std::make_unique<CComboButton>(hwnd, c.id, rect, TextOf(c), c.id);
      SetLooks(*combo, c);
      return combo;
    }
    case ControlKind::kTreeList: {
      auto tree = std::make_unique<CEditShowList>(hwnd, rect, u"", library);
      if (!c.images[0].empty()) tree->SetOpenFolderImage(Skin(c.images[0]));
      if (!c.images[1].empty()) tree->SetClosedFolderImage(Skin(c.images[1]));
      return tree;
    }
    case ControlKind::kActionList: {
      auto list = std::make_unique<CImageShowList>(hwnd, rect, u"");
      if (!c.images[0].empty()) list->SetReleaseIcon(Skin(c.images[0]));
      if (!c.images[1].empty()) list->SetPressIcon(Skin(c.images[1]));
      if (!c.images[2].empty()) list->SetDelayIcon(Skin(c.images[2]));
      return list;
    }
    case ControlKind::kScrollBar: return std::make_unique<CVScrollBar>(hwnd, c.id, rect, u"");
    case ControlKind::kEditBox: return nullptr;
  }
  return nullptr;
}

}  // namespace

RECT DialogControlRect(const DialogControl& control) {
  const UiRect r = ScaleOriginAndSize(control.rect, Ui().scale);
  return RECT{r.left, r.top, r.right, r.bottom};
}

CControlBase* AddDialogControl(CDlgBase& dialog, const DialogControl& control, MacroLibrary* library) {
  std::unique_ptr<CControlBase> made = MakeControl(dialog.GetSafeHwnd(), control, library);
  if (!made) return nullptr;
  if (auto* text = dynamic_cast<CStaticText*>(made.get())) text->SetCaption(TextOf(control));
  return dialog.AddControl(0, std::move(made));
}

void AddDialogControls(CDlgBase& dialog, std::span<const DialogControl> controls, MacroLibrary* library) {
  for (const DialogControl& control : controls) AddDialogControl(dialog, control, library);
}

HWND CreateDialogEdit(HWND dialog, const DialogControl& control, const std::u16string& text, HFONT& font) {
  const RECT r = DialogControlRect(control);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), GetModuleHandleW(nullptr),
                              nullptr);
  if (edit == nullptr) return nullptr;
  HDC dc = GetDC(edit);
  const int dpiY = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ReleaseDC(edit, dc);
  if (font == nullptr) {
    const int height = PointFontHeight(EditBoxFontTenths(Ui().scale, Ui().textScale), dpiY);
    font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  }
  if (font != nullptr) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(edit, Wide(text));
  return edit;
}

std::u16string EditText(HWND edit) {
  if (edit == nullptr) return {};
  const int length = GetWindowTextLengthW(edit);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int read = GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  return FromWide(text);
}

LRESULT PaintEditColours(WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void ShowDialogList(CDlgBase& dialog, int listId, int firstRow) {
  CControlBase* control = dialog.FindControl(listId);
  if (control == nullptr) return;
  if (auto* list = dynamic_cast<ListModel*>(&control->model())) list->SetFirstRow(firstRow);
  control->Invalidate();
}

void SetDialogScrollBar(CDlgBase& dialog, int barId, const ScrollInfo& info) {
  auto* bar = dynamic_cast<CVScrollBar*>(dialog.FindControl(barId));
  if (bar == nullptr) return;
  bar->SetScrollInfo(info.position, info.page, info.range);
  bar->Invalidate();
}

void RepaintDialogControl(CDlgBase& dialog, int id) {
  if (CControlBase* control = dialog.FindControl(id)) control->Invalidate();
}

void ShowDialogAttention(HWND owner, int message) {
  CAttentionDlg attention(LanguageString(kAttentionTitle), LanguageString(message), owner);
  attention.DoModal();
}

}  // namespace zeltra::win32
