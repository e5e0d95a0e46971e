#include "app/lighting_page.h"

#include <algorithm>

namespace zeltra {

int SlotOfTimer(unsigned timerId) {
  return timerId >= 1 && timerId <= static_cast<unsigned>(kLightingSlotButtons) ? static_cast<int>(timerId) - 1 : -1;
}

bool StoreLightingMode(ProfileRecord& record, const std::u16string& name, const std::array<std::uint8_t, 3>& bytes) {
  if (bytes[0] >= kLightingModeCount) return false;
  record.Lighting1Name = name;
  record.Lighting1ModeValue = {bytes[0], 0, 0};
  return true;
}

bool OnLightingSlider(PageState& page, int sliderId, int position) {
  if (sliderId == kIdSpeedSlider) {
    page.speed = std::clamp(position, 0, kSpeedSliderPositions - 1);
    return true;
  }
  if (sliderId == kIdBrightnessSlider) {
    page.brightness = std::clamp(position, 0, kBrightnessSliderPositions - 1);
    return true;
  }
  return false;
}

bool SliderDrag::OnMoveWithoutButton(bool settingsPending) {
  if (!settingsPending || dragged_ != 1) return false;
  dragged_ = 0;
  return true;
}

}  // namespace zeltra
