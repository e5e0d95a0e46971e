#include "ui/small_dialogs.h"

#include <cstdlib>

#include "settings/settings_store.h"

namespace zeltra {

int PointFontHeight(int tenths, int dpiY) {
  // Rounded to the nearest pixel, as the system's multiply-divide does.
  const long long product = static_cast<long long>(std::abs(tenths)) * std::abs(dpiY);
  return -static_cast<int>((product + 360) / 720);
}

ProfileNameOutcome ConfirmAddProfile(SettingsStore& settings, const std::u16string& name) {
  if (name.empty()) return {false, kEmptyProfileNameWarning, true, -1};
  const int added = settings.AddProfile(name);
  if (added < 0) return {false, kAllProfilesShownWarning, false, -1};
  return {true, 0, false, added};
}

ProfileNameOutcome ConfirmEditProfile(ProfileRecord& profile, const std::u16string& name) {
  if (name.empty()) return {false, kEmptyProfileNameWarning, true, -1};
  profile.SetSetting(kProfileName, name);
  return {true, 0, false, -1};
}

}  // namespace zeltra
