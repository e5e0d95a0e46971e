#include "app/win32/main_background_win32.h"

#include <algorithm>
#include <utility>

#include "app/window_placement.h"
#include "app/main_layout.h"
#include "ui/skin_pixels.h"
#include "ui/ui_context.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

COLORREF ColourOf(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

std::unique_ptr<BackgroundPicture> DrawBackgroundPicture(const BackgroundPlan& plan) {
  auto result = std::make_unique<BackgroundPicture>();
  if (!result->picture.Prepare(nullptr, plan.width, plan.height)) return nullptr;
  result->fill = plan.fallbackFill;
  const float scale = plan.scale;
  const int drawnWidth = std::min(Scaled(kMainDesignWidth, scale), plan.width);
  const int drawnHeight = std::min(Scaled(kMainDesignHeight, scale), plan.height);
  // The fill shows only where the stretched bitmap does not reach.
  const bool reachesEdges = drawnWidth == plan.width && drawnHeight == plan.height;
  const auto rows = BitmapResourceRows(IDB_MAIN_BACKGROUND);
  if (rows && rows->width >= kMainDesignWidth && rows->height >= kMainDesignHeight) {
    // Read where it is in the executable's image, stretched straight into the picture.
    result->fill = ColourOf(AverageRgb(*rows));
    result->fillRead = true;
    if (!reachesEdges) FillSolid(result->picture.dc(), RECT{0, 0, plan.width, plan.height}, result->fill);
    GdiFlush();
    ScaleNearest(*rows, BlitStretchSources(drawnWidth, kMainDesignWidth), BlitStretchSources(drawnHeight, kMainDesignHeight),
                 result->picture.pixels(), result->picture.width());
  } else if (const auto frame = ReadFramePixels(FrameSource{{}, IDB_MAIN_BACKGROUND})) {
    result->fill = ColourOf(AverageRgb(frame->rgb.data(), frame->rgb.size()));
    result->fillRead = true;
    FillSolid(result->picture.dc(), RECT{0, 0, plan.width, plan.height}, result->fill);
    DrawFramePixels(result->picture, *frame, kMainDesignWidth, kMainDesignHeight, scale);
  } else {
    FillSolid(result->picture.dc(), RECT{0, 0, plan.width, plan.height}, result->fill);
  }
  if (plan.panels.empty()) {
    result->panelsDrawn = true;
    return result;
  }
  const auto panel = DecodeOwnImageFile(plan.panelFile);
  if (!panel) return result;
  const Area source{0, 0, kPanelSourceWidth, kPanelSourceHeight};
  for (const RECT& r : plan.panels) {
    if (!DrawOpaqueScaled(result->picture, *panel, AreaOf(r), source)) {
      // Drawn in part: the caller draws them all again the usual way.
      result->panelsDrawn = false;
      return result;
    }
  }
  result->panelsDrawn = true;
  return result;
}

BackgroundJob::BackgroundJob(BackgroundPlan plan) : plan_(std::move(plan)) {
  // Nothing the job touches is shared: the plan is its own copy, the
  // picture its own until Take.
  thread_ = std::thread([this] {
    try {
      result_ = DrawBackgroundPicture(plan_);
    } catch (...) {
      result_.reset();  // the user-interface thread draws it then
    }
  });
}

BackgroundJob::~BackgroundJob() {
  if (thread_.joinable()) thread_.join();
}

std::unique_ptr<BackgroundPicture> BackgroundJob::Take() {
  if (thread_.joinable()) thread_.join();
  return std::move(result_);
}

}  // namespace zeltra::win32
