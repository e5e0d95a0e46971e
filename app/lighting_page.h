// The lighting page's rules besides the refresh: the mode popup's result,
// the colour-slot click timers, and the slider drag that waits for the
// release before applying.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/main_window_ids.h"
#include "app/page_state.h"
#include "settings/lighting.h"
#include "settings/profile.h"

namespace zeltra {

inline constexpr int kSlotTimerMs = 150;

// Colour slot s toggles on timer s + 1, 150 ms after a single click, unless
// a double click cancels it first.
constexpr unsigned SlotTimerId(int slot) { return static_cast<unsigned>(slot + 1); }
// The slot of timer 1..8, or -1 for any other timer.
int SlotOfTimer(unsigned timerId);

// The mode popup returned its label and mode bytes (mode, 0, 0): the
// profile's mode name and value. A mode byte beyond the ten modes is
// refused (false).
bool StoreLightingMode(ProfileRecord& record, const std::u16string& name, const std::array<std::uint8_t, 3>& bytes);

// A lighting slider moved to `position`: speed or brightness in the page,
// held inside the slider's positions. False for other ids.
bool OnLightingSlider(PageState& page, int sliderId, int position);

// The slider drag of the main window: a move while dragging marks the change
// and waits; the release, or the first move without the button after a drag,
// starts the apply.
class SliderDrag {
 public:
  // A lighting slider sent a new position while the button is held.
  void OnDragged() { dragged_ = 1; }
  // Mouse move without the left button: true when the apply timer starts
  // now (a change is pending from a drag).
  bool OnMoveWithoutButton(bool settingsPending);
  int sliderDragged() const { return dragged_; }

 private:
  int dragged_ = 0;
};

}  // namespace zeltra
