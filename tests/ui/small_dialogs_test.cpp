#include "ui/small_dialogs.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/test_support.h"
#include "ui/progress_animation.h"
#include "ui/ui_context.h"

namespace zeltra {
namespace {

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

TEST(ProfileDialogFont, FollowsTheUiAndTextScales) {
  EXPECT_EQ(EditBoxFontTenths(1.0f, 1.0f), 100);
  EXPECT_EQ(EditBoxFontTenths(2.0f, 1.0f), 200);
  EXPECT_EQ(EditBoxFontTenths(1.5f, 1.5f), 100);
  EXPECT_EQ(EditBoxFontTenths(2.0f, 1.25f), 160);
  EXPECT_EQ(EditBoxFontTenths(1.0f, 0.0f), 100);
  EXPECT_EQ(PointFontHeight(100, 96), -13);
  EXPECT_EQ(PointFontHeight(200, 96), -27);
  EXPECT_EQ(PointFontHeight(100, 144), -20);
}

TEST(ProgressAnimation, FiftyStepsFromNothingTo420DesignPixelsNeverFull) {
  ProgressAnimation animation;
  std::vector<int> widths;
  while (auto step = animation.NextStep(2.0f)) {
    widths.push_back(step->sourceWidth);
    EXPECT_EQ(step->destTop, 132);
    EXPECT_EQ(step->destHeight, 24);
    EXPECT_EQ(step->destWidth, step->sourceWidth * 2);
  }
  ASSERT_EQ(widths.size(), 50u);
  EXPECT_EQ(widths[0], 0);
  EXPECT_EQ(widths[1], 8);
  EXPECT_EQ(widths.back(), 420);
  EXPECT_TRUE(animation.finished());
  EXPECT_EQ(animation.progress(), 100);
  EXPECT_EQ(ProgressBarAt(150, 1.5f).destWidth, 643);
}

TEST(ProgressAnimation, OnlyOneAnimationAtATime) {
  ASSERT_TRUE(AnimationGuard::TryAcquire());
  EXPECT_FALSE(AnimationGuard::TryAcquire());
  AnimationGuard::Release();
  EXPECT_TRUE(AnimationGuard::TryAcquire());
  AnimationGuard::Release();
}

}  // namespace
}  // namespace zeltra
