// What every control of the main window shows or carries, as one value: the
// refresh fills it from the current profile and the global settings, the
// collection writes the carried part back into the profile. The window
// pushes it into its controls after a refresh; the handlers keep it up to
// date with what the user changed on a control.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/language.h"
#include "settings/pointer_settings.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "ui/control_selection.h"

namespace zeltra {

// Bits of the radio selection word that the main window's radio buttons and
// its two invisible groups use (the macro manager's group is not ours).
inline constexpr std::uint32_t kRadioXDpiMask = kRadioGroupXDpi;  // bit n: X_DPI choice n (0..6)
inline constexpr std::uint32_t kRadioScrollMask = kRadioGroupWheelPage;
inline constexpr std::uint32_t kRadioScrollLines = 0x80;
inline constexpr std::uint32_t kRadioScrollPages = 0x100;
inline constexpr std::uint32_t kRadioDirectionMask = kRadioGroupLightDirection;
inline constexpr std::uint32_t kRadioDirectionUp = 0x800;
inline constexpr std::uint32_t kRadioDirectionDown = 0x1000;
inline constexpr std::uint32_t kRadioRateMask = kRadioGroupReportRate;  // rate r: kRadioRate125 << r
inline constexpr std::uint32_t kRadioRate125 = 0x10000;
inline constexpr std::uint32_t kRadioLiftOffMask = kRadioGroupLiftOff;
inline constexpr std::uint32_t kRadioLiftOffLow = 0x100000;
inline constexpr std::uint32_t kRadioLiftOffHigh = 0x200000;
inline constexpr std::uint32_t kMainWindowRadioMask =
    kRadioXDpiMask | kRadioScrollMask | kRadioDirectionMask | kRadioRateMask | kRadioLiftOffMask;

inline constexpr int kSpeedSliderPositions = 3;       // the speed slider
inline constexpr int kBrightnessSliderPositions = 4;  // the brightness slider
inline constexpr int kXDpiChoices = 7;
inline constexpr int kPowerDialMin = 3;  // the dial's wedges give 3..10 minutes
inline constexpr int kPowerDialMax = 10;
inline constexpr int kStringSleepBefore = 266;
inline constexpr int kStringSleepAfter = 267;

// One DPI stage as its four controls show it.
struct DpiStageView {
  bool enabled = false;  // its enable check; carried into DPIOffOnFlagValue (stages 6 and 7 too)
  Colour colour = 0;     // its colour button
  int index = 0;         // the stored step index; its value box shows BoxValue
  int dpi = 0;           // its value label, drawn disabled while the stage is off
  bool active = false;   // the label of the active stage is red, the others grey
};

struct LightingSlotView {
  Colour colour = 0;   // Lighting1FixedColor of the current mode
  bool inUse = false;  // checked look of the slot's button
};

struct PageState {
  // Profiles.
  int currentProfile = 0;
  int profileShowCount = 1;
  std::array<int, kProfileCount> showList{0, 1, 2, 3, 4};
  // The key slots' button combos.
  std::array<std::u16string, kKeySlotCount> buttonNames;

  // DPI page; stages 6 and 7 have controls that are never shown.
  std::array<DpiStageView, kDpiStageCount> stages;
  int dpiSteps = 0;    // positions of every value box: the step table's n
  int mouseStage = 0;  // the active value (counted among the enabled stages)
  std::uint8_t dpiRadioMask = 0;

  // Report rate: 0 = 125 Hz .. 3 = 1000 Hz.
  int rateIndex = 3;

  // Lighting page, for the current mode.
  int lightingMode = 0;
  std::u16string lightingName;  // label of the mode combo
  std::array<LightingSlotView, 8> slots;
  int speed = 0;       // the speed slider, 0..2
  int brightness = 0;  // the brightness slider, 0..3
  bool directionUp = false;

  // Lift-off (the low radio = "1", else the high one) and the debounce carrier (its slider).
  bool liftOffLow = false;
  int debouncePosition = 0;

  // Hidden carriers: the pointer settings and the X_DPI choice.
  PointerCarriers pointer;
  int xDpiChoice = 0;

  // Power saving: the dial, the lights-off and wake-up checks, the text under the dial.
  int powerDownTime = 6;
  bool lightsOffWhileMoving = false;
  bool motionWakeup = false;
  std::u16string powerText;

  std::u16string StageLabel(int stage) const;  // "%d" of the stage's DPI
  int BoxValue(int stage) const;               // the index held inside the box's positions
  std::u16string SpeedLabel() const;           // the speed label
  std::u16string BrightnessLabel() const;      // the brightness label
  std::u16string DebounceLabel() const;        // the debounce label: "%dms"
  // The main window's groups of the radio selection word; the bits of every
  // other group are taken from `current`.
  std::uint32_t RadioWord(std::uint32_t current = 0) const;
};

// RefreshControls: the page state of the current profile.
PageState RefreshPage(const SettingsStore& settings, const LanguageTable& language = Language());

// CollectControls: writes the carried values into the profile, which leaves
// the pointer pairs, X_DPI, KeyDebounce, the lighting steps of the current
// mode and the power value in the form their controls can hold.
void CollectPage(const PageState& page, ProfileRecord& record);

// The text under the power dial: language string 266, the minutes, language string 267.
std::u16string PowerDownText(int minutes, const LanguageTable& language = Language());

}  // namespace zeltra
