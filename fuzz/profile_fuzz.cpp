// Profile reader: whatever the file holds, the record read from it indexes no
// table out of range, and a profile written back reads back the same.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_scratch.h"
#include "settings/dpi_table.h"
#include "settings/lighting.h"
#include "settings/pointer_settings.h"
#include "settings/profile_file.h"

using namespace zeltra;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckMacros(const ProfileRecord& r) {
  for (const KeySlot& slot : r.Key) {
    Check(slot.macro.MacroActionNum <= static_cast<std::uint32_t>(kMaxMacroActions));
    Check(slot.macro.MacroCommandActionNum <= kMaxMacroEvents);
    Check(slot.macro.MacroCommandActionNum == std::min(slot.macro.CountEvents(), kMaxMacroEvents));
  }
}

// The rules the pages and reports apply to a loaded record.
void UseTheRecord(ProfileRecord& r) {
  for (std::uint16_t sensor : {std::uint16_t{0x3104}, std::uint16_t{0x3395}, std::uint16_t{0x1234}}) {
    const DpiTable table = DpiTableFor(sensor);
    for (std::uint16_t index : r.XYSettingValue) {
      const int dpi = table.DpiOf(index);
      Check(dpi >= 50 && dpi <= 26000);
      table.DeviceValueOf(index);
    }
  }
  ActiveStageIndex(r.DPIOffOnFlagValue, r.CurrentDPILevelValue);
  StageByte(r.DPIOffOnFlagValue, r.CurrentDPILevelValue);
  for (int stage = 0; stage < kDpiStageCount; ++stage) {
    const StageToggle t = ToggleStageEnable(r.DPIOffOnFlagValue, r.CurrentDPILevelValue, stage, true);
    ToggleStageEnable(t.mask, t.active, stage, false);
  }

  const int mode = LightingModeIndex(r);
  Check(mode >= 0 && mode < kLightingModeCount);
  LightByte(r);
  LightingBrightnessText(r.Lighting1Brightness[static_cast<std::size_t>(mode)]);
  for (int slot = 0; slot < kLightingSlotCount; ++slot) {
    const int refusal = ColourSlotOffRefusal(r, mode, slot);
    Check(refusal == 0 || refusal == kMessageKeepOneColour || refusal == kMessageKeepTwoColours);
  }

  NormalizeCarriedSettings(r);
  const auto once = ProfileFileLines(r);
  NormalizeCarriedSettings(r);
  Check(ProfileFileLines(r) == once);
  Check(KeyDebounceSliderPosition(r.Setting(kKeyDebounce)) < kKeyDebouncePositions);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto& dir = fuzz::ScratchDir();
  const auto in = dir / "in.psf";
  const auto out = dir / "out.psf";
  fuzz::WriteInput(in, data, size);

  ProfileRecord first;
  if (!ReadProfileRecord(in, first)) return 0;
  CheckMacros(first);

  const auto lines = ProfileFileLines(first);
  Check(lines.size() == static_cast<std::size_t>(kProfileFileLineCount));
  Check(WriteProfileRecord(out, first));
  ProfileRecord second;
  Check(ReadProfileRecord(out, second));
  Check(ProfileFileLines(second) == lines);
  CheckMacros(second);

  UseTheRecord(second);
  return 0;
}
