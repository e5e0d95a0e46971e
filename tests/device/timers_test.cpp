// Timer 110's battery display and timer 60's profile actions.
#include <gtest/gtest.h>

#include "device/profile_actions.h"
#include "device_fixture.h"
#include "settings/text_format.h"

namespace zeltra::test {
namespace {

TEST(BatteryDisplay, StepsTextAndChargeState) {
  Rig rig;
  rig.Connect();
  std::vector<int> steps;
  for (int i = 0; i < 6; ++i) steps.push_back(rig.link->OnWatchdogTimer()->animationStep);
  EXPECT_EQ(steps, (std::vector<int>{25, 50, 75, 100, 25, 50}));

  struct Case {
    std::uint8_t level, charge;
    int shownLevel, shownCharge;
    const char16_t* text;
    bool textVisible;
  };
  for (const Case& c : {Case{55, 0, 55, 0, u"55%", true}, Case{55, 1, 55, 1, u"55%", false},
                        Case{30, 2, 100, 2, u"100%", true}, Case{180, 0, 0, 0, u"0%", true}}) {
    rig.mouse->SetBattery(c.level, c.charge);
    rig.link->QueryStatus();
    const auto shown = rig.link->OnWatchdogTimer();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->level, c.shownLevel);
    EXPECT_EQ(shown->chargeState, c.shownCharge);
    EXPECT_EQ(shown->text, c.text);
    EXPECT_EQ(shown->textVisible, c.textVisible);
  }
}

TEST(BatteryDisplay, StartsAtTenPercentOnBattery) {
  Rig rig(false);
  const auto shown = rig.link->OnWatchdogTimer();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->text, u"10%");
  EXPECT_EQ(shown->chargeState, 0);
}

// The ticks of an idle mouse repaint nothing; what the user can see change is repainted.
TEST(BatteryDisplay, TicksRepaintOnlyWhatLooksDifferent) {
  Rig rig;
  rig.Connect();
  BatteryDisplay shown = *rig.link->OnWatchdogTimer();
  auto tick = [&](std::uint8_t level, std::uint8_t charge) {
    rig.mouse->SetBattery(level, charge);
    rig.link->QueryStatus();
    const BatteryDisplay next = *rig.link->OnWatchdogTimer();
    const BatteryChange change = CompareBatteryDisplays(shown, next);
    shown = next;
    return std::pair{change.gauge, change.text};
  };
  using P = std::pair<bool, bool>;
  EXPECT_EQ(tick(80, 0), (P{false, false})) << "on battery the animation step does not show";
  EXPECT_EQ(tick(79, 0), (P{true, true}));
  EXPECT_EQ(tick(79, 1), (P{true, true})) << "charging: the text goes";
  EXPECT_EQ(tick(79, 1), (P{true, false})) << "the charging animation moves on every tick";
  EXPECT_EQ(tick(85, 1), (P{true, false})) << "a hidden text's change does not show";
  EXPECT_EQ(tick(85, 2), (P{true, true}));
  EXPECT_EQ(tick(85, 2), (P{false, false})) << "full: one picture";
  EXPECT_EQ(tick(85, 0), (P{true, true}));
}

void SetShown(SettingsStore& store, int current, int count, std::array<int, 5> list) {
  store.Globals().SetValue(kCurrentProfile, Dec(current));
  store.Globals().SetValue(kProfileShowCount, Dec(count));
  for (int i = 0; i < 5; ++i) store.Globals().SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
}

TEST(ProfileActions, Decisions) {
  using Kind = ProfileActionDecision::Kind;
  TempDir dir;
  SettingsStore three(dir.path()), five(dir.path()), reordered(dir.path());
  SetShown(three, 1, 3, {0, 1, 2, 3, 4});
  SetShown(five, 1, 5, {0, 1, 2, 3, 4});
  SetShown(reordered, 0, 2, {0, 3, 4, 1, 2});
  struct Case {
    int action, profile;
    const SettingsStore& settings;
    ProfileActionDecision expected;
  };
  const Case cases[] = {
      {0, 2, three, {Kind::ImportDialog, 2, 0}},
      {1, 4, three, {Kind::ExportDialog, 4, 0}},
      {2, 0, three, {Kind::EditDialog, 0, 0}},
      {3, 1, three, {Kind::Attention, 1, 152}},  // the current profile is never removed
      {3, 2, three, {Kind::RemoveFromShown, 2, 0}},
      {4, -1, three, {Kind::AddDialog, 3, 0}},
      {4, -1, reordered, {Kind::AddDialog, 4, 0}},
      {4, -1, five, {}},  // all five are shown already
      {5, -1, three, {Kind::Attention, -1, 145}},
      {0, 7, three, {}},
      {9, 0, three, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DecideProfileAction(c.action, c.profile, c.settings), c.expected) << c.action;
}

}  // namespace
}  // namespace zeltra::test
