#include "settings/key_tables.h"

#include <array>
#include <cstddef>
#include <utility>

#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::size_t kKeyCount = 256;

struct NamedKey {
  std::uint8_t code;
  const char16_t* name;
};

// Keys whose names are not part of a numbered run (digits, letters, keypad
// digits and F1..F24 are generated below).
constexpr NamedKey kNamedKeys[] = {
    {0x01, u"LBUTTON"},      {0x02, u"RBUTTON"},     {0x03, u"CANCEL"},      {0x04, u"MBUTTON"},
    {0x05, u"XBUTTON1"},     {0x06, u"XBUTTON2"},    {0x08, u"Backspace"},   {0x09, u"Tab"},
    {0x0C, u"Clear"},        {0x0D, u"Enter"},       {0x10, u"Shift"},       {0x11, u"Ctrl"},
    {0x12, u"Alt"},          {0x13, u"Pause"},       {0x14, u"CapsLock"},    {0x15, u"Kana"},
    {0x17, u"junja"},        {0x18, u"Final"},       {0x19, u"Hanja"},       {0x1B, u"Esc"},
    {0x1C, u"Convert"},      {0x1D, u"Nonconvert"},  {0x1E, u"Accept"},      {0x1F, u"ModeChange"},
    {0x20, u"Space"},        {0x21, u"Page Up"},     {0x22, u"Page Down"},   {0x23, u"End"},
    {0x24, u"Home"},         {0x25, u"Left Arrow"},  {0x26, u"Up Arrow"},    {0x27, u"Right Arrow"},
    {0x28, u"Down Arrow"},   {0x29, u"Select"},      {0x2A, u"Print"},       {0x2B, u"Execute"},
    {0x2C, u"Print Screen"}, {0x2D, u"Ins"},         {0x2E, u"Del"},         {0x2F, u"Help"},
    {0x5B, u"Win_L"},        {0x5C, u"Win_R"},       {0x5D, u"App"},         {0x5F, u"Sleep"},
    {0x6A, u"Multiply"},     {0x6B, u"Add"},         {0x6C, u"Separator"},   {0x6D, u"Subtract"},
    {0x6E, u"Decimal"},      {0x6F, u"Divide"},      {0x90, u"Num Lock"},    {0x91, u"Scroll Lock"},
    {0xA0, u"Shift_L"},      {0xA1, u"Shift_R"},     {0xA2, u"Ctrl_L"},      {0xA3, u"Ctrl_R"},
    {0xA4, u"Alt_L"},        {0xA5, u"Alt_R"},       {0xBA, u";"},           {0xBB, u"="},
    {0xBC, u","},            {0xBD, u"-"},           {0xBE, u"."},           {0xBF, u"/"},
    {0xC0, u"~"},            {0xDB, u"["},           {0xDC, u"\\"},          {0xDD, u"]"},
    {0xDE, u"'"},            {0xE0, u"L Key"},       {0xE1, u"R Key"},       {0xE2, u"M Key"},
    {0xE3, u"K4"},           {0xE4, u"K5"},          {0xE5, u"Mouse X"},     {0xE6, u"Mouse Y"},
    {0xE7, u"Mouse Wheel"},
};

std::array<std::u16string, kKeyCount> BuildKeyNames() {
  std::array<std::u16string, kKeyCount> names;
  names.fill(u"Undefined");
  for (const auto& key : kNamedKeys) names[key.code] = key.name;
  for (unsigned i = 0; i < 10; ++i) {
    names[0x30 + i] = std::u16string(1, static_cast<char16_t>(u'0' + i));
    names[0x60 + i] = u"Num" + Dec(i);
  }
  for (unsigned i = 0; i < 26; ++i) names[0x41 + i] = std::u16string(1, static_cast<char16_t>(u'A' + i));
  for (unsigned i = 0; i < 24; ++i) names[0x70 + i] = u"F" + Dec(i + 1);
  return names;
}

