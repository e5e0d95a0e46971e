#include "ui/small_dialogs.h"

#include <cstdlib>

#include "settings/settings_store.h"
#include "ui/ui_context.h"

namespace zeltra {

DesignRect ScaledRect(const DesignRect& design, float scale) {
  return {Scaled(design.left, scale), Scaled(design.top, scale), Scaled(design.right, scale),
          Scaled(design.bottom, scale)};
}

int ProfileNameFontTenths(float scale, float textScale) {
  if (!(textScale > 0.0f)) textScale = 1.0f;  // a device that reports no resolution
  return static_cast<int>(100.0f * scale / textScale);
}

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
