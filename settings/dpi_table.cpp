#include "settings/dpi_table.h"

#include <algorithm>
#include <bit>

#include "settings/text_format.h"

namespace zeltra {

namespace {

struct Builder {
  DpiTable& t;
  void Range(int from, int to, int step) {
    for (int v = from; v <= to; v += step) Add(v);
  }
  void Add(int v) {
    if (t.count < kMaxDpiSteps) t.listed[static_cast<std::size_t>(t.count++)] = static_cast<std::uint16_t>(v);
  }
};

}  // namespace

int DpiTable::ClampIndex(int index) const {
  if (count <= 0) return 0;
  return std::clamp(index, 0, count - 1);
}

int DpiTable::DpiOf(int index) const { return count > 0 ? listed[static_cast<std::size_t>(ClampIndex(index))] * 50 : 0; }

std::uint16_t DpiTable::DeviceValueOf(int index) const {
  return count > 0 ? device[static_cast<std::size_t>(ClampIndex(index))] : 0;
}

bool IsKnownSensor(std::uint16_t code) {
  switch (code) {
    case 0x3104: case 0x3212: case 0x3311: case 0x3325: case 0x3327: case 0x3335:
    case 0x3389: case 0x3360: case 0x3370: case 0x3395: case 0x3399:
      return true;
    default:
      return false;
  }
}

bool BuildDpiTable(std::uint16_t code, DpiTable& table) {
  if (!IsKnownSensor(code)) return false;
  DpiTable t;
  t.sensor = code;
  Builder b{t};
  int deviceOffset = 0;
  switch (code) {
    case 0x3104:
      b.Range(2, 80, 2);
      for (int v : {90, 96, 110, 120, 130, 140, 150, 160}) b.Add(v);
      break;
    case 0x3212:
      b.Range(4, 48, 2);
      b.Range(60, 96, 2);
      deviceOffset = 1;
      break;
    case 0x3311:
      b.Range(2, 240, 2);
      deviceOffset = 1;
      break;
    case 0x3325:
      b.Range(4, 100, 2);
      for (int v : {110, 120, 128, 140, 150, 160, 170, 180, 190, 200}) b.Add(v);
      deviceOffset = 1;
      break;
    case 0x3327:
      b.Range(4, 124, 2);
      b.Range(130, 240, 10);
      b.Add(248);
      deviceOffset = 1;
      break;
    case 0x3335:
    case 0x3389:
      b.Range(2, 320, 2);
      t.pageFlag = true;
      break;
    case 0x3360:
      b.Range(2, 240, 2);
      b.Add(480);
      t.pageFlag = true;
      break;
    case 0x3370:
      b.Range(1, 200, 1);
      b.Range(202, 380, 2);
      t.pageFlag = true;
      break;
    case 0x3395:
      b.Range(1, 520, 1);
      t.pageFlag = true;
      break;
    case 0x3399:
      b.Range(1, 400, 1);
      t.pageFlag = true;
      break;
  }
  for (int i = 0; i < t.count; ++i) t.device[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i + deviceOffset);
  table = t;
  return true;
}

DpiTable DpiTableFor(std::uint16_t code) {
  DpiTable table;
  if (!BuildDpiTable(code, table)) BuildDpiTable(kDefaultSensorCode, table);
  return table;
}

std::optional<std::uint16_t> SensorCodeFromNumber(int number) {
  switch (number) {
    case 4: return 0x3104;
    case 17: return 0x3311;
    case 18: return 0x3212;
    case 37: return 0x3325;
    case 39: return 0x3327;
    case 53: return 0x3335;
    case 96: return 0x3360;
    case 112: return 0x3370;
    case 137: return 0x3389;
    case 149: return 0x3395;
    case 153: return 0x3399;
    default: return std::nullopt;
  }
}

int ActiveStageIndex(std::uint8_t mask, int active) {
  int seen = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (mask & (1u << bit)) {
      if (seen == active) return bit;
      ++seen;
    }
  }
  return 8;
}

StageToggle ToggleStageEnable(std::uint8_t mask, int active, int stage, bool checked) {
  StageToggle result{false, mask, active};
  if (stage < 0 || stage > 7) return result;
  const auto bit = static_cast<std::uint8_t>(1u << stage);
  if (mask == bit) {
    result.refused = true;
    return result;
  }
  if (checked == ((mask & bit) != 0)) return result;
  const int a = ActiveStageIndex(mask, active);
  if (checked) {
    if (a > stage) ++result.active;
    result.mask = static_cast<std::uint8_t>(mask | bit);
  } else {
    if ((a == stage && active > 0) || a > stage) --result.active;
    result.mask = static_cast<std::uint8_t>(mask & ~bit);
  }
  return result;
}

int DpiIndexForTyped(const DpiTable& table, int dpi) {
  if (table.count <= 0) return 0;
  for (int i = 0; i < table.count - 1; ++i)
    if (table.DpiOf(i) >= dpi) return i;
  return table.count - 1;
}

int DpiIndexForText(const DpiTable& table, std::u16string_view text) { return DpiIndexForTyped(table, ParseDecimal(text)); }

std::uint8_t StageByte(std::uint8_t mask, int active) {
  const auto high = static_cast<unsigned>(active + 1) & 0x0Fu;
  const auto low = static_cast<unsigned>(std::popcount(mask)) & 0x0Fu;
  return static_cast<std::uint8_t>((high << 4) | low);
}

}  // namespace zeltra
