// The window's --hid-log switch: its value on a Windows command line, and
// the trace it puts around either backend.
#include <gtest/gtest.h>

#include "device/virtual_mouse.h"
#include "device/win32/hid_backend_win32.h"
#include "support/test_support.h"

namespace zeltra::test {
namespace {

TEST(HidLogSwitch, ValueOfTheCommandLine) {
  struct Case {
    const wchar_t* line;
    const wchar_t* path;
  } cases[] = {
      {L"Zeltra.exe --hid-log C:\\t.log", L"C:\\t.log"},
      {L"\"C:\\Program Files\\Zeltra.exe\" --virtual-mouse --hid-log \"C:\\my logs\\t.log\"", L"C:\\my logs\\t.log"},
      {L"Zeltra.exe --hid-log=trace.txt --virtual-mouse", L"trace.txt"},
      {L"Zeltra.exe --hid-log", L""},
      {L"Zeltra.exe --hid-logs x", L""},
      {L"\"--hid-log\" x", L""},  // the program's own name is no option
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(win32::HidLogPath(c.line), c.path) << c.line;
}

TEST(HidLogSwitch, TracesEitherBackend) {
  TempDir dir;
  SystemClock clock;
  const std::wstring log = (dir / "trace.log").wstring();
  const std::wstring line = L"Zeltra.exe --virtual-mouse --hid-log \"" + log + L"\"";
  auto mouse = win32::SelectHidBackend(line.c_str(), clock);
  ASSERT_NE(dynamic_cast<VirtualMouse*>(mouse.get()), nullptr);
  auto traced = win32::WithCommandLineTrace(mouse, line.c_str(), clock);
  EXPECT_NE(traced, mouse);
  for (const HidInterfaceInfo& member : traced->Enumerate()) {
    if (member.identity.featureReportLength != kReportLength || member.identity.product != kCableProductId) continue;
    auto handle = traced->Open(member.path, HidAccess::ReadWrite);
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
  EXPECT_EQ(win32::WithCommandLineTrace(mouse, L"Zeltra.exe --virtual-mouse", clock), mouse);
  // An unwritable trace leaves the program untraced, not broken.
  EXPECT_EQ(win32::WithCommandLineTrace(mouse, L"Zeltra.exe --hid-log Z:\\no\\such\\folder\\t.log", clock), mouse);
}

}  // namespace
}  // namespace zeltra::test
