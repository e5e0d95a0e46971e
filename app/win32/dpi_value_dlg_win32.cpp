#include "app/win32/dpi_value_dlg_win32.h"

#include <algorithm>

#include "app/win32/ui_scale_scope_win32.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

constexpr UINT kLeftSingleLine = DT_LEFT | DT_SINGLELINE;

CStaticText* AddText(CDlgBase& dialog, int id, const DesignRect& place, std::u16string caption, COLORREF colour,
                     UINT flags) {
  auto text = std::make_unique<CStaticText>(dialog.GetSafeHwnd(), id, ScaledWindowRect(place), u"", colour, flags);
  text->SetCaption(std::move(caption));
  return dialog.AddControl(0, std::move(text));
}

}  // namespace

CDPIValueSettingDlg::CDPIValueSettingDlg(DpiValueDialog& dialog, HWND parent)
    : CSmallDialog(parent, DpiValueDialog::kWidth, DpiValueDialog::kHeight), dialog_(dialog) {}

CDPIValueSettingDlg::~CDPIValueSettingDlg() = default;

void CDPIValueSettingDlg::CreateControls(const RECT&) {
  AddCommonButtons(*this, true);
  AddText(*this, kTitleId, kCommonTitle, LanguageString(kTitleString), kTextNormal, kLeftSingleLine);

  // The slider draws only its thumb: the groove is an image behind it.
  auto track = std::make_unique<CStaticImage>(hwnd_, kTrackId, ScaledWindowRect(kSliderPlace), u"");
  track->SetImage(SkinPath(L"skins\\Slider_bar2.png"));
  AddControl(0, std::move(track));
  auto slider = std::make_unique<CSliderControl>(hwnd_, DpiValueDialog::kSliderId, ScaledWindowRect(kSliderPlace), u"",
                                                 dialog_.positions(), Scaled(kThumbExtent), Scaled(kThumbExtent));
  slider->SetThumbImage(SkinPath(L"skins\\Slider_Circle.png"));
  slider_ = AddControl(0, std::move(slider));

  value_ = AddText(*this, DpiValueDialog::kValueTextId, kValuePlace, u"", kTextHover, DT_RIGHT | DT_SINGLELINE);
  AddText(*this, kMinimumTextId, kMinimumPlace, dialog_.ValueTextAt(0), kTextNormal, kLeftSingleLine);
  AddText(*this, kMaximumTextId, kMaximumPlace, dialog_.ValueTextAt(dialog_.positions() - 1), kTextNormal,
          DT_RIGHT | DT_SINGLELINE);
  AddText(*this, kUnitTextId, kUnitPlace, u"DPI", kTextNormal, kLeftSingleLine);

  CreateEdit();
  ShowIndex();
}

BOOL CDPIValueSettingDlg::OnInitDialog() {
  CSmallDialog::OnInitDialog();
  // Set here rather than by the dialog manager, which would select the
  // whole text instead of leaving the caret at its end.
  if (edit_) {
    SetFocus(edit_.get());
    const int length = GetWindowTextLengthW(edit_.get());
    SendMessageW(edit_.get(), EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  }
  return FALSE;
}

void CDPIValueSettingDlg::CreateEdit() {
  editFont_ = CreateEditBoxFont(hwnd_, DpiEditFontTenths(Ui().scale, Ui().textScale), DpiValueDialog::kEditFont);
  // A single-line edit writes at its top: it is made one text line high in
  // the middle of the white box the dialog paints behind it.
  const RECT box = ScaledWindowRect(kEditPlace);
  int lineHeight = box.bottom - box.top;
  if (const WindowDc dc(hwnd_); dc && editFont_) {
    const SelectionScope font(dc.get(), editFont_.get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc.get(), &metrics)) lineHeight = std::min<int>(lineHeight, metrics.tmHeight + 2);
  }
  const int top = box.top + (box.bottom - box.top - lineHeight) / 2;
  edit_.reset(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL,
                              box.left, top, box.right - box.left, lineHeight, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(DpiValueDialog::kEditId)),
                              GetModuleHandleW(nullptr), nullptr));
  if (edit_ && editFont_) SendMessageW(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), FALSE);
}

std::u16string CDPIValueSettingDlg::EditText() const {
  if (!edit_) return {};
  const int length = GetWindowTextLengthW(edit_.get());
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int read = GetWindowTextW(edit_.get(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  return FromWide(text);
}

void CDPIValueSettingDlg::ShowIndex() {
  const std::u16string text = dialog_.ValueText();
  if (slider_ != nullptr) {
    slider_->SetPosition(dialog_.index());
    slider_->Invalidate();
  }
  if (value_ != nullptr) value_->SetCaption(text);
  if (edit_) {
    SetWindowTextW(edit_.get(), Wide(text));
    SendMessageW(edit_.get(), EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
  }
}

void CDPIValueSettingDlg::OnEnter() {
  dialog_.OnEnter(EditText());
  ShowIndex();
}

bool CDPIValueSettingDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN) {
    switch (msg.wParam) {
      case VK_RETURN:
        OnEnter();
        return true;
      case VK_ESCAPE:
        return true;
      case VK_LEFT:
        dialog_.OnLeftArrow();
        ShowIndex();
        return true;
      case VK_RIGHT:
        dialog_.OnRightArrow();
        ShowIndex();
        return true;
      default:
        break;
    }
  }
  return CSmallDialog::PreTranslateMessage(msg);
}

void CDPIValueSettingDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  frameFile_.Draw(dc, SkinPath(L"skins\\Frame_DPI.bmp"), DpiValueDialog::kWidth, DpiValueDialog::kHeight, Ui().scale);
  FillSolid(dc, ScaledWindowRect(kEditPlace), RGB(255, 255, 255));
  DrawControls(dc, client);
}

MessageResult CDPIValueSettingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, false)) return 0;
  if (IsClick(message, lParam, kIdOk)) {
    OnEnter();
    EndReleasing(true);
    return 0;
  }
  if (message == static_cast<UINT>(DpiValueDialog::kSliderId) &&
      (lParam == kCodeClicked || lParam == kCodeValueChanged)) {
    if (slider_ != nullptr) dialog_.OnSlider(slider_->value());
    // While dragging the thumb follows the mouse; only the texts change.
    if (value_ != nullptr) value_->SetCaption(dialog_.ValueText());
    if (edit_) SetWindowTextW(edit_.get(), Wide(dialog_.ValueText()));
    if (lParam == kCodeClicked) ShowIndex();
    return 0;
  }
  if (message == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lParam) == edit_.get()) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  // A drag released outside the slider sends no click: the thumb and the
  // edit box settle on the last step it reported.
  const bool dragEnds = message == WM_LBUTTONUP && slider_ != nullptr && slider_->model().dragging();
  MessageResult result = CSmallDialog::OnMessage(message, wParam, lParam);
  // A drag goes on when the mouse leaves the slider with the button held.
  if (message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) != 0 && slider_ != nullptr) {
    const int x = static_cast<short>(LOWORD(lParam));
    if (slider_->FollowDrag(x) != 0) slider_->Invalidate();
  }
  if (dragEnds && !slider_->model().dragging()) ShowIndex();
  return result;
}

bool RunDpiValueSettingDialog(HWND owner, DpiValueDialog& dialog, float scale) {
  UiScaleScope scope(scale);
  CDPIValueSettingDlg window(dialog, owner);
  return window.DoModal() == IDOK;
}

}  // namespace zeltra::win32
