// The pairs the main window carries through controls it never shows, and the
// normal form one page refresh followed by a page collection gives them.
#pragma once

#include <string>
#include <string_view>

#include "settings/profile.h"

namespace zeltra {

inline constexpr int kDoubleClickSpeedPositions = 11;  // slider 2044
inline constexpr int kPointerSpeedPositions = 11;      // slider 2043
inline constexpr int kScrollWheelSpeedPositions = 10;  // slider 2041
inline constexpr int kKeyDebouncePositions = 16;       // slider 3530, 2 ms a step

// Position a carrying slider takes for a stored value: the number, held
// within the slider's positions (a hand-edited value beyond them stops at the
// nearest end).
int CarriedSliderPosition(std::u16string_view value, int positions);
// A carrying check box or radio button is on when the value reads as 1.
bool CarriedFlag(std::u16string_view value);

// The pointer settings as their carriers hold them.
struct PointerCarriers {
  int doubleClickSpeed = 0;   // slider 2044
  int pointerSpeed = 0;       // slider 2043
  int scrollWheelSpeed = 0;   // slider 2041
  bool acceleration = false;  // check box 2030
  bool pageScroll = false;    // radio 2010 (else 2009)
};
// Refresh: the carriers from the profile.
PointerCarriers RefreshPointerCarriers(const ProfileRecord& record);
// Collection: the six pointer pairs from the carriers; TiltSpeed follows the
// wheel-speed slider.
void CollectPointerCarriers(ProfileRecord& record, const PointerCarriers& carriers);

// X_DPI as collected: 0..5 kept, any other value 6.
std::u16string CollectedXDpi(std::u16string_view value);
// Debounce slider position for a stored value: value / 2 (truncated), so a
// value above 30 gives the last position (30 ms) and a negative one 0.
int KeyDebounceSliderPosition(std::u16string_view value);
// KeyDebounce as collected from a slider position: "%d" of position x 2.
std::u16string KeyDebounceFromSlider(int position);

// What one refresh and the collection after it do to the pointer pairs,
// X_DPI and KeyDebounce of a profile.
void NormalizeCarriedSettings(ProfileRecord& record);

}  // namespace zeltra
