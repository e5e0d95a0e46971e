// Lighting rules: the ten modes and what each offers, the mode menu, the step
// encodings, the colour-slot on/off rules and the light byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/language.h"
#include "settings/profile.h"

namespace zeltra {

inline constexpr int kLightingSpeedSteps = 3;       // stored 0..2, shown as 1..3
inline constexpr int kLightingBrightnessSteps = 4;  // stored 0..3, shown as 25%..100%
inline constexpr int kLightingSlotButtons = 8;      // slots 8 and 9 have no button

// Attention messages of a refused slot switch-off.
inline constexpr int kMessageKeepOneColour = 153;
inline constexpr int kMessageKeepTwoColours = 154;

struct LightingModeInfo {
  int nameString;    // language string of the mode's name
  int menuItem;      // item number in the mode menu; 0 when the menu does not offer it
  int slotsOffered;  // colour slots 0 .. slotsOffered - 1 are offered
  bool speed;
  bool brightness;
  bool direction;
};

// The mode of a profile for every table lookup: Lighting1ModeValue byte 0, or
// mode 0 for a byte beyond the ten modes (a hand-edited file; the stored byte
// is kept).
int LightingModeIndex(const ProfileRecord& record);
// What a mode offers; a mode outside 0..9 is handled as mode 0.
const LightingModeInfo& LightingMode(int mode);

// Item numbers of the mode menu, in menu order.
inline constexpr std::array<int, 8> kLightingMenuItems{1, 2, 3, 4, 5, 6, 9, 10};
// The mode a menu item selects; nothing for a number that is not in the menu.
std::optional<int> LightingModeForMenuItem(int item);
// Choosing a mode: its name and the mode bytes (mode, 0, 0). Modes outside
// 0..9 are ignored.
void SelectLightingMode(ProfileRecord& record, int mode, const LanguageTable& language = Language());

// Labels of the speed and brightness sliders for a stored step.
std::u16string LightingSpeedText(int step);       // "%d" of step + 1
std::u16string LightingBrightnessText(int step);  // "25%" .. "100%", clamped to the four steps

// Whether a colour slot of a mode is in use (any non-zero flag).
bool ColourSlotInUse(const ProfileRecord& record, int mode, int slot);
// 0 when the slot may go out of use, else the language string of the
// refusal: mode 3 keeps slot 0; mode 2 keeps its last slot among 0-6 and
// mode 7 its last among 0-1 (153); mode 6 keeps two slots among 0-7 (154).
int ColourSlotOffRefusal(const ProfileRecord& record, int mode, int slot);

struct SlotToggle {
  bool changed = false;
  int refusal = 0;  // language string to show when the switch-off was refused
};
// A single click on a slot button of the current mode: a slot not in use
// comes into use; one in use goes out of use unless the mode refuses it.
SlotToggle ToggleColourSlot(ProfileRecord& record, int slot);

// Brightness + 1 in the high nibble, speed + 1 in the low nibble, each masked
// to four bits.
std::uint8_t LightByte(int brightnessStep, int speedStep);
// The light byte of the profile's current mode.
std::uint8_t LightByte(const ProfileRecord& record);

}  // namespace zeltra
