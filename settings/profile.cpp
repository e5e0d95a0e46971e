#include "settings/profile.h"

#include <algorithm>

#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::array<int, kKeySlotCount> kButtonNameStrings{20, 21, 22, 23, 24, 42};
constexpr std::array<std::array<std::uint8_t, 3>, kKeySlotCount> kButtonCodes{{
    {0x10, 0x01, 0x00},  // left
    {0x10, 0x02, 0x00},  // right
    {0x10, 0x04, 0x00},  // middle
    {0x10, 0x10, 0x00},
    {0x10, 0x08, 0x00},
    {0x40, 0x01, 0x00},  // DPI function, third entry of the DPI menu
}};

constexpr int kDefaultLightingName = 100;
constexpr int kFirstProfileName = 85;

struct ModeDefaults {
  std::uint8_t speed;
  std::uint8_t brightness;
  std::uint8_t direction;
  std::uint8_t slotsInUse;  // slots 0 .. slotsInUse - 1 hold `colours`
  std::array<Colour, kLightingSlotCount> colours;
};

constexpr std::array<ModeDefaults, kLightingModeCount> kLightingDefaults{{
    {1, 1, 0, 0, {}},
    {1, 1, 1, 0, {}},
    {1, 1, 0, 7,
     {Rgb(0xFF, 0, 0), Rgb(0, 0xFF, 0), Rgb(0, 0, 0xFF), Rgb(0, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0),
      Rgb(0xFF, 0, 0xFF), Rgb(0xFF, 0xFF, 0xFF)}},
    {1, 3, 0, 1, {Rgb(0xFF, 0, 0xFF)}},
    {1, 1, 0, 0, {}},
    {1, 1, 0, 0, {}},
    {1, 1, 0, 8,
     {Rgb(0xFF, 0, 0), Rgb(0, 0xFF, 0), Rgb(0, 0, 0xFF), Rgb(0xFF, 0xFF, 0), Rgb(0, 0xFF, 0xFF),
      Rgb(0xFA, 0, 0xFA), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFA, 0x46, 0xFF)}},
    {1, 1, 0, 2, {Rgb(0, 0xFF, 0), Rgb(0xFA, 0, 0x6A)}},
    {1, 1, 0, 0, {}},
    {1, 1, 0, 0, {}},
}};

// Default DPI stage indexes per sensor.
struct SensorStages {
  std::uint16_t code;
  std::array<std::uint16_t, kDpiStageCount> stages;
};
constexpr std::array<SensorStages, 11> kSensorStageDefaults{{
    {0x3104, {4, 15, 23, 31, 39, 41, 58, 50}},
    {0x3212, {6, 10, 14, 22, 33, 12, 12, 12}},
    {0x3311, {7, 11, 15, 23, 49, 119, 99, 59}},
    {0x3325, {8, 22, 30, 46, 54, 58, 58, 50}},
    {0x3327, {2, 6, 14, 30, 48, 58, 58, 58}},
    {0x3335, {11, 23, 31, 63, 99, 159, 59, 59}},
    {0x3360, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3389, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3370, {7, 15, 31, 63, 99, 119, 119, 119}},
    {0x3395, {7, 15, 23, 31, 63, 103, 99, 99}},
    {0x3399, {7, 15, 31, 63, 99, 99, 99, 99}},
}};

constexpr std::array<Colour, kDpiStageCount> kStageColours{
    Rgb(0xFF, 0, 0),    Rgb(0, 0xFF, 0),    Rgb(0, 0, 0xFF),    Rgb(0xFF, 0xFF, 0),
    Rgb(0, 0xFF, 0xFF), Rgb(0xFF, 0, 0xFF), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0xFF)};

}  // namespace

int SettingNumber(const ProfileRecord& record, ProfileSetting s) { return ParseDecimal(record.Setting(s)); }

std::u16string DefaultProfileName(int selector, const LanguageTable& language) {
  const int n = std::clamp(selector, 0, kProfileCount - 1);
  const std::u16string& name = language.String(kFirstProfileName + n);
  return name.empty() ? u"Profile " + Dec(n + 1) : name;
}

