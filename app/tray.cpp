#include "app/tray.h"

#include "app/main_window_ids.h"
#include "settings/text_format.h"
#include "app/profile_picker.h"

namespace zeltra {

BatteryStatus BatteryOfStatus(bool modelMatches, bool online, int level, int chargeState) {
  if (!modelMatches || !online || level < 0 || level > 100) return {};
  return {true, level, chargeState == 1 || chargeState == 2 ? chargeState : 0};
}

std::u16string TrayTip(const BatteryStatus& battery, const LanguageTable& language) {
  std::u16string tip = kTrayTip;
  if (!battery.known) return tip;
  tip += u" - " + Dec(battery.level) + u" %";
  if (battery.chargeState == 1) tip += u", " + language.String(kStringCharging);
  return tip;
}

TrayBattery::Change TrayBattery::OnStatus(const BatteryStatus& battery, const LanguageTable& language) {
  Change change;
  std::u16string tip = TrayTip(battery, language);
  change.tipChanged = tip != tip_;
  tip_ = std::move(tip);
  if (!battery.known) return change;
  if (battery.chargeState != 0) {
    lowTold_ = false;
  } else if (battery.level <= kLowBatteryPercent && !lowTold_) {
    lowTold_ = true;
    change.balloon = TrayBalloon{tip_, language.String(kStringBatteryLow)};
  }
  return change;
}

std::vector<TrayMenuItem> BuildTrayMenu(const SettingsStore& settings, bool startsWithWindows, bool profilesEnabled,
                                        const LanguageTable& language) {
  std::vector<TrayMenuItem> menu;
  menu.push_back({kIdTrayShow, MenuItemText(language.String(kStringTrayShow))});
  menu.push_back({});
  // The picker's own rows: the same names, the same current one.
  const ProfilePopupRows rows = ProfileRowsOf(settings, language);
  for (int position = 0; position < settings.ProfileShowCount(); ++position) {
    const int profile = settings.ProfileShowList(position);
    TrayMenuItem item;
    item.command = kIdTrayProfileFirst + static_cast<unsigned>(profile);
    item.text = MenuItemText(rows.names[static_cast<std::size_t>(position)]);
    item.checked = rows.currentRow == position + 1;
    item.enabled = profilesEnabled;
    menu.push_back(std::move(item));
  }
  menu.push_back({});
  menu.push_back({kIdTrayStartWithWindows, MenuItemText(language.String(kStringStartWithWindows)), startsWithWindows});
  menu.push_back({});
  menu.push_back({kIdTrayExit, MenuItemText(language.String(kStringTrayExit))});
  return menu;
}

std::optional<int> ProfileOfTrayCommand(const SettingsStore& settings, unsigned command) {
  if (command < kIdTrayProfileFirst || command >= kIdTrayProfileFirst + kProfileCount) return std::nullopt;
  const int profile = static_cast<int>(command - kIdTrayProfileFirst);
  for (int position = 0; position < settings.ProfileShowCount(); ++position) {
    if (settings.ProfileShowList(position) == profile) return profile;
  }
  return std::nullopt;
}

std::u16string MenuItemText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'&') out += u'&';
    out += c == u'\t' || c == u'\r' || c == u'\n' ? u' ' : c;
  }
  return out;
}

}  // namespace zeltra
