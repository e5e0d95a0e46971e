// The bus driver's side of the virtual mouse, away from Wine: the link ports
// its devices transfer through, the commands and the command file it
// follows, and the report descriptors it presents.
#include "bus_mouse.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "device/hid_backend.h"
#include "device/hid_descriptor.h"
#include "report_descriptors.h"
#include "support/test_support.h"

namespace zeltra::winehid {
namespace {

std::vector<std::uint8_t> Frame(std::initializer_list<std::uint8_t> head) {
  std::vector<std::uint8_t> frame(head);
  frame.resize(kReportLength, 0);
  return frame;
}

// The status query and its reply, 10 ms apart as the mouse wants them.
std::vector<std::uint8_t> StatusReply(LinkPort& port, std::uint8_t sequence) {
  EXPECT_TRUE(port.SetFeature(Frame({0x0C, 0x01, 0x20, 0x00, sequence})));
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  std::vector<std::uint8_t> reply(kReportLength);
  EXPECT_EQ(port.GetFeature(reply), static_cast<long>(kReportLength));
  return reply;
}

struct BusMouseTest : ::testing::Test {
  std::atomic<int> changes = 0;
  BusMouse mouse{[this] { ++changes; }};
};

TEST_F(BusMouseTest, PortsCarryTheLinksTransfersUntilTheLinkIsUnplugged) {
  ASSERT_TRUE(mouse.Plugged(0));
  ASSERT_FALSE(mouse.Plugged(1));
  EXPECT_EQ(mouse.Open(1), nullptr) << "the receiver is not plugged";
  auto cable = mouse.Open(0);
  ASSERT_NE(cable, nullptr);

  const auto reply = StatusReply(*cable, 1);
  EXPECT_EQ(reply[2], 0x20);
  EXPECT_EQ(reply[21], 1) << "online";

  // The DPI button arrives as input report 5/6 on the cable's port.
  ASSERT_EQ(mouse.Command("dpi-button"), "");
  std::vector<std::uint8_t> input(64);
  ASSERT_EQ(cable->Read(input), static_cast<long>(kReportLength));
  EXPECT_EQ(input[0], 5);
  EXPECT_EQ(input[1], 6);

  // Unplugged: a blocked read fails, and so does every later transfer.
  std::thread reader([&] { EXPECT_EQ(cable->Read(input), -1); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(mouse.Command("unplug cable"), "");
  reader.join();
  EXPECT_FALSE(cable->SetFeature(Frame({0x0C, 0x01, 0x20, 0x00, 0x02})));
  EXPECT_FALSE(mouse.Plugged(0));
  EXPECT_EQ(changes, 1);
}

TEST_F(BusMouseTest, StallCommandsHoldTheNextTransferOfTheirKindOnce) {
  struct Case {
    const char* line;
    bool accepted;
    int setMs;
    int getMs;
  };
  const Case cases[] = {
      {"stall set-feature 1500", true, 1500, 0}, {"stall get-feature 20", true, 0, 20},
      {"stall set-feature 0", true, 0, 0},       {"stall set-feature", true, kStallWithoutEndMs, 0},
      {"stall read 100", false, 0, 0},           {"stall set-feature -5", false, 0, 0},
      {"stall set-feature 9999999", false, 0, 0}, {"stall get-feature 12ms", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(mouse.Command(c.line).empty(), c.accepted);
    EXPECT_EQ(mouse.TakeStall(StalledTransfer::SetFeature), c.setMs);
    EXPECT_EQ(mouse.TakeStall(StalledTransfer::GetFeature), c.getMs);
    EXPECT_EQ(mouse.TakeStall(StalledTransfer::SetFeature), 0) << "taken once";
  }
  EXPECT_NE(mouse.Command("not a command"), "") << "the mouse's own commands still answer";
}

TEST_F(BusMouseTest, CheckFailsOnTheMousesBrokenRulesSinceItStartedOver) {
  auto cable = mouse.Open(0);
  ASSERT_NE(cable, nullptr);
  EXPECT_EQ(mouse.Command("check"), "");
  // A report-rate write, then another one at once: 60 ms must lie between.
  ASSERT_TRUE(cable->SetFeature(Frame({0x0C, 0x01, 0x07, 0x00, 0x01, 0x01, 0x01, 0x08})));
  ASSERT_TRUE(cable->SetFeature(Frame({0x0C, 0x01, 0x07, 0x00, 0x02, 0x01, 0x01, 0x04})));
  const std::string broken = mouse.Command("check");
  EXPECT_NE(broken.find("1 broken rules"), std::string::npos) << broken;
  EXPECT_NE(broken.find("ms after the previous one"), std::string::npos) << broken;
  const test::TempDir dir;
  std::ofstream(dir / "empty.txt").flush();
  ASSERT_EQ(mouse.Follow(dir / "empty.txt"), "");
  EXPECT_EQ(mouse.Command("check"), "") << "started over";
  // The program that starts now counts its sequence from 1 again.
  std::this_thread::sleep_for(std::chrono::milliseconds(70));
  ASSERT_TRUE(cable->SetFeature(Frame({0x0C, 0x01, 0x07, 0x00, 0x01, 0x01, 0x01, 0x08})));
  EXPECT_EQ(mouse.Command("check"), "");
}

TEST_F(BusMouseTest, FollowingAFileStartsTheMouseOverAndRunsItsLines) {
  ASSERT_EQ(mouse.Command("plug receiver"), "");
  ASSERT_EQ(mouse.Command("unplug cable"), "");
  ASSERT_EQ(mouse.Command("stall set-feature 500"), "");
  const test::TempDir dir;
  const auto file = dir.path() / "control.txt";
  std::ofstream(file) << "battery 20 1\n";
  ASSERT_EQ(mouse.Follow(file), "");
  EXPECT_TRUE(mouse.Plugged(0));
  EXPECT_FALSE(mouse.Plugged(1));
  EXPECT_EQ(mouse.TakeStall(StalledTransfer::SetFeature), 0);

  auto cable = mouse.Open(0);
  ASSERT_NE(cable, nullptr);
  const auto reply = StatusReply(*cable, 1);
  EXPECT_EQ(reply[18], 20) << "the file's battery line ran at once";
  EXPECT_EQ(reply[19], 1);

  // Lines appended later run too.
  std::ofstream(file, std::ios::app) << "plug receiver\n";
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!mouse.Plugged(1) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(mouse.Plugged(1));
}

// What the system shows of each collection: Windows' lengths (the report
// identifier counted), the usage, and the one report identifier it carries.
TEST(LinkCollections, EachIsOneTopLevelCollectionWithTheLengthsWindowsShows) {
  struct Expected {
    CollectionKind kind;
    std::uint16_t usagePage, usage, input, feature;
  };
  const Expected cable[] = {{CollectionKind::Mouse, 0x01, 0x02, 7, 0},
                            {CollectionKind::Consumer, 0x0C, 0x01, 3, 0},
                            {CollectionKind::VendorInput, 0xFF00, 0x01, 33, 0},
                            {CollectionKind::VendorFeature, 0xFF00, 0x02, 0, 33}};
  const Expected receiver[] = {{CollectionKind::Mouse, 0x01, 0x02, 7, 0},
                               {CollectionKind::Keyboard, 0x01, 0x06, 9, 0},
                               {CollectionKind::Consumer, 0x0C, 0x01, 3, 0},
                               {CollectionKind::VendorInput, 0xFF00, 0x01, 33, 0},
                               {CollectionKind::VendorFeature, 0xFF00, 0x02, 0, 33}};
  const std::span<const Expected> links[] = {cable, receiver};
  for (int link = 0; link < kLinkCount; ++link) {
    const auto specs = LinkCollections(link);
    ASSERT_EQ(specs.size(), links[link].size());
    std::vector<std::uint8_t> whole;
    for (std::size_t i = 0; i < specs.size(); ++i) {
      SCOPED_TRACE("link " + std::to_string(link) + " collection " + std::to_string(i + 1));
      const Expected& e = links[link][i];
      EXPECT_EQ(specs[i].kind, e.kind);
      const HidDescriptor parsed = ParseHidDescriptor(specs[i].descriptor);
      ASSERT_EQ(parsed.collections.size(), 1u);
      const HidCollection& c = parsed.collections[0];
      EXPECT_EQ(c.usagePage, e.usagePage);
      EXPECT_EQ(c.usage, e.usage);
      EXPECT_EQ(c.lengths, (HidReportLengths{e.input, 0, e.feature, false}));
      EXPECT_EQ(c.inputIds.size() + c.featureIds.size(), 1u);
      whole.insert(whole.end(), specs[i].descriptor.begin(), specs[i].descriptor.end());
    }
    // All of a link's collections in one interface, as a hidraw node shows them.
    EXPECT_EQ(LengthsForReports(ParseHidDescriptor(whole), kVendorInputReportId, kVendorFeatureReportId),
              (HidReportLengths{33, 0, 33, false}));
  }
}

}  // namespace
}  // namespace zeltra::winehid
