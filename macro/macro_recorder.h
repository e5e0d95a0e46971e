// Recording key presses into the current macro: the state the macro manager
// keeps while its record button is on, and what one hook event does.
#pragma once

#include <cstdint>

#include "macro/keyboard_hook.h"
#include "model/macro.h"

namespace zeltra {

// Recorded pauses longer than this are stored as this.
inline constexpr std::uint32_t kMaxRecordedPauseMs = 4095;
// Attention messages of the recorder (language strings).
inline constexpr int kNoMacroToRecordMessage = 234;
inline constexpr int kRecordLimitMessage = 235;

class MacroRecorder {
 public:
  enum class StartResult {
    kStarted,  // start the hook and disable the other controls
    kNoMacro,  // switch the record button off again and show kNoMacroToRecordMessage
  };
  enum class EventResult {
    kIgnored,       // a code below 8 or a repeated transition of a held key
    kStored,        // the action list scrolls to its new last action
    kLimitReached,  // recording has ended: stop the hook, switch the button off,
                    // enable the controls, show kRecordLimitMessage, save the library
  };

  // Empties `current` (the counts only: old entries are overwritten as new
  // actions are appended) and starts recording into it.
  StartResult Start(Macro* current);
  // The record button was switched off.
  void Stop() { recording_ = false; }
  bool recording() const { return recording_; }

  // One hook event while recording; `recordDelays` is the delay check box.
  EventResult Record(Macro& macro, const KeyHookEvent& event, bool recordDelays);

  std::uint8_t lastKey() const { return lastKey_; }
  std::uint32_t lastLParam() const { return lastLParam_; }

 private:
  bool recording_ = false;
  std::uint8_t lastKey_ = 0;
  std::uint32_t lastLParam_ = 0;
};

// The pause between two event times of the hook, over 31 bits (the clock
// wraps after 2^31 ms), capped at kMaxRecordedPauseMs.
std::uint32_t RecordedPause(std::uint32_t previousTime, std::uint32_t time);

}  // namespace zeltra
