// The hidraw backend on a fake sysfs tree laid out as the kernel lays it
// out: class/hidraw entries whose "device" links lead to the HID devices,
// each below its USB interface.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "cli_fixture.h"
#include "device/linux/hidraw_backend.h"
#include "device_fixture.h"
#include "settings/text_format.h"

namespace zeltra::test {
namespace {

constexpr const char* kInput = "06 00 FF 09 01 A1 01 85 05 15 00 26 FF 00 75 08 95 20 09 02 81 02 C0";
constexpr const char* kFeature = "06 01 FF 09 01 A1 01 85 0C 15 00 26 FF 00 75 08 95 20 09 03 B1 02 C0";
constexpr const char* kKeyboard = "05 01 09 06 A1 01 75 08 95 08 81 02 C0";
// A pointer (report 1) and a 32-byte key bitmap (report 2), as a receiver's
// other interface may have them.
constexpr const char* kPointer = "05 01 09 02 A1 01 85 01 09 01 A1 00 05 09 19 01 29 05 75 01 95 05 81 02 95 03 81 01 C0 C0";
constexpr const char* kBitmapKeyboard =
    "05 01 09 06 A1 01 85 02 05 07 19 00 29 FF 15 00 25 01 75 01 96 00 01 81 02 C0";

void WriteText(const std::filesystem::path& file, std::string_view text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

class FakeSysfs {
 public:
  FakeSysfs() { std::filesystem::create_directories(root.path() / "dev"); }

  // A HID device below a USB interface (or below no interface: `usbInterface` empty).
  void Add(int node, std::string_view hidId, std::string_view descriptorHex, std::string_view usbInterface,
           std::string_view phys = "") {
    const std::string device = "devices/pci0000:00/usb1/" + std::string(usbInterface.empty() ? "virtual" : "1-3/1-3:1.") +
                               std::string(usbInterface) + "/dev" + std::to_string(node);
    const auto dir = sys() / device;
    WriteText(dir / "uevent", "DRIVER=hid-generic\nHID_ID=" + std::string(hidId) + "\nHID_NAME=Test " +
                                  std::to_string(node) + "\nHID_PHYS=" + std::string(phys) + "\n");
    const Bytes descriptor = FromHex(descriptorHex);
    WriteText(dir / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
    if (!usbInterface.empty()) WriteText(dir.parent_path() / "bInterfaceNumber", "0" + std::string(usbInterface) + "\n");
    Link(node, "../../../" + device);
  }
  void Link(int node, const std::string& target) {
    const auto entry = sys() / "class" / "hidraw" / ("hidraw" + std::to_string(node));
    std::filesystem::create_directories(entry);
    std::filesystem::create_directory_symlink(target, entry / "device");
  }
  std::filesystem::path sys() const { return root.path() / "sys"; }
  std::filesystem::path dev() const { return root.path() / "dev"; }

  TempDir root;
};

void MouseOnItsCable(FakeSysfs& fs) {
  fs.Add(0, "0003:00001A2B:00000001", kKeyboard, "0");
  fs.Add(10, "0003:0000248A:00005B2E", kFeature, "2");
  fs.Add(2, "0003:0000248A:00005B2E", kInput, "1");
  fs.Add(3, "0003:0000248A:00005B2F", kInput, "", "usb-0000:00:14.0-4/input3");
  fs.Add(4, "0003:0001248A:00005B2E", kFeature, "5");  // not a 16-bit vendor
  fs.Link(7, "../../../devices/gone");                // its device went away
  std::filesystem::create_directories(fs.sys() / "class" / "hidraw" / "hidrawX");
}

TEST(HidrawSysfs, EnumeratesNodesInOrderWithIdentityLengthsAndInterface) {
  FakeSysfs fs;
  MouseOnItsCable(fs);
  const auto nodes = hidraw::EnumerateHidraw(fs.sys(), fs.dev());
  struct Expected {
    const char* node;
    std::uint16_t vendor, product;
    int interfaceNumber;
    HidReportLengths lengths;
  } expected[] = {
      {"hidraw0", 0x1A2B, 0x0001, 0, {9, 0, 0, false}},
      {"hidraw2", 0x248A, 0x5B2E, 1, {33, 0, 0, false}},
      {"hidraw3", 0x248A, 0x5B2F, 3, {33, 0, 0, false}},
      {"hidraw4", 0, 0, 5, {0, 0, 33, false}},
      {"hidraw7", 0, 0, -1, {}},
      {"hidraw10", 0x248A, 0x5B2E, 2, {0, 0, 33, false}},
  };
  ASSERT_EQ(nodes.size(), std::size(expected));
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const auto& e = expected[i];
    EXPECT_EQ(nodes[i].node, fs.dev() / e.node);
    EXPECT_EQ(nodes[i].vendor, e.vendor) << e.node;
    EXPECT_EQ(nodes[i].product, e.product) << e.node;
    EXPECT_EQ(nodes[i].interfaceNumber, e.interfaceNumber) << e.node;
    EXPECT_EQ(nodes[i].lengths, e.lengths) << e.node;
  }
  EXPECT_EQ(nodes[1].name, "Test 2");
  EXPECT_TRUE(hidraw::EnumerateHidraw(fs.root.path() / "nothing", fs.dev()).empty());
}

// A receiver with the vendor reports on one interface, beside its pointer,
// and a keyboard on the other: that one node is both of the link's interfaces.
TEST(HidrawSysfs, OneNodeWithBothReportsIsBothInterfaces) {
  FakeSysfs fs;
  fs.Add(5, "0003:0000248A:00005B2F", std::string(kPointer) + " " + kInput + " " + kFeature, "0");
  fs.Add(6, "0003:0000248A:00005B2F", kBitmapKeyboard, "1");
  const auto nodes = hidraw::EnumerateHidraw(fs.sys(), fs.dev());
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0].lengths, (HidReportLengths{33, 0, 33, false}));
  EXPECT_EQ(nodes[1].lengths, (HidReportLengths{}));  // 33 bytes long, but not the mouse's report
  EXPECT_FALSE(nodes[0].unit.empty());
  EXPECT_EQ(nodes[0].unit, nodes[1].unit);  // one USB device

