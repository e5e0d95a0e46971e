#include "settings/lighting.h"

#include <algorithm>

#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::array<LightingModeInfo, kLightingModeCount> kModes{{
    //  name menu slots speed  bright direction
    {109, 10, 0, false, false, false},
    {100, 1, 0, true, false, true},
    {101, 2, 7, true, false, false},
    {102, 3, 1, false, true, false},
    {103, 4, 0, true, false, false},
    {110, 5, 0, true, false, false},
    {105, 6, 8, false, false, false},
    {106, 0, 2, true, false, false},
    {111, 0, 0, true, false, false},
    {108, 9, 0, true, false, false},
}};

bool ValidMode(int mode) { return mode >= 0 && mode < kLightingModeCount; }
bool ValidSlot(int slot) { return slot >= 0 && slot < kLightingSlotCount; }

int SlotsInUse(const ProfileRecord& record, int mode, int slots) {
  int used = 0;
  for (int s = 0; s < slots; ++s) used += ColourSlotInUse(record, mode, s) ? 1 : 0;
  return used;
}

}  // namespace

int LightingModeIndex(const ProfileRecord& record) {
  const int mode = record.Lighting1ModeValue[0];
  return ValidMode(mode) ? mode : 0;
}

const LightingModeInfo& LightingMode(int mode) { return kModes[static_cast<std::size_t>(ValidMode(mode) ? mode : 0)]; }

std::optional<int> LightingModeForMenuItem(int item) {
  for (int mode = 0; mode < kLightingModeCount; ++mode)
    if (item != 0 && kModes[static_cast<std::size_t>(mode)].menuItem == item) return mode;
  return std::nullopt;
}

void SelectLightingMode(ProfileRecord& record, int mode, const LanguageTable& language) {
  if (!ValidMode(mode)) return;
  record.Lighting1Name = language.String(LightingMode(mode).nameString);
  record.Lighting1ModeValue = {static_cast<std::uint8_t>(mode), 0, 0};
}

std::u16string LightingSpeedText(int step) { return Dec(static_cast<long long>(step) + 1); }

std::u16string LightingBrightnessText(int step) {
  static constexpr std::array<std::u16string_view, kLightingBrightnessSteps> kTexts{u"25%", u"50%", u"75%", u"100%"};
  return std::u16string(kTexts[static_cast<std::size_t>(std::clamp(step, 0, kLightingBrightnessSteps - 1))]);
}

bool ColourSlotInUse(const ProfileRecord& record, int mode, int slot) {
  if (!ValidMode(mode) || !ValidSlot(slot)) return false;
  return record.Lighting1ColorSelected[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)] != 0;
}

int ColourSlotOffRefusal(const ProfileRecord& record, int mode, int slot) {
  if (!ColourSlotInUse(record, mode, slot)) return 0;
  switch (mode) {
    case 3:
      return kMessageKeepOneColour;
    case 2:
      return slot <= 6 && SlotsInUse(record, 2, 7) == 1 ? kMessageKeepOneColour : 0;
    case 7:
      return slot <= 1 && SlotsInUse(record, 7, 2) == 1 ? kMessageKeepOneColour : 0;
    case 6:
      return slot <= 7 && SlotsInUse(record, 6, 8) == 2 ? kMessageKeepTwoColours : 0;
    default:
      return 0;
  }
}

SlotToggle ToggleColourSlot(ProfileRecord& record, int slot) {
  const int mode = LightingModeIndex(record);
  if (!ValidSlot(slot)) return {};
  auto& flag = record.Lighting1ColorSelected[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)];
  if (flag == 0) {
    flag = 1;
    return {true, 0};
  }
  if (const int refusal = ColourSlotOffRefusal(record, mode, slot)) return {false, refusal};
  flag = 0;
  return {true, 0};
}

std::uint8_t LightByte(int brightnessStep, int speedStep) {
  const auto high = static_cast<unsigned>(brightnessStep + 1) & 0x0Fu;
  const auto low = static_cast<unsigned>(speedStep + 1) & 0x0Fu;
  return static_cast<std::uint8_t>((high << 4) | low);
}

std::uint8_t LightByte(const ProfileRecord& record) {
  const auto mode = static_cast<std::size_t>(LightingModeIndex(record));
  return LightByte(record.Lighting1Brightness[mode], record.Lighting1Speed[mode]);
}

}  // namespace zeltra
