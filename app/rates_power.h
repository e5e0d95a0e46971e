// The report rate, lift-off and power-saving controls, and the button of the
// system's mouse control panel.
#pragma once

#include <string_view>

#include "settings/profile.h"

namespace zeltra {

inline constexpr int kReportRates = 4;  // 125, 250, 500 and 1000 Hz

// Report-rate radio r (0 = 125 Hz .. 3 = 1000 Hz): PollingRateValue r, 0, 0
// and the button's name "125HZ" .. "1000HZ". Other indexes change nothing
// (false).
bool StoreReportRate(ProfileRecord& record, int rateIndex);

// The control-panel button runs the Windows mouse control panel; nothing in
// the profile changes.
inline constexpr std::u16string_view kMouseControlPanelCommand =
    u"rundll32.exe shell32.dll,Control_RunDLL main.cpl,,2";
inline constexpr int kShowRestore = 9;

// What the window needs to start a program; the program uses the system's
// legacy launcher, tests record the call.
class CommandLauncher {
 public:
  virtual ~CommandLauncher() = default;
  virtual void Run(std::u16string_view commandLine, int showCommand) = 0;
};

void OpenMouseControlPanel(CommandLauncher& launcher);

}  // namespace zeltra
