#include <gtest/gtest.h>

#include <functional>

#include "settings/profile_file.h"
#include "settings/text_file.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

using test::FileLines;
using test::ReadBytes;
using test::TempDir;
using test::TestData;
using test::WriteLines;

const std::vector<std::string> kDefault0 = FileLines(TestData("settings/fresh_default0.psf"));

// Line indexes (from 0, the header) of the format.
constexpr std::size_t kFlagLine = 21, kXyLine = 22, kModeLine = 44, kOffOnLine = 45, kFixedColourLine = 49;
constexpr std::size_t SlotLine(std::size_t slot, std::size_t line) { return 57 + 6 * slot + line; }

class ProfileFile : public testing::Test {
 protected:
  void SetUp() override { test::SetDefaultTexts(language_); }

  // A record with nothing at its default, to see every field travel.
  ProfileRecord Rich() const {
    ProfileRecord r;
    ResetProfile(r, 2, 0x3311, language_);
    for (std::size_t i = 0; i < r.pairs.size(); ++i) r.pairs[i].value = Dec(static_cast<long long>(i) * 7 - 20);
    r.pairs[kGameFile1].value = u"C:\\Games\\\u6E38\u620F.exe";
    r.PollingRateName = u"500HZ";
    r.PollingRateValue = {2, 0xAB, 0xCD};
    r.Lighting1OffOn = 0x5A;
    r.Lighting1Name = u"\U0001F308";
    r.Lighting1ModeValue = {9, 1, 2};
    for (std::size_t m = 0; m < kLightingModeCount; ++m) {
      r.Lighting1Speed[m] = static_cast<std::uint8_t>(m);
      r.Lighting1Brightness[m] = static_cast<std::uint8_t>(0xF0 + m);
      r.Lighting1Direction[m] = static_cast<std::uint8_t>(m % 2);
      for (std::size_t s = 0; s < kLightingSlotCount; ++s) {
        r.Lighting1ColorSelected[m][s] = static_cast<std::uint8_t>(m * 10 + s);
        r.Lighting1FixedColor[m][s] = Rgb(static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(s), 0xA0);
      }
    }
    r.Lighting2OffOn = 1;
    r.Lighting2Name = u"";
    r.Lighting2ModeValue = {3, 4, 5};
    r.Lighting2Speed = 0x12;
    r.Lighting2Brightness = 0x34;
    r.Lighting2FixedColor = Rgb(1, 2, 3);
    r.DPIOffOnFlagValue = 0xC1;
    for (std::size_t i = 0; i < kDpiStageCount; ++i) {
      r.XYSettingValue[i] = static_cast<std::uint16_t>(0xFFFF - i * 1000);
      r.DPILevelIndicationValue[i] = Rgb(0x10, static_cast<std::uint8_t>(i), 0xEE);
    }
    r.CurrentDPILevelValue = 0xFE;
    r.AngleSnapValue = 1;
    r.LiftDetectionValue = 0x99;
    for (std::size_t k = 0; k < r.Key.size(); ++k) {
      KeySlot& slot = r.Key[k];
      slot.Name = u"Taste " + Dec(static_cast<long long>(k));
      slot.Value = {0x90, static_cast<std::uint8_t>(k), 0x7F, 0};
      slot.MacroKeyIndex = 4000000000u + static_cast<std::uint32_t>(k);
      slot.macro.name = u"Makro \u00E9" + Dec(static_cast<long long>(k));
      for (int a = 0; a < 2 * static_cast<int>(k) + 1; ++a)
        slot.macro.InsertAction(a, a % 2 ? MacroAction::Delay(4095) : MacroAction::Event(0x41, a % 4 == 2));
    }
    r.Key[5].macro.AllAction[300] = MacroAction::Event(0xE7, false, 0x80);  // beyond the count, still stored
    return r;
  }

  ProfileRecord Default(int selector) const {
    ProfileRecord r;
    ResetProfile(r, selector, 0x3311, language_);
    return r;
  }

  TempDir dir_;
  LanguageTable language_;
};

TEST_F(ProfileFile, DefaultFileReadsAndWritesBackByteForByte) {
  ProfileRecord r;
  ASSERT_TRUE(ReadProfileRecord(TestData("settings/fresh_default0.psf"), r));
  EXPECT_EQ(r.XYSettingValue[5], 119);
  EXPECT_EQ(r.Lighting1FixedColor[6][7], Rgb(0xFA, 0x46, 0xFF));
  EXPECT_EQ(r.Key[5].Value, (std::array<std::uint8_t, 4>{0x40, 0x01, 0x00, 0x00}));
  EXPECT_EQ(r.Setting(kProfileName), u"\u914D\u7F6E1");
  ASSERT_TRUE(WriteProfileRecord(dir_ / "out.psf", r));
  EXPECT_EQ(ReadBytes(dir_ / "out.psf"), ReadBytes(TestData("settings/fresh_default0.psf")));
}

