// Numbers the main window answers to: its own window messages, commands,
// timers and the controls the shell builds.
#pragma once

namespace zeltra {

inline constexpr unsigned kWmSecondInstance = 2999;
inline constexpr unsigned kWmTrayNotify = 1056;
inline constexpr unsigned kIdTrayShow = 2075;
inline constexpr unsigned kIdTrayExit = 2076;
inline constexpr unsigned kTrayIconId = 128;
// The virtual mouse's plugging, handled as the system's device-change
// broadcast (which cannot be posted: it carries a pointer). wParam = event.
inline constexpr unsigned kWmVirtualDeviceChange = 1171;

inline constexpr wchar_t kSingleInstanceMutex[] = L"20210610 Mouse 33XX";
inline constexpr wchar_t kMainWindowClass[] = L"Velmora_QRT";
inline constexpr char16_t kTrayTip[] = u"Zeltra";
inline constexpr char16_t kVersionSuffix[] = u":1.1.12";

// Posted by a listener thread when the mouse reported a DPI stage or report rate.
inline constexpr unsigned kWmMouseStateChanged = 1067;

// Timers of the main window.
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

// Controls.
inline constexpr int kIdExitButton = 2001;
inline constexpr int kIdMinimiseButton = 2002;
inline constexpr int kIdVersionLabel = 3021;
inline constexpr int kIdBatteryText = 3405;
inline constexpr int kIdBatteryGauge = 3406;

// Language strings the shell shows.
inline constexpr int kStringTrayShow = 1;
inline constexpr int kStringTrayExit = 2;
inline constexpr int kStringVersion = 3;
inline constexpr int kStringAttentionTitle = 150;
inline constexpr int kStringNoDevice = 155;
inline constexpr int kStringMouseOffline = 156;

}  // namespace zeltra
