// A profile and the profile list in readable form: one JSON value per
// command (stable field names, for scripts), and the text printed from it.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "settings/profile.h"
#include "settings/settings_store.h"

namespace zeltra::cli {

using Json = nlohmann::ordered_json;

// What a button's code does, named as the assignment menus name it
// ("Left Click", "DPI Lock-800", "Ctrl+C", "Macro-Mine" ...); codes no menu
// offers are described by their category.
std::u16string ButtonFunctionName(const KeySlot& key);

// Profile `index` (0..4): buttons, DPI stages, report rate, lighting,
// lift-off, power saving, wake-up and debounce.
Json DescribeProfile(const SettingsStore& settings, int index);
std::string ProfileText(const Json& profile);

// The programs a profile switches with (its non-empty links, in slot
// order), and as one line of text ("no program" for none).
Json DescribePrograms(const ProfileRecord& profile);
std::string ProgramsText(const Json& programs);

// The five profiles: names, shown ones, the current one.
Json DescribeProfileList(const SettingsStore& settings);
std::string ProfileListText(const Json& list);

// "#RRGGBB" of a stored colour.
std::string ColourText(Colour colour);
// "10 01 00".
std::string CodeText(const std::array<std::uint8_t, 4>& value);

}  // namespace zeltra::cli
