#include "app/win32/main_background_win32.h"

#include <utility>

#include "app/window_placement.h"
#include "app/main_layout.h"
#include "ui/skin_pixels.h"
#include "ui/ui_context.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

std::unique_ptr<BackgroundPicture> DrawBackgroundPicture(const BackgroundPlan& plan) {
  auto result = std::make_unique<BackgroundPicture>();
  if (!result->picture.Prepare(nullptr, plan.width, plan.height)) return nullptr;
  result->fill = plan.fallbackFill;
  const auto frame = ReadFramePixels(FrameSource{{}, IDB_MAIN_BACKGROUND});
  if (frame) {
    const std::uint32_t rgb = AverageRgb(frame->rgb.data(), frame->rgb.size());
    result->fill = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    result->fillRead = true;
  }
  // The fill shows only where the stretched bitmap does not reach.
  const bool covered = frame && frame->width >= kMainDesignWidth && frame->height >= kMainDesignHeight &&
                       Scaled(kMainDesignWidth, plan.scale) >= plan.width &&
                       Scaled(kMainDesignHeight, plan.scale) >= plan.height;
  if (!covered) FillSolid(result->picture.dc(), RECT{0, 0, plan.width, plan.height}, result->fill);
  if (frame) DrawFramePixels(result->picture, *frame, kMainDesignWidth, kMainDesignHeight, plan.scale);
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
