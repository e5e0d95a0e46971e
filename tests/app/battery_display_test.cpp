// Timer 110's battery display, from the status replies of the mouse.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "app/battery_display.h"
#include "app_fixture.h"

namespace zeltra::test {
namespace {

class BatteryDisplayTest : public MainWindowTest {
 protected:
  // One tick of timer 110 as the window runs it.
  std::optional<BatteryDisplay> Tick() {
    if (!link->OnWatchdogTimer()) return std::nullopt;
    return gauge.Tick(link->batteryLevel(), link->chargeState());
  }
  BatteryGauge gauge;
};

TEST_F(BatteryDisplayTest, StepsTextAndChargeState) {
  std::vector<int> steps;
  for (int i = 0; i < 6; ++i) steps.push_back(Tick()->animationStep);
  EXPECT_EQ(steps, (std::vector<int>{25, 50, 75, 100, 25, 50}));

  struct Case {
    std::uint8_t level, charge;
    int shownLevel, shownCharge;
    const char16_t* text;
    bool textVisible;
  };
  for (const Case& c : {Case{55, 0, 55, 0, u"55%", true}, Case{55, 1, 55, 1, u"55%", false},
                        Case{30, 2, 100, 2, u"100%", true}, Case{180, 0, 0, 0, u"0%", true}}) {
    mouse->SetBattery(c.level, c.charge);
    link->QueryStatus();
    const auto shown = Tick();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->level, c.shownLevel);
    EXPECT_EQ(shown->chargeState, c.shownCharge);
    EXPECT_EQ(shown->text, c.text);
    EXPECT_EQ(shown->textVisible, c.textVisible);
  }
}

TEST(BatteryDisplay, StartsAtTenPercentOnBattery) {
  VirtualClock clock;
  FakeWindow window;
  DeviceLink link(std::make_shared<VirtualMouse>(clock), clock, window, window, window);
  link.InitStandby(0);
  ASSERT_TRUE(link.OnWatchdogTimer());
  const BatteryDisplay shown = BatteryGauge().Tick(link.batteryLevel(), link.chargeState());
  EXPECT_EQ(shown.text, u"10%");
  EXPECT_EQ(shown.chargeState, 0);
}

// The ticks of an idle mouse repaint nothing; what the user can see change is repainted.
TEST_F(BatteryDisplayTest, TicksRepaintOnlyWhatLooksDifferent) {
  BatteryDisplay shown = *Tick();
  auto tick = [&](std::uint8_t level, std::uint8_t charge) {
    mouse->SetBattery(level, charge);
    link->QueryStatus();
    const BatteryDisplay next = *Tick();
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

}  // namespace
}  // namespace zeltra::test
