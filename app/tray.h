// The tray icon's rules: its tip, which follows the mouse's status reports,
// the notice when the battery runs low, and the rows of its menu (show, the
// shown profiles with the current one checked, starting with Windows, exit).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/language.h"
#include "settings/settings_store.h"

namespace zeltra {

// At or below this level on battery the user is told once.
inline constexpr int kLowBatteryPercent = 20;

// The battery as the tray shows it.
struct BatteryStatus {
  // A reply of this model with the mouse online and a level of 0..100: the
  // receiver answers for a mouse that is off, with a level that means nothing.
  bool known = false;
  int level = 0;
  int chargeState = 0;  // 0 on battery, 1 charging, 2 full
  friend bool operator==(const BatteryStatus&, const BatteryStatus&) = default;
};
BatteryStatus BatteryOfStatus(bool modelMatches, bool online, int level, int chargeState);

// "Zeltra"; while the battery is known "Zeltra - 80 %", and while it charges
// "Zeltra - 80 %, " followed by language string kStringCharging.
std::u16string TrayTip(const BatteryStatus& battery, const LanguageTable& language = Language());

struct TrayBalloon {
  std::u16string title;  // the tip of that moment
  std::u16string text;   // language string kStringBatteryLow
  friend bool operator==(const TrayBalloon&, const TrayBalloon&) = default;
};

// What the tray shows, following the status reports.
class TrayBattery {
 public:
  struct Change {
    bool tipChanged = false;
    std::optional<TrayBalloon> balloon;  // the low-battery notice, to show now
  };
  // Once when a report finds the battery at or below kLowBatteryPercent on
  // battery; not again until a report says it charges or is full.
  Change OnStatus(const BatteryStatus& battery, const LanguageTable& language = Language());
  const std::u16string& tip() const { return tip_; }

 private:
  std::u16string tip_ = TrayTip({}, Language());
  bool lowTold_ = false;
};

// Command ids of the tray menu besides kIdTrayShow and kIdTrayExit.
inline constexpr unsigned kIdTrayProfileFirst = 2077;  // + profile index 0..4
inline constexpr unsigned kIdTrayStartWithWindows = 2082;

struct TrayMenuItem {
  unsigned command = 0;  // 0: a separator
  std::u16string text;   // as the menu takes it (MenuItemText)
  bool checked = false;
  bool enabled = true;
  friend bool operator==(const TrayMenuItem&, const TrayMenuItem&) = default;
};

// Show (language string 1), the shown profiles in list order with the
// current one checked (greyed while `profilesEnabled` is false: a dialog of
// the window is open), "Start with Windows" checked when `startsWithWindows`,
// exit (language string 2); separators between the groups.
std::vector<TrayMenuItem> BuildTrayMenu(const SettingsStore& settings, bool startsWithWindows, bool profilesEnabled,
                                        const LanguageTable& language = Language());

// The profile a tray command picks: a profile command of a profile that is
// still shown, else nothing.
std::optional<int> ProfileOfTrayCommand(const SettingsStore& settings, unsigned command);

// A text as a menu item shows it: "&" would underline the next character and
// a tab would split the item, so "&" is doubled and line breaks and tabs
// become spaces.
std::u16string MenuItemText(std::u16string_view text);

}  // namespace zeltra