TEST_F(ProfileFile, EveryFieldSurvivesWriteAndRead) {
  const ProfileRecord rich = Rich();
  ASSERT_TRUE(WriteProfileRecord(dir_ / "rich.psf", rich));
  ProfileRecord back = Default(0);
  back.Key[1].macro.MacroKeyLoopType = 4;  // not in the file: the target keeps it
  ASSERT_TRUE(ReadProfileRecord(dir_ / "rich.psf", back));
  EXPECT_EQ(ProfileFileLines(back), ProfileFileLines(rich));
  EXPECT_EQ(back.Key[5].macro.AllAction[300], MacroAction::Event(0xE7, false, 0x80));
  EXPECT_EQ(back.Key[4].MacroKeyIndex, 4000000004u);
  EXPECT_EQ(back.Key[1].macro.MacroKeyLoopType, 4);
}

TEST_F(ProfileFile, MacroEventCountIsRebuiltFromTheActions) {
  ProfileRecord r = Default(0);
  Macro& m = r.Key[2].macro;
  for (auto a : {MacroAction::Event(0x41, false), MacroAction::Delay(50), MacroAction::Event(0x41, true),
                 MacroAction::Event(0xE0, false)})
    m.InsertAction(static_cast<int>(m.MacroActionNum), a);
  m.MacroActionNum = 3;  // the fourth entry is left over from an earlier recording
  m.MacroCommandActionNum = 0;
  auto& full = r.Key[3].macro;
  for (int a = 0; a < kMaxMacroActions; ++a) full.InsertAction(a, MacroAction::Event(0x42, a % 2 == 1));
  ASSERT_TRUE(WriteProfileRecord(dir_ / "m.psf", r));

  ProfileRecord back = Default(0);
  ASSERT_TRUE(ReadProfileRecord(dir_ / "m.psf", back));
  EXPECT_EQ(back.Key[2].macro.MacroCommandActionNum, 2);
  EXPECT_EQ(back.Key[3].macro.MacroCommandActionNum, kMaxMacroEvents);  // the mouse takes no more
  EXPECT_EQ(back.Key[0].macro.MacroCommandActionNum, 0);
}

TEST_F(ProfileFile, LineFeedInANameCannotShiftTheLines) {
  ProfileRecord r = Default(0);
  r.SetSetting(kProfileName, u"two\nlines");
  r.Key[0].macro.name = u"\n";
  ASSERT_TRUE(WriteProfileRecord(dir_ / "n.psf", r));
  ProfileRecord back;
  ASSERT_TRUE(ReadProfileRecord(dir_ / "n.psf", back));
  EXPECT_EQ(back.Setting(kProfileName), u"two lines");
  EXPECT_EQ(back.Key[0].macro.name, u" ");
}

TEST_F(ProfileFile, FailedWriteLeavesTheOldFile) {
  ASSERT_TRUE(WriteProfileRecord(dir_ / "p.psf", Default(0)));
  const auto before = ReadBytes(dir_ / "p.psf");
  for (long long after : {0LL, 2LL, 30000LL}) {
    InjectTextFileWriteFault(after);
    EXPECT_FALSE(WriteProfileRecord(dir_ / "p.psf", Rich()));
    InjectTextFileWriteFault(-1);
    EXPECT_EQ(ReadBytes(dir_ / "p.psf"), before);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p.psf.tmp"));
  EXPECT_FALSE(WriteProfileRecord({}, Default(0)));
}

// --- Hand-edited files that load --------------------------------------------

struct Accepted {
  const char* name;
  std::function<void(std::vector<std::string>&)> edit;
  std::function<void(const ProfileRecord&)> check;
};

class ProfileFileAccepts : public ProfileFile, public testing::WithParamInterface<Accepted> {};

TEST_P(ProfileFileAccepts, TakesTheValueByPosition) {
  auto lines = kDefault0;
  GetParam().edit(lines);
  WriteLines(dir_ / "in.psf", lines);
  ProfileRecord r;
  ASSERT_TRUE(ReadProfileRecord(dir_ / "in.psf", r));
  GetParam().check(r);
}

INSTANTIATE_TEST_SUITE_P(
    LoadRules, ProfileFileAccepts,
    testing::Values(
        Accepted{"swapped_pairs", [](auto& l) { std::swap(l[5], l[6]); },
                 [](const ProfileRecord& r) {
                   EXPECT_EQ(r.pairs[kDoubleClickSpeed], (SettingPair{u"PointerSpeed", u"5"}));
                   EXPECT_EQ(r.pairs[kPointerSpeed], (SettingPair{u"DoubleClickSpeed", u"6"}));
                 }},
        Accepted{"key_names_do_not_matter", [](auto& l) { l[kXyLine] = "x=0031"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.XYSettingValue[0], 0x31); }},
        Accepted{"short_xy_value", [](auto& l) { l[kXyLine + 1] = "\tXYSetting2Value=7"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.XYSettingValue[1], 7); }},
        Accepted{"xy_value_cut_at_four_digits", [](auto& l) { l[kXyLine] = "\tXYSetting1Value=001234"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.XYSettingValue[0], 0x12); }},
        Accepted{"empty_byte_value", [](auto& l) { l[kFlagLine] = "DPIOffOnFlagValue="; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.DPIOffOnFlagValue, 0); }},
        Accepted{"non_hex_byte", [](auto& l) { l[kOffOnLine] = "\tLighting1OffOn=ZZ"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Lighting1OffOn, 0); }},
        Accepted{"colour_parts",
                 [](auto& l) { l[kFixedColourLine] = "\tLighting1FixedColor=FA46FF|12"; },
                 [](const ProfileRecord& r) {
                   EXPECT_EQ(r.Lighting1FixedColor[0][0], Rgb(0xFA, 0x46, 0xFF));
                   EXPECT_EQ(r.Lighting1FixedColor[0][1], Rgb(0x12, 0, 0));  // cut short
                   EXPECT_EQ(r.Lighting1FixedColor[6][7], 0u);               // beyond the line
                 }},
        Accepted{"mode_beyond_the_table_is_kept", [](auto& l) { l[kModeLine] = "\tLighting1ModeValue=2A0000"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Lighting1ModeValue[0], 0x2A); }},
        Accepted{"equals_inside_a_name", [](auto& l) { l[41] = "PollingRateName=a=b"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.PollingRateName, u"a=b"); }},
        Accepted{"equals_first_on_macro_lines",
                 [](auto& l) {
                   l[SlotLine(1, 2)] = "=77";
                   l[SlotLine(1, 3)] = "=";
                 },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Key[1].MacroKeyIndex, 77u); }},
        Accepted{"full_unsigned_macro_index", [](auto& l) { l[SlotLine(0, 2)] = "\tMacroKeyIndex=4294967295"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Key[0].MacroKeyIndex, 4294967295u); }},
        Accepted{"action_count_held_to_the_list",
                 [](auto& l) { l[SlotLine(2, 4)] = "\t\tMacroActionNum=400"; },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Key[2].macro.MacroActionNum, 336u); }},
        Accepted{"lines_after_the_last_slot_are_ignored", [](auto& l) { l.push_back("garbage"); },
                 [](const ProfileRecord& r) { EXPECT_EQ(r.Key[5].Name, u"DPI Loop"); }}),
    [](const testing::TestParamInfo<Accepted>& p) { return std::string(p.param.name); });

