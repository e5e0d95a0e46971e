// The listeners: decoding on their own thread, handing over to the
// user-interface thread, ending cleanly.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

TEST(Listener, TheDpiButtonUpdatesProfileThenWindowThenCaches) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.host.events.clear();
  rig.mouse->PressDpiButton();  // position 2 -> 3
  ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  const ProfileRecord& p = rig.host.CurrentProfile();
  EXPECT_EQ(p.CurrentDPILevelValue, 2);
  EXPECT_EQ(p.PollingRateValue, (std::array<std::uint8_t, 3>{3, 0, 0}));
  EXPECT_EQ(p.PollingRateName, u"1000Hz");
  EXPECT_EQ(rig.host.events, (std::vector<std::string>{"mouseState 2", "refresh"}));
  // The window was told before the caches were reloaded, and they were reloaded.
  EXPECT_EQ(rig.host.stageByteCachedAtNotification, std::vector<std::uint8_t>{0x26});
  EXPECT_EQ(rig.link->caches().dpi[0], 0x36);
  // What the mouse changed itself is not sent back to it.
  rig.link->RequestApply(kPendingButtons | kPendingSettings);
  rig.link->ApplyPendingChanges();
  EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST(Listener, AMouseReportLeavesThePowerSettingsOfAProfileSwitchPending) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.host.profiles[1].SetSetting(kPowerDownTime, u"9");
  rig.host.current = 1;  // a switch sends buttons and settings, not power saving
  rig.link->RequestApply(kPendingButtons | kPendingSettings);
  rig.link->ApplyPendingChanges();
  rig.mouse->PressDpiButton();
  ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  rig.link->ScanDevices();  // the next scan brings the new profile's power saving
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.mouse->State().powerDownTime, 9);
}

// An edit starts the 20 ms apply timer; a mouse report that comes in before
// it fires must not make the edit look sent already.
TEST(Listener, AnEditOvertakenByAMouseReportIsStillSent) {
  using State = const VirtualMouseState&;
  const std::pair<std::function<unsigned(TestHost&)>, std::function<bool(State)>> cases[] = {
      {[](TestHost& h) { return h.CurrentProfile().SetSetting(kKeyDebounce, u"8"), kPendingSettings; },
       [](State s) { return s.debounce == 8; }},
      {[](TestHost& h) { return h.CurrentProfile().Key[2].Value = {0x10, 0x08, 0x00, 0}, kPendingButtons; },
       [](State s) { return s.buttons[2] == std::array<std::uint8_t, 3>{0x10, 0x08, 0}; }},
      {[](TestHost& h) {  // a switch to a profile with another debounce
         return h.profiles[1].SetSetting(kKeyDebounce, u"4"), h.current = 1, kPendingButtons | kPendingSettings;
       },
       [](State s) { return s.debounce == 4; }},
  };
  for (const auto& [edit, arrived] : cases) {
    Rig rig;
    rig.Connect();
    ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    rig.link->RequestApply(edit(rig.host));
    rig.clock.Advance(5);
    rig.mouse->PressDpiButton();
    ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
    rig.clock.Advance(15);
    rig.link->ApplyPendingChanges();  // timer 30
    EXPECT_TRUE(arrived(rig.mouse->State()));
  }
}

TEST(Listener, PositionsCountAmongTheEnabledStages) {
  Rig rig;
  rig.host.CurrentProfile().DPIOffOnFlagValue = 0x0D;  // stages 0, 2 and 3
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.mouse->SendInputReport(VirtualLink::Cable, FromHex("05 06 00 08 02"));
  ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  const ProfileRecord& p = rig.host.CurrentProfile();
  EXPECT_EQ(p.CurrentDPILevelValue, 1);
  EXPECT_EQ(ActiveStageIndex(p.DPIOffOnFlagValue, p.CurrentDPILevelValue), 2);
  EXPECT_EQ(p.PollingRateValue[0], 0);
  EXPECT_EQ(p.PollingRateName, u"125Hz");
}

