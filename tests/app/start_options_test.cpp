#include "app/start_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "support/test_support.h"

namespace zeltra::test {
namespace {

StartOptions Options(bool virtualMouse, std::u16string control, std::u16string trace, std::u16string paint,
                     bool tray = false) {
  return {virtualMouse, control, trace, paint, tray};
}

TEST(StartOptions, ParsedFromTheArguments) {
  struct Case {
    const char* name;
    std::vector<std::u16string> arguments;
    StartOptions expected;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"every option",
       {u"--virtual-mouse", u"--hid-log", u"C:\\my logs\\t.log", u"--virtual-mouse-control", u"Z:\\t m p\\c.txt",
        u"--first-paint-log", u"p.txt"},
       Options(true, u"Z:\\t m p\\c.txt", u"C:\\my logs\\t.log", u"p.txt")},
      {"values after =", {u"--hid-log=trace.txt", u"--virtual-mouse-control=c.txt", u"--first-paint-log=p"},
       Options(false, u"c.txt", u"trace.txt", u"p")},
      {"the first value counts", {u"--hid-log", u"a", u"--hid-log=b"}, Options(false, u"", u"a", u"")},
      {"an empty value is none", {u"--hid-log=", u"--hid-log", u"b"}, Options(false, u"", u"b", u"")},
      {"a value may look like an option", {u"--hid-log", u"--virtual-mouse"},
       Options(false, u"", u"--virtual-mouse", u"")},
      {"no value at the end", {u"--virtual-mouse", u"--virtual-mouse-control"}, Options(true, u"", u"", u"")},
      {"names are whole", {u"--virtual-mouse-x", u"--virtual-mouse-controls", u"x", u"--hid-logs", u"y"}, {}},
      {"unknown arguments pass", {u"--other", u"--virtual-mouse"}, Options(true, u"", u"", u"")},
      {"started from the Startup folder", {u"--tray", u"--hid-log", u"--tray"}, Options(false, u"", u"--tray", u"", true)},
      {"the tray switch is whole", {u"--tray=1", u"--trays", u"-tray"}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStartOptions(c.arguments), c.expected) << c.name;
}

TEST(StartOptions, TheBackendIsTracedWhenAskedFor) {
  TempDir dir;
  SystemClock clock;
  // Any backend of its own stands for the HID class driver.
  auto real = std::make_shared<VirtualMouse>(clock);
  const auto makeReal = [&]() -> std::shared_ptr<HidBackend> { return real; };

  const StartBackend plain = MakeStartBackend({}, clock, makeReal);
  EXPECT_EQ(plain.backend, real);
  EXPECT_EQ(plain.virtualMouse, nullptr);
  EXPECT_NE(MakeStartBackend(Options(false, u"", (dir / "real.log").u16string(), u""), clock, makeReal).backend, real);

  const StartBackend traced = MakeStartBackend(Options(true, u"", (dir / "trace.log").u16string(), u""), clock, makeReal);
  ASSERT_NE(traced.virtualMouse, nullptr);
  EXPECT_NE(traced.backend, traced.virtualMouse);
  for (const HidInterfaceInfo& member : traced.backend->Enumerate()) {
    if (member.identity.featureReportLength != kReportLength || member.identity.product != kCableProductId) continue;
    auto handle = traced.backend->Open(member.path, HidAccess::ReadWrite);
    ASSERT_TRUE(handle);
    std::vector<std::uint8_t> query(kReportLength, 0);
    query[0] = 0x0C;
    query[1] = 0x01;
    query[2] = 0x20;
    query[4] = 1;
    EXPECT_TRUE(handle->SetFeature(query));
  }
  const Bytes text = ReadBytes(dir / "trace.log");
  EXPECT_NE(std::string(text.begin(), text.end()).find("cable set-feature ok 0C 01 20 00 01"), std::string::npos);

  const StartBackend untraced = MakeStartBackend(Options(true, u"", u"", u""), clock, makeReal);
  EXPECT_EQ(untraced.backend, untraced.virtualMouse);
  // A trace that cannot be written leaves the program untraced, not broken.
  const StartBackend unwritable =
      MakeStartBackend(Options(true, u"", (dir / "no" / "such" / "t.log").u16string(), u""), clock, makeReal);
  EXPECT_EQ(unwritable.backend, unwritable.virtualMouse);
}

}  // namespace
}  // namespace zeltra::test
