#include "app/colour_palette.h"

#include "settings/text_format.h"

namespace zeltra {

namespace {

int Within(int value, int count) { return value >= 0 && value < count ? value : 0; }

}  // namespace

ColourPalette ColourPalette::ForLightingSlot(const ProfileRecord& record, int mode, int slot) {
  mode = Within(mode, kLightingModeCount);
  slot = Within(slot, kLightingSlotCount);
  return {PaletteKind::LightingSlot, mode, slot,
          record.Lighting1FixedColor[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)]};
}

ColourPalette ColourPalette::ForDpiStage(const ProfileRecord& record, int stage) {
  stage = Within(stage, kDpiStageCount);
  return {PaletteKind::DpiStage, stage, 0, record.DPILevelIndicationValue[static_cast<std::size_t>(stage)]};
}

bool ColourPalette::OnClick(int x, int y, Colour pixel, float scale) {
  pixel &= 0xFFFFFFu;
  if (pixel == kBackground) return false;
  if (!ScaleEdges(kField, scale).Contains(x, y) && !ScaleEdges(kSwatches, scale).Contains(x, y)) return false;
  working_ = pixel;
  return true;
}

std::array<std::u16string, 3> ColourPalette::ValueTexts() const {
  return {Dec(RedOf(working_)), Dec(GreenOf(working_)), Dec(BlueOf(working_))};
}

UiRect ColourPalette::PreviewRect(float scale) { return ScaleEdges(kPreview, scale); }

void ColourPalette::Confirm(ProfileRecord& record) const {
  const auto at = static_cast<std::size_t>(modeOrStage_);
  if (kind_ == PaletteKind::LightingSlot)
    record.Lighting1FixedColor[at][static_cast<std::size_t>(slot_)] = working_;
  else
    record.DPILevelIndicationValue[at] = working_;
}

}  // namespace zeltra
