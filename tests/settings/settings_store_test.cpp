#include <gtest/gtest.h>

#include <functional>

#include "settings/config_file.h"
#include "settings/delayed_save.h"
#include "settings/profile_file.h"
#include "settings/text_file.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

using test::FileLines;
using test::ReadBytes;
using test::TestData;

class Store : public test::DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    store_.LoadConfiguration();
  }
  void SetShown(const char* count, std::array<const char*, 5> list) {
    store_.Globals().SetValue(kProfileShowCount, FromUtf8(count));
    for (int i = 0; i < 5; ++i) store_.Globals().SetValue(kProfileShowList0 + i, FromUtf8(list[static_cast<std::size_t>(i)]));
  }
  std::vector<std::u16string> StoredList() const {
    std::vector<std::u16string> out;
    for (int i = 0; i < 5; ++i) out.push_back(store_.Globals().Value(kProfileShowList0 + i));
    return out;
  }

  SettingsStore store_{DataFolder(), language_};
};

// --- Values read from the configuration never leave their range --------------

struct ShownCase {
  const char* count;
  std::array<const char*, 5> list;
  int expectedCount;
  std::array<int, 5> expectedList;
};

class ShownProfiles : public Store, public testing::WithParamInterface<ShownCase> {};

TEST_P(ShownProfiles, ReadAsACountAndAPermutation) {
  SetShown(GetParam().count, GetParam().list);
  EXPECT_EQ(store_.ProfileShowCount(), GetParam().expectedCount);
  EXPECT_EQ(store_.ProfileShowList(), GetParam().expectedList);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, ShownProfiles,
    testing::Values(ShownCase{"2", {"3", "0", "1", "2", "4"}, 2, {3, 0, 1, 2, 4}},
                    ShownCase{"0", {"0", "1", "2", "3", "4"}, 1, {0, 1, 2, 3, 4}},
                    ShownCase{"9", {"4", "3", "2", "1", "0"}, 5, {4, 3, 2, 1, 0}},
                    ShownCase{"-1", {"9", "4", "abc", "4", "2"}, 1, {4, 0, 2, 1, 3}},
                    // Duplicates and holes: first occurrences keep their place, missing ones follow.
                    ShownCase{"3", {"3", "3", "0", "9", "0"}, 3, {3, 0, 1, 2, 4}}));

TEST_F(Store, CurrentProfileIsHeldToTheFiveProfiles) {
  for (auto [text, expected] : std::vector<std::pair<std::u16string, int>>{
           {u"3", 3}, {u"7", 4}, {u"-1", 0}, {u"abc", 0}, {u"2x", 2}}) {
    store_.Globals().SetValue(kCurrentProfile, text);
    EXPECT_EQ(store_.CurrentProfileIndex(), expected) << ToUtf8(text);
  }
  store_.SetCurrentProfileIndex(9);
  EXPECT_EQ(store_.Globals().Value(kCurrentProfile), u"2x");
  EXPECT_EQ(store_.ProfileShowList(5), -1);
}

// --- Adding and removing shown profiles -------------------------------------

TEST_F(Store, AddingShowsTheFirstHiddenProfileResetWithTheTypedName) {
  SetShown("2", {"3", "0", "1", "2", "4"});
  store_.Profile(1).XYSettingValue[0] = 99;
  EXPECT_EQ(store_.FirstHiddenProfile(), 1);
  EXPECT_EQ(store_.AddProfile(u"Neu"), 1);
  EXPECT_EQ(store_.Globals().Value(kProfileShowCount), u"3");
  EXPECT_EQ(store_.Profile(1).Setting(kProfileName), u"Neu");
  EXPECT_EQ(store_.Profile(1).XYSettingValue[0], 7);
  EXPECT_EQ(store_.Profile(1).Key[0].Name, u"Left");

  EXPECT_EQ(store_.AddProfile(u""), -1);
  SetShown("5", {"0", "1", "2", "3", "4"});
  EXPECT_EQ(store_.FirstHiddenProfile(), -1);
  EXPECT_EQ(store_.AddProfile(u"Sixth"), -1);
  EXPECT_EQ(store_.Globals().Value(kProfileShowCount), u"5");
}

