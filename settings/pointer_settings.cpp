#include "settings/pointer_settings.h"

#include <algorithm>

#include "settings/text_format.h"

namespace zeltra {

int CarriedSliderPosition(std::u16string_view value, int positions) {
  return std::clamp(ParseDecimal(value), 0, std::max(positions - 1, 0));
}

bool CarriedFlag(std::u16string_view value) { return ParseDecimal(value) == 1; }

PointerCarriers RefreshPointerCarriers(const ProfileRecord& record) {
  PointerCarriers c;
  c.doubleClickSpeed = CarriedSliderPosition(record.Setting(kDoubleClickSpeed), kDoubleClickSpeedPositions);
  c.pointerSpeed = CarriedSliderPosition(record.Setting(kPointerSpeed), kPointerSpeedPositions);
  c.scrollWheelSpeed = CarriedSliderPosition(record.Setting(kScrollWheelSpeed), kScrollWheelSpeedPositions);
  c.acceleration = CarriedFlag(record.Setting(kAccelerationEnable));
  c.pageScroll = CarriedFlag(record.Setting(kScrollWheelPageEnable));
  return c;
}

void CollectPointerCarriers(ProfileRecord& record, const PointerCarriers& c) {
  record.SetSetting(kDoubleClickSpeed, Dec(c.doubleClickSpeed));
  record.SetSetting(kPointerSpeed, Dec(c.pointerSpeed));
  record.SetSetting(kScrollWheelSpeed, Dec(c.scrollWheelSpeed));
  record.SetSetting(kAccelerationEnable, c.acceleration ? u"1" : u"0");
  record.SetSetting(kScrollWheelPageEnable, c.pageScroll ? u"1" : u"0");
  record.SetSetting(kTiltSpeed, Dec(c.scrollWheelSpeed));
}

std::u16string CollectedXDpi(std::u16string_view value) {
  const int n = ParseDecimal(value);
  return Dec(n >= 0 && n <= 5 ? n : 6);
}

int KeyDebounceSliderPosition(std::u16string_view value) {
  return std::clamp(ParseDecimal(value) / 2, 0, kKeyDebouncePositions - 1);
}

std::u16string KeyDebounceFromSlider(int position) { return Dec(static_cast<long long>(position) * 2); }

void NormalizeCarriedSettings(ProfileRecord& record) {
  CollectPointerCarriers(record, RefreshPointerCarriers(record));
  record.SetSetting(kXDpi, CollectedXDpi(record.Setting(kXDpi)));
  record.SetSetting(kKeyDebounce, KeyDebounceFromSlider(KeyDebounceSliderPosition(record.Setting(kKeyDebounce))));
}

}  // namespace zeltra
