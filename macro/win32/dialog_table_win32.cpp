#include "macro/win32/dialog_table_win32.h"

#include <memory>

#include "macro/win32/macro_lists_win32.h"
#include "settings/language.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

std::filesystem::path Skin(std::u16string_view relative) { return SkinPath(Wide(std::u16string(relative))); }

std::u16string TextOf(const DialogControl& control) {
  if (control.text != 0) return LanguageString(control.text);
  return std::u16string(control.label);
}

std::unique_ptr<CControlBase> Make(HWND owner, const DialogControl& c, const TableOptions& options) {
  const RECT rect = TableRect(c.rect);
  switch (c.kind) {
    case ControlKind::kStaticText: {
      auto text = std::make_unique<CStaticText>(owner, c.id, rect, u"", options.textColour,
                                                DT_LEFT | DT_SINGLELINE | DT_VCENTER);
      text->SetCaption(TextOf(c));
      return text;
    }
    case ControlKind::kImageButton: {
      auto button = std::make_unique<CImageButton>(owner, c.id, rect, TextOf(c));
      if (!c.images[0].empty()) button->SetNormalImage(Skin(c.images[0]));
      if (!c.images[1].empty()) button->SetOverImage(Skin(c.images[1]));
      return button;
    }
    case ControlKind::kCheckButton: {
      // A captioned toggle centres its text; a bare box draws none.
      auto check = std::make_unique<CCheckButton>(owner, c.id, rect, TextOf(c));
      if (!c.images[0].empty()) check->SetNormalImage(Skin(c.images[0]));
      if (!c.images[1].empty()) check->SetOverImage(Skin(c.images[1]));
      if (!c.images[2].empty()) check->SetCheckedImage(Skin(c.images[2]));
      if (c.checkedText != 0) check->SetLookTexts(TextOf(c), LanguageString(c.checkedText));
      return check;
    }
    case ControlKind::kRadioButton: {
      auto radio = std::make_unique<CRadioButton>(owner, c.id, rect, u"");
      radio->SetRadioBit(c.radio);
      radio->SetNormalImage(Skin(c.images[0]));
      radio->SetOverImage(Skin(c.images[1]));
      radio->SetCheckedImage(Skin(c.images[2]));
      return radio;
    }
    case ControlKind::kComboButton: {
      auto combo = std::make_unique<CComboButton>(owner, c.id, rect, TextOf(c), options.comboMessage);
      combo->SetNormalImage(Skin(c.images[0]));
      combo->SetOverImage(Skin(c.images[1]));
      return combo;
    }
    case ControlKind::kTreeList: {
      auto tree = std::make_unique<CEditShowList>(owner, c.id, rect, u"", options.library);
      tree->SetOpenFolderImage(Skin(c.images[0]));
      tree->SetClosedFolderImage(Skin(c.images[1]));
      return tree;
    }
    case ControlKind::kActionList: {
      auto list = std::make_unique<CImageShowList>(owner, c.id, rect, u"");
      list->SetIcon(static_cast<int>(ActionIcon::kRelease), Skin(c.images[0]));
      list->SetIcon(static_cast<int>(ActionIcon::kPress), Skin(c.images[1]));
      list->SetIcon(static_cast<int>(ActionIcon::kDelay), Skin(c.images[2]));
      return list;
    }
    case ControlKind::kScrollBar: {
      auto bar = std::make_unique<CVScrollBar>(owner, c.id, rect, u"", 0, 1, 0);
      bar->LoadArrowImages();
      return bar;
    }
    case ControlKind::kEditBox: return nullptr;
  }
  return nullptr;
}

}  // namespace

RECT TableRect(const DesignRect& design) { return ToRect(ScaleOriginAndSize(design, Ui().scale)); }

void AddTableControls(CDlgBase& dialog, std::span<const DialogControl> controls, const TableOptions& options) {
  for (const DialogControl& control : controls) {
    if (auto made = Make(dialog.GetSafeHwnd(), control, options)) dialog.AddControl(0, std::move(made));
  }
}

// ---------------------------------------------------------------------------

NativeEditBox::~NativeEditBox() { Destroy(); }

bool NativeEditBox::Create(HWND parent, int id, const RECT& rect, DWORD extraStyle, const std::u16string& text) {
  Destroy();
  window_.reset(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                nullptr));
  if (!window_) return false;
  font_ = CreateEditBoxFont(window_.get(), EditBoxFontTenths(Ui().scale, Ui().textScale), kEditBoxFontFace);
  if (font_) SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SetText(text);
  return true;
}

void NativeEditBox::Destroy() {
  // The window goes first: its font must outlive it.
  window_.reset();
  font_.reset();
}

std::u16string NativeEditBox::Text() const {
  if (!window_) return {};
  const int length = GetWindowTextLengthW(window_.get());
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int read = GetWindowTextW(window_.get(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  return FromWide(text);
}

void NativeEditBox::SetText(const std::u16string& text) {
  if (window_) SetWindowTextW(window_.get(), Wide(text));
}

void NativeEditBox::SelectAll() {
  if (window_) SendMessageW(window_.get(), EM_SETSEL, 0, -1);
}

void NativeEditBox::PutCaretAtEnd() {
  if (!window_) return;
  const int length = GetWindowTextLengthW(window_.get());
  SendMessageW(window_.get(), EM_SETSEL, static_cast<WPARAM>(length), length);
}

}  // namespace zeltra::win32