TEST_F(Store, RemovingMovesTheProfileBehindTheShownOnes) {
  store_.SetCurrentProfileIndex(0);
  EXPECT_EQ(store_.RemoveShownProfile(1), RemoveProfileResult::kRemoved);
  EXPECT_EQ(StoredList(), (std::vector<std::u16string>{u"0", u"2", u"3", u"4", u"1"}));
  EXPECT_EQ(store_.Globals().Value(kProfileShowCount), u"2");
  EXPECT_EQ(store_.FirstHiddenProfile(), 3);

  EXPECT_EQ(store_.RemoveShownProfile(0), RemoveProfileResult::kIsCurrent);
  EXPECT_EQ(store_.RemoveShownProfile(4), RemoveProfileResult::kNotShown);
  EXPECT_EQ(store_.RemoveShownProfile(2), RemoveProfileResult::kRemoved);
  store_.SetCurrentProfileIndex(4);  // a hidden profile may still be current
  EXPECT_EQ(store_.RemoveShownProfile(0), RemoveProfileResult::kLastShown);
  EXPECT_EQ(store_.ProfileShowCount(), 1);
}

// --- Export and import ---------------------------------------------------------

TEST_F(Store, ExportThenImportIntoAnotherProfileTakesNamesAndButtons) {
  ProfileRecord& source = store_.Profile(0);
  source.SetSetting(kProfileName, u"Export me");
  source.Key[3].Name = u"Copy";
  source.Key[3].Value = {0x20, 0x11, 0x22, 0};
  source.Lighting1ModeValue = {6, 0, 0};
  const auto sourceLines = ProfileFileLines(source);
  ASSERT_EQ(store_.ExportProfile(0, "exported.psf"), 1);
  EXPECT_EQ(ReadBytes(WorkingFile(0)), ReadBytes(TestData("settings/fresh_default0.psf")));  // only the chosen file

  store_.SetCurrentProfileIndex(3);
  ASSERT_TRUE(store_.ImportProfile(2, "exported.psf").saved);
  EXPECT_EQ(ProfileFileLines(store_.Profile(2)), sourceLines);
  // The working files and the configuration were saved.
  ProfileRecord onDisk;
  ASSERT_TRUE(ReadProfileRecord(WorkingFile(2), onDisk));
  EXPECT_EQ(ProfileFileLines(onDisk), sourceLines);
  EXPECT_EQ(FileLines(ConfigFile())[6], "CurrentProfile=3");
}

TEST_F(Store, FailedImportChangesNothing) {
  store_.Profile(2).SetSetting(kProfileName, u"Mine");
  store_.SaveAllProfiles();
  const auto profile = ProfileFileLines(store_.Profile(2));
  const auto file = ReadBytes(WorkingFile(2));
  const auto config = ReadBytes(ConfigFile());

  auto lines = FileLines(TestData("settings/fresh_default1.psf"));
  lines.back().pop_back();  // 2687 digits
  test::WriteLines("bad.psf", lines);
  for (auto [path, read] : {std::pair{"bad.psf", FileRead::kInvalid}, std::pair{"absent.psf", FileRead::kMissing}}) {
    const ImportResult result = store_.ImportProfile(2, path);
    EXPECT_EQ(result.read, read) << path;
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(ProfileFileLines(store_.Profile(2)), profile);
    EXPECT_EQ(ReadBytes(WorkingFile(2)), file);
    EXPECT_EQ(ReadBytes(ConfigFile()), config);
  }
}

