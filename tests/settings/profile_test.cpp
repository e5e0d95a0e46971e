#include <gtest/gtest.h>

#include "settings/profile.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

TEST(Profile, ResetClearsEveryMacroAndUsesTheNameSelector) {
  LanguageTable language;
  test::SetDefaultTexts(language);
  ProfileRecord r;
  for (auto& slot : r.Key) {
    slot.MacroKeyIndex = 9;
    slot.macro.name = u"old";
    slot.macro.InsertAction(0, MacroAction::Event(0x41, false));
    slot.macro.MacroKeyLoopType = 4;
  }
  r.pairs[kGameFile0] = {u"Other", u"game.exe"};
  ResetProfile(r, 0, 0x3311, language);
  for (const auto& slot : r.Key) {
    EXPECT_EQ(slot.MacroKeyIndex, 0u);
    EXPECT_EQ(slot.macro.name, u"");
    EXPECT_EQ(slot.macro.MacroActionNum, 0u);
    EXPECT_EQ(slot.macro.AllAction[0], MacroAction{});
    EXPECT_EQ(slot.macro.MacroKeyLoopType, 2);
  }
  EXPECT_EQ(r.pairs[kGameFile0], (SettingPair{u"GameFile0", u""}));
  EXPECT_EQ(r.Setting(kProfileName), u"\u914D\u7F6E1");
  ResetProfile(r, 7, 0x3311, language);  // held to 0..4
  EXPECT_EQ(r.Setting(kProfileName), u"Profil \U0001F6005");
}

TEST(Profile, SensorDefaultsOfAnUnknownSensorKeepTheStageIndexes) {
  ProfileRecord r;
  r.XYSettingValue = {1, 2, 3, 4, 5, 6, 7, 8};
  r.DPIOffOnFlagValue = 0x01;
  r.CurrentDPILevelValue = 0;
  r.DPILevelIndicationValue.fill(0);
  r.LiftDetectionValue = 9;
  ApplySensorDpiDefaults(r, 0x1234);
  EXPECT_EQ(r.XYSettingValue, (std::array<std::uint16_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(r.DPIOffOnFlagValue, 0x3F);
  EXPECT_EQ(r.CurrentDPILevelValue, 1);
  EXPECT_EQ(r.DPILevelIndicationValue[3], Rgb(0xFF, 0xFF, 0));
  EXPECT_EQ(r.LiftDetectionValue, 2);

  ApplySensorDpiDefaults(r, 0x3389);  // shares the defaults of 0x3360
  EXPECT_EQ(r.XYSettingValue, (std::array<std::uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59}));
}

TEST(Profile, OnOffSettersStoreOneForAnyPositiveNumber) {
  ProfileRecord r;
  SetMoveLightingOnOff(r, 5);
  SetMotionWakeup(r, -1);
  EXPECT_EQ(r.Setting(kMoveLightingOnOffMode), u"1");
  EXPECT_EQ(r.Setting(kMotionWakeup), u"0");
}

TEST(Profile, ReportRateBeyondTheFourRatesIsTheFastest) {
  ProfileRecord r;
  std::vector<int> codes;
  for (int b : {0, 2, 3, 4, 0xFF}) {
    r.PollingRateValue[0] = static_cast<std::uint8_t>(b);
    codes.push_back(ReportRateCode(r));
  }
  EXPECT_EQ(codes, (std::vector<int>{0, 2, 3, 3, 3}));
}

TEST(Profile, GlobalPairs) {
  GlobalSettings g;
  SetDefaultGlobals(g, u"C:\\Data\\");
  EXPECT_EQ(g.GlobalPair(0, 0), u"NeedPassword");
  EXPECT_EQ(g.GlobalPair(16, 1), u"C:\\Data\\config\\default4.psf");
  EXPECT_EQ(g.GlobalPair(17, 0), u"");
  EXPECT_EQ(g.GlobalPair(-1, 1), u"");
  EXPECT_EQ(g.GlobalPair(1, 2), u"");
}

}  // namespace
}  // namespace zeltra
