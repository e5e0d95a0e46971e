#include "app/rates_power.h"

#include "settings/key_tables.h"

namespace zeltra {

bool StoreReportRate(ProfileRecord& record, int rateIndex) {
  if (rateIndex < 0 || rateIndex >= kReportRates) return false;
  record.PollingRateValue = {static_cast<std::uint8_t>(rateIndex), 0, 0};
  record.PollingRateName = ReportRateButtonName(rateIndex);
  return true;
}

void OpenMouseControlPanel(CommandLauncher& launcher) { launcher.Run(kMouseControlPanelCommand, kShowRestore); }

}  // namespace zeltra
