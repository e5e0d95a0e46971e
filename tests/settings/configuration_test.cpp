#include <gtest/gtest.h>

#include <optional>

#include "settings/config_file.h"
#include "settings/profile_file.h"
#include "settings/text_file.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

using test::Bytes;
using test::FileLines;
using test::ReadBytes;
using test::TestData;
using test::WriteLines;

const std::vector<std::string> kGood = test::FileLines(test::TestData("settings/fresh_config.ini"));

std::vector<std::string> With(std::vector<std::string> lines, std::size_t at, std::string line) {
  lines[at] = std::move(line);
  return lines;
}
std::vector<std::string> Inserted(std::vector<std::string> lines, std::size_t at, std::string line) {
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  return lines;
}

class Configuration : public test::DataFolderTest {
 protected:
  static std::vector<std::uint16_t> Stages(const ProfileRecord& r) {
    return {r.XYSettingValue.begin(), r.XYSettingValue.end()};
  }
};

TEST_F(Configuration, FreshDataFolderGetsTheDefaultFilesByteForByte) {
  SettingsStore store(DataFolder(), language_);
  EXPECT_EQ(store.LoadConfiguration(), 0);
  EXPECT_EQ(ReadBytes(ConfigFile()), ReadBytes(TestData("settings/fresh_config.ini")));
  for (int i = 0; i < kProfileCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ReadBytes(WorkingFile(i)), ReadBytes(TestData("settings/fresh_default" + std::to_string(i) + ".psf")));
  }
  EXPECT_EQ(store.SensorCode(), 0x3311);
  EXPECT_EQ(store.CheckValue(), 0x3311);
  EXPECT_EQ(store.Dpi().count, 120);
  EXPECT_EQ(store.Profile(4).Setting(kProfileName), u"Profil \U0001F6005");

  // A second start reads what the first wrote and rewrites nothing.
  const auto before = std::filesystem::last_write_time(ConfigFile());
  SettingsStore again(DataFolder(), language_);
  EXPECT_EQ(again.LoadConfiguration(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(ConfigFile()), before);
  EXPECT_EQ(ProfileFileLines(again.Profile(2)), ProfileFileLines(store.Profile(2)));
}

struct BrokenConfig {
  const char* name;
  std::vector<std::string> lines;
  std::string eol = "\n";
  bool mark = true;
  long long readFaultAfter = -1;  // bytes read before an injected read error
};

class ConfigurationFailure : public Configuration, public testing::WithParamInterface<BrokenConfig> {};

