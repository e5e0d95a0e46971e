// The records every layer shares: one of the mouse's five on-board profiles
// with its six buttons. Files and reports are always built field by field
// from these; what the fields mean is the business of the layers above.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/macro.h"

namespace zeltra {

inline constexpr int kProfileCount = 5;
inline constexpr int kSettingPairCount = 20;
inline constexpr int kKeySlotCount = 6;
inline constexpr int kLightingModeCount = 10;
inline constexpr int kLightingSlotCount = 10;
inline constexpr int kDpiStageCount = 8;

// A colour as stored: red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>(c >> 16); }

struct SettingPair {
  std::u16string key;
  std::u16string value;
  friend bool operator==(const SettingPair&, const SettingPair&) = default;
};

// Positions of the 20 per-profile setting pairs (the keys in the record are
// whatever the file brought; code reads pairs by position).
enum ProfileSetting : int {
  kProfileName = 0,
  kGameFile0,
  kGameFile1,
  kGameFile2,
  kDoubleClickSpeed,
  kPointerSpeed,
  kAccelerationEnable,
  kScrollWheelSpeed,
  kScrollWheelPageEnable,
  kTiltSpeed,
  kSensitivityX,
  kSensitivityY,
  kXYSynchronous,
  kXDpi,
  kYDpi,
  kMoveLightingOnOffMode,
  kPowerDownTime,
  kLiftDetectionHeight,
  kKeyDebounce,
  kMotionWakeup,
};

// Keys and default values of the 20 pairs, in file order. ProfileName's
// default comes from the language table (85 + name selector).
struct PairDefault {
  std::u16string_view key;
  std::u16string_view value;
};
inline constexpr std::array<PairDefault, kSettingPairCount> kProfilePairDefaults{{
    {u"ProfileName", u""},
    {u"GameFile0", u""},
    {u"GameFile1", u""},
    {u"GameFile2", u""},
    {u"DoubleClickSpeed", u"6"},
    {u"PointerSpeed", u"5"},
    {u"AccelerationEnable", u"1"},
    {u"ScrollWheelSpeed", u"2"},
    {u"ScrollWheelPageEnable", u"0"},
    {u"TiltSpeed", u"2"},
    {u"Sensitivity_X", u"4"},
    {u"Sensitivity_Y", u"4"},
    {u"XYSynchronous", u"1"},
    {u"X_DPI", u"1"},
    {u"Y_DPI", u"1"},
    {u"MoveLightingOnOffMode", u"0"},
    {u"PowerDownTime", u"6"},
    {u"LiftDetectionHeight", u"2"},
    {u"KeyDebounce", u"12"},
    {u"MotionWakeup", u"1"},
}};

// One programmable button: shown name, function code (3 bytes + a spare byte
// that is never written or sent), the assigned macro's library index and a
// private copy of that macro.
struct KeySlot {
  std::u16string Name;
  std::array<std::uint8_t, 4> Value{};
  std::uint32_t MacroKeyIndex = 0;
  Macro macro;
};

struct ProfileRecord {
  std::array<SettingPair, kSettingPairCount> pairs;
  std::array<KeySlot, kKeySlotCount> Key;
  std::u16string PollingRateName;
  std::array<std::uint8_t, 3> PollingRateValue{};  // byte 0: 0=125 Hz .. 3=1000 Hz
  std::uint8_t Lighting1OffOn = 0;                  // stored only
  std::u16string Lighting1Name;
  std::array<std::uint8_t, 3> Lighting1ModeValue{};  // byte 0: mode 0..9
  std::array<std::uint8_t, kLightingModeCount> Lighting1Speed{};       // 0..2
  std::array<std::uint8_t, kLightingModeCount> Lighting1Brightness{};  // 0..3
  std::array<std::array<std::uint8_t, kLightingSlotCount>, kLightingModeCount> Lighting1ColorSelected{};
  std::array<std::array<Colour, kLightingSlotCount>, kLightingModeCount> Lighting1FixedColor{};
  std::array<std::uint8_t, kLightingModeCount> Lighting1Direction{};  // 1 up, 0 down
  std::uint8_t Lighting2OffOn = 0;  // the second zone is stored only
  std::u16string Lighting2Name;
  std::array<std::uint8_t, 3> Lighting2ModeValue{};
  std::uint8_t Lighting2Speed = 0;
  std::uint8_t Lighting2Brightness = 0;
  Colour Lighting2FixedColor = 0;
  std::uint8_t DPIOffOnFlagValue = 0;  // bit i: stage i enabled
  std::array<std::uint16_t, kDpiStageCount> XYSettingValue{};  // index into the sensor's step table
  std::uint8_t CurrentDPILevelValue = 0;  // active stage, counted among the enabled stages
  std::array<Colour, kDpiStageCount> DPILevelIndicationValue{};
  std::uint8_t AngleSnapValue = 0;      // stored only
  std::uint8_t LiftDetectionValue = 0;  // stored only

  const std::u16string& Setting(ProfileSetting s) const { return pairs[s].value; }
  void SetSetting(ProfileSetting s, std::u16string value) { pairs[s].value = std::move(value); }
};

}  // namespace zeltra
