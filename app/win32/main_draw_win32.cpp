// The main window's controls and painting: every control of the layout
// table, the skin behind them and the mouse picture's highlight.
#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window_ids.h"
#include "app/window_placement.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "ui/skin_pixels.h"
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

std::vector<DesignRect> CTarvinDlg::PanelsShown() const {
  std::vector<DesignRect> panels;
  if (!model_) return panels;
  const auto fixed = FixedPanels();
  panels.assign(fixed.begin(), fixed.end());
  for (const DesignRect& panel : SectionPanels(model_->sections())) panels.push_back(panel);
  return panels;
}

namespace {

bool SamePanels(const std::vector<DesignRect>& a, const std::vector<DesignRect>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DesignRect& x, const DesignRect& y) {
    return x.left == y.left && x.top == y.top && x.width == y.width && x.height == y.height;
  });
}

}  // namespace

BackgroundPlan CTarvinDlg::PlanBackground(const RECT& client, const std::vector<DesignRect>& panels) const {
  BackgroundPlan plan;
  plan.width = client.right - client.left;
  plan.height = client.bottom - client.top;
  plan.scale = Ui().scale;
  for (const DesignRect& design : panels) plan.panels.push_back(Pixels(design, plan.scale));
  plan.panelFile = SkinFile(kPanelImage);
  plan.fallbackFill = background_;
  return plan;
}

void CTarvinDlg::StartBackground(const RECT& client) {
  // The picture is drawn while the rest of the window is made; a paint for
  // another size or another section state draws its own.
  if (model_ && client.right > client.left && client.bottom > client.top) {
    backgroundJob_ = std::make_unique<BackgroundJob>(PlanBackground(client, PanelsShown()));
  }
}

namespace {

bool SamePlan(const BackgroundPlan& a, const BackgroundPlan& b) {
  return a.width == b.width && a.height == b.height && a.scale == b.scale && a.panelFile == b.panelFile &&
         std::equal(a.panels.begin(), a.panels.end(), b.panels.begin(), b.panels.end(), [](const RECT& x, const RECT& y) {
           return EqualRect(&x, &y) != FALSE;
         });
}

}  // namespace

void CTarvinDlg::EnsureLayer(const RECT& client) {
  std::vector<DesignRect> panels = PanelsShown();
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (layer_ && layer_->picture.width() == w && layer_->picture.height() == h && SamePanels(panels, layerPanels_)) {
    return;
  }
  const BackgroundPlan plan = PlanBackground(client, panels);
  std::unique_ptr<BackgroundPicture> drawn;
  if (backgroundJob_) {
    // Drawn for the window as it was made; taken if nothing changed since.
    const bool same = SamePlan(backgroundJob_->plan(), plan);
    drawn = backgroundJob_->Take();
    backgroundJob_.reset();
    if (!same) drawn.reset();
    firstLayerDrawnAhead_ = drawn != nullptr && layerBuilds_ == 0;
  }
  layer_.reset();  // the old picture goes before a new one is made
  if (!drawn) drawn = DrawBackgroundPicture(plan);
  if (!drawn) return;
  ++layerBuilds_;
  if (drawn->fillRead && !backgroundRead_) {
    background_ = drawn->fill;
    backgroundRead_ = true;
  }
  if (!drawn->panelsDrawn) {
    // A panel image our decoders do not take, or one with clear pixels.
    if (!panel_.assigned()) SetSkinFile(SkinFile(kPanelImage), panel_);
    const Area source{0, 0, kPanelSourceWidth, kPanelSourceHeight};
    for (const RECT& r : plan.panels) DrawImageScaled(drawn->picture.dc(), panel_, AreaOf(r), source, false);
    panel_.Unload();  // needed again only for another section state
  }
  GdiFlush();
  layer_ = std::move(drawn);
  layerPanels_ = std::move(panels);
}

void CTarvinDlg::PreparePaint(const RECT& client) {
  // The sections' places follow the headers' states on every paint.
  if (model_) controls_.Place(model_->page(), model_->sections(), Ui().scale);
  EnsureLayer(client);
}

void CTarvinDlg::DrawHighlight(HDC dc) {
  if (highlight_ < 1 || highlight_ > 9) return;
  if (highlightLoaded_ != highlight_) {
    SetSkinFile(SkinFile(HighlightImage(highlight_)), highlightImage_);
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
  // The fill, the window's bitmap and the panels come from the layer, drawn
  // once for the sections shown (at once when painted outside a paint).
  EnsureLayer(client);
  if (layer_) {
    BitBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top, layer_->picture.dc(),
           0, 0, SRCCOPY);
  } else {
    FillSolid(dc, client, background_);
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
