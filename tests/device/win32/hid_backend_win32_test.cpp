// The Windows HID backend under Wine, where no mouse is attached: it must
// enumerate, fail opens cleanly and find no link. Nothing here writes.
#include <gtest/gtest.h>

#include "device/device_link.h"
#include "device/virtual_mouse.h"
#include "device/win32/hid_backend_win32.h"

namespace zeltra {
namespace {

class NullHost : public DeviceLinkHost, public LinkEventSink, public LinkTimers {
 public:
  ProfileRecord& CurrentProfile() override { return profile; }
  const DpiTable& CurrentDpiTable() override { return table; }
  const Macro* FindLibraryMacro(std::uint32_t) override { return nullptr; }
  void OnLinkEvent(const LinkEvent&) override {}
  bool StartLinkTimer(LinkTimer timer) override {
    watchdogStarts += timer == LinkTimer::Watchdog ? 1 : 0;
    return timer == LinkTimer::Apply;
  }
  ProfileRecord profile;
  DpiTable table = DpiTableFor(0x3311);
  int watchdogStarts = 0;
};

TEST(Win32HidBackend, EnumeratesWithoutADevice) {
  auto backend = win32::CreateHidBackend();
  const auto first = backend->Enumerate();
  const auto second = backend->Enumerate();
  EXPECT_EQ(first.size(), second.size());
  for (const auto& member : first) {
    EXPECT_FALSE(member.identity.vendor == kMouseVendorId &&
                 (member.identity.product == kCableProductId || member.identity.product == kReceiverProductId))
        << "a real mouse is attached to the test machine";
  }
  EXPECT_EQ(backend->Open(u"\\\\?\\hid#no-such-device#0", HidAccess::FeatureOnly), nullptr);
}

TEST(Win32HidBackend, ScanFindsNoLinkAndStartsNoWatchdog) {
  NullHost host;
  SystemClock clock;
  DeviceLink link(win32::CreateHidBackend(), clock, host, host, host, nullptr);
  link.InitStandby(0);
  link.ScanDevices();
  EXPECT_EQ(link.AnyPresent(), 0);
  EXPECT_FALSE(link.AnyHandleOpen());
  EXPECT_EQ(host.watchdogStarts, 0);
  EXPECT_EQ(link.StartupCheck(), StartupNotice::NoDevice);
}

TEST(Win32HidBackend, RegistersForHidNotifications) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  HDEVNOTIFY notify = win32::RegisterHidDeviceNotifications(window);
  EXPECT_NE(notify, nullptr);
  if (notify) UnregisterDeviceNotification(notify);
  DestroyWindow(window);
}

}  // namespace
}  // namespace zeltra
