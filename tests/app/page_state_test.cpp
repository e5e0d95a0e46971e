#include <gtest/gtest.h>

#include "app/page_state.h"
#include "settings/pointer_settings.h"

namespace zeltra {
namespace {

class PageStateTest : public testing::Test {
 protected:
  PageStateTest() : store_("unused", language_) {
    language_.Set(266, u"Sleep after ");
    language_.Set(267, u" min");
    ResetProfile(store_.Profile(0), 0, 0x3311, language_);
  }
  ProfileRecord& Profile() { return store_.Profile(0); }
  // One refresh of the page and the collection after it.
  void Cycle() {
    const PageState page = RefreshPage(store_, language_);
    CollectPage(page, Profile());
  }

  LanguageTable language_;
  SettingsStore store_;
};

struct CycleCase {
  ProfileSetting pair;
  const char16_t* stored;
  const char16_t* collected;
};

class PageCycle : public PageStateTest, public testing::WithParamInterface<CycleCase> {};

TEST_P(PageCycle, LeavesEachPairInTheFormItsControlHolds) {
  Profile().SetSetting(GetParam().pair, GetParam().stored);
  ProfileRecord normalised = Profile();
  NormalizeCarriedSettings(normalised);
  Cycle();
  EXPECT_EQ(Profile().Setting(GetParam().pair), GetParam().collected);
  // The pointer pairs, X_DPI and KeyDebounce agree with the settings' own rule.
  for (ProfileSetting s : {kDoubleClickSpeed, kPointerSpeed, kAccelerationEnable, kScrollWheelSpeed,
                           kScrollWheelPageEnable, kTiltSpeed, kXDpi, kKeyDebounce})
    EXPECT_EQ(Profile().Setting(s), normalised.Setting(s)) << s;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, PageCycle,
    testing::Values(CycleCase{kKeyDebounce, u"13", u"12"}, CycleCase{kXDpi, u"9", u"6"},
                    CycleCase{kAccelerationEnable, u"7", u"0"}, CycleCase{kTiltSpeed, u"5", u"2"},
                    CycleCase{kLiftDetectionHeight, u"1", u"1"}, CycleCase{kLiftDetectionHeight, u"7", u"2"},
                    CycleCase{kLiftDetectionHeight, u"", u"2"}, CycleCase{kMoveLightingOnOffMode, u"1", u"1"},
                    CycleCase{kMoveLightingOnOffMode, u"5", u"0"}, CycleCase{kPowerDownTime, u"11", u"10"},
                    CycleCase{kPowerDownTime, u"x", u"3"}, CycleCase{kSensitivityX, u"99", u"99"}));

TEST_F(PageStateTest, StageSixEnabledInTheFileSurvivesAndCountsForTheActiveStage) {
  Profile().DPIOffOnFlagValue = 0x7F;
  Profile().CurrentDPILevelValue = 6;
  const PageState page = RefreshPage(store_, language_);
  EXPECT_TRUE(page.stages[6].enabled);
  EXPECT_TRUE(page.stages[6].active);
  EXPECT_FALSE(page.stages[5].active);
  EXPECT_EQ(page.StageLabel(5), u"12000");
  EXPECT_EQ(page.DebounceLabel(), u"12ms");
  Cycle();
  EXPECT_EQ(Profile().DPIOffOnFlagValue, 0x7F);
  EXPECT_EQ(Profile().CurrentDPILevelValue, 6);
}

TEST_F(PageStateTest, LightingStepsOfTheCurrentModeAreHeldInsideTheirSliders) {
  Profile().Lighting1ModeValue = {2, 0, 0};
  Profile().Lighting1Speed[2] = 7;
  Profile().Lighting1Brightness[2] = 9;
  Profile().Lighting1Speed[4] = 7;  // another mode's step is not the page's
  Profile().Lighting1Direction[2] = 5;
  const PageState page = RefreshPage(store_, language_);
  EXPECT_EQ(page.speed, 2);
  EXPECT_EQ(page.SpeedLabel(), u"3");
  EXPECT_EQ(page.BrightnessLabel(), u"100%");
  Cycle();
  EXPECT_EQ(Profile().Lighting1Speed[2], 2);
  EXPECT_EQ(Profile().Lighting1Brightness[2], 3);
  EXPECT_EQ(Profile().Lighting1Direction[2], 0);
  EXPECT_EQ(Profile().Lighting1Speed[4], 7);
}

TEST_F(PageStateTest, RadioWordCarriesEveryGroupOfTheWindowAndKeepsTheOthers) {
  Profile().PollingRateValue = {2, 0, 0};
  Profile().SetSetting(kLiftDetectionHeight, u"1");
  Profile().SetSetting(kXDpi, u"3");
  Profile().SetSetting(kScrollWheelPageEnable, u"1");
  Profile().Lighting1Direction[1] = 1;  // mode 1 is the default mode
  const PageState page = RefreshPage(store_, language_);
  EXPECT_EQ(page.RadioWord(0x4000 | 0x10000 | 0x1), 0x4000u | 0x8u | 0x100u | 0x800u | 0x40000u | 0x100000u);
}

}  // namespace
}  // namespace zeltra
