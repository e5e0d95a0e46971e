#include "cli/profile_view.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <iomanip>
#include <sstream>

#include "device/report.h"
#include "macro/button_function.h"
#include "settings/dpi_table.h"
#include "settings/key_tables.h"
#include "settings/language.h"
#include "settings/lighting.h"
#include "settings/program_links.h"
#include "settings/text_format.h"

namespace zeltra::cli {

namespace {

constexpr std::array<int, 4> kRateHz{125, 250, 500, 1000};

std::string Utf8(const std::u16string& text) { return ToUtf8(text); }

// Text made of parts by appending: GCC 12 warns wrongly (-Wrestrict) on a
// literal added to a string.
std::string Join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

std::string HexByte(unsigned value) {
  char cell[8];
  std::snprintf(cell, sizeof cell, "%02X", value & 0xFFu);
  return cell;
}

// The name of the key whose mouse key code is `deviceKey`, or nothing.
std::u16string KeyNameOfDeviceCode(std::uint8_t deviceKey) {
  if (deviceKey == 0) return {};
  for (unsigned vk = 1; vk <= 0xFF; ++vk)
    if (DeviceKeyCode(vk) == deviceKey) return KeyName(vk);
  return Ascii(Join({"key 0x", HexByte(deviceKey)}));
}

std::u16string CatalogueName(const ButtonFunctionCode& code) {
  for (const MainMenuEntry& e : kMainAssignmentMenu)
    if (e.choice == MenuChoice::kAssign && e.code == code) return LanguageString(e.label);
  for (MenuChoice menu : {MenuChoice::kDpiFunctionMenu, MenuChoice::kMultimediaMenu, MenuChoice::kOfficeMenu,
                          MenuChoice::kWindowsMenu})
    for (const SubmenuEntry& e : SubmenuEntries(menu))
      if (e.code == code) return LanguageString(e.label);
  return {};
}

Json DescribeButtons(const ProfileRecord& p) {
  Json buttons = Json::array();
  for (int k = 0; k < kKeySlotCount; ++k) {
    const KeySlot& key = p.Key[static_cast<std::size_t>(k)];
    Json b;
    b["button"] = k + 1;
    b["name"] = Utf8(key.Name);
    b["code"] = CodeText(key.Value);
    b["function"] = Utf8(ButtonFunctionName(key));
    if (key.Value[0] == kCategoryMacro) b["macro"] = Utf8(key.macro.name);
    buttons.push_back(std::move(b));
  }
  return buttons;
}

Json DescribeDpi(const ProfileRecord& p, const SettingsStore& settings) {
  const DpiTable& table = settings.Dpi();
  const int active = ActiveStageIndex(p.DPIOffOnFlagValue, p.CurrentDPILevelValue);
  Json dpi;
  char sensor[8];
  std::snprintf(sensor, sizeof sensor, "0x%04X", static_cast<unsigned>(settings.SensorCode()));
  dpi["sensor"] = sensor;
  dpi["activeStage"] = active < kDpiStageCount ? Json(active + 1) : Json();
  Json stages = Json::array();
  for (int i = 0; i < kDpiStageCount; ++i) {
    const bool enabled = (p.DPIOffOnFlagValue >> i) & 1;
    // The mouse takes six stages; a file may still enable the other two.
    if (i >= 6 && !enabled) continue;
    Json s;
    s["stage"] = i + 1;
    s["enabled"] = enabled;
    s["index"] = p.XYSettingValue[static_cast<std::size_t>(i)];
    s["dpi"] = table.DpiOf(p.XYSettingValue[static_cast<std::size_t>(i)]);
    s["colour"] = ColourText(p.DPILevelIndicationValue[static_cast<std::size_t>(i)]);
    s["active"] = i == active;
    stages.push_back(std::move(s));
  }
  dpi["stages"] = std::move(stages);
  return dpi;
}

Json DescribeLighting(const ProfileRecord& p) {
  const int mode = LightingModeIndex(p);
  const LightingModeInfo& info = LightingMode(mode);
  const auto m = static_cast<std::size_t>(mode);
  Json light;
  light["mode"] = mode;
  light["name"] = Utf8(p.Lighting1Name);
  if (info.speed) light["speed"] = Utf8(LightingSpeedText(p.Lighting1Speed[m]));
  if (info.brightness) light["brightness"] = Utf8(LightingBrightnessText(p.Lighting1Brightness[m]));
  if (info.direction) light["direction"] = p.Lighting1Direction[m] ? "up" : "down";
  if (info.slotsOffered > 0) {
    Json colours = Json::array();
    for (int s = 0; s < info.slotsOffered; ++s) {
      Json c;
      c["slot"] = s + 1;
      c["inUse"] = ColourSlotInUse(p, mode, s);
      c["colour"] = ColourText(p.Lighting1FixedColor[m][static_cast<std::size_t>(s)]);
      colours.push_back(std::move(c));
    }
    light["colours"] = std::move(colours);
  }
  return light;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

}  // namespace

std::string ColourText(Colour colour) {
  return Join({"#", HexByte(RedOf(colour)), HexByte(GreenOf(colour)), HexByte(BlueOf(colour))});
}

std::string CodeText(const std::array<std::uint8_t, 4>& value) {
  return Join({HexByte(value[0]), " ", HexByte(value[1]), " ", HexByte(value[2])});
}

std::u16string ButtonFunctionName(const KeySlot& key) {
  const ButtonFunctionCode code{key.Value[0], key.Value[1], key.Value[2]};
  if (std::u16string name = CatalogueName(code); !name.empty()) return name;
  switch (code.category()) {
    case kCategoryDisabled: return CatalogueName(kDisabledCode);
    case kCategoryFireKey:
      return FireKeyName() + Ascii(Join({" ", std::to_string(code.bytes[1]), "/", std::to_string(code.bytes[2])}));
    case kCategoryDpiLock:
      if (const ButtonAssignment lock = DpiLockAssignment(code.bytes[1]); !lock.name.empty()) return lock.name;
      break;
    case kCategoryKeyCombination: return KeyCombinationName(code.bytes[1], KeyNameOfDeviceCode(code.bytes[2]));
    case kCategoryConsumer: return Ascii(Join({"consumer usage 0x", HexByte(code.bytes[2]), HexByte(code.bytes[1])}));
    case kCategoryMacro: return MacroAssignmentName(key.macro.name);
    case kCategoryMouseButton: return Ascii(Join({"mouse buttons 0x", HexByte(code.bytes[1])}));
    default: break;
  }
  return Ascii(Join({"unknown function ", CodeText(key.Value)}));
}

Json DescribeProfile(const SettingsStore& settings, int index) {
  const ProfileRecord& p = settings.Profile(index);
  Json j;
  j["number"] = index + 1;
  j["name"] = Utf8(p.Setting(kProfileName));
  j["current"] = index == settings.CurrentProfileIndex();
  j["buttons"] = DescribeButtons(p);
  j["dpi"] = DescribeDpi(p, settings);
  j["reportRateHz"] = kRateHz[static_cast<std::size_t>(ReportRateCode(p))];
  j["lighting"] = DescribeLighting(p);
  j["liftOffDistance"] = EncodeLiftOff(p);
  j["powerSaving"] = {{"sleepAfterMinutes", p.SettingNumber(kPowerDownTime)},
                      {"lightsOffWhileMoving", p.SettingNumber(kMoveLightingOnOffMode) > 0}};
  j["wakeOnMotion"] = p.SettingNumber(kMotionWakeup) > 0;
  j["debounceMs"] = EncodeDebounce(p);
  j["programs"] = DescribePrograms(p);
  return j;
}

Json DescribePrograms(const ProfileRecord& profile) {
  Json programs = Json::array();
  for (const std::u16string& link : ProgramLinksOf(profile))
    if (link.find_first_not_of(u' ') != std::u16string::npos) programs.push_back(Utf8(link));
  return programs;
}

std::string ProgramsText(const Json& programs) {
  if (programs.empty()) return "no program";
  std::string text;
  for (const Json& program : programs) {
    if (!text.empty()) text += ", ";
    text += program.get<std::string>();
  }
  return text;
}

std::string ProfileText(const Json& j) {
  std::ostringstream out;
  out << "Profile " << j["number"].get<int>() << ": " << j["name"].get<std::string>()
      << (j["current"].get<bool>() ? " (current)" : "") << "\n";
  out << "Buttons:\n";
  for (const Json& b : j["buttons"]) {
    out << "  " << b["button"].get<int>() << "  " << std::left << std::setw(24) << b["name"].get<std::string>()
        << b["code"].get<std::string>();
    if (b["function"] != b["name"]) out << "  " << b["function"].get<std::string>();
    out << "\n";
  }
  const Json& dpi = j["dpi"];
  out << "DPI stages (sensor " << dpi["sensor"].get<std::string>() << "):\n";
  for (const Json& s : dpi["stages"]) {
    out << "  " << s["stage"].get<int>() << "  " << std::left << std::setw(4) << OnOff(s["enabled"].get<bool>())
        << std::right << std::setw(6) << s["dpi"].get<int>() << " DPI  " << s["colour"].get<std::string>()
        << (s["active"].get<bool>() ? "  active" : "") << "\n";
  }
  out << "Report rate: " << j["reportRateHz"].get<int>() << " Hz\n";
  const Json& light = j["lighting"];
  out << "Lighting: " << light["name"].get<std::string>() << " (mode " << light["mode"].get<int>() << ")";
  if (light.contains("speed")) out << ", speed " << light["speed"].get<std::string>();
  if (light.contains("brightness")) out << ", brightness " << light["brightness"].get<std::string>();
  if (light.contains("direction")) out << ", direction " << light["direction"].get<std::string>();
  out << "\n";
  if (light.contains("colours")) {
    out << "  colours:";
    for (const Json& c : light["colours"])
      out << " " << c["slot"].get<int>() << "=" << c["colour"].get<std::string>()
          << (c["inUse"].get<bool>() ? "" : " (off)");
    out << "\n";
  }
  out << "Lift-off distance: " << j["liftOffDistance"].get<int>() << "\n";
  const Json& power = j["powerSaving"];
  out << "Power saving: sleep after " << power["sleepAfterMinutes"].get<int>() << " min, lights off while moving "
      << OnOff(power["lightsOffWhileMoving"].get<bool>()) << "\n";
  out << "Wake on motion: " << OnOff(j["wakeOnMotion"].get<bool>()) << "\n";
  out << "Debounce time: " << j["debounceMs"].get<int>() << " ms\n";
  out << "Switches with: " << ProgramsText(j["programs"]) << "\n";
  return out.str();
}

Json DescribeProfileList(const SettingsStore& settings) {
  const auto list = settings.ProfileShowList();
  const int shown = settings.ProfileShowCount();
  Json j;
  j["current"] = settings.CurrentProfileIndex() + 1;
  Json profiles = Json::array();
  for (int i = 0; i < kProfileCount; ++i) {
    Json p;
    p["number"] = i + 1;
    p["name"] = Utf8(settings.Profile(i).Setting(kProfileName));
    p["current"] = i == settings.CurrentProfileIndex();
    Json position;  // place in the window's profile list; null when not shown
    for (int at = 0; at < shown; ++at)
      if (list[static_cast<std::size_t>(at)] == i) position = at + 1;
    p["shown"] = !position.is_null();
    p["listPosition"] = position;
    profiles.push_back(std::move(p));
  }
  j["profiles"] = std::move(profiles);
  return j;
}

std::string ProfileListText(const Json& j) {
  std::ostringstream out;
  for (const Json& p : j["profiles"]) {
    out << (p["current"].get<bool>() ? "* " : "  ") << p["number"].get<int>() << "  " << std::left << std::setw(24)
        << p["name"].get<std::string>() << (p["shown"].get<bool>() ? "shown" : "hidden") << "\n";
  }
  return out.str();
}

}  // namespace zeltra::cli
