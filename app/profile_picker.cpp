#include "app/profile_picker.h"

#include "app/profile_actions.h"
#include "ui/ui_context.h"

namespace zeltra {

namespace {

constexpr int kFirstProfileItem = 2;
constexpr int kLastItem = 7;
constexpr int kPopupRise = 201;     // popup top above the picker's bottom edge
constexpr int kPickerRowHeight = 25;
constexpr int kTabPopupRight = 225;
constexpr int kTabPopupEntryHeight = 22;
constexpr int kTabPopupExtraEntries = 1;  // the linked programs, after the four actions of old
// How far below its top the popup may need the screen, and where it goes then.
constexpr int kTabPopupReach = 94 + kTabPopupExtraEntries * kTabPopupEntryHeight;
constexpr int kTabPopupLift = 74 + kTabPopupExtraEntries * kTabPopupEntryHeight;
constexpr std::array<ProfileAction, 5> kTabEntryActions{ProfileAction::Import, ProfileAction::Export,
                                                        ProfileAction::Edit, ProfileAction::Delete,
                                                        ProfileAction::Programs};

// The shown profile of a profile row, or -1 for the header, the last row and
// the empty rows.
int ShownProfileOfItem(const SettingsStore& settings, int item) {
  const int position = item - kFirstProfileItem;
  if (position < 0 || position >= kProfileCount || position >= settings.ProfileShowCount()) return -1;
  return settings.ProfileShowList(position);
}

}  // namespace

ProfilePopupRows ProfileRowsOf(const SettingsStore& settings, const LanguageTable& language) {
  ProfilePopupRows rows;
  rows.header = language.String(kStringPickerHeader);
  rows.last = language.String(kStringPickerAdd);
  rows.currentRow = -1;
  const int count = settings.ProfileShowCount();
  const auto list = settings.ProfileShowList();
  const int current = settings.CurrentProfileIndex();
  for (int position = 0; position < count && position < static_cast<int>(rows.names.size()); ++position) {
    const int profile = list[static_cast<std::size_t>(position)];
    std::u16string name = settings.Profile(profile).Setting(kProfileName);
    if (name.empty()) name = DefaultProfileName(profile, language);
    rows.names[static_cast<std::size_t>(position)] = std::move(name);
    if (profile == current) rows.currentRow = position + 1;
  }
  return rows;
}

PickerPopupSpec BuildPickerPopup(const SettingsStore& settings, const UiRect& picker, float scale,
                                 const LanguageTable& language) {
  PickerPopupSpec desc;
  desc.rows = ProfileRowsOf(settings, language);
  desc.topLeft = {picker.left, picker.bottom - Scaled(kPopupRise, scale)};
  return desc;
}

PickerChoice ChoosePickerRow(const SettingsStore& settings, int item) {
  if (item == kLastItem) {
    const int action = settings.ProfileShowCount() > 4 ? 5 : 4;
    return {PickerChoice::Kind::ProfileAction, -1, action};
  }
  const int profile = ShownProfileOfItem(settings, item);
  if (profile < 0 || profile > 4) return {};
  return {PickerChoice::Kind::SwitchProfile, profile, -1};
}

std::optional<ProfileTabPopupSpec> BuildProfileTabPopup(const SettingsStore& settings, int item,
                                                        const UiRect& picker, float scale, int windowTop,
                                                        int fullScreenHeight) {
  const int profile = ShownProfileOfItem(settings, item);
  if (profile < 0) return std::nullopt;
  ProfileTabPopupSpec desc;
  desc.profile = profile;
  desc.ownerValue = kIdProfileTabFirst + profile;
  desc.topLeft.x = picker.left + Scaled(kTabPopupRight, scale);
  desc.topLeft.y = picker.bottom - Scaled(kPopupRise, scale) + Scaled((item - 1) * kPickerRowHeight, scale);
  if (desc.topLeft.y + windowTop + Scaled(kTabPopupReach, scale) > fullScreenHeight)
    desc.topLeft.y = fullScreenHeight - windowTop - Scaled(kTabPopupLift, scale);
  return desc;
}

int ProfileOfRKeyOwner(std::intptr_t ownerValue) {
  const std::intptr_t profile = ownerValue - kIdProfileTabFirst;
  return profile >= 0 && profile < kProfileCount ? static_cast<int>(profile) : -1;
}

std::optional<ProfileActionRequest> ChooseProfileTabEntry(int ownerValue, int entry) {
  const int profile = ProfileOfRKeyOwner(ownerValue);
  if (profile < 0 || entry < 1 || entry > static_cast<int>(kTabEntryActions.size())) return std::nullopt;
  return ProfileActionRequest{static_cast<int>(kTabEntryActions[static_cast<std::size_t>(entry - 1)]), profile};
}

}  // namespace zeltra