TEST(Listener, TheMousesOwnRateChange) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.mouse->ChangeReportRate(2);
  ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  EXPECT_EQ(rig.host.CurrentProfile().PollingRateValue[0], 2);
  EXPECT_EQ(rig.host.CurrentProfile().PollingRateName, u"500Hz");
  EXPECT_EQ(rig.link->caches().rate, 2);
}

TEST(Listener, ShortAndMalformedReportsAreIgnored) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  for (const char* bad : {"", "05", "05 06 00 08", "05 07 00 08 02", "06 06 00 08 02", "05 06 00 08 00", "05 06 00 08 FF"})
    rig.mouse->SendInputReport(VirtualLink::Cable, FromHex(bad));
  rig.mouse->SendInputReport(VirtualLink::Cable, FromHex("05 06 00 04 04"));
  ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  EXPECT_EQ(rig.host.PumpPosted(*rig.link, 1, std::chrono::milliseconds(50)), 0);
  EXPECT_EQ(rig.host.CurrentProfile().CurrentDPILevelValue, 3);
  EXPECT_EQ(rig.host.CurrentProfile().PollingRateValue[0], 1);
  EXPECT_TRUE(rig.link->ListenerBusy(LinkKind::Cable));
}

TEST(Listener, UnplugDuringABlockedReadEndsItCleanly) {
  Rig rig(true, true);
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.mouse->Unplug(VirtualLink::Cable);
  ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), u"");
  EXPECT_TRUE(rig.link->ListenerBusy(LinkKind::Receiver));
  // With the cable gone the mouse talks through the receiver.
  rig.mouse->PressDpiButton();
  EXPECT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
}

TEST(Listener, ASecondScanStartsNoSecondListener) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.link->ScanDevices();
  rig.link->ScanDevices();
  rig.mouse->PressDpiButton();
  EXPECT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  EXPECT_EQ(rig.host.PumpPosted(*rig.link, 1, std::chrono::milliseconds(50)), 0);
}

// The hand-over under load: the mouse's DPI button pressed from another
// thread while the user-interface thread edits, applies and handles the
// notifications. Run under ThreadSanitizer.
TEST(Listener, HandOverUnderLoad) {
  constexpr int kRounds = 50;
  constexpr int kPresses = 20;
  for (int round = 0; round < kRounds; ++round) {
    Rig rig;
    rig.Connect();
    ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    rig.host.events.clear();
    std::atomic<bool> done{false};
    std::thread presser([&] {
      for (int i = 0; i < kPresses; ++i) {
        rig.mouse->PressDpiButton();
        std::this_thread::yield();
      }
      done = true;
    });
    int handled = 0;
    int edits = 0;
    while (handled < kPresses) {
      const int got = rig.host.PumpPosted(*rig.link, 1, std::chrono::seconds(5));
      ASSERT_EQ(got, 1) << "round " << round << " after " << handled;
      ++handled;
      // Meanwhile the user edits a colour and it is applied.
      rig.host.CurrentProfile().DPILevelIndicationValue[0] = Rgb(static_cast<std::uint8_t>(++edits), 0, 0);
      rig.link->RequestApply(kPendingSettings);
      rig.link->ApplyPendingChanges();
    }
    presser.join();
    EXPECT_TRUE(done);
    // Every notification: the window first, its refresh next.
    int notifications = 0;
    for (std::size_t i = 0; i < rig.host.events.size(); ++i) {
      if (rig.host.events[i].rfind("mouseState", 0) == 0) {
        ++notifications;
        ASSERT_LT(i + 1, rig.host.events.size());
        EXPECT_EQ(rig.host.events[i + 1], "refresh");
      }
    }
    EXPECT_EQ(notifications, kPresses);
    // Six enabled stages, twenty presses from position 2.
    EXPECT_EQ(rig.host.CurrentProfile().CurrentDPILevelValue, (1 + kPresses) % 6);
    EXPECT_EQ(rig.mouse->State().stageByte, rig.link->caches().dpi[0]);
    EXPECT_EQ(rig.mouse->RedundantWrites(), 0);
  }
}

}  // namespace
}  // namespace zeltra::test
