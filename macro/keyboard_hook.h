// What the keyboard hook delivers to the window that started it: message
// kKeyHookMessage once per key transition anywhere in the system. The Windows hook lives
// in macro/win32/; the recorder and the key dialogs only rely on this.
//
//   wParam: the virtual-key code (below 256; its low byte is what counts)
//   lParam: bit 31 set for a release, clear for a press;
//           bits 0..30 an event time in milliseconds that wraps after 2^31
//
// Repeated presses of a held key may arrive; the recorder filters them.
#pragma once

#include <cstdint>

#include "macro/macro_messages.h"

namespace zeltra {

inline constexpr std::uint32_t kKeyHookReleaseBit = 0x80000000u;
inline constexpr std::uint32_t kKeyHookTimeMask = 0x7FFFFFFFu;

struct KeyHookEvent {
  std::uint8_t virtualKey = 0;
  bool release = false;
  std::uint32_t time = 0;  // milliseconds, 31 bits

  friend bool operator==(const KeyHookEvent&, const KeyHookEvent&) = default;
};

// lParam of kKeyHookMessage for a transition at `timeMs` (only its low 31 bits are kept).
constexpr std::uint32_t MakeKeyHookLParam(bool release, std::uint32_t timeMs) {
  return (release ? kKeyHookReleaseBit : 0u) | (timeMs & kKeyHookTimeMask);
}

// Decodes kKeyHookMessage. Only the low 32 bits of lParam carry meaning (on
// 64-bit Windows the parameter is wider).
constexpr KeyHookEvent DecodeKeyHookMessage(std::uint64_t wParam, std::uint64_t lParam) {
  const auto bits = static_cast<std::uint32_t>(lParam);
  return {static_cast<std::uint8_t>(wParam & 0xFF), (bits & kKeyHookReleaseBit) != 0, bits & kKeyHookTimeMask};
}

}  // namespace zeltra
