#include "app/win32/colour_palette_dlg_win32.h"

#include <windowsx.h>

#include "app/win32/ui_scale_scope_win32.h"
#include "settings/language.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

constexpr std::array<const char16_t*, 3> kChannelLetters = {u"R", u"G", u"B"};
constexpr int kChannelLetterIdBase = 2021;  // three, beside the red, green and blue texts

CStaticText* AddText(CDlgBase& dialog, int id, const DesignRect& place, std::u16string caption, COLORREF colour,
                     UINT flags, bool tahoma) {
  auto text = std::make_unique<CStaticText>(dialog.GetSafeHwnd(), id, ScaledWindowRect(place), u"", colour, flags);
  if (tahoma) text->SetFont(Scaled(16), u"Tahoma");
  text->SetCaption(std::move(caption));
  return dialog.AddControl(0, std::move(text));
}

bool InPickingArea(int x, int y, float scale) {
  return ScaleEdges(ColourPalette::kField, scale).Contains(x, y) ||
         ScaleEdges(ColourPalette::kSwatches, scale).Contains(x, y);
}

}  // namespace

CColorPaletteDlg::CColorPaletteDlg(ColourPalette& palette, HWND parent)
    : CSmallDialog(parent, ColourPalette::kWidth, ColourPalette::kHeight), palette_(palette) {
  background_ = RGB(15, 15, 15);
}

CColorPaletteDlg::~CColorPaletteDlg() = default;

void CColorPaletteDlg::CreateControls(const RECT&) {
  AddSkinButton(*this, kIdClose, kClosePlace, u"", L"skins\\exit_nr.png", L"skins\\exit_ov.png");
  AddSkinButton(*this, kIdOk, kOkPlace, LanguageString(4), L"skins\\button2_nr.png", L"skins\\button2_ov.png");
  AddText(*this, kTitleId, kTitlePlace, LanguageString(kTitleString), kTextNormal, DT_LEFT | DT_SINGLELINE, false);
  for (int channel = 0; channel < 3; ++channel) {
    const int top = kValueTop + channel * kValueRowStep;
    const DesignRect letter{kValueLeft, top, kLetterWidth, kValueHeight};
    const DesignRect value{kValueLeft + kLetterWidth, top, kValueWidth, kValueHeight};
    AddText(*this, kChannelLetterIdBase + channel, letter, kChannelLetters[static_cast<std::size_t>(channel)],
            kTextNormal, DT_LEFT | DT_SINGLELINE, true);
    values_[static_cast<std::size_t>(channel)] = AddText(*this, ColourPalette::kRedTextId + channel, value, u"",
                                                         kTextHover, DT_RIGHT | DT_SINGLELINE, true);
  }
  ShowWorkingColour();
}

void CColorPaletteDlg::ShowWorkingColour() {
  const auto texts = palette_.ValueTexts();
  for (std::size_t channel = 0; channel < values_.size(); ++channel) {
    if (values_[channel] != nullptr) values_[channel]->SetCaption(texts[channel]);
  }
  InvalidateArea(ToRect(ColourPalette::PreviewRect(Ui().scale)));
}

void CColorPaletteDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  frameFile_.Draw(dc, FrameSource{{}, IDB_PALETTE_FRAME}, ColourPalette::kWidth, ColourPalette::kHeight, Ui().scale);
  FillSwatch(dc, ToRect(ColourPalette::PreviewRect(Ui().scale)), static_cast<COLORREF>(palette_.working()));
  DrawControls(dc, client);
}

std::optional<COLORREF> CColorPaletteDlg::DrawnPixel(int x, int y) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) return std::nullopt;
  // Painted off screen exactly as WM_PAINT paints, so that a window lying
  // over the dialog or a pending repaint cannot change the colour taken.
  const WindowDc window(hwnd_);
  if (!window) return std::nullopt;
  BackBuffer picture;
  if (!picture.Prepare(window.get(), client.right, client.bottom)) return std::nullopt;
  PaintClient(picture.dc());
  const COLORREF pixel = GetPixel(picture.dc(), x, y);
  if (pixel == CLR_INVALID) return std::nullopt;
  return pixel;
}

bool CColorPaletteDlg::OnPress(int x, int y) {
  if (!InPickingArea(x, y, Ui().scale)) return false;
  if (const auto pixel = DrawnPixel(x, y)) {
    if (palette_.OnClick(x, y, static_cast<Colour>(*pixel), Ui().scale)) ShowWorkingColour();
  }
  return true;
}

bool CColorPaletteDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    EndReleasing(true);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
  return CSmallDialog::PreTranslateMessage(msg);
}

MessageResult CColorPaletteDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, true)) return 0;
  // The picture is not a place to drag the window from.
  if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && OnPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
    return 0;
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

bool RunColourPaletteDialog(HWND owner, ColourPalette& palette, float scale) {
  UiScaleScope scope(scale);
  CColorPaletteDlg window(palette, owner);
  return window.DoModal() == IDOK;
}

}  // namespace zeltra::win32
