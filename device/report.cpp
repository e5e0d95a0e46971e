#include "device/report.h"

#include <algorithm>
#include <bit>

#include "settings/key_tables.h"
#include "settings/lighting.h"

namespace zeltra {

namespace {

std::uint8_t LowByteOf(const ProfileRecord& profile, ProfileSetting setting) {
  return static_cast<std::uint8_t>(SettingNumber(profile, setting) & 0xFF);
}

void PutColour(std::uint8_t* out, Colour colour) {
  out[0] = RedOf(colour);
  out[1] = GreenOf(colour);
  out[2] = BlueOf(colour);
}

}  // namespace

Report MakeReport(std::uint8_t command, std::uint8_t param, std::uint8_t length,
                  std::span<const std::uint8_t> payload) {
  Report r{};
  r[0] = kFeatureReportId;
  r[1] = 0x01;
  r[kOffCommand] = command;
  r[kOffParam] = param;
  r[kOffLength] = length;
  std::copy_n(payload.begin(), std::min(payload.size(), kMaxPayload), r.begin() + kOffPayload);
  return r;
}

Report MakeWrite(std::uint8_t command, std::span<const std::uint8_t> payload) {
  return MakeReport(command, 0x01, static_cast<std::uint8_t>(std::min(payload.size(), kMaxPayload)), payload);
}

ButtonBytes EncodeButtons(const ProfileRecord& profile) {
  ButtonBytes bytes{};
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    const auto& code = profile.Key[static_cast<std::size_t>(slot)].Value;
    std::copy_n(code.begin(), 3, bytes.begin() + kDevicePosition[static_cast<std::size_t>(slot)] * 3);
  }
  return bytes;
}

std::uint8_t EncodeStageByte(const ProfileRecord& profile) {
  const int active = (profile.CurrentDPILevelValue + 1) & 0x0F;
  const int enabled = std::popcount(profile.DPIOffOnFlagValue) & 0x0F;
  return static_cast<std::uint8_t>((active << 4) | enabled);
}

DpiBytes EncodeDpi(const ProfileRecord& profile, const DpiTable& table) {
  DpiBytes bytes{};
  bytes[0] = EncodeStageByte(profile);
  bytes[1] = profile.DPIOffOnFlagValue;
  for (int stage = 0; stage < 6; ++stage) {
    const std::uint16_t code = table.DeviceValueOf(profile.XYSettingValue[static_cast<std::size_t>(stage)]);
    bytes[static_cast<std::size_t>(2 + stage * 2)] = static_cast<std::uint8_t>(code);
    bytes[static_cast<std::size_t>(3 + stage * 2)] = static_cast<std::uint8_t>(code >> 8);
  }
  return bytes;
}

DpiColourBytes EncodeDpiColours(const ProfileRecord& profile) {
  DpiColourBytes bytes{};
  for (int stage = 0; stage < kDpiStageCount; ++stage)
    PutColour(&bytes[static_cast<std::size_t>(stage * 3)], profile.DPILevelIndicationValue[static_cast<std::size_t>(stage)]);
  return bytes;
}

std::uint8_t EncodeRateCode(const ProfileRecord& profile) {
  switch (profile.PollingRateValue[0]) {
    case 0: return 8;
    case 1: return 4;
    case 2: return 2;
    default: return 1;
  }
}

std::uint8_t EncodeLiftOff(const ProfileRecord& profile) {
  return SettingNumber(profile, kLiftDetectionHeight) == 1 ? 1 : 2;
}

std::uint8_t EncodeDebounce(const ProfileRecord& profile) { return LowByteOf(profile, kKeyDebounce); }

std::array<std::uint8_t, 2> EncodePowerSaving(const ProfileRecord& profile) {
  return {LowByteOf(profile, kPowerDownTime), LowByteOf(profile, kMoveLightingOnOffMode)};
}

std::uint8_t EncodeMotionWakeup(const ProfileRecord& profile) { return LowByteOf(profile, kMotionWakeup); }

LightingBytes EncodeLighting(const ProfileRecord& profile) {
  LightingBytes out{};
  const int mode = profile.Lighting1ModeValue[0];
  std::uint8_t* payload = &out[1];
  payload[0] = static_cast<std::uint8_t>(mode);
  payload[1] = LightByte(profile);  // a mode beyond the ten reads mode 0's steps
  std::size_t length = 2;
  const auto slotColour = [&](int slot) { return profile.Lighting1FixedColor[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)]; };
  const auto slotUsed = [&](int slot) {
    return profile.Lighting1ColorSelected[static_cast<std::size_t>(mode)][static_cast<std::size_t>(slot)] != 0;
  };
  // Fixed places: a slot not in use stays black.
  const auto fixedSlots = [&](int slots) {
    for (int s = 0; s < slots; ++s)
      if (slotUsed(s)) PutColour(&payload[2 + s * 3], slotColour(s));
    length = 2 + static_cast<std::size_t>(slots) * 3;
  };
  switch (mode) {
    case 1:
      payload[2] = profile.Lighting1Direction[1];
      length = 3;
      break;
    case 2: {
      int n = 0;
      for (int s = 0; s < 7; ++s) {
        if (!slotUsed(s) || (slotColour(s) & 0xFFFFFF) == 0) continue;
        PutColour(&payload[3 + n * 3], slotColour(s));
        ++n;
      }
      payload[2] = static_cast<std::uint8_t>(n);
      length = 3 + static_cast<std::size_t>(n) * 3;
      break;
    }
    case 3:
      PutColour(&payload[2], slotColour(0));
      length = 5;
      break;
    case 6:
      fixedSlots(7);
      break;
    case 7:
      fixedSlots(2);
      break;
    default:
      break;
  }
  out[0] = static_cast<std::uint8_t>(length);
  return out;
}

