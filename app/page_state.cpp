#include "app/page_state.h"

#include <algorithm>

#include "settings/dpi_table.h"
#include "settings/lighting.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

void RefreshDpiPage(PageState& page, const ProfileRecord& record, const DpiTable& table) {
  page.mouseStage = record.CurrentDPILevelValue;
  page.dpiSteps = table.count;
  page.dpiRadioMask = record.DPIOffOnFlagValue;
  const int active = ActiveStageIndex(record.DPIOffOnFlagValue, record.CurrentDPILevelValue);
  for (int k = 0; k < kDpiStageCount; ++k) {
    DpiStageView& stage = page.stages[At(k)];
    stage.enabled = (record.DPIOffOnFlagValue >> k) & 1u;
    stage.colour = record.DPILevelIndicationValue[At(k)];
    stage.index = record.XYSettingValue[At(k)];
    stage.dpi = table.DpiOf(stage.index);
    stage.active = k == active;
  }
}

void RefreshLightingPage(PageState& page, const ProfileRecord& record) {
  const int mode = LightingModeIndex(record);
  page.lightingMode = mode;
  page.lightingName = record.Lighting1Name;
  for (int s = 0; s < static_cast<int>(page.slots.size()); ++s) {
    page.slots[At(s)].colour = record.Lighting1FixedColor[At(mode)][At(s)];
    page.slots[At(s)].inUse = ColourSlotInUse(record, mode, s);
  }
  // A step beyond the slider (a hand-edited file) stands at its last position.
  page.speed = std::clamp<int>(record.Lighting1Speed[At(mode)], 0, kSpeedSliderPositions - 1);
  page.brightness = std::clamp<int>(record.Lighting1Brightness[At(mode)], 0, kBrightnessSliderPositions - 1);
  page.directionUp = record.Lighting1Direction[At(mode)] == 1;
}

}  // namespace

std::u16string PageState::StageLabel(int stage) const {
  if (stage < 0 || stage >= kDpiStageCount) return {};
  return Dec(stages[At(stage)].dpi);
}

int PageState::BoxValue(int stage) const {
  if (stage < 0 || stage >= kDpiStageCount || dpiSteps <= 0) return 0;
  return std::clamp(stages[At(stage)].index, 0, dpiSteps - 1);
}

std::u16string PageState::SpeedLabel() const { return LightingSpeedText(speed); }

std::u16string PageState::BrightnessLabel() const { return LightingBrightnessText(brightness % kLightingBrightnessSteps); }

std::u16string PageState::DebounceLabel() const { return Dec(static_cast<long long>(debouncePosition) * 2) + u"ms"; }

std::uint32_t PageState::RadioWord(std::uint32_t current) const {
  std::uint32_t word = current & ~kMainWindowRadioMask;
  word |= 1u << std::clamp(xDpiChoice, 0, kXDpiChoices - 1);
  word |= pointer.pageScroll ? kRadioScrollPages : kRadioScrollLines;
  word |= directionUp ? kRadioDirectionUp : kRadioDirectionDown;
  word |= kRadioRate125 << std::clamp(rateIndex, 0, 3);
  word |= liftOffLow ? kRadioLiftOffLow : kRadioLiftOffHigh;
  return word;
}

std::u16string PowerDownText(int minutes, const LanguageTable& language) {
  return language.String(kStringSleepBefore) + Dec(minutes) + language.String(kStringSleepAfter);
}

PageState RefreshPage(const SettingsStore& settings, const LanguageTable& language) {
  PageState page;
  page.currentProfile = settings.CurrentProfileIndex();
  page.profileShowCount = settings.ProfileShowCount();
  page.showList = settings.ProfileShowList();
  const ProfileRecord& record = settings.Profile(page.currentProfile);

  for (int k = 0; k < kKeySlotCount; ++k) page.buttonNames[At(k)] = record.Key[At(k)].Name;
  RefreshDpiPage(page, record, settings.Dpi());
  page.rateIndex = ReportRateCode(record);
  RefreshLightingPage(page, record);
  page.liftOffLow = SettingNumber(record, kLiftDetectionHeight) == 1;
  page.debouncePosition = KeyDebounceSliderPosition(record.Setting(kKeyDebounce));
  page.pointer = RefreshPointerCarriers(record);
  page.xDpiChoice = ParseDecimal(CollectedXDpi(record.Setting(kXDpi)));
  page.powerDownTime = std::clamp(SettingNumber(record, kPowerDownTime), kPowerDialMin, kPowerDialMax);
  page.lightsOffWhileMoving = SettingNumber(record, kMoveLightingOnOffMode) == 1;
  page.motionWakeup = SettingNumber(record, kMotionWakeup) == 1;
  page.powerText = PowerDownText(page.powerDownTime, language);
  return page;
}

void CollectPage(const PageState& page, ProfileRecord& record) {
  CollectPointerCarriers(record, page.pointer);
  record.SetSetting(kXDpi, Dec(std::clamp(page.xDpiChoice, 0, kXDpiChoices - 1)));
  SetMoveLightingOnOff(record, page.lightsOffWhileMoving ? 1 : 0);
  SetMotionWakeup(record, page.motionWakeup ? 1 : 0);
  SetPowerDownTime(record, page.powerDownTime);
  record.CurrentDPILevelValue = static_cast<std::uint8_t>(std::clamp(page.mouseStage, 0, kDpiStageCount - 1));
  std::uint8_t mask = 0;
  for (int k = 0; k < kDpiStageCount; ++k)
    if (page.stages[At(k)].enabled) mask = static_cast<std::uint8_t>(mask | (1u << k));
  record.DPIOffOnFlagValue = mask;
  const auto mode = At(LightingModeIndex(record));
  record.Lighting1Speed[mode] = static_cast<std::uint8_t>(std::clamp(page.speed, 0, kSpeedSliderPositions - 1));
  record.Lighting1Brightness[mode] =
      static_cast<std::uint8_t>(std::clamp(page.brightness, 0, kBrightnessSliderPositions - 1));
  record.Lighting1Direction[mode] = page.directionUp ? 1 : 0;
  record.SetSetting(kLiftDetectionHeight, page.liftOffLow ? u"1" : u"2");
  record.SetSetting(kKeyDebounce, KeyDebounceFromSlider(page.debouncePosition));
}

}  // namespace zeltra