// An import whose saves fail says so; the profile holds the file all the same.
TEST_F(Store, AnImportReportsWhetherItsSavesSucceeded) {
  const std::pair<std::function<void()>, bool> cases[] = {
      {[] {}, true}, {[] { InjectTextFileWriteFault(0); }, false}, {[] { InjectFileBusy(WorkingFile(2), -1); }, false}};
  store_.Profile(0).SetSetting(kProfileName, u"Mine");
  ASSERT_EQ(store_.ExportProfile(0, "mine.psf"), 1);
  for (const auto& [fault, saved] : cases) {
    test::RecordedPauses pauses;
    store_.Profile(2).SetSetting(kProfileName, u"Before");
    fault();
    const ImportResult result = store_.ImportProfile(2, "mine.psf");
    InjectTextFileWriteFault(-1);
    EXPECT_TRUE(result.Loaded());
    EXPECT_EQ(result.saved, saved);
    EXPECT_EQ(store_.Profile(2).Setting(kProfileName), u"Mine");
  }
}

// --- Start-up loads -----------------------------------------------------------

TEST_F(Store, DamagedWorkingFileIsReplacedByThatProfilesDefaults) {
  store_.Profile(3).SetSetting(kProfileName, u"Lost");
  store_.Profile(4).SetSetting(kProfileName, u"Kept");
  store_.SaveAllProfiles();
  auto lines = FileLines(WorkingFile(3));
  lines.resize(60);
  test::WriteLines(WorkingFile(3), lines);

  SettingsStore next(DataFolder(), language_);
  EXPECT_EQ(next.LoadConfiguration(), 1);
  EXPECT_EQ(next.Profile(3).Setting(kProfileName), u"Profil \u00C44");
  EXPECT_EQ(next.Profile(4).Setting(kProfileName), u"Kept");
  EXPECT_EQ(ReadBytes(WorkingFile(3)), ReadBytes(TestData("settings/fresh_default3.psf")));
}

// A profile file held by another program at start-up is not replaced by the
// defaults the profile runs on, until the user puts a profile of their own there.
TEST_F(Store, AHeldProfileFileIsNeverReplacedByItsDefaults) {
  store_.Profile(1).SetSetting(kProfileName, u"Mine");
  ASSERT_EQ(store_.SaveAll(), 1);
  ASSERT_EQ(store_.ExportProfile(1, "mine.psf"), 1);
  const auto file = ReadBytes(WorkingFile(1));

  test::RecordedPauses pauses;
  InjectFileBusy(WorkingFile(1), -1);
  SettingsStore next(DataFolder(), language_);
  EXPECT_EQ(next.LoadConfiguration(), 1);
  ClearInjectedFileBusy();
  EXPECT_EQ(next.Profile(1).Setting(kProfileName), u"\u914D\u7F6E2");
  EXPECT_EQ(ReadBytes(WorkingFile(1)), file);
  EXPECT_EQ(next.SaveAll(), 0);
  EXPECT_EQ(ReadBytes(WorkingFile(1)), file);

  ASSERT_TRUE(next.ImportProfile(1, "mine.psf").saved);
  next.Profile(1).SetSetting(kProfileName, u"Imported");
  EXPECT_EQ(next.SaveAll(), 1);
  EXPECT_NE(ReadBytes(WorkingFile(1)), file);
}

// Timer 70 and the exit: a failed save stays pending until one succeeds.
TEST(DelayedSave, StaysPendingUntilASaveSucceeds) {
  struct Case {
    int pending;
    bool saveSucceeds;
    int calls, pendingAfter;
  };
  for (const Case& c : {Case{1, true, 1, 0}, Case{1, false, 1, 1}, Case{0, true, 0, 0}, Case{0, false, 0, 0}}) {
    int calls = 0;
    EXPECT_EQ(RunDelayedSave(c.pending, [&] { return ++calls, c.saveSucceeds; }), c.pendingAfter);
    EXPECT_EQ(calls, c.calls);
  }
}

TEST_F(Store, MacroButtonsKeepTheirEventCountAcrossARestart) {
  Macro& m = store_.Profile(1).Key[2].macro;
  for (auto a : {MacroAction::Event(0x41, false), MacroAction::Delay(20), MacroAction::Event(0x41, true)})
    m.InsertAction(static_cast<int>(m.MacroActionNum), a);
  m.MacroCommandActionNum = 2;
  store_.Profile(1).Key[2].Value = {0x90, 0, 0, 0};
  store_.SaveAll();

  SettingsStore next(DataFolder(), language_);
  next.LoadConfiguration();
  EXPECT_EQ(next.Profile(1).Key[2].macro.MacroActionNum, 3u);
  EXPECT_EQ(next.Profile(1).Key[2].macro.MacroCommandActionNum, 2);
}

