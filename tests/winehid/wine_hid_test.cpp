// The Windows HID backend through Wine's own HID stack: hidclass.sys, the
// virtual mouse's drivers below it (this folder), SetupAPI and hid.dll above
// it, and the plug-and-play manager's own arrivals and removals. The device
// link runs as the window runs it; the mouse's part is played with commands
// to the bus driver, and what the mouse holds is read back from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "device/device_fixture.h"
#include "device/device_link.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_control.h"
#include "device/win32/hid_backend_win32.h"
#include "vmouse_client.h"

namespace zeltra::test {
namespace {

using winehid::LinksShown;
using namespace std::chrono_literals;

constexpr LinksShown kCableOnly{.cable = true, .receiver = false};
constexpr LinksShown kBoth{.cable = true, .receiver = true};

std::filesystem::path WorkFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / "zeltra-wine-hid";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

class WineHid : public ::testing::Test {
 protected:
  void SetUp() override {
    // The mouse starts over: the cable alone, online, at its factory state.
    const auto empty = WorkFolder() / "nothing.txt";
    std::ofstream(empty, std::ios::trunc).flush();
    ASSERT_EQ(winehid::FollowFile(empty), "");
    ASSERT_EQ(winehid::WaitForLinks(kCableOnly, 20000), "");
    host.link = nullptr;
  }

  void TearDown() override {
    if (link) link->Close();
  }

  static void Mouse(std::string_view line) { ASSERT_EQ(winehid::SendCommand(line), "") << line; }

  // What the mouse behind the drivers holds now.
  static VirtualMouseState MouseState() {
    const auto file = WorkFolder() / "state.txt";
    std::filesystem::remove(file);
    EXPECT_EQ(winehid::SendCommand("dump " + file.string()), "");
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const auto state = ParseVirtualMouseStateText(text.str());
    EXPECT_TRUE(state.has_value());
    return state.value_or(VirtualMouseState{});
  }

  // The device link on the Windows backend, started as the window starts it.
  void Connect() {
    link = std::make_unique<DeviceLink>(win32::CreateHidBackend(), clock, host, host, host);
    host.link = link.get();
    link->InitStandby(0);
    link->StartUp();
    link->ApplyPendingChanges();
  }

