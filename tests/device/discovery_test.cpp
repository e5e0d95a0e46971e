// Finding the links among the HID interfaces, plug and unplug, the watchdog.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

// Which link the last write went to.
int LastWriteLink(const VirtualMouse& mouse) {
  const auto writes = mouse.Writes();
  return writes.empty() ? -1 : writes.back().link;
}

void ChangeRate(Rig& rig, std::uint8_t index) {
  rig.host.CurrentProfile().PollingRateValue = {index, 0, 0};
  rig.link->RequestApply(kPendingSettings);
  rig.link->ApplyPendingChanges();
}

TEST(Discovery, FindsWhateverIsPluggedAndWritesToTheCableFirst) {
  struct Case {
    bool cable, receiver;
    int writesTo;
  };
  for (const Case& c : {Case{true, false, 0}, Case{false, true, 1}, Case{true, true, 0}}) {
    Rig rig(c.cable, c.receiver);
    rig.Connect();
    EXPECT_EQ(rig.link->Present(LinkKind::Cable), c.cable ? 1 : 0);
    EXPECT_EQ(rig.link->Present(LinkKind::Receiver), c.receiver ? 1 : 0);
    EXPECT_EQ(rig.link->AnyPresent(), 1);
    EXPECT_EQ(rig.link->HandleOpen(LinkKind::Cable), c.cable);
    EXPECT_EQ(rig.link->HandleOpen(LinkKind::Receiver), c.receiver);
    EXPECT_EQ(rig.host.watchdogTimerStarts, 1);
    EXPECT_EQ(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(c.cable ? 5 : 0)), c.cable);
    EXPECT_EQ(rig.mouse->WaitUntilReading(VirtualLink::Receiver, std::chrono::seconds(c.receiver ? 5 : 0)), c.receiver);
    ChangeRate(rig, 0);
    EXPECT_EQ(LastWriteLink(*rig.mouse), c.writesTo);
  }
}

TEST(Discovery, OneEnumerationAndAtMostOneOpenPerInterface) {
  Rig rig(true, true, /*unrelatedBefore=*/40);
  const int enumerations = rig.mouse->Enumerations();
  const int opens = rig.mouse->Opens();
  rig.link->ScanDevices();
  EXPECT_EQ(rig.mouse->Enumerations() - enumerations, 1);
  EXPECT_EQ(rig.mouse->Opens() - opens, 4);  // the four interfaces of the two links, nothing else
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Receiver, std::chrono::seconds(5)));
  rig.link->ScanDevices();
  EXPECT_EQ(rig.mouse->Enumerations() - enumerations, 2);
  EXPECT_EQ(rig.mouse->Opens() - opens, 8);
}

TEST(Discovery, MemberIndexesAbove149AreNeverProbed) {
  {
    Rig rig(true, false, /*unrelatedBefore=*/148);  // cable input at 150
    rig.Connect();
    EXPECT_EQ(rig.link->AnyPresent(), 0);
    EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), u"");
  }
  {
    Rig rig(true, false, /*unrelatedBefore=*/147);  // input at 149, feature at 150
    rig.Connect();
    EXPECT_EQ(rig.link->AnyPresent(), 0);
    EXPECT_FALSE(rig.link->ListenerBusy(LinkKind::Cable));
  }
  {
    Rig rig(true, false, /*unrelatedBefore=*/146);  // input at 148, feature at 149
    rig.Connect();
    EXPECT_EQ(rig.link->AnyPresent(), 1);
    EXPECT_EQ(rig.link->FeatureIndex(LinkKind::Cable), 149);
  }
}

TEST(Discovery, AnInterfaceWithBothLengths33IsTheInputInterface) {
  {
    Rig rig(false);
    rig.mouse->SetInterfaces(VirtualLink::Cable, {{33, 33}});
    rig.mouse->Plug(VirtualLink::Cable);
    rig.Connect();
    EXPECT_EQ(rig.link->Present(LinkKind::Cable), 0);
  }
  {
    Rig rig(false);
    rig.mouse->SetInterfaces(VirtualLink::Cable, {{8, 0}, {33, 33}, {0, 33}});
    rig.mouse->Plug(VirtualLink::Cable);
    rig.Connect();
    EXPECT_EQ(rig.link->Present(LinkKind::Cable), 1);
    EXPECT_EQ(rig.link->FeatureIndex(LinkKind::Cable), 5);
    EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    EXPECT_EQ(rig.link->InputIndex(LinkKind::Cable), 4);
  }
}

TEST(Discovery, AFeatureInterfaceThatCannotBeOpenedIsSkipped) {
  Rig rig;
  rig.mouse->FailCall(FaultOp::Open, 2);  // the probe opens the input interface first
  rig.Connect();
  EXPECT_EQ(rig.link->AnyPresent(), 0);
  EXPECT_FALSE(rig.link->AnyHandleOpen());
}

TEST(DeviceChange, UnrelatedArrivalWithBothLinksDoesNotScan) {
  Rig rig(true, true);
  rig.Connect();
  const int enumerations = rig.mouse->Enumerations();
  rig.mouse->AddUnrelatedInterface({0x7777, 0x8888, 8, 0});
  rig.link->OnDeviceChange(kDeviceArrival);
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations);
  rig.link->OnDeviceChange(0x0007);  // other device-change events are only passed on
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations);
}

