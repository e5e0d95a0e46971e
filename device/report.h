// The 33-byte feature reports the mouse understands, the input report it
// sends, and how a profile's values become report bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "model/macro.h"
#include "settings/dpi_table.h"
#include "settings/profile.h"

namespace zeltra {

using Report = std::array<std::uint8_t, kReportLength>;

inline constexpr std::uint8_t kFeatureReportId = 0x0C;
inline constexpr std::uint8_t kInputReportId = 5;
inline constexpr std::uint8_t kInputStateChanged = 6;

enum Command : std::uint8_t {
  kCmdButton = 0x04,
  kCmdDpi = 0x05,
  kCmdDpiColours = 0x06,
  kCmdReportRate = 0x07,
  kCmdLighting = 0x08,
  kCmdLiftOff = 0x09,
  kCmdDebounce = 0x0A,
  kCmdPowerSaving = 0x0B,
  kCmdMotionWakeup = 0x0C,
  kCmdMacro = 0x0E,
  kCmdFactoryReset = 0x0F,
  kCmdStatus = 0x20,
};

// Frame offsets.
inline constexpr std::size_t kOffCommand = 2;
inline constexpr std::size_t kOffResult = 3;
inline constexpr std::size_t kOffSequence = 4;
inline constexpr std::size_t kOffParam = 5;
inline constexpr std::size_t kOffLength = 6;
inline constexpr std::size_t kOffPayload = 7;
inline constexpr std::size_t kMaxPayload = kReportLength - kOffPayload;  // 26

// A report with everything but the sequence number: 0C 01 cmd 00 -- param
// length payload, unused bytes zero. The payload is cut at 26 bytes.
Report MakeReport(std::uint8_t command, std::uint8_t param, std::uint8_t length,
                  std::span<const std::uint8_t> payload);
// A single-report write: parameter 0x01, length = payload size.
Report MakeWrite(std::uint8_t command, std::span<const std::uint8_t> payload);

// Maps a recorded key to the mouse's key code (the program's key-code table,
// DeviceKeyCode, unless a caller passes another).
using DeviceKeyCodeFn = std::uint8_t (*)(unsigned virtualKey);

// ---- Value encodings of the current profile ----

// KeySlot k goes to device position kDevicePosition[k] (slots 3 and 4 swap).
inline constexpr std::array<int, kKeySlotCount> kDevicePosition{0, 1, 2, 4, 3, 5};
using ButtonBytes = std::array<std::uint8_t, 18>;
ButtonBytes EncodeButtons(const ProfileRecord& profile);

// High nibble: active stage + 1; low nibble: number of enabled stages.
std::uint8_t EncodeStageByte(const ProfileRecord& profile);
// Stage byte, enable mask, six 16-bit codes low byte first, three zeros.
using DpiBytes = std::array<std::uint8_t, 17>;
DpiBytes EncodeDpi(const ProfileRecord& profile, const DpiTable& table);
// Eight stage colours as red, green, blue.
using DpiColourBytes = std::array<std::uint8_t, 24>;
DpiColourBytes EncodeDpiColours(const ProfileRecord& profile);
// The report interval in milliseconds: 8, 4, 2 or 1.
std::uint8_t EncodeRateCode(const ProfileRecord& profile);
std::uint8_t EncodeLiftOff(const ProfileRecord& profile);
std::uint8_t EncodeDebounce(const ProfileRecord& profile);
// PowerDownTime and MoveLightingOnOffMode.
std::array<std::uint8_t, 2> EncodePowerSaving(const ProfileRecord& profile);
std::uint8_t EncodeMotionWakeup(const ProfileRecord& profile);

// Byte 0: the lighting length L; bytes 1..L: the payload; the rest zero.
using LightingBytes = std::array<std::uint8_t, 1 + kMaxPayload>;
LightingBytes EncodeLighting(const ProfileRecord& profile);

// ---- Macros ----

inline constexpr std::size_t kMacroImageSize = 512;
inline constexpr std::size_t kMacroImageHeader = 4;
inline constexpr std::size_t kMacroChunk = 25;
// The most device actions an image holds (3 bytes each after the header).
inline constexpr int kMaxDeviceActions = 168;
using MacroImage = std::array<std::uint8_t, kMacroImageSize>;

// 09 90 slot count, then three bytes per key, button, move or wheel action
// with the following delay folded in. The count byte always equals the
// number of actions built, at most 168.
MacroImage BuildMacroImage(const Macro& macro, std::uint8_t slot, DeviceKeyCodeFn deviceKeyCode = nullptr);
// The upload packets of an image (sequence numbers still 0).
std::vector<Report> BuildMacroPackets(const MacroImage& image);

// ---- Status reply and input report ----

struct StatusReply {
  bool modelMatches = false;  // bytes 8..11 are "K5R7"
  bool online = false;
  std::uint8_t sensorNumber = 0;
  std::uint8_t batteryLevel = 0;
  std::uint8_t chargeState = 0;  // 0 on battery, 1 charging, 2 full (level 100)
};
inline constexpr std::size_t kStatusReplyMinLength = 22;
inline constexpr std::array<std::uint8_t, 4> kModelTag{0x4B, 0x35, 0x52, 0x37};
// Nothing for a short reply or one that is not the answer to a status query.
std::optional<StatusReply> ParseStatusReply(std::span<const std::uint8_t> reply);

// A DPI-stage or report-rate notification from the mouse.
struct MouseReport {
  int stagePosition = 1;  // 1-based, counted among the enabled stages
  int rateIndex = 3;      // 0 = 125 Hz .. 3 = 1000 Hz
};
// Nothing for reports other than 5/6, short ones and a stage position that
// cannot be one (0 or beyond eight stages).
std::optional<MouseReport> DecodeInputReport(std::span<const std::uint8_t> report);

}  // namespace zeltra