  SystemClock clock;
  TestHost host;
  std::unique_ptr<DeviceLink> link;
};

// The identities Windows gives one top-level collection of a link.
struct CollectionShape {
  std::uint16_t product;
  std::uint16_t input;
  std::uint16_t feature;
};

TEST_F(WineHid, EnumerationFindsBothLinksAmongTheOtherCollections) {
  Mouse("plug receiver");
  ASSERT_EQ(winehid::WaitForLinks(kBoth, 20000), "");
  const auto members = win32::CreateHidBackend()->Enumerate();
  // Mouse, (keyboard,) consumer control, vendor input, vendor feature.
  const CollectionShape expected[] = {{0x5B2E, 7, 0}, {0x5B2E, 3, 0}, {0x5B2E, 33, 0}, {0x5B2E, 0, 33},
                                      {0x5B2F, 7, 0}, {0x5B2F, 9, 0}, {0x5B2F, 3, 0},  {0x5B2F, 33, 0},
                                      {0x5B2F, 0, 33}};
  for (const CollectionShape& shape : expected) {
    const HidIdentity identity{kMouseVendorId, shape.product, shape.input, shape.feature};
    EXPECT_EQ(std::count_if(members.begin(), members.end(), [&](const auto& m) { return m.identity == identity; }), 1)
        << std::hex << shape.product << std::dec << " input " << shape.input << " feature " << shape.feature;
  }
  EXPECT_GT(std::count_if(members.begin(), members.end(), [](const auto& m) { return m.identity.vendor != kMouseVendorId; }),
            0)
      << "Wine's own devices are among them";

  Connect();
  for (LinkKind kind : {LinkKind::Cable, LinkKind::Receiver}) {
    SCOPED_TRACE(kind == LinkKind::Cable ? "cable" : "receiver");
    EXPECT_EQ(link->Present(kind), 1);
    EXPECT_TRUE(link->HandleOpen(kind));
    const auto& feature = members[static_cast<std::size_t>(link->FeatureIndex(kind))];
    EXPECT_EQ(feature.path, link->FeaturePath(kind));
    EXPECT_EQ(feature.identity.featureReportLength, kReportLength);
    EXPECT_TRUE(Eventually([&] { return link->ListenerBusy(kind); }));
    EXPECT_EQ(members[static_cast<std::size_t>(link->InputIndex(kind))].identity.inputReportLength, kReportLength);
  }
}

TEST_F(WineHid, FeatureAndInputReportsRoundTrip) {
  Mouse("battery 37 1");
  // Every setting of the profile goes out, as at a first start.
  Connect();
  link->MarkCachesUnknown();
  link->RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  link->ApplyPendingChanges();
  EXPECT_EQ(link->pending().writeFailed, 0);

  // The same start on the program's own model of the mouse is the oracle.
  VirtualClock virtualClock;
  auto oracle = std::make_shared<VirtualMouse>(virtualClock);
  oracle->Plug(VirtualLink::Cable);
  TestHost oracleHost;
  DeviceLink oracleLink(oracle, virtualClock, oracleHost, oracleHost, oracleHost);
  oracleLink.InitStandby(0);
  oracleLink.StartUp();
  oracleLink.ApplyPendingChanges();
  oracleLink.MarkCachesUnknown();
  oracleLink.RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  oracleLink.ApplyPendingChanges();
  EXPECT_EQ(MouseState(), oracle->State());
  EXPECT_EQ(winehid::SendCommand("check"), "") << "layout, sequence and pauses as the mouse wants them";

  // The status reply came back through get-feature.
  EXPECT_EQ(link->batteryLevel(), 37);
  EXPECT_EQ(link->chargeState(), 1);

  // The mouse's own DPI button and report-rate change come in as input reports.
  ASSERT_TRUE(Eventually([&] { return link->ListenerBusy(LinkKind::Cable); }));
  const std::uint8_t stageBefore = MouseState().stageByte;
  Mouse("dpi-button");
  ASSERT_EQ(host.PumpPosted(*link, 1), 1);
  const std::uint8_t stageAfter = MouseState().stageByte;
  EXPECT_NE(stageAfter, stageBefore);
  EXPECT_EQ(host.CurrentProfile().CurrentDPILevelValue, (stageAfter >> 4) - 1);
  Mouse("rate 8");
  ASSERT_EQ(host.PumpPosted(*link, 1), 1);
  EXPECT_EQ(host.CurrentProfile().PollingRateValue[0], 0) << "125 Hz";
}

TEST_F(WineHid, ListenerEndsOnAnUnplugAndTheWatchdogRestartsIt) {
  Connect();
  ASSERT_TRUE(Eventually([&] { return link->ListenerBusy(LinkKind::Cable); }));
  // Out and in again; the window is busy and handles neither broadcast.
  Mouse("unplug cable");
  EXPECT_TRUE(Eventually([&] { return !link->ListenerBusy(LinkKind::Cable); }, 10s));
  Mouse("plug cable");
  ASSERT_EQ(winehid::WaitForLinks(kCableOnly, 20000), "");
  int ticks = 0;
  while (!link->ListenerBusy(LinkKind::Cable) && ticks < kWatchdogTrigger + 2) {
    link->OnWatchdogTimer();
    ++ticks;
  }
  EXPECT_TRUE(Eventually([&] { return link->ListenerBusy(LinkKind::Cable); }));
  EXPECT_LE(ticks, kWatchdogTrigger + 1);
  Mouse("dpi-button");
  EXPECT_EQ(host.PumpPosted(*link, 1), 1) << "the new listener reads the mouse's reports";
}

// A USB glitch, a hub reset, a resume: the cable goes and comes back, same
// path, before the window handles the removal. Settings and the status must
// reach the mouse again, within the watchdog's period at most.
TEST_F(WineHid, ARePlugBeforeTheRemovalIsHandledRecovers) {
  Connect();
  Mouse("unplug cable");
  ASSERT_EQ(winehid::WaitForLinks({}, 20000), "");
  Mouse("plug cable");
  ASSERT_EQ(winehid::WaitForLinks(kCableOnly, 20000), "");
  // The two broadcasts, handled only now.
  link->OnDeviceChange(kDeviceRemoveComplete);
  link->OnDeviceChange(kDeviceArrival);

  Mouse("battery 55 0");
  host.CurrentProfile().PollingRateValue = {2, 0, 0};  // 500 Hz
  link->RequestApply(kPendingSettings);
  link->ApplyPendingChanges();
  for (int tick = 0; tick <= kWatchdogTrigger && (MouseState().rateCode != 2 || link->pending().writeFailed); ++tick) {
    link->OnWatchdogTimer();
    link->ApplyPendingChanges();
  }
  EXPECT_EQ(MouseState().rateCode, 2) << "500 Hz reached the mouse";
  link->QueryStatus();
  EXPECT_EQ(link->batteryLevel(), 55);
}

// A mouse that never completes a control transfer: the write gives up after
// about a second, counts as failed (its group goes out again with the next
// apply) and never holds the window longer.
TEST_F(WineHid, AStalledSetFeatureTimesOutWithoutHoldingTheWindow) {
  Connect();
  Mouse("stall set-feature");
  host.CurrentProfile().PollingRateValue = {2, 0, 0};
  link->RequestApply(kPendingSettings);
  const auto start = std::chrono::steady_clock::now();
  link->ApplyPendingChanges();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, 3000ms) << "a second for the transfer, the rest of the apply";
  EXPECT_EQ(link->pending().writeFailed, 1);
  // The next apply sends the rate again, and the mouse takes it.
  link->RequestApply(kPendingSettings);
  link->ApplyPendingChanges();
  EXPECT_EQ(link->pending().writeFailed, 0);
  EXPECT_EQ(MouseState().rateCode, 2);
}

}  // namespace
}  // namespace zeltra::test