// The configuration is replaced by its defaults, but a damaged configuration
// says nothing about the profile files: intact ones keep their profiles,
// only a damaged one is reset.
TEST_P(ConfigurationFailure, ReplacesTheConfigurationButKeepsIntactProfiles) {
  {
    SettingsStore first(DataFolder(), language_);
    first.LoadConfiguration();
    for (int i = 0; i < kProfileCount; ++i) first.Profile(i).SetSetting(kProfileName, u"User" + Dec(i));
    ASSERT_EQ(first.SaveAllProfiles(), 1);
  }
  std::vector<Bytes> before;
  for (int i = 0; i < kProfileCount; ++i) before.push_back(ReadBytes(WorkingFile(i)));
  auto damaged = FileLines(WorkingFile(4));
  damaged.resize(60);
  WriteLines(WorkingFile(4), damaged);

  WriteLines(ConfigFile(), GetParam().lines, GetParam().eol, GetParam().mark);
  SettingsStore store(DataFolder(), language_);
  InjectTextFileReadFault(GetParam().readFaultAfter);
  EXPECT_EQ(store.LoadConfiguration(), 0);
  InjectTextFileReadFault(-1);
  EXPECT_EQ(ReadBytes(ConfigFile()), ReadBytes(TestData("settings/fresh_config.ini")));
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(store.Profile(i).Setting(kProfileName), u"User" + Dec(i));
    EXPECT_EQ(ReadBytes(WorkingFile(i)), before[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(store.Profile(4).Setting(kProfileName), u"Profil \U0001F6005");
  EXPECT_EQ(ReadBytes(WorkingFile(4)), ReadBytes(TestData("settings/fresh_default4.psf")));
}

INSTANTIATE_TEST_SUITE_P(
    LoadRules, ConfigurationFailure,
    testing::Values(BrokenConfig{"crlf", kGood, "\r\n"},
                    // Without a mark the first character is skipped in its place.
                    BrokenConfig{"no_mark", kGood, "\n", false},
                    BrokenConfig{"lower_case_header", With(kGood, 0, "[setting]")},
                    BrokenConfig{"empty_line", Inserted(kGood, 3, "")},
                    BrokenConfig{"trailing_empty_line", Inserted(kGood, 18, "")},
                    BrokenConfig{"empty_value", With(kGood, 4, "Mac_ID=")},
                    BrokenConfig{"empty_key", With(kGood, 4, "=0xFFFFFFFF")},
                    BrokenConfig{"no_equals", With(kGood, 4, "Mac_ID 0xFFFFFFFF")},
                    BrokenConfig{"eighteen_pairs", Inserted(kGood, 18, "Extra=1")},
                    BrokenConfig{"header_only_missing", {"NeedPassword=1"}},
                    BrokenConfig{"read_error", kGood, "\n", true, 100}),
    [](const testing::TestParamInfo<BrokenConfig>& p) { return std::string(p.param.name); });

// A configuration that exists but cannot be read is never taken for a
// missing one: a read-only file is simply read, and one held by another
// program leaves every file as it is.
TEST_F(Configuration, AConfigurationThatCannotBeWrittenOrReadKeepsEveryFile) {
  struct Case {
    const char* name;
    bool readOnly;
    int busyTimes;  // the configuration is held for that many attempts (-1: throughout)
    int result;
  };
  const Case cases[] = {
      {"read-only", true, 0, 1},
      {"held for a moment", false, 3, 1},
      {"held throughout", false, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(ConfigDir());
    std::filesystem::create_directories(ConfigDir());
    {
      SettingsStore first(DataFolder(), language_);
      first.LoadConfiguration();
      first.SetCurrentProfileIndex(2);
      for (int i = 0; i < kProfileCount; ++i) first.Profile(i).SetSetting(kProfileName, u"User" + Dec(i));
      ASSERT_EQ(first.SaveAll(), 1);
    }
    // Held throughout, even a missing profile file is not created at start-up.
    const bool held = c.result == 0;
    if (held) std::filesystem::remove(WorkingFile(3));
    const auto files = [&] {
      std::vector<Bytes> now{ReadBytes(ConfigFile())};
      for (int i = 0; i < kProfileCount; ++i)
        if (!held || i != 3) now.push_back(ReadBytes(WorkingFile(i)));
      return now;
    };
    const std::vector<Bytes> before = files();
    std::optional<test::ReadOnlyFile> readOnly;
    if (c.readOnly) readOnly.emplace(ConfigFile());

    for (int start = 0; start < 2; ++start) {
      SCOPED_TRACE(start);
      test::RecordedPauses pauses;
      if (c.busyTimes) InjectFileBusy(ConfigFile(), c.busyTimes);
      SettingsStore store(DataFolder(), language_);
      EXPECT_EQ(store.LoadConfiguration(), c.result);
      EXPECT_EQ(files(), before);
      EXPECT_EQ(std::filesystem::exists(WorkingFile(3)), !held);
      EXPECT_EQ(store.CurrentProfileIndex(), held ? 0 : 2);
      for (int i = 0; i < kProfileCount; ++i)
        EXPECT_EQ(store.Profile(i).Setting(kProfileName), held && i == 3 ? u"Profil \u00C44" : u"User" + Dec(i)) << i;
      if (held) {
        // Later saves do not replace the configuration either; the profiles are saved.
        EXPECT_EQ(store.SaveAll(), 0);
        EXPECT_EQ(ReadBytes(ConfigFile()), before[0]);
        EXPECT_TRUE(std::filesystem::exists(WorkingFile(3)));
        std::filesystem::remove(WorkingFile(3));
      }
    }
  }
}

// Sensor codes from 0xF000 on have a complement below 0x1000, which "0x%4X"
// writes with a space after "0x"; such a PreST must still match.
TEST_F(Configuration, ASpacePaddedPreSTOrSensorStillMatches) {
  struct Case {
    const char* sensor;
    const char* preST;
  };
  for (const Case& c : {Case{"Sensor=0xF5A3", "PreST=0x A5C"}, Case{"Sensor=0x 123", "PreST=0xFEDC"},
                        Case{"Sensor=0xFFF0", "PreST=0x   F"}}) {
    SCOPED_TRACE(c.preST);
    {
      SettingsStore first(DataFolder(), language_);
      first.LoadConfiguration();
      first.Profile(0).XYSettingValue[0] = 42;
      ASSERT_EQ(first.SaveAllProfiles(), 1);
    }
    WriteLines(ConfigFile(), With(With(kGood, 2, c.sensor), 3, c.preST));
    const auto config = ReadBytes(ConfigFile());
    const auto profile = ReadBytes(WorkingFile(0));
    SettingsStore store(DataFolder(), language_);
    EXPECT_EQ(store.LoadConfiguration(), 1);
    EXPECT_EQ(store.CheckValue(), store.SensorCode());
    EXPECT_EQ(store.Profile(0).XYSettingValue[0], 42);
    EXPECT_EQ(ReadBytes(ConfigFile()), config);
    EXPECT_EQ(ReadBytes(WorkingFile(0)), profile);
  }
}

TEST_F(Configuration, PairsAreTakenByPositionNotByKey) {
  auto lines = kGood;
  std::swap(lines[6], lines[7]);  // CurrentProfile <-> ProfileShowCount
  WriteLines(ConfigFile(), lines);
  SettingsStore store(DataFolder(), language_);
  EXPECT_EQ(store.LoadConfiguration(), 1);
  EXPECT_EQ(store.Globals().pairs[kCurrentProfile], (SettingPair{u"ProfileShowCount", u"3"}));
  EXPECT_EQ(store.CurrentProfileIndex(), 3);
  EXPECT_EQ(store.ProfileShowCount(), 1);  // "0" is held to at least one shown profile

  // The pairs go back in the order they came, with the current index stored by position.
  store.SetCurrentProfileIndex(2);
  ASSERT_EQ(store.SaveConfiguration(), 1);
  auto expected = lines;
  expected[6] = "ProfileShowCount=2";
  EXPECT_EQ(FileLines(ConfigFile()), expected);
}

// A short file is accepted; the pairs it does not reach take their defaults, so
// the profiles keep their files and the next save writes a complete file.
TEST_F(Configuration, FivePairLinesAreAcceptedAndTheMissingPairsTakeTheirDefaults) {
  {
    SettingsStore first(DataFolder(), language_);
    first.LoadConfiguration();
    first.Profile(3).SetSetting(kProfileName, u"mine");
    ASSERT_EQ(first.SaveAllProfiles(), 1);
  }
  WriteLines(ConfigFile(), std::vector<std::string>(kGood.begin(), kGood.begin() + 6));
  SettingsStore store(DataFolder(), language_);
  EXPECT_EQ(store.LoadConfiguration(), 1);
  EXPECT_EQ(store.Globals().GlobalPair(kCurrentProfile, 0), u"CurrentProfile");
  EXPECT_EQ(store.Globals().Value(kCurrentProfile), u"0");
  EXPECT_EQ(store.ProfilePath(0), WorkingFile(0));
  EXPECT_EQ(store.Profile(3).Setting(kProfileName), u"mine");
  EXPECT_FALSE(std::filesystem::exists(".tmp"));

  ASSERT_EQ(store.SaveConfiguration(), 1);
  EXPECT_EQ(FileLines(ConfigFile()), kGood);
  SettingsStore again(DataFolder(), language_);
  EXPECT_EQ(again.LoadConfiguration(), 1);
  EXPECT_EQ(again.Profile(3).Setting(kProfileName), u"mine");
}

TEST_F(Configuration, HandEditedSensorGetsItsDpiDefaultsEverywhere) {
  SettingsStore first(DataFolder(), language_);
  first.LoadConfiguration();
  first.Profile(0).XYSettingValue[0] = 42;
  first.Profile(0).SetSetting(kProfileName, u"mine");
  first.SaveAllProfiles();

  WriteLines(ConfigFile(), With(kGood, 2, "Sensor=0x3360"));
  SettingsStore store(DataFolder(), language_);
  EXPECT_EQ(store.LoadConfiguration(), 1);
  EXPECT_EQ(store.SensorCode(), 0x3360);
  EXPECT_EQ(store.CheckValue(), 0x3360);
  EXPECT_EQ(store.Globals().Value(kPreST), u"0xCC9F");
  EXPECT_EQ(FileLines(ConfigFile())[3], "PreST=0xCC9F");
  const std::vector<std::uint16_t> stages{3, 7, 15, 31, 49, 59, 59, 59};
  for (int i = 0; i < kProfileCount; ++i) {
    EXPECT_EQ(Stages(store.Profile(i)), stages);
    SettingsStore reread(DataFolder(), language_);
    ASSERT_TRUE(ReadProfileRecord(WorkingFile(i), reread.Profile(i)));
    EXPECT_EQ(Stages(reread.Profile(i)), stages);
  }
  EXPECT_EQ(store.Profile(0).Setting(kProfileName), u"mine");  // only the DPI values are replaced
  EXPECT_EQ(store.Dpi().count, 121);
  EXPECT_TRUE(store.Dpi().pageFlag);
}

TEST_F(Configuration, UnknownSensorKeepsStagesAndUsesTheDefaultSensorsTable) {
  SettingsStore first(DataFolder(), language_);
  first.LoadConfiguration();
  first.Profile(0).XYSettingValue[0] = 42;
  first.Profile(0).DPIOffOnFlagValue = 0x07;
  first.SaveAllProfiles();

  WriteLines(ConfigFile(), With(kGood, 2, "Sensor=0x1234"));
  SettingsStore store(DataFolder(), language_);
  store.LoadConfiguration();
  EXPECT_EQ(store.SensorCode(), 0x1234);
  EXPECT_EQ(store.Globals().Value(kPreST), u"0xEDCB");
  EXPECT_EQ(store.Profile(0).XYSettingValue[0], 42);
  EXPECT_EQ(store.Profile(0).DPIOffOnFlagValue, 0x3F);
  EXPECT_EQ(store.Dpi().count, 120);
  EXPECT_EQ(store.Dpi().DpiOf(7), 800);
}

TEST_F(Configuration, PreSTIsWrittenSpacePadded) {
  SettingsStore store(DataFolder(), language_);
  store.SetPreST(0x0ABC);
  EXPECT_EQ(store.Globals().Value(kPreST), u"0x ABC");
  store.SetPreST(0xCCEE);
  EXPECT_EQ(store.Globals().Value(kPreST), u"0xCCEE");
}

TEST_F(Configuration, ReadErrorCountsAsDamagedNotAsShortFile) {
  // Long enough that the error strikes after the first pairs were read.
  WriteLines(ConfigFile(), With(With(kGood, 1, "NeedPassword=0"), 4, "Mac_ID=" + std::string(3000, 'F')));
  GlobalSettings globals;
  InjectTextFileReadFault(4096);
  EXPECT_FALSE(ReadConfigurationFile(ConfigFile(), globals));
  InjectTextFileReadFault(-1);
  EXPECT_EQ(globals.Value(kNeedPassword), u"");
  ASSERT_TRUE(ReadConfigurationFile(ConfigFile(), globals));
  EXPECT_EQ(globals.Value(kNeedPassword), u"0");
}

TEST_F(Configuration, FailedSaveLeavesTheOldFile) {
  SettingsStore store(DataFolder(), language_);
  store.LoadConfiguration();
  const auto before = ReadBytes(ConfigFile());
  store.SetCurrentProfileIndex(4);
  for (long long after : {0LL, 100LL, 500LL}) {
    InjectTextFileWriteFault(after);
    EXPECT_EQ(store.SaveConfiguration(), 0);
    InjectTextFileWriteFault(-1);
    EXPECT_EQ(ReadBytes(ConfigFile()), before);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ConfigDir()), {}), 6);  // no temporary file left
  EXPECT_EQ(store.SaveConfiguration(), 1);
  EXPECT_EQ(FileLines(ConfigFile())[6], "CurrentProfile=4");
}

}  // namespace
}  // namespace zeltra
