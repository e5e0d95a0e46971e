#include "app_fixture.h"

namespace zeltra::test {
namespace {

TEST(Osd, TextsOfTheActiveStageSlot) {
  ProfileRecord record;
  ResetProfile(record, 0, 0x3311, LanguageTable{});
  record.DPIOffOnFlagValue = 0x2D;  // stages 0, 2, 3 and 5
  record.PollingRateValue = {1, 0, 0};
  const DpiTable table = DpiTableFor(0x3311);
  EXPECT_EQ(MouseStateTexts(record, 2, table), (OsdTexts{u"DPI-4", u"2400", u"250Hz"}));  // position 3
  // A position beyond the enabled stages shows stage slot 0's value.
  record.PollingRateValue = {9, 0, 0};
  EXPECT_EQ(MouseStateTexts(record, 5, table), (OsdTexts{u"DPI-9", u"800", u"1000Hz"}));
}

struct PlaceCase {
  std::u16string_view face;
  std::u16string_view value;
  float scale;
  int x;
};

class ValuePlace : public testing::TestWithParam<PlaceCase> {};

TEST_P(ValuePlace, DependsOnTheFaceAndTheLength) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(OsdValuePosition(c.face, c.value.size(), c.scale), (OsdPoint{c.x, static_cast<int>(44 * c.scale)}));
}

INSTANTIATE_TEST_SUITE_P(Faces, ValuePlace,
                         testing::Values(PlaceCase{u"Tahoma", u"12000", 1.0f, 16}, PlaceCase{u"Tahoma", u"1600", 1.0f, 34},
                                         PlaceCase{u"Tahoma", u"800", 1.0f, 50},
                                         PlaceCase{kSongTiFace, u"12000", 1.0f, 34},
                                         PlaceCase{kSongTiFace, u"1600", 1.0f, 44},
                                         PlaceCase{kSongTiFace, u"800", 1.0f, 50},
                                         PlaceCase{u"Tahoma", u"12000", 1.5f, 24}));

TEST(Osd, WindowFontsAndTheOtherTwoTexts) {
  const OsdView view = MakeOsdView({u"DPI-2", u"800", u"1000Hz"}, u"Tahoma", {0, 0, 2560, 1400}, 1.5f);
  EXPECT_EQ(view.window, (UiRect{2560 - 270, 1400 - 210, 2560, 1400}));
  EXPECT_EQ(view.face, u"Tahoma");  // both fonts are made in the window
  EXPECT_EQ(view.smallFont, (OsdFont{36, 18, 700, 32}));
  EXPECT_EQ(view.largeFont, (OsdFont{72, 36, 400, 32}));
  EXPECT_EQ(view.stageAt, (OsdPoint{87, 30}));
  EXPECT_EQ(view.rateAt, (OsdPoint{75, 138}));
  EXPECT_EQ(OsdRatePosition(5, 1.0f), (OsdPoint{57, 92}));
}

// Two DPI-button presses keep one display, which goes on the sixth tick of
// timer 50 after the second.
TEST_F(MainWindowTest, TwoMouseReportsKeepOneDisplayThatThenGoes) {
  Current().CurrentDPILevelValue = 2;
  model->OnMouseStateReported(2);
  EXPECT_EQ(window.timers.at(kOsdTimer), 300u);
  for (int tick = 0; tick < 3; ++tick) model->OnTimer(kOsdTimer);
  Current().CurrentDPILevelValue = 3;
  model->OnMouseStateReported(3);
  EXPECT_EQ(window.osdCreates, 1);
  EXPECT_EQ(window.osdShown->texts, (OsdTexts{u"DPI-4", u"2400", u"1000Hz"}));
  EXPECT_EQ(window.osdShown->window, (UiRect{1920 - 180, 1040 - 140, 1920, 1040}));
  for (int tick = 0; tick < 5; ++tick) model->OnTimer(kOsdTimer);
  EXPECT_TRUE(window.osdShown);
  model->OnTimer(kOsdTimer);
  EXPECT_FALSE(window.osdShown);
  EXPECT_FALSE(window.timers.count(kOsdTimer));
}

}  // namespace
}  // namespace zeltra::test