  CliRig rig;
  rig.env.hidBackend = [&] { return hidraw::CreateHidrawBackend(fs.sys(), fs.dev()); };
  std::ostringstream out, err;
  rig.env.out = &out;
  rig.env.err = &err;
  const std::u8string data = (rig.dir.path() / "data").u8string();
  const std::vector<std::string> args{"--data", std::string(data.begin(), data.end()), "devices"};
  ASSERT_EQ(cli::RunCli(args, rig.env), 0) << err.str();
  EXPECT_NE(out.str().find("receiver  input+feature " + (fs.dev() / "hidraw5").string()), std::string::npos) << out.str();
}

TEST(HidrawSysfs, TheCommandLineListsTheMouseAndExplainsWhatItCannotOpen) {
  FakeSysfs fs;
  MouseOnItsCable(fs);
  // The input node exists but is no HID device; the feature node is missing.
  WriteText(fs.dev() / "hidraw2", "");
  CliRig rig;
  rig.env.hidBackend = [&] { return hidraw::CreateHidrawBackend(fs.sys(), fs.dev()); };
  auto run = [&](std::vector<std::string> args) {
    const std::u8string data = (rig.dir.path() / "data").u8string();
    args.insert(args.begin(), {"--data", std::string(data.begin(), data.end())});
    std::ostringstream out, err;
    rig.env.out = &out;
    rig.env.err = &err;
    return CliResult{cli::RunCli(args, rig.env), out.str(), err.str()};
  };
  const CliResult devices = run({"devices"});
  ASSERT_EQ(devices.status, 0) << devices.err;
  const std::string node2 = (fs.dev() / "hidraw2").string(), node10 = (fs.dev() / "hidraw10").string();
  EXPECT_NE(devices.out.find("cable     input    " + node2 + "\n"), std::string::npos) << devices.out;
  EXPECT_NE(devices.out.find("cable     feature  " + node10 + "  (no access)\n"), std::string::npos) << devices.out;
  EXPECT_NE(devices.out.find("receiver  input    "), std::string::npos) << devices.out;

  const CliResult status = run({"status"});
  EXPECT_EQ(status.status, 3);
  EXPECT_NE(status.err.find("cannot be opened"), std::string::npos) << status.err;
}

TEST(HidrawHandle, BlockingReadDeliversAndCancelEndsIt) {
  // A FIFO stands in for the node: reads block until bytes come, and the
  // HID requests fail on it as on anything that is not a HID device.
  TempDir dir;
  const auto node = dir / "hidraw0";
  ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
  auto backend = hidraw::CreateHidrawBackend(dir / "sys", dir.path());
  EXPECT_EQ(backend->Open(u"/no/such/hidraw9", HidAccess::ReadWrite), nullptr);
  auto handle = backend->Open(FromUtf8(node.string()), HidAccess::ReadWrite);
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle->Identity(), HidIdentity{});
  const Bytes frame = Frame("0C 01 20 00 01", 1);
  EXPECT_FALSE(handle->SetFeature(frame));
  Bytes reply(33, 0xFF);
  EXPECT_EQ(handle->GetFeature(reply), -1);

  {
    std::ofstream writer(node, std::ios::binary);
    writer << std::string("\x05\x06\x00\x08\x02", 5);
  }
  Bytes buffer(33, 0xFF);
  ASSERT_EQ(handle->Read(buffer), 5);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 5), (Bytes{5, 6, 0, 8, 2}));

  long result = 0;
  std::thread reader([&] { result = handle->Read(buffer); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  handle->CancelRead();
  reader.join();
  EXPECT_EQ(result, -1);
  EXPECT_EQ(handle->Read(buffer), -1);  // a cancel lasts
}

}  // namespace
}  // namespace zeltra::test
