// The rules of the profile record (its defaults, a reset, the setters of the
// main window's pages) and the global settings of the configuration file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/profile_record.h"
#include "settings/language.h"

namespace zeltra {

// A pair's value read as a decimal number (text that is no number reads as 0).
int SettingNumber(const ProfileRecord& record, ProfileSetting s);

// The default name `selector` (0..4, clamped) picks: language string 85 +
// selector, or "Profile 1".."Profile 5" when the language file has none (a
// profile's name must never be empty: it is its row in the picker).
std::u16string DefaultProfileName(int selector, const LanguageTable& language = Language());

// Puts every field to its defaults and ends with ApplySensorDpiDefaults.
// `nameSelector` picks the default name (DefaultProfileName); the button
// names and lighting mode names come from `language`.
void ResetProfile(ProfileRecord& record, int nameSelector, std::uint16_t sensorCode,
                  const LanguageTable& language = Language());
// The DPI stages, their colours and the two sensor bytes for `sensorCode`. A
// code without a default stage table keeps the eight stage indexes as they are.
void ApplySensorDpiDefaults(ProfileRecord& record, std::uint16_t sensorCode);

// The report rate as the pages and the mouse take it: PollingRateValue byte 0
// (0 = 125 Hz .. 3 = 1000 Hz); any other byte (a hand-edited file) is 1000 Hz.
int ReportRateCode(const ProfileRecord& record);

// Setters of the main window's power-saving controls.
void SetMoveLightingOnOff(ProfileRecord& record, int n);  // "1" when n > 0, else "0"
void SetMotionWakeup(ProfileRecord& record, int n);       // "1" when n > 0, else "0"
void SetPowerDownTime(ProfileRecord& record, int minutes);  // "%d"

inline constexpr int kGlobalPairCount = 17;

// Positions of the 17 global pairs of the configuration file.
enum GlobalSetting : int {
  kNeedPassword = 0,
  kSensor,
  kPreST,
  kMacId,
  kDataChange,
  kCurrentProfile,
  kProfileShowCount,
  kProfileShowList0,  // .. kProfileShowList0 + 4
  kProfileSlot0URL = kProfileShowList0 + 5,  // .. kProfileSlot0URL + 4
};

inline constexpr std::array<PairDefault, kGlobalPairCount> kGlobalPairDefaults{{
    {u"NeedPassword", u"1"},
    {u"Sensor", u"0x3311"},
    {u"PreST", u"0xCCEE"},
    {u"Mac_ID", u"0xFFFFFFFF"},
    {u"DataChange", u"0x1234"},
    {u"CurrentProfile", u"0"},
    {u"ProfileShowCount", u"3"},
    {u"ProfileShowList0", u"0"},
    {u"ProfileShowList1", u"1"},
    {u"ProfileShowList2", u"2"},
    {u"ProfileShowList3", u"3"},
    {u"ProfileShowList4", u"4"},
    {u"ProfileSlot0URL", u""},  // data folder + "config\default<i>.psf"
    {u"ProfileSlot1URL", u""},
    {u"ProfileSlot2URL", u""},
    {u"ProfileSlot3URL", u""},
    {u"ProfileSlot4URL", u""},
}};

struct GlobalSettings {
  std::array<SettingPair, kGlobalPairCount> pairs;

  const std::u16string& Value(int i) const { return pairs[static_cast<std::size_t>(i)].value; }
  void SetValue(int i, std::u16string value) { pairs[static_cast<std::size_t>(i)].value = std::move(value); }
  // Key (part 0) or value (part 1) of pair i; empty for any other i or part.
  std::u16string GlobalPair(int i, int part) const;
};

// All 17 pairs to their defaults; the profile paths are `dataFolder` (stored
// form, ending with a separator) followed by "config\default<i>.psf".
void SetDefaultGlobals(GlobalSettings& globals, std::u16string_view dataFolder);
// That default path of profile `index`.
std::u16string DefaultProfileSlot(std::u16string_view dataFolder, int index);

}  // namespace zeltra
