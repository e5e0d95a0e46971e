// Numbers the main window answers to: its controls (a control's
// notifications arrive under its id), its own window messages and commands,
// its timers. The popups' dismissal messages are the toolkit's
// (ui/popup_messages.h), the assignment menus' the macro layer's
// (macro/macro_messages.h), and the button combos' ids the button
// assignment's (kFirstButtonCombo, macro/button_function.h).
#pragma once

#include <array>

#include "macro/button_function.h"

namespace zeltra {

// ---- Controls, by area of the window ----------------------------------------

// Title bar.
inline constexpr int kIdExitButton = 2001;
inline constexpr int kIdMinimiseButton = 2002;
inline constexpr int kIdVersionLabel = 3021;
inline constexpr int kIdLinkButton = 3503;  // hidden

// Buttons: the six key slots' combos from kFirstButtonCombo on (three more
// follow hidden: kButtonComboCount in all), and the macro manager.
inline constexpr int kIdButtonsHeader = 3008;
inline constexpr int kIdMacroManagerButton = 2062;

// Power saving.
inline constexpr int kIdPowerHeader = 3010;
inline constexpr int kIdPowerDial = 3500;
inline constexpr int kIdPowerText = 3407;
inline constexpr int kIdLightsOffCheck = 3501;
inline constexpr int kIdMotionWakeCheck = 3504;
inline constexpr int kIdCaptionText = 3402;  // the checks' and the battery legend's captions

// Battery.
inline constexpr int kIdBatteryHeader = 3007;
inline constexpr int kIdBatteryGauge = 3406;
inline constexpr int kIdBatteryText = 3405;
inline constexpr int kIdBatteryLegend = 3401;

// The mouse picture (its button marks share its id) and the profiles.
inline constexpr int kIdMousePicture = 3400;
inline constexpr int kIdProfileHeader = 3009;  // hidden
inline constexpr int kIdProfilePicker = 3502;
inline constexpr int kIdFactoryReset = 2045;
inline constexpr int kIdProfileCombo = 3100;                                    // hidden
inline constexpr int kIdProfileTabFirst = 2049;                                 // five, hidden
inline constexpr std::array<int, 4> kIdProfileImageButtons{2071, 2068, 2069, 2070};  // hidden
inline constexpr int kIdApplyButton = 2047;                                     // hidden

// Section headers.
inline constexpr int kIdDpiHeader = 3001;
inline constexpr int kIdLightingHeader = 3002;
inline constexpr int kIdPointerHeader = 3003;
inline constexpr int kIdReportRateHeader = 3004;
inline constexpr int kIdLiftOffHeader = 3011;
inline constexpr int kIdDebounceHeader = 3012;

// DPI page: eight of each, stage k at first + k.
inline constexpr int kIdDpiCheckFirst = 3260;
inline constexpr int kIdDpiColourFirst = 3270;
inline constexpr int kIdDpiSliderFirst = 3280;  // hidden
inline constexpr int kIdDpiLabelFirst = 3290;
inline constexpr int kIdDpiValueBoxFirst = 3300;

// Lighting page; colour slot s at kIdColourSlotFirst + s.
inline constexpr int kIdLightingModeText = 3161;
inline constexpr int kIdLightingModeCombo = 3120;
inline constexpr int kIdColourSlotFirst = 3180;
inline constexpr int kIdSpeedText = 3162;
inline constexpr int kIdSpeedBar = 3190;
inline constexpr int kIdSpeedSlider = 3200;
inline constexpr int kIdSpeedLabel = 3210;
inline constexpr int kIdBrightnessText = 3163;
inline constexpr int kIdBrightnessBar = 3191;
inline constexpr int kIdBrightnessSlider = 3220;
inline constexpr int kIdBrightnessLabel = 3230;
inline constexpr int kIdDirectionText = 3164;
inline constexpr int kIdDirectionUp = 3240;
inline constexpr int kIdDirectionDown = 3250;

// Report rate: radio and text r (0 = 125 Hz .. 3 = 1000 Hz) at first + r.
inline constexpr int kIdRateRadioFirst = 3030;
inline constexpr int kIdRateTextFirst = 3142;
inline constexpr int kIdRateCombo = 3110;  // hidden

// Lift-off and debounce.
inline constexpr int kIdLiftOffLow = 3510;
inline constexpr int kIdLiftOffHigh = 3511;
inline constexpr int kIdLiftOffLowText = 3520;
inline constexpr int kIdLiftOffHighText = 3521;
inline constexpr int kIdDebounceSlider = 3530;
inline constexpr int kIdDebounceBar = 3531;
inline constexpr int kIdDebounceLabel = 3532;

// Pointer: the control-panel button, and the hidden carriers of the
// pointer settings.
inline constexpr int kIdControlPanelButton = 3330;
inline constexpr int kIdWheelSpeedSlider = 2041;
inline constexpr int kIdPointerSpeedSlider = 2043;
inline constexpr int kIdDoubleClickSlider = 2044;
inline constexpr int kIdWheelSpeedLabel = 3131;
inline constexpr int kIdPointerSpeedLabel = 3130;
inline constexpr int kIdDoubleClickLabel = 3132;
inline constexpr int kIdWheelLinesRadio = 2009;
inline constexpr int kIdWheelPagesRadio = 2010;
inline constexpr int kIdAccelerationCheck = 2030;
inline constexpr int kIdPointerTextFirst = 3133;  // nine
inline constexpr int kPointerTextCount = 9;

// Every control of the window has an id up to this one.
inline constexpr int kLastMainControlId = 3999;

// ---- Window messages and commands ------------------------------------------

inline constexpr unsigned kWmSecondInstance = 2999;  // a second copy of the program
inline constexpr unsigned kWmTrayNotify = 1056;      // the tray icon's callback
// Posted by a listener thread when the mouse reported a DPI stage or report rate.
inline constexpr unsigned kWmMouseStateChanged = 1067;
// The virtual mouse's plugging, handled as the system's device-change
// broadcast (which cannot be posted: it carries a pointer). wParam = event.
inline constexpr unsigned kWmVirtualDeviceChange = 1171;
// Posted after the window's first paint: what that paint did not need
// follows it (the scan for the mouse of a window shown at once, the macro
// library).
inline constexpr unsigned kWmAfterFirstPaint = 1172;
// Button combos report their codes 2, 4 and 5 under this message (wParam
// the combo's id, lParam the code).
inline constexpr unsigned kButtonComboMessage = 1028;
// The lighting-mode combo's click, under its own message number.
inline constexpr unsigned kLightingComboMessage = 1144;
// Results of the main window's popups.
inline constexpr unsigned kPickerResultMessage = 1125;        // CComboProfilePopup
inline constexpr unsigned kLightingModeResultMessage = 1145;  // CComboLightingPopup
inline constexpr unsigned kProfileTabResultMessage = 1164;    // CProfileRKeyPopup
// Commands of the tray menu.
inline constexpr unsigned kIdTrayShow = 2075;
inline constexpr unsigned kIdTrayExit = 2076;
inline constexpr unsigned kTrayIconId = 128;

// ---- Timers ------------------------------------------------------------------

inline constexpr unsigned kApplyTimer = 30;
inline constexpr unsigned kApplyMs = 20;
inline constexpr unsigned kStandbyGuardTimer = 40;
inline constexpr unsigned kStandbyGuardMs = 100;
inline constexpr unsigned kDelayedSaveTimer = 70;
inline constexpr unsigned kDelayedSaveMs = 10000;
inline constexpr unsigned kStartupCheckTimer = 80;
inline constexpr unsigned kStartupCheckMs = 2000;
inline constexpr unsigned kWatchdogTimer = 110;
inline constexpr unsigned kWatchdogMs = 1000;
// One scan for a burst of device-change broadcasts (a device's collections
// arrive one by one), restarted by each.
inline constexpr unsigned kDeviceChangeTimer = 120;
inline constexpr unsigned kDeviceChangeMs = 250;
// The foreground has stayed with one program this long: its profile (or the
// one to return to) becomes current. Restarted by every change before.
inline constexpr unsigned kProgramSettleTimer = 130;
inline constexpr unsigned kProgramSettleMs = 500;

// ---- Names and texts ---------------------------------------------------------

inline constexpr wchar_t kSingleInstanceMutex[] = L"20210610 Mouse 33XX";
inline constexpr wchar_t kMainWindowClass[] = L"Velmora_QRT";
inline constexpr char16_t kTrayTip[] = u"Zeltra";
inline constexpr char16_t kVersionSuffix[] = u":1.1.12";

// Language strings the shell shows.
inline constexpr int kStringTrayShow = 1;
inline constexpr int kStringTrayExit = 2;
inline constexpr int kStringVersion = 3;
inline constexpr int kStringNoDevice = 155;
inline constexpr int kStringMouseOffline = 156;

}  // namespace zeltra