TEST_F(Store, ResetKeepingNameRestoresEverythingElse) {
  store_.Profile(2).SetSetting(kProfileName, u"Named");
  store_.Profile(2).SetSetting(kKeyDebounce, u"4");
  store_.Profile(2).Key[0].macro.InsertAction(0, MacroAction::Event(0x41, false));
  store_.ResetProfileKeepingName(2);
  EXPECT_EQ(store_.Profile(2).Setting(kProfileName), u"Named");
  EXPECT_EQ(store_.Profile(2).Setting(kKeyDebounce), u"12");
  EXPECT_EQ(store_.Profile(2).Key[0].macro.MacroActionNum, 0u);
}

// --- Sensor reports -------------------------------------------------------------

TEST_F(Store, SensorNumbersOfTheSameOrNoSensorChangeNothing) {
  const auto config = std::filesystem::last_write_time(ConfigFile());
  const auto profile = std::filesystem::last_write_time(WorkingFile(0));
  for (int number : {17, 0, 5, 255, -1, 1000}) {
    const SensorChange change = store_.OnSensorReported(number);
    EXPECT_FALSE(change.changed) << number;
    EXPECT_FALSE(change.pageFlag);
  }
  EXPECT_EQ(store_.SensorCode(), 0x3311);
  EXPECT_EQ(std::filesystem::last_write_time(ConfigFile()), config);
  EXPECT_EQ(std::filesystem::last_write_time(WorkingFile(0)), profile);
}

TEST_F(Store, NewSensorResetsTheStagesOfEveryProfileAndRewritesTheFiles) {
  store_.Profile(2).DPIOffOnFlagValue = 0x01;
  store_.Profile(2).SetSetting(kProfileName, u"Stays");
  const SensorChange change = store_.OnSensorReported(96);
  EXPECT_TRUE(change.changed);
  EXPECT_TRUE(change.pageFlag);
  EXPECT_EQ(store_.SensorCode(), 0x3360);
  EXPECT_EQ(store_.CheckValue(), 0x3360);
  EXPECT_EQ(store_.Dpi().count, 121);
  EXPECT_EQ(store_.Dpi().DpiOf(120), 24000);

  auto config = FileLines(ConfigFile());
  EXPECT_EQ(config[2], "Sensor=0x3360");
  EXPECT_EQ(config[3], "PreST=0xCC9F");
  for (int i = 0; i < kProfileCount; ++i) {
    ProfileRecord onDisk;
    ASSERT_TRUE(ReadProfileRecord(WorkingFile(i), onDisk));
    std::vector<int> dpi;
    for (int s = 0; s < 6; ++s) dpi.push_back(store_.Dpi().DpiOf(onDisk.XYSettingValue[static_cast<std::size_t>(s)]));
    EXPECT_EQ(dpi, (std::vector<int>{400, 800, 1600, 3200, 5000, 6000}));
    EXPECT_EQ(onDisk.DPIOffOnFlagValue, 0x3F);
  }
  EXPECT_EQ(store_.Profile(2).Setting(kProfileName), u"Stays");

  // A restart agrees with what was stored.
  SettingsStore next(DataFolder(), language_);
  EXPECT_EQ(next.LoadConfiguration(), 1);
  EXPECT_EQ(next.SensorCode(), 0x3360);
  EXPECT_FALSE(next.OnSensorReported(96).changed);
  EXPECT_FALSE(next.OnSensorReported(4).pageFlag);
  EXPECT_EQ(next.Dpi().count, 48);
}

// --- Where the profile files are ------------------------------------------------

