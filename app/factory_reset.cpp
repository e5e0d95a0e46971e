#include "app/factory_reset.h"

namespace zeltra {

void RunFactoryReset(DeviceLink& link, SettingsStore& settings) {
  link.SendFactoryReset();
  const int current = settings.CurrentProfileIndex();
  settings.ResetProfileKeepingName(current);
  settings.WriteProfileFile(current, settings.ProfilePath(current));
  link.CompleteFactoryReset();
}

}  // namespace zeltra
