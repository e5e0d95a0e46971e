// The whole program, started as a user starts it, on the virtual mouse.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/main_window_ids.h"
#include "ui/control_codes.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

class Process {
 public:
  explicit Process(const std::wstring& arguments) {
    std::wstring line = L"\"" + std::wstring(ZELTRA_PROGRAM_W) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
  }
  ~Process() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  // The exit code, or nothing when still running after `ms`.
  std::optional<DWORD> Wait(int ms) const {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

HWND MainWindowOfProgram() { return FindWindowW(kMainWindowClass, nullptr); }

bool Shown(HWND hwnd) { return hwnd != nullptr && IsWindowVisible(hwnd) && !IsIconic(hwnd); }

TEST(Program, ASecondCopyWakesTheFirstAndEnds) {
  ASSERT_EQ(MainWindowOfProgram(), nullptr) << "another copy is running";
  Process first(L"--virtual-mouse");
  ASSERT_TRUE(first.started());
  HWND window = nullptr;
  // In standby at first; the virtual mouse reports itself online and brings it up.
  ASSERT_TRUE(PumpUntil([&] { return Shown(window = MainWindowOfProgram()); }, 20000));

  // Hidden in the tray by its exit button, it keeps running.
  SendMessageW(window, kIdExitButton, kIdExitButton, kCodeClicked);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(first.Wait(300).has_value());

  Process second(L"--virtual-mouse");
  ASSERT_TRUE(second.started());
  const auto code = second.Wait(20000);
  ASSERT_TRUE(code.has_value()) << "the second copy must end by itself";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(PumpUntil([&] { return Shown(window); }, 5000)) << "the first copy comes up";
  EXPECT_EQ(MainWindowOfProgram(), window) << "only one main window";

  // The tray menu's exit ends it.
  PostMessageW(window, WM_COMMAND, kIdTrayExit, 0);
  const auto firstCode = first.Wait(20000);
  ASSERT_TRUE(firstCode.has_value());
  EXPECT_EQ(*firstCode, 0u);
  EXPECT_EQ(MainWindowOfProgram(), nullptr);
}

}  // namespace
}  // namespace zeltra::test