// --- Files that fail as a whole ---------------------------------------------

struct Rejected {
  const char* name;
  std::function<void(std::vector<std::string>&)> edit;
  std::string eol = "\n";
  bool mark = true;
};

class ProfileFileRejects : public ProfileFile, public testing::WithParamInterface<Rejected> {};

TEST_P(ProfileFileRejects, LeavesTheRecordUntouched) {
  auto lines = kDefault0;
  GetParam().edit(lines);
  WriteLines(dir_ / "in.psf", lines, GetParam().eol, GetParam().mark);
  const ProfileRecord before = Rich();
  ProfileRecord r = before;
  EXPECT_FALSE(ReadProfileRecord(dir_ / "in.psf", r));
  EXPECT_EQ(ProfileFileLines(r), ProfileFileLines(before));
}

void Nothing(std::vector<std::string>&) {}

INSTANTIATE_TEST_SUITE_P(
    LoadRules, ProfileFileRejects,
    testing::Values(
        Rejected{"crlf", Nothing, "\r\n"},
        Rejected{"no_mark", Nothing, "\n", false},
        Rejected{"header", [](auto& l) { l[0] = "[Settings]"; }},
        Rejected{"missing_last_line", [](auto& l) { l.pop_back(); }},
        Rejected{"empty_line", [](auto& l) { l.insert(l.begin() + 30, ""); }},
        Rejected{"pair_without_equals", [](auto& l) { l[3] = "GameFile1"; }},
        Rejected{"pair_with_equals_first", [](auto& l) { l[5] = "=6"; }},
        Rejected{"fixed_line_with_equals_first", [](auto& l) { l[kOffOnLine] = "=01"; }},
        Rejected{"name_line_with_equals_first", [](auto& l) { l[SlotLine(4, 0)] = "=Back"; }},
        Rejected{"macro_index_empty", [](auto& l) { l[SlotLine(0, 2)] = "\tMacroKeyIndex="; }},
        Rejected{"macro_index_without_equals", [](auto& l) { l[SlotLine(0, 2)] = "\tMacroKeyIndex 0"; }},
        Rejected{"action_count_empty", [](auto& l) { l[SlotLine(5, 4)] = "\t\tMacroActionNum="; }},
        Rejected{"actions_2687", [](auto& l) { l[SlotLine(3, 5)].pop_back(); }},
        Rejected{"actions_2689", [](auto& l) { l[SlotLine(5, 5)] += "0"; }}),
    [](const testing::TestParamInfo<Rejected>& p) { return std::string(p.param.name); });

TEST_F(ProfileFile, MissingFileFails) {
  ProfileRecord r;
  EXPECT_FALSE(ReadProfileRecord(dir_ / "absent.psf", r));
}

}  // namespace
}  // namespace zeltra