// A stored profile path is used only when it names a file of this data
// folder's config folder; any other stands for the profile's default file
// there and is replaced by its path.
TEST_F(Store, StoredProfilePathsStayInTheDataFolder) {
  const std::u16string here = store_.DataFolderStored() + u"config\\";
  const std::u16string nul(1, u'\0');
  struct Case {
    const char* name;
    std::u16string stored;
    bool kept;
  };
  const Case cases[] = {
      {"the default file", here + u"default2.psf", true},
      {"another file of the config folder", here + u"mine.psf", true},
      {"another user's folder", u"C:\\Users\\Alice\\AppData\\Roaming\\Zeltra\\config\\default2.psf", false},
      {"a relative path", u"config\\default2.psf", false},
      {"a NUL in the name", here + u"default2.psf" + nul + u"x", false},
      {"a file before a NUL", u"victim.txt" + nul + here + u"default2.psf", false},
      {"a character no name holds", here + u"a|b.psf", false},
      {"a device name", here + u"nul.psf", false},
      {"a folder inside config", here + u"sub\\default2.psf", false},
      {"the data folder itself", store_.DataFolderStored() + u"default2.psf", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes("victim.txt", {'v'});
    store_.Globals().SetValue(kProfileSlot0URL + 2, c.stored);
    ASSERT_EQ(store_.WriteConfiguration(), 1);
    SettingsStore next(DataFolder(), language_);
    ASSERT_EQ(next.LoadConfiguration(), 1);
    EXPECT_EQ(next.Globals().Value(kProfileSlot0URL + 2), c.kept ? c.stored : here + u"default2.psf");
    EXPECT_EQ(next.ProfilePath(2), c.kept ? PathFromStored(c.stored) : WorkingFile(2));
    EXPECT_EQ(next.SaveAll(), 1);
    EXPECT_TRUE(ReadConfigurationFile(ConfigFile(), next.Globals()));
    EXPECT_EQ(ReadBytes("victim.txt"), test::Bytes{'v'});
  }
}

// Language files of an older installation may lack the default names; a
// profile is never given an empty one (it is its row in the picker).
TEST_F(Store, MissingDefaultNamesAreTheBuiltInOnes) {
  struct Case {
    std::vector<int> missing;
    std::array<std::u16string, kProfileCount> names;
  };
  const Case cases[] = {
      {{86, 88}, {u"\u914D\u7F6E1", u"Profile 2", u"\u914D\u7F6E3", u"Profile 4", u"Profil \U0001F6005"}},
      {{85, 86, 87, 88, 89}, {u"Profile 1", u"Profile 2", u"Profile 3", u"Profile 4", u"Profile 5"}},
  };
  for (const Case& c : cases) {
    LanguageTable language = language_;
    for (int i : c.missing) language.Set(i, u"");
    std::filesystem::remove_all(ConfigDir());
    std::filesystem::create_directories(ConfigDir());
    SettingsStore fresh(DataFolder(), language);
    ASSERT_EQ(fresh.LoadConfiguration(), 0);
    for (int i = 0; i < kProfileCount; ++i) {
      EXPECT_EQ(fresh.Profile(i).Setting(kProfileName), c.names[static_cast<std::size_t>(i)]) << i;
      EXPECT_EQ(FileLines(WorkingFile(i))[1], "ProfileName=" + ToUtf8(c.names[static_cast<std::size_t>(i)])) << i;
    }
  }
}

TEST_F(Store, FailedSavesLeaveEveryOldFile) {
  const auto before = ReadBytes(WorkingFile(4));
  store_.Profile(4).SetSetting(kProfileName, u"Unsaved");
  InjectTextFileWriteFault(1000);
  EXPECT_EQ(store_.SaveAllProfiles(), 0);
  InjectTextFileWriteFault(-1);
  // The fault struck the first file; the others were written whole or not at all.
  for (int i = 0; i < kProfileCount; ++i) {
    ProfileRecord onDisk;
    EXPECT_TRUE(ReadProfileRecord(WorkingFile(i), onDisk)) << i;
  }
  EXPECT_EQ(ReadBytes(WorkingFile(0)), ReadBytes(TestData("settings/fresh_default0.psf")));
  EXPECT_EQ(store_.SaveAll(), 1);
  EXPECT_NE(ReadBytes(WorkingFile(4)), before);
}

}  // namespace
}  // namespace zeltra