void ResetProfile(ProfileRecord& record, int nameSelector, std::uint16_t sensorCode, const LanguageTable& language) {
  for (std::size_t i = 0; i < kProfilePairDefaults.size(); ++i) {
    record.pairs[i].key = std::u16string(kProfilePairDefaults[i].key);
    record.pairs[i].value = std::u16string(kProfilePairDefaults[i].value);
  }
  record.pairs[kProfileName].value = DefaultProfileName(nameSelector, language);

  for (std::size_t k = 0; k < record.Key.size(); ++k) {
    KeySlot& slot = record.Key[k];
    slot.Name = language.String(kButtonNameStrings[k]);
    slot.Value = {kButtonCodes[k][0], kButtonCodes[k][1], kButtonCodes[k][2], 0};
    slot.MacroKeyIndex = 0;
    slot.macro = Macro{};
  }

  record.PollingRateName = u"1000HZ";
  record.PollingRateValue = {3, 0, 0};

  record.Lighting1OffOn = 1;
  record.Lighting1Name = language.String(kDefaultLightingName);
  record.Lighting1ModeValue = {1, 0, 0};
  for (std::size_t m = 0; m < kLightingDefaults.size(); ++m) {
    const ModeDefaults& d = kLightingDefaults[m];
    record.Lighting1Speed[m] = d.speed;
    record.Lighting1Brightness[m] = d.brightness;
    record.Lighting1Direction[m] = d.direction;
    record.Lighting1FixedColor[m] = d.colours;  // slots not in use hold 0
    for (std::size_t slot = 0; slot < kLightingSlotCount; ++slot)
      record.Lighting1ColorSelected[m][slot] = slot < d.slotsInUse ? 1 : 0;
  }

  record.Lighting2OffOn = 0;
  record.Lighting2Name = language.String(kDefaultLightingName);
  record.Lighting2ModeValue = {1, 0, 0};
  record.Lighting2Speed = 0;
  record.Lighting2Brightness = 0;
  record.Lighting2FixedColor = 0;

  ApplySensorDpiDefaults(record, sensorCode);
}

void ApplySensorDpiDefaults(ProfileRecord& record, std::uint16_t sensorCode) {
  record.DPIOffOnFlagValue = 0x3F;
  for (const auto& entry : kSensorStageDefaults) {
    if (entry.code == sensorCode) record.XYSettingValue = entry.stages;
  }
  record.CurrentDPILevelValue = 1;
  record.DPILevelIndicationValue = kStageColours;
  record.AngleSnapValue = 0;
  record.LiftDetectionValue = 2;
}

int ReportRateCode(const ProfileRecord& record) { return record.PollingRateValue[0] <= 3 ? record.PollingRateValue[0] : 3; }

void SetMoveLightingOnOff(ProfileRecord& record, int n) { record.SetSetting(kMoveLightingOnOffMode, n > 0 ? u"1" : u"0"); }
void SetMotionWakeup(ProfileRecord& record, int n) { record.SetSetting(kMotionWakeup, n > 0 ? u"1" : u"0"); }
void SetPowerDownTime(ProfileRecord& record, int minutes) { record.SetSetting(kPowerDownTime, Dec(minutes)); }

std::u16string GlobalSettings::GlobalPair(int i, int part) const {
  if (i < 0 || i >= kGlobalPairCount) return {};
  const SettingPair& pair = pairs[static_cast<std::size_t>(i)];
  if (part == 0) return pair.key;
  if (part == 1) return pair.value;
  return {};
}

void SetDefaultGlobals(GlobalSettings& globals, std::u16string_view dataFolder) {
  for (std::size_t i = 0; i < kGlobalPairDefaults.size(); ++i) {
    globals.pairs[i].key = std::u16string(kGlobalPairDefaults[i].key);
    globals.pairs[i].value = std::u16string(kGlobalPairDefaults[i].value);
  }
  for (int p = 0; p < kProfileCount; ++p) globals.SetValue(kProfileSlot0URL + p, DefaultProfileSlot(dataFolder, p));
}

std::u16string DefaultProfileSlot(std::u16string_view dataFolder, int index) {
  return std::u16string(dataFolder) + u"config\\default" + Dec(index) + u".psf";
}

}  // namespace zeltra
