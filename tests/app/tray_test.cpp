// The tray: its tip and low-battery notice following the status reports, its
// menu of the shown profiles, and a pick there switching as the picker does.
#include "app/tray.h"

#include "app_fixture.h"

namespace zeltra::test {
namespace {

// Frames with their sequence byte cleared.
std::vector<std::vector<std::uint8_t>> WithoutSequence(std::vector<std::vector<std::uint8_t>> frames) {
  for (auto& frame : frames)
    if (frame.size() > 4) frame[4] = 0;
  return frames;
}

BatteryStatus OnBattery(int level) { return {true, level, 0}; }
BatteryStatus Charging(int level) { return {true, level, 1}; }

TEST(Tray, WhatAStatusReplySaysOfTheBattery) {
  struct Case {
    bool model, online;
    int level, charge;
    BatteryStatus expected;
  } cases[] = {
      {true, true, 80, 0, OnBattery(80)},
      {true, true, 0, 1, Charging(0)},
      {true, true, 100, 2, {true, 100, 2}},
      {true, true, 55, 9, OnBattery(55)},  // any other charge byte: on battery
      {false, true, 80, 0, {}},             // another model's reply
      {true, false, 80, 0, {}},             // the receiver answering for a mouse that is off
      {true, true, 101, 0, {}},             // no level at all
      {true, true, -1, 0, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BatteryOfStatus(c.model, c.online, c.level, c.charge), c.expected) << c.level << " " << c.charge;
}

TEST(Tray, TheTipShowsTheBatteryInTheUsersLanguage) {
  LanguageTable chinese;
  chinese.Set(kStringCharging, u"\u5145\u7535\u4E2D");
  const LanguageTable english;  // the built-in text
  struct Case {
    BatteryStatus battery;
    const LanguageTable& language;
    std::u16string tip;
  } cases[] = {
      {{}, english, u"Zeltra"},
      {OnBattery(80), english, u"Zeltra - 80 %"},
      {OnBattery(0), english, u"Zeltra - 0 %"},
      {Charging(35), english, u"Zeltra - 35 %, charging"},
      {Charging(35), chinese, u"Zeltra - 35 %, \u5145\u7535\u4E2D"},
      {{true, 100, 2}, english, u"Zeltra - 100 %"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrayTip(c.battery, c.language), c.tip) << ToUtf8(c.tip);
}

// The notice comes once when the battery falls to the low level, not again
// for readings that go up and down around it, nor after the mouse was off,
// and again only after the mouse was charging.
TEST(Tray, TheLowBatteryNoticeComesOnceUntilTheMouseCharged) {
  struct Step {
    BatteryStatus battery;
    bool tipChanged;
    bool notice;
  } steps[] = {
      {OnBattery(50), true, false}, {OnBattery(50), false, false}, {OnBattery(21), true, false},
      {OnBattery(20), true, true},  {OnBattery(18), true, false},  {OnBattery(25), true, false},
      {OnBattery(15), true, false}, {{}, true, false},             {OnBattery(15), true, false},
      {Charging(15), true, false},  {OnBattery(60), true, false},  {OnBattery(19), true, true},
      {{true, 100, 2}, true, false}, {OnBattery(5), true, true},
  };
  TrayBattery tray;
  const LanguageTable language;
  EXPECT_EQ(tray.tip(), u"Zeltra");
  int i = 0;
  for (const Step& step : steps) {
    const TrayBattery::Change change = tray.OnStatus(step.battery, language);
    EXPECT_EQ(change.tipChanged, step.tipChanged) << "step " << i;
    EXPECT_EQ(change.balloon.has_value(), step.notice) << "step " << i;
    if (change.balloon) {
      EXPECT_EQ(change.balloon->title, TrayTip(step.battery, language));
      EXPECT_EQ(change.balloon->text, language.String(kStringBatteryLow));
    }
    EXPECT_EQ(tray.tip(), TrayTip(step.battery, language));
    ++i;
  }
  // A program started on a battery that is low already says so at once.
  TrayBattery started;
  EXPECT_TRUE(started.OnStatus(OnBattery(9), language).balloon);
}

TEST(Tray, MenuTextsShowWhatTheyHold) {
  EXPECT_EQ(MenuItemText(u"R&D"), u"R&&D");
  EXPECT_EQ(MenuItemText(u"a\tb\r\nc"), u"a b  c");
  EXPECT_EQ(MenuItemText(u"&&"), u"&&&&");
  EXPECT_EQ(MenuItemText(u""), u"");
}

class TrayMenu : public MainWindowTest {
 protected:
  void ShowList(int count, std::array<int, 5> list) {
    settings->Globals().SetValue(kProfileShowCount, Dec(count));
    for (int i = 0; i < 5; ++i) settings->Globals().SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
  }
};

TEST_F(TrayMenu, ListsTheShownProfilesWithTheCurrentOneChecked) {
  ShowList(3, {4, 0, 2, 1, 3});
  settings->SetCurrentProfileIndex(0);
  settings->Profile(4).SetSetting(kProfileName, u"R&D\tlab");
  settings->Profile(2).SetSetting(kProfileName, u"");  // a file without a name: the default one
  LanguageTable language;
  language.Set(1, u"Show");
  language.Set(2, u"Quit");
  language.Set(87, u"Third");
  const std::vector<TrayMenuItem> expected = {
      {kIdTrayShow, u"Show"},
      {},
      {kIdTrayProfileFirst + 4, u"R&&D lab", false, true},
      {kIdTrayProfileFirst + 0, settings->Profile(0).Setting(kProfileName), true, true},
      {kIdTrayProfileFirst + 2, u"Third", false, true},
      {},
      {kIdTrayStartWithWindows, u"Start with Windows", true},
      {},
      {kIdTrayExit, u"Quit"},
  };
  EXPECT_EQ(BuildTrayMenu(*settings, true, true, language), expected);
  // While a dialog of the window is open the profiles wait, and the
  // shortcut's absence shows.
  const std::vector<TrayMenuItem> busy = BuildTrayMenu(*settings, false, false, language);
  ASSERT_EQ(busy.size(), expected.size());
  for (std::size_t row : {2u, 3u, 4u}) EXPECT_FALSE(busy[row].enabled) << row;
  EXPECT_FALSE(busy[6].checked);
  EXPECT_TRUE(busy[6].enabled);
}

TEST_F(TrayMenu, APickSwitchesAsThePickerDoes) {
  ShowList(2, {3, 0, 1, 2, 4});
  struct Case {
    unsigned command;
    std::optional<int> profile;
  } cases[] = {
      {kIdTrayProfileFirst + 3, 3}, {kIdTrayProfileFirst + 0, 0},
      {kIdTrayProfileFirst + 1, std::nullopt},  // hidden since the menu was built
      {kIdTrayProfileFirst + 5, std::nullopt}, {kIdTrayShow, std::nullopt}, {kIdTrayExit, std::nullopt},
      {kIdTrayStartWithWindows, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ProfileOfTrayCommand(*settings, c.command), c.profile) << c.command;

  // What the tray's pick sends is what the picker's row sends.
  settings->Profile(3).PollingRateValue = {0, 0, 0};
  model->PickProfile(*ProfileOfTrayCommand(*settings, kIdTrayProfileFirst + 3));
  EXPECT_EQ(settings->CurrentProfileIndex(), 3);
  EXPECT_EQ(model->page().rateIndex, 0);
  const auto byTray = ApplyNow();
  ASSERT_FALSE(byTray.empty());
  EXPECT_EQ(mouse->State().rateCode, 8);
  model->PickProfile(0);
  ApplyNow();
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 2);  // profile 3's row
  EXPECT_EQ(WithoutSequence(ApplyNow()), WithoutSequence(byTray));
  // Choosing the current profile again sends nothing.
  model->PickProfile(3);
  EXPECT_TRUE(ApplyNow().empty());
}

}  // namespace
}  // namespace zeltra::test
