// A mouse that stops answering, and one asleep behind its receiver.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

// Every group changed at once: eight setting reports, two buttons.
unsigned EditEverything(TestHost& host) {
  ProfileRecord& p = host.CurrentProfile();
  p.PollingRateValue = {0, 0, 0};
  p.SetSetting(kKeyDebounce, u"8");
  p.SetSetting(kPowerDownTime, u"9");
  p.SetSetting(kMotionWakeup, u"0");
  p.DPILevelIndicationValue[0] = Rgb(1, 2, 3);
  p.Key[1].Value = {0x10, 0x08, 0x00, 0};
  p.Key[4].Value = {0x10, 0x09, 0x00, 0};
  return kPendingButtons | kPendingSettings | kPendingPower | kPendingWake;
}

// A device that never completes a transfer: it fails after the stack's one
// second, the rest of the apply is not waited out report by report, and the
// next apply sends everything again.
TEST(LinkFaults, AStalledTransferHoldsTheWindowOnceAndIsSentAgain) {
  struct Case {
    const char* name;
    int stalledCall;
  } cases[] = {{"the first report", 1}, {"a report in the middle", 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Connect();
    const unsigned edits = EditEverything(rig.host);
    rig.mouse->StallCall(FaultOp::SetFeature, c.stalledCall);
    const std::int64_t start = rig.clock.NowMs();
    rig.link->RequestApply(edits);
    rig.link->ApplyPendingChanges();
    const std::int64_t took = rig.clock.NowMs() - start;
    // Before the stall: six button positions of 60 ms and the reports sent.
    EXPECT_LE(took, kFeatureTimeoutMs + 6 * kReportPauseMs + (c.stalledCall - 1) * kReportPauseMs);
    EXPECT_EQ(rig.link->pending().reportWritten, 0);
    EXPECT_EQ(rig.host.progressDialogs, 0);
    EXPECT_NE(rig.mouse->State().debounce, 8);

    rig.link->ApplyPendingChanges();
    const VirtualMouseState state = rig.mouse->State();
    EXPECT_EQ(state.debounce, 8);
    EXPECT_EQ(state.rateCode, 8);
    EXPECT_EQ(state.powerDownTime, EncodePowerSaving(rig.host.CurrentProfile())[0]);
    EXPECT_EQ(state.motionWakeup, 0);
    EXPECT_EQ(state.buttons[1], (std::array<std::uint8_t, 3>{0x10, 0x08, 0x00}));
    EXPECT_EQ(state.buttons[3], (std::array<std::uint8_t, 3>{0x10, 0x09, 0x00}));  // KeySlot 4 is position 3
    EXPECT_EQ(rig.host.progressDialogs, 1);
  }
}

TEST(LinkFaults, AStalledStatusQueryEndsTheQuery) {
  for (FaultOp op : {FaultOp::SetFeature, FaultOp::GetFeature}) {
    Rig rig;
    rig.Connect();
    rig.mouse->SetBattery(44, 0);
    rig.mouse->StallCall(op);
    const std::int64_t start = rig.clock.NowMs();
    rig.link->QueryStatus();
    EXPECT_LE(rig.clock.NowMs() - start, kFeatureTimeoutMs + kStatusReplyWaitMs);
    EXPECT_NE(rig.link->batteryLevel(), 44);
    rig.link->QueryStatus();
    EXPECT_EQ(rig.link->batteryLevel(), 44);
  }
}

// The receiver takes reports for a mouse that sleeps (its status says
// offline) and they are lost: once the mouse is reported online again, what
// was written meanwhile is sent again, without the progress dialog.
TEST(LinkFaults, WhatWasWrittenWhileTheMouseSleptReachesItWhenItWakes) {
  Rig rig(/*cable=*/false, /*receiver=*/true);
  rig.Connect();
  rig.mouse->SetOnline(false);
  rig.link->QueryStatus();
  ASSERT_EQ(rig.link->standby().mouseOnline, 0);
  ASSERT_EQ(rig.link->standby().active, 1);  // the user has the window up

  rig.host.AddLibraryMacro(7, 4);
  rig.host.AssignMacro(2, 7);
  rig.link->RequestApply(EditEverything(rig.host));
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.link->pending().reportWritten, 1);  // the receiver took them
  EXPECT_NE(rig.mouse->State().debounce, 8);
  const int dialogs = rig.host.progressDialogs;
  const int timers = rig.host.applyTimerStarts;

  rig.link->QueryStatus();  // still asleep: nothing more
  EXPECT_EQ(rig.host.applyTimerStarts, timers);
  rig.mouse->SetOnline(true);
  rig.link->QueryStatus();
  EXPECT_EQ(rig.host.applyTimerStarts, timers + 1);
  rig.link->ApplyPendingChanges();  // timer 30
  const VirtualMouseState state = rig.mouse->State();
  EXPECT_EQ(state.debounce, 8);
  EXPECT_EQ(state.rateCode, 8);
  EXPECT_EQ(state.motionWakeup, 0);
  EXPECT_EQ(state.buttons[1], (std::array<std::uint8_t, 3>{0x10, 0x08, 0x00}));
  EXPECT_EQ(state.buttons[2], (std::array<std::uint8_t, 3>{0x90, 0x21, 0x01}));
  EXPECT_EQ(state.macros[1].size(), 12u);
  EXPECT_EQ(rig.host.progressDialogs, dialogs);

  // Awake, nothing is sent twice.
  rig.TakeWrites();
  rig.link->RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  rig.link->ApplyPendingChanges();
  EXPECT_TRUE(rig.TakeWrites().empty());
}

}  // namespace
}  // namespace zeltra::test