MacroImage BuildMacroImage(const Macro& macro, std::uint8_t slot, DeviceKeyCodeFn deviceKeyCode) {
  MacroImage image{};
  image[0] = 0x09;
  image[1] = 0x90;
  image[2] = slot;
  const int count = static_cast<int>(std::min<std::uint32_t>(macro.MacroActionNum, kMaxMacroActions));
  const auto isDelay = [&](int i) { return macro.AllAction[static_cast<std::size_t>(i)].bytes[0] == 3; };
  int built = 0;
  for (int i = 0; i < count && built < kMaxDeviceActions; ++i) {
    if (isDelay(i)) continue;
    const MacroAction& action = macro.AllAction[static_cast<std::size_t>(i)];
    std::uint32_t delay = 0;
    if (i + 1 < count && isDelay(i + 1))
      delay = std::min<std::uint32_t>(macro.AllAction[static_cast<std::size_t>(i + 1)].DelayMs(), 4095);
    const std::uint8_t code = action.bytes[0];
    std::uint8_t value = 0;
    if (code >= 0xE0 && code <= 0xE7)
      value = static_cast<std::uint8_t>(code + 0x10);  // the mouse's own codes for mouse actions
    else
      value = (deviceKeyCode ? deviceKeyCode : &DeviceKeyCode)(code);
    std::uint8_t type = 0;
    std::uint8_t c = value;
    if (value <= 0x90) {
      type = 0x30;
    } else if (value <= 0xE7) {
      type = 0x20;
      c = static_cast<std::uint8_t>(1u << (value & 7));
    } else if (value >= 0xF0 && value <= 0xF4) {
      type = 0x10;
      c = static_cast<std::uint8_t>(1u << (value & 7));
    } else if (value >= 0xF5 && value <= 0xF7) {
      type = static_cast<std::uint8_t>(0x40 + (value - 0xF5) * 0x10);
      c = action.bytes[3];
    }
    const std::size_t at = kMacroImageHeader + static_cast<std::size_t>(built) * 3;
    image[at] = static_cast<std::uint8_t>((action.bytes[1] & 0x80) | type | ((delay >> 8) & 0x0F));
    image[at + 1] = static_cast<std::uint8_t>(delay & 0xFF);
    image[at + 2] = c;
    ++built;
  }
  image[3] = static_cast<std::uint8_t>(built);
  return image;
}

std::vector<Report> BuildMacroPackets(const MacroImage& image) {
  const int actions = std::min<int>(image[3], kMaxDeviceActions);
  const std::size_t total = static_cast<std::size_t>(actions) * 3;
  const std::size_t packets = std::max<std::size_t>(1, (total + kMacroChunk - 1) / kMacroChunk);
  std::vector<Report> out;
  out.reserve(packets);
  std::size_t remaining = total;
  for (std::size_t k = 0; k < packets; ++k) {
    std::array<std::uint8_t, kMaxPayload> payload{};
    payload[0] = image[2];
    const std::size_t from = kMacroImageHeader + kMacroChunk * k;
    for (std::size_t j = 0; j < kMacroChunk && from + j < image.size(); ++j) payload[1 + j] = image[from + j];
    std::uint8_t length = 0;
    if (remaining > kMacroChunk) {
      length = 26;
      remaining -= kMacroChunk;
    } else {
      length = static_cast<std::uint8_t>(remaining + 1);
    }
    const auto param = static_cast<std::uint8_t>(((k << 4) | (packets & 0x0F)) & 0xFF);
    out.push_back(MakeReport(kCmdMacro, param, length, payload));
  }
  return out;
}

std::optional<StatusReply> ParseStatusReply(std::span<const std::uint8_t> reply) {
  if (reply.size() < kStatusReplyMinLength) return std::nullopt;
  if (reply[kOffCommand] != kCmdStatus || reply[kOffResult] != 0) return std::nullopt;
  StatusReply status;
  status.modelMatches = std::equal(kModelTag.begin(), kModelTag.end(), reply.begin() + 8);
  status.online = reply[21] != 0;
  status.sensorNumber = reply[15];
  status.batteryLevel = reply[18];
  if (reply[19] == 1) {
    status.chargeState = 1;
  } else if (reply[19] == 2) {
    status.chargeState = 2;
    status.batteryLevel = 100;
  }
  return status;
}

std::optional<MouseReport> DecodeInputReport(std::span<const std::uint8_t> report) {
  if (report.size() < 5 || report[0] != kInputReportId || report[1] != kInputStateChanged) return std::nullopt;
  if (report[4] < 1 || report[4] > kDpiStageCount) return std::nullopt;
  MouseReport decoded;
  decoded.stagePosition = report[4];
  switch (report[3]) {
    case 8: decoded.rateIndex = 0; break;
    case 4: decoded.rateIndex = 1; break;
    case 2: decoded.rateIndex = 2; break;
    default: decoded.rateIndex = 3; break;
  }
  return decoded;
}

}  // namespace zeltra