// Virtual-key code -> the mouse's key code. Most values are USB HID keyboard
// usages; F0..F7 are the mouse's own codes for mouse actions in macros.
constexpr std::array<std::uint8_t, kKeyCount> BuildDeviceKeyCodes() {
  std::array<std::uint8_t, kKeyCount> codes{};
  auto run = [&codes](unsigned firstKey, unsigned lastKey, unsigned firstCode) {
    for (unsigned k = firstKey; k <= lastKey; ++k) codes[k] = static_cast<std::uint8_t>(firstCode + (k - firstKey));
  };
  run(0x41, 0x5A, 0x04);  // A..Z
  run(0x31, 0x39, 0x1E);  // 1..9
  codes[0x30] = 0x27;     // 0 follows 9 in the usage table
  run(0x70, 0x7B, 0x3A);  // F1..F12; F13..F24 have no code
  run(0x61, 0x69, 0x59);  // keypad 1..9
  codes[0x60] = 0x62;     // keypad 0
  run(0xE0, 0xE7, 0xF0);  // mouse actions

  constexpr std::pair<std::uint8_t, std::uint8_t> kSingles[] = {
      // Editing and navigation.
      {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0x14, 0x39}, {0x2C, 0x46},
      {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D},
      {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53},
      // Punctuation.
      {0xBD, 0x2D}, {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34},
      {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38},
      // Keypad operators, and 0E, which Windows leaves unassigned, for keypad Enter.
      {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x0E, 0x58}, {0x6E, 0x63},
      // Application key, sleep.
      {0x5D, 0x65}, {0x5F, 0x82},
      // Left and right modifiers in the order of a keyboard report's modifier bits.
      {0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6},
      {0x5C, 0xE7},
      // Special keys on codes Windows does not assign.
      {0xF0, 0x81}, {0xF1, 0x83}, {0xF2, 0x32}, {0xF3, 0x64}, {0xF4, 0x85}, {0xF5, 0x87}, {0xF6, 0x88},
      {0xF7, 0x89}, {0xF8, 0x8A}, {0xF9, 0x8B}, {0xFA, 0x90}, {0xFB, 0x91},
      // A second Escape on an unassigned code.
      {0x3B, 0x29},
  };
  for (const auto& [key, code] : kSingles) codes[key] = code;
  return codes;
}

constexpr std::array<std::uint8_t, kKeyCount> kDeviceKeyCodes = BuildDeviceKeyCodes();

const std::u16string kEmpty;

}  // namespace

const std::u16string& KeyName(unsigned virtualKey) {
  static const std::array<std::u16string, kKeyCount> names = BuildKeyNames();
  return virtualKey < kKeyCount ? names[virtualKey] : names[0];  // code 0 has no name
}

std::uint8_t DeviceKeyCode(unsigned virtualKey) {
  return virtualKey < kKeyCount ? kDeviceKeyCodes[virtualKey] : std::uint8_t{0};
}

const std::u16string& ReportRateName(int code) {
  static const std::array<std::u16string, 4> names = {u"125Hz", u"250Hz", u"500Hz", u"1000Hz"};
  return code >= 0 && code < 4 ? names[static_cast<std::size_t>(code)] : names[3];
}

const std::u16string& ReportRateButtonName(int code) {
  static const std::array<std::u16string, 4> names = {u"125HZ", u"250HZ", u"500HZ", u"1000HZ"};
  return code >= 0 && code < 4 ? names[static_cast<std::size_t>(code)] : names[3];
}

const std::u16string& DpiLockLabel(int level) {
  static const std::array<std::u16string, 11> labels = [] {
    std::array<std::u16string, 11> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = Dec(static_cast<long long>(i + 2) * 100);
    return texts;
  }();
  return level >= 1 && level <= 11 ? labels[static_cast<std::size_t>(level - 1)] : kEmpty;
}

}  // namespace zeltra
