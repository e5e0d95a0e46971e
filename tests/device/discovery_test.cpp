// Finding the links among the HID interfaces, plug and unplug, the watchdog.
#include <gtest/gtest.h>

#include <map>

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

// Only the mouse's own interfaces are opened and counted: a PC with many
// keyboards, headsets and receivers lists hundreds of collections first.
TEST(Discovery, TheMouseIsFoundBehindHundredsOfOtherCollections) {
  Rig rig(true, false, /*unrelatedBefore=*/300);
  const int opens = rig.mouse->Opens();
  rig.Connect();
  EXPECT_EQ(rig.link->AnyPresent(), 1);
  EXPECT_EQ(rig.link->FeatureIndex(LinkKind::Cable), 303);
  EXPECT_EQ(rig.mouse->Opens() - opens, 2);
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
}

// A Linux node (a whole USB interface), or a collection that holds both
// reports, is the input and the feature interface at once.
TEST(Discovery, AnInterfaceWithBothReportsServesAsBoth) {
  for (const auto& layout : {std::vector<VirtualInterfaceSpec>{{33, 33}},
                             std::vector<VirtualInterfaceSpec>{{8, 0}, {33, 33}, {9, 2}}}) {
    Rig rig(false);
    rig.mouse->SetInterfaces(VirtualLink::Cable, layout);
    rig.mouse->Plug(VirtualLink::Cable);
    rig.Connect();
    ASSERT_EQ(rig.link->Present(LinkKind::Cable), 1);
    EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), rig.link->FeaturePath(LinkKind::Cable));
    ChangeRate(rig, 2);
    EXPECT_EQ(rig.mouse->State().rateCode, 2);
    rig.mouse->PressDpiButton();
    EXPECT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  }
}

// Windows opens a mouse's or keyboard's own collection for reading to
// nobody else; its feature reports need no such access.
TEST(Discovery, ACollectionTheSystemKeepsStillTakesFeatureReports) {
  struct Case {
    std::vector<VirtualInterfaceSpec> layout;
    bool listens;
  } cases[] = {
      {{{33, 0}, {0, 33, /*exclusive=*/true}}, true},
      {{{33, 33, /*exclusive=*/true}}, false},  // no listener, but the link works
  };
  for (const Case& c : cases) {
    Rig rig(false);
    rig.mouse->SetInterfaces(VirtualLink::Cable, c.layout);
    rig.mouse->Plug(VirtualLink::Cable);
    rig.Connect();
    ASSERT_EQ(rig.link->Present(LinkKind::Cable), 1);
    EXPECT_TRUE(rig.link->HandleOpen(LinkKind::Cable));
    ChangeRate(rig, 0);
    EXPECT_EQ(rig.mouse->State().rateCode, 8);
    EXPECT_EQ(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::milliseconds(c.listens ? 5000 : 50)),
              c.listens);
  }
}

// Windows announces a device's collections one by one: a scan may see the
// feature interface before the input interface is there.
TEST(Discovery, AListenerStartsOnlyOnAnInputInterfaceThisScanFound) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  rig.mouse->Unplug(VirtualLink::Cable);
  ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  // Back, with its pointer collection where the input interface was, and
  // the input interface not there yet.
  rig.mouse->SetInterfaces(VirtualLink::Cable, {{8, 0}, {0, 33}});
  rig.mouse->Plug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceArrival);
  EXPECT_EQ(rig.link->Present(LinkKind::Cable), 1);
  EXPECT_FALSE(rig.link->ListenerBusy(LinkKind::Cable));
  EXPECT_EQ(rig.link->InputPath(LinkKind::Cable), u"");
  EXPECT_EQ(rig.mouse->ReadsOffTheInputInterface(), 0);
  // Then it arrives.
  rig.mouse->Unplug(VirtualLink::Cable);
  rig.mouse->SetInterfaces(VirtualLink::Cable, {{8, 0}, {0, 33}, {33, 0}});
  rig.mouse->Plug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceArrival);
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  EXPECT_EQ(rig.mouse->ReadsOffTheInputInterface(), 0);
}

// A USB glitch, a hub reset or resume from sleep: the interfaces go and come
// back under the same paths before the program hears of the removal.
TEST(Discovery, AReplugBeforeTheRemovalIsHandledRecovers) {
  enum class Then { Arrival, Removal, Watchdog };
  struct Case {
    bool receiver;
    Then then;
  } cases[] = {{false, Then::Arrival}, {false, Then::Removal}, {true, Then::Removal}, {true, Then::Watchdog}};
  for (const Case& c : cases) {
    Rig rig(true, c.receiver);
    rig.Connect();
    ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    rig.mouse->Unplug(VirtualLink::Cable);
    rig.mouse->Plug(VirtualLink::Cable);
    // The listener's read failed with the unplug, well before the broadcast.
    ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
    if (c.then == Then::Arrival) rig.link->OnDeviceChange(kDeviceArrival);
    if (c.then == Then::Removal) rig.link->OnDeviceChange(kDeviceRemoveComplete);
    if (c.then == Then::Watchdog)
      for (int tick = 0; tick < 21; ++tick) rig.link->OnWatchdogTimer();
    rig.link->ApplyPendingChanges();
    ChangeRate(rig, 2);
    EXPECT_EQ(rig.mouse->State().rateCode, 2) << c.receiver << static_cast<int>(c.then);
    EXPECT_EQ(LastWriteLink(*rig.mouse), 0);
    EXPECT_EQ(rig.host.quits, 0);
    EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  }
}

// Two mice of this model on one PC: each link takes both interfaces from one
// of them, and keeps to it while it is there.
TEST(Discovery, TwoUnitsOfOneProductAreNotMixed) {
  Rig rig(false);
  const std::u16string second = u"second mouse";
  rig.mouse->AddUnrelatedInterface({kMouseVendorId, kCableProductId, 0, 33}, true, second);
  rig.mouse->Plug(VirtualLink::Cable);
  rig.mouse->AddUnrelatedInterface({kMouseVendorId, kCableProductId, 33, 0}, true, second);
  std::map<std::u16string, std::u16string> unitOf;
  for (const auto& m : rig.mouse->Enumerate()) unitOf[m.path] = m.unit;
  rig.Connect();
  ASSERT_TRUE(Eventually([&] { return rig.link->ListenerBusy(LinkKind::Cable); }));
  ASSERT_TRUE(Eventually([&] { return !rig.link->InputPath(LinkKind::Cable).empty(); }));
  EXPECT_EQ(unitOf[rig.link->InputPath(LinkKind::Cable)], unitOf[rig.link->FeaturePath(LinkKind::Cable)]);
  EXPECT_EQ(unitOf[rig.link->FeaturePath(LinkKind::Cable)], second);

  // Unplugging the mouse in use leaves the other one.
  rig.mouse->SetUnitPresent(second, false);
  ASSERT_TRUE(Eventually([&] { return !rig.link->ListenerBusy(LinkKind::Cable); }));
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_EQ(rig.host.quits, 0);
  EXPECT_EQ(rig.link->Present(LinkKind::Cable), 1);
  ChangeRate(rig, 2);
  EXPECT_EQ(rig.mouse->State().rateCode, 2);
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
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
  SetActive(*rig.link, 1);
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
  SetActive(*rig.link, 0);
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
