// DPI step tables of the supported sensors and the active-stage rule.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zeltra {

inline constexpr int kMaxDpiSteps = 520;
inline constexpr std::uint16_t kDefaultSensorCode = 0x3311;

// The step table of one sensor: entry i has a listed number (DPI = number x 50)
// and the device value the mouse receives for it.
struct DpiTable {
  std::uint16_t sensor = 0;
  int count = 0;           // n, 0 until a table was built
  bool pageFlag = false;   // the lift-off section is offered
  std::array<std::uint16_t, kMaxDpiSteps> listed{};
  std::array<std::uint16_t, kMaxDpiSteps> device{};

  // An index beyond the table (a stored 0x3104 stage 6 or 7, or a hand-edited
  // file) uses the table's last entry; the stored index itself is kept.
  int ClampIndex(int index) const;
  // DPI of an index: listed number x 50.
  int DpiOf(int index) const;
  std::uint16_t DeviceValueOf(int index) const;
};

// True for the sensor codes that have a step table.
bool IsKnownSensor(std::uint16_t code);
// Fills `table` for a known sensor code; an unknown code leaves it unchanged
// and returns false.
bool BuildDpiTable(std::uint16_t code, DpiTable& table);
// The table for the code, or the default sensor's table when the code names
// none (a hand-edited configuration), until a known sensor is reported.
DpiTable DpiTableFor(std::uint16_t code);
// Sensor number of the status reply -> sensor code; nothing for other numbers.
std::optional<std::uint16_t> SensorCodeFromNumber(int number);

// Absolute stage index of the active stage: the (active + 1)-th set bit of the
// mask, walking from bit 0. With fewer set bits (or an empty mask) the result
// is 8, which callers treat as "no such stage".
int ActiveStageIndex(std::uint8_t mask, int active);

// Result of ticking or clearing a stage's enable box.
struct StageToggle {
  bool refused = false;  // the only enabled stage cannot be switched off
  std::uint8_t mask = 0;
  int active = 0;  // new active value, still counted among the enabled stages
};
// Switches stage `stage` (0..7) on (`checked`) or off, keeping the same stage
// active where possible: when the active stage itself goes off, the previous
// enabled stage becomes active, or the next one when it was the first.
// Stages outside 0..7 and boxes that already match the mask change nothing.
StageToggle ToggleStageEnable(std::uint8_t mask, int active, int stage, bool checked);

// Index of a typed DPI: rounded up to the next entry of the table and capped
// at its last entry. 0 for an empty table.
int DpiIndexForTyped(const DpiTable& table, int dpi);
// The same for the text of the DPI box (text that is no number reads as 0).
int DpiIndexForText(const DpiTable& table, std::u16string_view text);

// Stage byte of the DPI report: active value + 1 in the high nibble, the
// number of enabled stages in the low one, each masked to four bits.
std::uint8_t StageByte(std::uint8_t mask, int active);

}  // namespace zeltra
