#include "macro/macro_recorder.h"

#include <algorithm>

namespace zeltra {

std::uint32_t RecordedPause(std::uint32_t previousTime, std::uint32_t time) {
  const std::uint32_t pause = (time - previousTime) & kKeyHookTimeMask;
  return std::min(pause, kMaxRecordedPauseMs);
}

MacroRecorder::StartResult MacroRecorder::Start(Macro* current) {
  if (!current) {
    recording_ = false;
    return StartResult::kNoMacro;
  }
  recording_ = true;
  lastKey_ = 0;
  lastLParam_ = 0;
  current->MacroActionNum = 0;
  current->MacroCommandActionNum = 0;
  return StartResult::kStarted;
}

MacroRecorder::EventResult MacroRecorder::Record(Macro& macro, const KeyHookEvent& event, bool recordDelays) {
  if (!recording_ || event.virtualKey < 8) return EventResult::kIgnored;
  const bool lastWasRelease = (lastLParam_ & kKeyHookReleaseBit) != 0;
  if (event.virtualKey == lastKey_ && event.release == lastWasRelease) return EventResult::kIgnored;

  const bool withDelay = recordDelays && macro.MacroActionNum > 0;
  // The event count is the rule; the room check only matters when delays were
  // inserted by hand beside recorded ones, so that an event is never half stored.
  const std::uint32_t needed = withDelay ? 2 : 1;
  if (macro.MacroCommandActionNum >= kMaxMacroEvents || macro.MacroActionNum + needed > kMaxMacroActions) {
    recording_ = false;
    return EventResult::kLimitReached;
  }
  ++macro.MacroCommandActionNum;
  const auto end = [&] { return static_cast<int>(macro.MacroActionNum); };
  if (withDelay)
    macro.InsertAction(end(), MacroAction::Delay(RecordedPause(lastLParam_ & kKeyHookTimeMask, event.time)));
  macro.InsertAction(end(), MacroAction::Event(event.virtualKey, event.release));
  lastKey_ = event.virtualKey;
  lastLParam_ = MakeKeyHookLParam(event.release, event.time);
  return EventResult::kStored;
}

}  // namespace zeltra
