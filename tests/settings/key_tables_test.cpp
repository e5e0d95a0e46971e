#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/key_tables.h"
#include "settings/text_format.h"

namespace zeltra {
namespace {

// Expected values are written out by hand from the key lists, not computed the
// way the tables are built.

TEST(KeyName, NamedEdgeCases) {
  const std::pair<unsigned, const char16_t*> cases[] = {
      {0x82, u"F19"},       {0x81, u"F18"},       {0x0E, u"Undefined"}, {0xFF, u"Undefined"},
      {0x00, u"Undefined"}, {0x3B, u"Undefined"}, {0xF0, u"Undefined"}, {0xFB, u"Undefined"},
      {0x01, u"LBUTTON"},   {0x06, u"XBUTTON2"},
      {0x17, u"junja"},     {0x1F, u"ModeChange"}, {0x21, u"Page Up"},  {0x2C, u"Print Screen"},
      {0x2D, u"Ins"},       {0x2E, u"Del"},       {0x5B, u"Win_L"},     {0x5C, u"Win_R"},
      {0x5F, u"Sleep"},     {0x6C, u"Separator"}, {0x90, u"Num Lock"},  {0x91, u"Scroll Lock"},
      {0xA5, u"Alt_R"},     {0xBA, u";"},         {0xBB, u"="},         {0xBC, u","},
      {0xBD, u"-"},         {0xBE, u"."},         {0xBF, u"/"},         {0xC0, u"~"},
      {0xDB, u"["},         {0xDC, u"\\"},        {0xDD, u"]"},         {0xDE, u"'"},
      {0xE0, u"L Key"},     {0xE1, u"R Key"},     {0xE2, u"M Key"},     {0xE3, u"K4"},
      {0xE4, u"K5"},        {0xE5, u"Mouse X"},   {0xE6, u"Mouse Y"},   {0xE7, u"Mouse Wheel"},
  };
  for (auto [code, name] : cases) EXPECT_EQ(KeyName(code), name) << std::hex << code;
}

TEST(KeyName, NumberedRuns) {
  const char* const letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (unsigned i = 0; i < 26; ++i) EXPECT_EQ(KeyName(0x41 + i), Ascii(std::string(1, letters[i])));
  const char* const digits = "0123456789";
  for (unsigned i = 0; i < 10; ++i) {
    EXPECT_EQ(KeyName(0x30 + i), Ascii(std::string(1, digits[i])));
    EXPECT_EQ(KeyName(0x60 + i), Ascii(std::string("Num") + digits[i]));
  }
  const char* const functionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                      "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                      "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
  for (unsigned i = 0; i < 24; ++i) EXPECT_EQ(KeyName(0x70 + i), Ascii(functionKeys[i])) << i;
}

TEST(KeyName, WholeTableHasTheListedNamesOnly) {
  int named = 0;
  for (unsigned code = 0; code < 256; ++code) {
    const auto& name = KeyName(code);
    EXPECT_FALSE(name.empty()) << std::hex << code;
    if (name != u"Undefined") ++named;
  }
  // 6 mouse buttons, 4 + 6 + 3 + 5 control keys, 16 at 20..2F, 10 digits,
  // 26 letters, 4 at 5B..5F, 10 keypad digits, 6 keypad operators, 24 function
  // keys, 2 locks, 6 modifiers, 7 + 4 punctuation, 8 mouse actions.
  EXPECT_EQ(named, 147);
}

TEST(KeyName, CodesBeyondTheTableAreUndefined) {
  for (unsigned code : {0x100u, 0x141u, 0xFFFFu, 0xFFFFFFFFu}) EXPECT_EQ(KeyName(code), u"Undefined");
}

TEST(DeviceKeyCode, NamedEdgeCases) {
  const std::pair<unsigned, unsigned> cases[] = {
      {0xA5, 0xE6}, {0x2C, 0x46}, {0x7C, 0x00}, {0x0E, 0x58}, {0x3B, 0x29}, {0x1B, 0x29},
      {0x30, 0x27}, {0x31, 0x1E}, {0x39, 0x26}, {0x41, 0x04}, {0x5A, 0x1D}, {0x0D, 0x28},
      {0x5D, 0x65}, {0x5F, 0x82}, {0x87, 0x00}, {0xFF, 0x00}, {0x00, 0x00},
  };
  for (auto [key, code] : cases) EXPECT_EQ(DeviceKeyCode(key), code) << std::hex << key;
}

TEST(DeviceKeyCode, Groups) {
  struct Group {
    const char* name;
    std::vector<std::pair<unsigned, unsigned>> entries;
  };
  const Group groups[] = {
      {"editing and navigation",
       {{0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0x14, 0x39}, {0x2C, 0x46},
        {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D},
        {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53}}},
      {"punctuation",
       {{0xBD, 0x2D}, {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34},
        {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38}}},
      {"function keys",
       {{0x70, 0x3A}, {0x71, 0x3B}, {0x72, 0x3C}, {0x73, 0x3D}, {0x74, 0x3E}, {0x75, 0x3F}, {0x76, 0x40},
        {0x77, 0x41}, {0x78, 0x42}, {0x79, 0x43}, {0x7A, 0x44}, {0x7B, 0x45}}},
      {"keypad",
       {{0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x0E, 0x58}, {0x61, 0x59}, {0x62, 0x5A},
        {0x63, 0x5B}, {0x64, 0x5C}, {0x65, 0x5D}, {0x66, 0x5E}, {0x67, 0x5F}, {0x68, 0x60}, {0x69, 0x61},
        {0x60, 0x62}, {0x6E, 0x63}}},
      {"modifiers",
       {{0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6},
        {0x5C, 0xE7}}},
      {"mouse actions",
       {{0xE0, 0xF0}, {0xE1, 0xF1}, {0xE2, 0xF2}, {0xE3, 0xF3}, {0xE4, 0xF4}, {0xE5, 0xF5}, {0xE6, 0xF6},
        {0xE7, 0xF7}}},
      {"special keys",
       {{0xF0, 0x81}, {0xF1, 0x83}, {0xF2, 0x32}, {0xF3, 0x64}, {0xF4, 0x85}, {0xF5, 0x87}, {0xF6, 0x88},
        {0xF7, 0x89}, {0xF8, 0x8A}, {0xF9, 0x8B}, {0xFA, 0x90}, {0xFB, 0x91}}},
      {"keys without a code",
       {{0x10, 0}, {0x11, 0}, {0x12, 0}, {0x01, 0}, {0x02, 0}, {0x03, 0}, {0x04, 0}, {0x05, 0}, {0x06, 0},
        {0x7C, 0}, {0x80, 0}, {0x87, 0}, {0x0C, 0}, {0x2F, 0}, {0x6C, 0}, {0xFC, 0}}},
  };
  for (const auto& group : groups) {
    SCOPED_TRACE(group.name);
    for (auto [key, code] : group.entries) EXPECT_EQ(DeviceKeyCode(key), code) << std::hex << key;
  }
}

TEST(DeviceKeyCode, WholeTable) {
  std::map<unsigned, std::vector<unsigned>> keysByCode;
  for (unsigned key = 0; key < 256; ++key) {
    const unsigned code = DeviceKeyCode(key);
    if (code == 0) continue;
    keysByCode[code].push_back(key);
    // Every key with a code is also named, apart from the unassigned slots.
    const bool unassigned = key == 0x0E || key == 0x3B || (key >= 0xF0 && key <= 0xFB);
    EXPECT_EQ(KeyName(key) == u"Undefined", unassigned) << std::hex << key;
  }
  // 26 letters, 10 digits, 20 editing keys, 11 punctuation, 12 function keys,
  // 16 keypad, 2 others, 8 modifiers, 8 mouse actions, 12 special, 3B.
  std::size_t nonZero = 0;
  for (const auto& [code, keys] : keysByCode) nonZero += keys.size();
  EXPECT_EQ(nonZero, 126u);
  // Only the Escape usage is reachable from two codes.
  for (const auto& [code, keys] : keysByCode) {
    if (code == 0x29) {
      EXPECT_EQ(keys, (std::vector<unsigned>{0x1B, 0x3B}));
    } else {
      EXPECT_EQ(keys.size(), 1u) << "device code " << std::hex << code;
    }
  }
  for (unsigned code : {0x100u, 0x141u, 0xFFFFFFFFu}) EXPECT_EQ(DeviceKeyCode(code), 0);
}

TEST(FixedNames, ReportRates) {
  const char16_t* const names[] = {u"125Hz", u"250Hz", u"500Hz", u"1000Hz"};
  const char16_t* const buttonNames[] = {u"125HZ", u"250HZ", u"500HZ", u"1000HZ"};
  for (int code = 0; code < 4; ++code) {
    EXPECT_EQ(ReportRateName(code), names[code]);
    EXPECT_EQ(ReportRateButtonName(code), buttonNames[code]);
  }
  // Unknown codes read as 1000 Hz, the way the mouse reads them; never empty.
  for (int code : {-1, 4, 255, 1 << 30}) {
    EXPECT_EQ(ReportRateName(code), u"1000Hz");
    EXPECT_EQ(ReportRateButtonName(code), u"1000HZ");
  }
}

TEST(FixedNames, DpiLockLabels) {
  const char16_t* const labels[] = {u"200", u"300", u"400", u"500", u"600",  u"700",
                                    u"800", u"900", u"1000", u"1100", u"1200"};
  for (int level = 1; level <= 11; ++level) EXPECT_EQ(DpiLockLabel(level), labels[level - 1]);
  for (int level : {0, 12, -1, 1000}) EXPECT_EQ(DpiLockLabel(level), u"");
}

}  // namespace
}  // namespace zeltra