TEST(DeviceChange, ArrivalWithOneLinkScansAndArmsTheWatchdog) {
  Rig rig;
  rig.Connect();
  const int enumerations = rig.mouse->Enumerations();
  const int refreshes = rig.host.refreshes;
  rig.mouse->Plug(VirtualLink::Receiver);
  rig.link->OnDeviceChange(kDeviceArrival);
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations + 1);
  EXPECT_EQ(rig.link->Present(LinkKind::Receiver), 1);
  EXPECT_EQ(rig.link->watchdogCounter(), 19);
  EXPECT_EQ(rig.host.refreshes, refreshes + 1);
}

TEST(DeviceChange, UnpluggingTheCableSwitchesToTheReceiver) {
  Rig rig(true, true);
  rig.Connect();
  rig.mouse->Unplug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.link->Present(LinkKind::Cable), 0);
  EXPECT_FALSE(rig.link->HandleOpen(LinkKind::Cable));
  EXPECT_EQ(rig.link->FeaturePath(LinkKind::Cable), u"");
  EXPECT_EQ(rig.host.quits, 0);
  EXPECT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), u"");
  ChangeRate(rig, 1);
  EXPECT_EQ(LastWriteLink(*rig.mouse), 1);
}

TEST(DeviceChange, UnpluggingTheLastLinkQuitsAndReplugReadsTheStatusAgain) {
  Rig rig;
  rig.Connect();
  rig.mouse->Unplug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_EQ(rig.link->AnyPresent(), 0);
  EXPECT_EQ(rig.host.quits, 1);
  EXPECT_EQ(rig.link->standby().active, 0);
  EXPECT_EQ(rig.host.events.back(), "active 0") << "the window learns it, before it quits";
  EXPECT_EQ(rig.link->initialReadPending(), 1);
  // A second removal broadcast with nothing left changes nothing.
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_EQ(rig.host.quits, 1);

  // The listener of the unplugged cable has seen its read fail.
  ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  rig.link->standby().active = 1;
  rig.mouse->SetBattery(64, 0);
  rig.mouse->Plug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceArrival);
  EXPECT_EQ(rig.link->HandleOpen(LinkKind::Cable), true);
  EXPECT_EQ(rig.link->initialReadPending(), 0);
  EXPECT_EQ(rig.link->batteryLevel(), 64);
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
}

TEST(Watchdog, RescansALinkWhoseListenerEndedWithin21Ticks) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.mouse->FailCall(FaultOp::Read);
  rig.mouse->SendInputReport(VirtualLink::Cable, {0x01});  // wakes the read; the next one fails
  ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), u"");

  rig.mouse->SetBattery(33, 0);
  const int enumerations = rig.mouse->Enumerations();
  int ticks = 0;
  while (rig.mouse->Enumerations() == enumerations && ticks < 100) {
    rig.link->OnWatchdogTimer();
    ++ticks;
  }
  EXPECT_EQ(ticks, 21);
  EXPECT_EQ(rig.link->watchdogCounter(), 19);
  EXPECT_EQ(rig.link->batteryLevel(), 33);  // the same tick reads the status
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.link->OnWatchdogTimer();
  rig.link->OnWatchdogTimer();  // counter 19 -> 20 -> action, two ticks after the scan
  EXPECT_EQ(rig.link->watchdogCounter(), 0);
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations + 1);  // the listener runs: no scan
}

TEST(Watchdog, InStandbyNoStatusAndNoBattery) {
  Rig rig;
  rig.Connect();
  rig.link->standby().active = 0;
  rig.link->SetWatchdogCounter(20);
  rig.mouse->SetBattery(12, 0);
  EXPECT_FALSE(rig.link->OnWatchdogTimer());
  EXPECT_NE(rig.link->batteryLevel(), 12);
}

TEST(StartupCheck, TellsWhatIsMissing) {
  struct Case {
    bool cable, receiver, online;
    StartupNotice notice;
  };
  for (const Case& c : {Case{true, false, false, StartupNotice::None}, Case{true, true, false, StartupNotice::None},
                        Case{false, true, true, StartupNotice::None}, Case{false, true, false, StartupNotice::MouseOffline},
                        Case{false, false, true, StartupNotice::NoDevice}}) {
    Rig rig(c.cable, c.receiver);
    rig.mouse->SetOnline(c.online);
    rig.Connect();
    EXPECT_EQ(rig.link->StartupCheck(), c.notice) << c.cable << c.receiver << c.online;
  }
}

TEST(StartUp, RegistersReloadsScansAndReadsTheStatusOnce) {
  Rig rig;
  rig.mouse->SetSensorNumber(53);
  rig.link->StartUp();
  EXPECT_EQ(rig.host.registrations, 1);
  EXPECT_EQ(rig.link->initialReadPending(), 0);
  EXPECT_EQ(rig.host.sensorReports, std::vector<int>{53});
  EXPECT_EQ(rig.link->caches().rate, 1);
  EXPECT_EQ(rig.link->pending().silentApply, 1);
  EXPECT_EQ(rig.host.applyTimerStarts, 1);
}

}  // namespace
}  // namespace zeltra::test
