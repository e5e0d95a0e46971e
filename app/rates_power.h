// The report rate, lift-off and power-saving controls, and button 3330.
#pragma once

#include <string_view>

#include "settings/profile.h"

namespace zeltra {

inline constexpr int kRateRadioFirst = 3030;  // 3030 + r for rate index r
inline constexpr int kRateTextFirst = 3142;   // one text per rate, only the current one shown

// Report-rate radio r (0 = 125 Hz .. 3 = 1000 Hz): PollingRateValue r, 0, 0
// and the button's name "125HZ" .. "1000HZ". Other indexes change nothing
// (false).
bool StoreReportRate(ProfileRecord& record, int rateIndex);

// Button 3330 runs the Windows mouse control panel; nothing in the profile changes.
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
