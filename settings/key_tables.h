// Fixed tables: key names and the mouse's key codes by Windows virtual-key
// code, report-rate names and DPI-lock labels. Constant data, built on first
// use and never changed, so any thread may read them.
#pragma once

#include <cstdint>
#include <string>

namespace zeltra {

// Virtual-key codes E0..E7 are the program's own codes for mouse actions in
// macros: left, right, middle, fourth and fifth button, horizontal and
// vertical movement, wheel.
inline constexpr unsigned kMouseActionFirst = 0xE0;
inline constexpr unsigned kMouseActionLast = 0xE7;

// Display name of a virtual-key code ("A", "F19", "Ctrl_L", "L Key" ...).
// Codes without a name, and codes above 0xFF, give "Undefined".
const std::u16string& KeyName(unsigned virtualKey);

// The mouse's key code for a virtual-key code: the USB HID keyboard usage for
// ordinary keys, E0..E7 for the eight modifiers, F0..F7 for mouse actions and
// a few codes of the mouse's own. 0 means the key has no code; codes above
// 0xFF also give 0.
std::uint8_t DeviceKeyCode(unsigned virtualKey);

// Report-rate names for rate codes 0..3: "125Hz", "250Hz", "500Hz", "1000Hz"
// (the spelling stored when the mouse reports a new rate). Any other code
// gives "1000Hz", as the mouse reads every unknown rate as 1000 Hz; a name is
// never empty, because it is written to profile files.
const std::u16string& ReportRateName(int code);

// The same names in the spelling the main window's report-rate buttons store:
// "125HZ", "250HZ", "500HZ", "1000HZ" ("1000HZ" is also the default name).
// Any other code gives "1000HZ".
const std::u16string& ReportRateButtonName(int code);

// DPI-lock labels for levels 1..11: "200", "300" ... "1200" (level + 1
// hundred DPI). Any other level gives an empty text.
const std::u16string& DpiLockLabel(int level);

}  // namespace zeltra
