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

GlobalSettings Globals(int current, int count, std::array<int, 5> list) {
  GlobalSettings g;
  g.SetValue(kCurrentProfile, Dec(current));
  g.SetValue(kProfileShowCount, Dec(count));
  for (int i = 0; i < 5; ++i) g.SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
  return g;
}

TEST(ProfileActions, Decisions) {
  using Kind = ProfileActionDecision::Kind;
  const GlobalSettings three = Globals(1, 3, {0, 1, 2, 3, 4});
  const GlobalSettings five = Globals(1, 5, {0, 1, 2, 3, 4});
  const GlobalSettings reordered = Globals(0, 2, {0, 3, 4, 1, 2});
  struct Case {
    int action, profile;
    const GlobalSettings& globals;
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
  for (const Case& c : cases) EXPECT_EQ(DecideProfileAction(c.action, c.profile, c.globals), c.expected) << c.action;
}

TEST(ProfileActions, RemovingFromTheShownList) {
  GlobalSettings g = Globals(0, 4, {0, 3, 1, 4, 2});
  EXPECT_TRUE(RemoveFromShownList(g, 3));
  EXPECT_EQ(g.Value(kProfileShowCount), u"3");
  std::u16string list;
  for (int i = 0; i < 5; ++i) list += g.Value(kProfileShowList0 + i);
  EXPECT_EQ(list, u"01423");
  EXPECT_FALSE(RemoveFromShownList(g, 2));  // not among the shown ones
  GlobalSettings single = Globals(0, 1, {0, 1, 2, 3, 4});
  EXPECT_FALSE(RemoveFromShownList(single, 0));
  EXPECT_EQ(single.Value(kProfileShowCount), u"1");
}

}  // namespace
}  // namespace zeltra::test
