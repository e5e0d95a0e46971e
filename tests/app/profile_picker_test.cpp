#include "app/profile_picker.h"

#include <gtest/gtest.h>

#include "app/profile_actions_ui.h"

#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

TEST(ProfilePickerRows, FollowTheShownListAndMarkTheCurrentProfile) {
  LanguageTable language;
  language.Set(kStringPickerHeader, u"S10");
  language.Set(kStringPickerAdd, u"S200");

  // Two shown profiles, show list 3, 0, 1, 2, 4, profile 0 current.
  test::TempDir dir;
  SettingsStore settings(dir.path());
  settings.Globals().SetValue(kProfileShowCount, u"2");
  const char16_t* list[] = {u"3", u"0", u"1", u"2", u"4"};
  for (int i = 0; i < kProfileCount; ++i) {
    settings.Globals().SetValue(kProfileShowList0 + i, list[i]);
    settings.Profile(i).SetSetting(kProfileName, u"P" + Ascii(std::to_string(i)));
  }
  settings.SetCurrentProfileIndex(0);
  const ProfilePopupRows rows = ProfileRowsOf(settings, language);
  EXPECT_EQ(rows.header + rows.last, u"S10S200");
  EXPECT_EQ(rows.names, (std::array<std::u16string, 5>{u"P3", u"P0", u"", u"", u""}));
  EXPECT_EQ(rows.currentRow, 2);
}

struct ProfileDialogs : testing::Test {
  test::TempDir dir;
  SettingsStore settings{dir.path()};
  void SetUp() override {
    settings.SetDefaultGlobals();  // three shown: 0, 1, 2
    settings.Profile(3).SetSetting(kProfileName, u"old");
    settings.Profile(3).Key[0].Name = u"changed";
  }
  std::u16string Count() const { return settings.Globals().Value(kProfileShowCount); }
};

TEST_F(ProfileDialogs, AddRefusesAnEmptyNameAndAFullListAndTakesAnyOtherName) {
  ProfileNameOutcome outcome = ConfirmAddProfile(settings, u"");
  EXPECT_EQ(outcome.warning, kEmptyProfileNameWarning);
  EXPECT_TRUE(outcome.staysOpen);
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(Count(), u"3");

  // Used as typed: spaces are a name.
  outcome = ConfirmAddProfile(settings, u"  ");
  EXPECT_TRUE(outcome.accepted);
  EXPECT_EQ(outcome.profile, 3);
  EXPECT_EQ(Count(), u"4");
  EXPECT_EQ(settings.Profile(3).Setting(kProfileName), u"  ");
  EXPECT_NE(settings.Profile(3).Key[0].Name, u"changed") << "reset to its defaults before it is named";

  ASSERT_TRUE(ConfirmAddProfile(settings, u"Fifth").accepted);
  outcome = ConfirmAddProfile(settings, u"Sixth");
  EXPECT_FALSE(outcome.accepted);
  EXPECT_FALSE(outcome.staysOpen);
  EXPECT_EQ(outcome.warning, kAllProfilesShownWarning);
  EXPECT_EQ(Count(), u"5");
}

TEST_F(ProfileDialogs, EditRenamesUnlessTheNameIsEmpty) {
  ProfileRecord& profile = settings.Profile(3);
  EXPECT_EQ(ConfirmEditProfile(profile, u"").warning, kEmptyProfileNameWarning);
  EXPECT_EQ(profile.Setting(kProfileName), u"old");
  EXPECT_TRUE(ConfirmEditProfile(profile, u"new").accepted);
  EXPECT_EQ(profile.Setting(kProfileName), u"new");
}

}  // namespace
}  // namespace zeltra
