// The main window's controls and painting: every control of the layout
// table, the skin behind them and the mouse picture's highlight.
#include <string>

#include "app/main_window_ids.h"
#include "app/window_placement.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "ui/ui_context.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

std::filesystem::path SkinFile(std::u16string_view name) {
  const std::wstring wide(name.begin(), name.end());
  return SkinPath(wide.c_str());
}

RECT Pixels(const DesignRect& rect, float scale) { return ToRect(ScaleEdges(rect, scale)); }

}  // namespace

void CTarvinDlg::CreateControls(const RECT&) {
  const float scale = Ui().scale;
  controls_.Create(*this, hwnd_, model_->page(), model_->sections(), scale);
  battery_ = controls_.As<CBattery>(kIdBatteryGauge);
  batteryText_ = controls_.As<CStaticText>(kIdBatteryText);
  if (auto* version = controls_.As<CStaticText>(kIdVersionLabel)) {
    version->SetCaption(LanguageString(kStringVersion) + kVersionSuffix);
  }
  if (!background_364_) {
    background_364_.reset(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MAIN_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  if (!panel_.assigned()) LoadSkinImage(SkinFile(kPanelImage), panel_);
}

bool CTarvinDlg::ClickRepaintsWindow(int id) const {
  const ControlSpec* row = FindControlSpec(id);
  return row != nullptr && row->repaintsWindow;
}

void CTarvinDlg::UpdateControls() {
  if (!model_ || !controlsCreated_) return;
  controls_.Update(model_->page(), model_->sections(), Ui().scale);
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

void CTarvinDlg::DrawPanels(HDC dc) {
  if (!panel_.drawable()) return;
  const float scale = Ui().scale;
  const Area source{0, 0, kPanelSourceWidth, kPanelSourceHeight};
  auto draw = [&](const DesignRect& design) {
    const RECT r = Pixels(design, scale);
    DrawImageScaled(dc, panel_, Area{r.left, r.top, r.right - r.left, r.bottom - r.top}, source);
  };
  for (const DesignRect& panel : FixedPanels()) draw(panel);
  for (const DesignRect& panel : SectionPanels(model_->sections())) draw(panel);
}

void CTarvinDlg::DrawHighlight(HDC dc) {
  if (highlight_ < 1 || highlight_ > 9) return;
  if (highlightLoaded_ != highlight_) {
    highlightImage_.Reset();
    LoadSkinImage(SkinFile(HighlightImage(highlight_)), highlightImage_);
    highlightLoaded_ = highlight_;
  }
  if (!highlightImage_.drawable()) return;
  const float scale = Ui().scale;
  const UiRect place = HighlightRect(scale);
  const RECT dest{place.left, place.top, place.left + Scaled(highlightImage_.width(), scale),
                  place.top + Scaled(highlightImage_.height(), scale)};
  DrawImageScaled(dc, highlightImage_, dest);
}

void CTarvinDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  DrawFrameBitmap(dc, background_364_.get(), kMainDesignWidth, kMainDesignHeight, Ui().scale);
  if (model_) {
    DrawPanels(dc);
    // The sections' places follow the headers' states on every paint.
    controls_.Place(model_->page(), model_->sections(), Ui().scale);
  }
  DrawControls(dc, client);
  DrawHighlight(dc);
  for (const auto& unit : units_) unit->OnPaintOverlay(dc);
}

void CTarvinDlg::SetPictureHighlight(int n) {
  if (n < 0 || n > 9) n = 0;
  if (n == highlight_) return;
  highlight_ = n;
  // The highlight may reach past the picture: the whole window is repainted.
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace zeltra::win32
