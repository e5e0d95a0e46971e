// The system's device-change broadcasts: which ones can concern the mouse,
// one scan per burst, and handing an interface back when Windows asks.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

TEST(DeviceChange, OnlyInterfacesThatMayBeTheMousesCount) {
  struct Case {
    std::u16string_view path;
    bool mouse;
  } cases[] = {
      {u"\\\\?\\hid#vid_248a&pid_5b2e&mi_01&col02#7&2a0b1c3d&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}", true},
      {u"\\\\?\\HID#VID_248A&PID_5B2F#6&1234&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", true},
      {u"\\\\?\\hid#vid_046d&pid_c52b&mi_02&col01#8&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", false},
      {u"\\\\?\\hid#vid_248a&pid_0001#1#{4d1e55b2-f16f-11cf-88cb-001111000030}", false},  // the maker's other product
      // Bluetooth spells the identifiers its own way.
      {u"\\\\?\\hid#{00001124-0000-1000-8000-00805f9b34fb}_vid&0002248a_pid&5b2e#9&1&0&0000#{4d1e55b2}", true},
      {u"\\\\?\\hid#{00001124-0000-1000-8000-00805f9b34fb}_vid&0002045e_pid&0800#9&1&0&0000#{4d1e55b2}", false},
      // What names no identifiers may be anything.
      {u"\\\\?\\hid#winetest#1&2&3#{4d1e55b2}", true},
      {u"\\\\?\\virtual#cable#0", true},
      {u"\\\\?\\hid#vid_24#short", true},
      {u"", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MayBeMouseInterface(c.path), c.mouse) << std::string(c.path.begin(), c.path.end());
}

// A receiver's four collections arrive one after the other; the link scans
// once when the burst is over, and a removal within it is not lost.
TEST(DeviceChange, ABurstOfBroadcastsIsHandledWithOneScan) {
  Rig rig(/*cable=*/true, /*receiver=*/false);
  rig.host.deviceChangeTimer = true;
  rig.Connect();
  const int enumerations = rig.mouse->Enumerations();
  rig.mouse->Plug(VirtualLink::Receiver);
  for (int collection = 0; collection < 4; ++collection) rig.link->OnDeviceChange(kDeviceArrival);
  rig.link->OnDeviceChange(0x0007);  // DBT_DEVNODES_CHANGED: nothing to note
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations);
  EXPECT_EQ(rig.host.deviceChangeTimerStarts, 4);
  rig.link->OnDeviceChangeTimer();
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations + 1);
  EXPECT_EQ(rig.link->Present(LinkKind::Receiver), 1);
  rig.link->OnDeviceChangeTimer();  // nothing noted since
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations + 1);

  // Both links in: an arrival alone scans nothing, a removal in the same burst does.
  rig.mouse->Unplug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  rig.link->OnDeviceChange(kDeviceArrival);
  rig.link->OnDeviceChangeTimer();
  EXPECT_EQ(rig.mouse->Enumerations(), enumerations + 2);
  EXPECT_EQ(rig.link->Present(LinkKind::Cable), 0);
  EXPECT_EQ(rig.host.quits, 0);
  rig.mouse->Unplug(VirtualLink::Receiver);
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  rig.link->OnDeviceChangeTimer();
  EXPECT_EQ(rig.host.quits, 1);
}

// A driver update, or the device disabled in the Device Manager: Windows
// asks every program to close its handles first.
TEST(DeviceChange, AnInterfaceAskedBackStaysClosedUntilTheRemovalIsOver) {
  Rig rig;
  rig.Connect();
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
  const std::u16string feature = rig.link->FeaturePath(LinkKind::Cable);
  const std::u16string input = rig.link->InputPath(LinkKind::Cable);
  rig.link->ReleaseInterface(feature);
  rig.link->ReleaseInterface(input);
  EXPECT_FALSE(rig.link->AnyHandleOpen());
  EXPECT_FALSE(rig.link->ListenerBusy(LinkKind::Cable));
  EXPECT_EQ(rig.mouse->OpenHandles(VirtualLink::Cable), 0);
  // The watchdog sees the listener gone; its scan leaves the interfaces alone.
  for (int tick = 0; tick < 21; ++tick) rig.link->OnWatchdogTimer();
  rig.link->ScanDevices();
  EXPECT_EQ(rig.mouse->OpenHandles(VirtualLink::Cable), 0);

  // The removal was refused by another program: take them up again.
  rig.link->OnReleaseCancelled(feature);
  rig.link->OnReleaseCancelled(input);
  EXPECT_TRUE(rig.link->HandleOpen(LinkKind::Cable));
  EXPECT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));

  // Released again, then the device really goes: the removal ends the program.
  rig.link->ReleaseInterface(feature);
  rig.mouse->Unplug(VirtualLink::Cable);
  rig.link->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_EQ(rig.host.quits, 1);
}

}  // namespace
}  // namespace zeltra::test
