// One macro: a list of up to 336 four-byte actions and its repeat rule.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zeltra {

inline constexpr int kMaxMacroActions = 336;
// Events (key, button, move and wheel actions; delays not counted).
inline constexpr int kMaxMacroEvents = 168;

// Four bytes, kept in this order in memory and in files. An event carries its
// code in byte 0 (8..255) and the release flag in bit 7 of byte 1; a delay has
// a code below 8 (3 when written by this program) and its milliseconds in
// bytes 1..3, most significant first.
struct MacroAction {
  std::array<std::uint8_t, 4> bytes{};

  static MacroAction Event(std::uint8_t code, bool release, std::uint8_t amount = 0) {
    return {{code, static_cast<std::uint8_t>(release ? 0x80 : 0x00), 0, amount}};
  }
  static MacroAction Delay(std::uint32_t milliseconds) {
    return {{3, static_cast<std::uint8_t>(milliseconds >> 16), static_cast<std::uint8_t>(milliseconds >> 8),
             static_cast<std::uint8_t>(milliseconds)}};
  }

  bool IsDelay() const { return bytes[0] < 8; }
  bool IsRelease() const { return (bytes[1] & 0x80) != 0; }
  std::uint8_t Code() const { return bytes[0]; }
  std::uint32_t DelayMs() const {
    return (static_cast<std::uint32_t>(bytes[1]) << 16) | (static_cast<std::uint32_t>(bytes[2]) << 8) | bytes[3];
  }
  friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

class Macro {
 public:
  Macro() = default;
  explicit Macro(std::u16string macroName) : name(std::move(macroName)) {}

  // Stores action i (0..335) without changing MacroActionNum; 0 when i is outside.
  int SetAction(int i, const MacroAction& action);
  // Inserts at i (appends when i is at or beyond the count); 0 when full.
  int InsertAction(int i, const MacroAction& action);
  // Deletes action i; 0 when i is not below the count. The freed last entry is zeroed.
  int DeleteAction(int i);
  // Name, index, counts, repeat rule and the valid actions of `other`.
  void CopyFrom(const Macro& other);
  // Number of event actions (not delays) among the valid actions.
  int CountEvents() const;

  std::u16string name;
  std::uint32_t MacroKeyIndex = 0;
  std::uint32_t MacroActionNum = 0;  // valid entries of AllAction, 0..336
  std::array<MacroAction, kMaxMacroActions> AllAction{};
  std::uint8_t MacroKeyLoopType = 2;  // 1, 2 or 4
  std::uint8_t MacroKeyLoopNum = 1;
  std::uint8_t MacroCommandActionNum = 0;  // events, 0..168
};

}  // namespace zeltra
