#include <gtest/gtest.h>

#include "settings/pointer_settings.h"

namespace zeltra {
namespace {

struct Normal {
  ProfileSetting pair;
  const char16_t* stored;
  const char16_t* collected;
};

class CarriedSettings : public testing::TestWithParam<Normal> {};

TEST_P(CarriedSettings, OneRefreshAndCollectionNormalise) {
  ProfileRecord r;
  ResetProfile(r, 0, 0x3311, LanguageTable{});
  r.SetSetting(GetParam().pair, GetParam().stored);
  NormalizeCarriedSettings(r);
  EXPECT_EQ(r.Setting(GetParam().pair), GetParam().collected);
  ProfileRecord again = r;
  NormalizeCarriedSettings(again);  // a second cycle changes nothing more
  EXPECT_EQ(again.Setting(GetParam().pair), GetParam().collected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CarriedSettings,
    testing::Values(Normal{kAccelerationEnable, u"7", u"0"}, Normal{kAccelerationEnable, u"1", u"1"},
                    Normal{kAccelerationEnable, u" 1x", u"1"}, Normal{kScrollWheelPageEnable, u"", u"0"},
                    Normal{kDoubleClickSpeed, u"10", u"10"}, Normal{kDoubleClickSpeed, u"15", u"10"},
                    Normal{kPointerSpeed, u"-3", u"0"}, Normal{kPointerSpeed, u"07", u"7"},
                    Normal{kXDpi, u"9", u"6"}, Normal{kXDpi, u"5", u"5"}, Normal{kXDpi, u"-1", u"6"},
                    Normal{kXDpi, u"abc", u"0"}, Normal{kKeyDebounce, u"13", u"12"},
                    Normal{kKeyDebounce, u"30", u"30"}, Normal{kKeyDebounce, u"31", u"30"},
                    Normal{kKeyDebounce, u"200", u"30"}, Normal{kKeyDebounce, u"-5", u"0"},
                    // Pairs no control carries are kept as they are.
                    Normal{kSensitivityX, u"99", u"99"}, Normal{kYDpi, u"9", u"9"}));

TEST(CarriedSettings, TiltSpeedFollowsTheWheelSlider) {
  ProfileRecord r;
  r.SetSetting(kTiltSpeed, u"5");
  r.SetSetting(kScrollWheelSpeed, u"2");
  NormalizeCarriedSettings(r);
  EXPECT_EQ(r.Setting(kTiltSpeed), u"2");
  r.SetSetting(kScrollWheelSpeed, u"12");
  NormalizeCarriedSettings(r);
  EXPECT_EQ(r.Setting(kScrollWheelSpeed), u"9");
  EXPECT_EQ(r.Setting(kTiltSpeed), u"9");
}

TEST(CarriedSettings, DebounceSlider) {
  EXPECT_EQ(KeyDebounceSliderPosition(u"12"), 6);
  EXPECT_EQ(KeyDebounceSliderPosition(u"31"), 15);
  EXPECT_EQ(KeyDebounceSliderPosition(u"x"), 0);
  EXPECT_EQ(KeyDebounceFromSlider(15), u"30");
}

}  // namespace
}  // namespace zeltra
