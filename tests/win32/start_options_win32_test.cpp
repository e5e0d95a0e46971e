// The program's command line as Windows hands it over: split by the system,
// quotes and all, then parsed.
#include <gtest/gtest.h>

#include "app/win32/start_options_win32.h"

namespace zeltra::test {
namespace {

TEST(StartOptionsWin32, ReadFromTheCommandLine) {
  struct Case {
    const wchar_t* line;
    bool virtualMouse;
    const wchar_t* control;
    const wchar_t* trace;
  };
  const Case cases[] = {
      {L"Zeltra.exe --virtual-mouse", true, L"", L""},
      {L"\"C:\\Program Files\\Zeltra.exe\" --virtual-mouse --other", true, L"", L""},
      {L"Zeltra.exe --virtual-mouse-x", false, L"", L""},
      {L"\"Zeltra.exe --virtual-mouse\"", false, L"", L""},  // the program's own name is no option
      {L"\"C:\\a b\\--virtual-mouse\"x", false, L"", L""},
      {L"Zeltra.exe", false, L"", L""},
      {L"", false, L"", L""},
      {L"Zeltra.exe --virtual-mouse --virtual-mouse-control Z:\\tmp\\c.txt", true, L"Z:\\tmp\\c.txt", L""},
      {L"\"C:\\a b\\Zeltra.exe\" --virtual-mouse-control \"Z:\\t m p\\c.txt\" --x", false, L"Z:\\t m p\\c.txt", L""},
      {L"Zeltra.exe --virtual-mouse-control=c.txt", false, L"c.txt", L""},
      {L"Zeltra.exe --virtual-mouse --virtual-mouse-control", true, L"", L""},
      {L"Zeltra.exe --virtual-mouse-controls x", false, L"", L""},
      {L"Zeltra.exe --hid-log C:\\t.log", false, L"", L"C:\\t.log"},
      {L"\"C:\\Program Files\\Zeltra.exe\" --virtual-mouse --hid-log \"C:\\my logs\\t.log\"", true, L"",
       L"C:\\my logs\\t.log"},
      {L"Zeltra.exe --hid-log=trace.txt --virtual-mouse", true, L"", L"trace.txt"},
      {L"Zeltra.exe --hid-log", false, L"", L""},
      {L"Zeltra.exe --hid-logs x", false, L"", L""},
      {L"\"--hid-log\" x", false, L"", L""},
  };
  for (const Case& c : cases) {
    const StartOptions options = win32::ReadStartOptions(c.line);
    EXPECT_EQ(options.virtualMouse, c.virtualMouse) << c.line;
    EXPECT_EQ(options.virtualMouseControl.wstring(), c.control) << c.line;
    EXPECT_EQ(options.hidTrace.wstring(), c.trace) << c.line;
  }
  EXPECT_EQ(win32::ReadStartOptions(L"Zeltra.exe --first-paint-log \"C:\\a b\\p.txt\"").firstPaintLog.wstring(),
            L"C:\\a b\\p.txt");
}

}  // namespace
}  // namespace zeltra::test
