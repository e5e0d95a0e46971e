#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "device/win32/hid_api_win32.h"
#include "settings/win32/system_library_win32.h"
#include "ui/win32/gdiplus_api_win32.h"

namespace zeltra::win32 {
namespace {

// The planted DLL (tests/package/planted_dll.cpp), under a name no system
// has, alone in a folder of its own that is made the current folder: a
// search by name that looks there finds it.
class PlantedInCurrentFolder {
 public:
  static constexpr const wchar_t* kName = L"zeltra-planted.dll";
  PlantedInCurrentFolder() {
    folder_ = std::filesystem::temp_directory_path() / ("zeltra-planted-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(ZELTRA_PLANTED_DLL, folder_ / kName, std::filesystem::copy_options::overwrite_existing);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
  }
  ~PlantedInCurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

TEST(SystemLibrary, NeverLooksInTheCurrentFolder) {
  PlantedInCurrentFolder planted;
  EXPECT_EQ(LoadSystemLibrary(PlantedInCurrentFolder::kName), nullptr);
  // The plain search finds it there, so the line above could have failed.
  const HMODULE found = LoadLibraryW(PlantedInCurrentFolder::kName);
  EXPECT_NE(found, nullptr);
  if (found != nullptr) FreeLibrary(found);
}

// In a process of its own: the restriction lasts for the life of the process.
TEST(SystemLibraryDeathTest, RestrictedSearchSkipsTheCurrentFolder) {
  PlantedInCurrentFolder planted;
  EXPECT_EXIT(
      {
        if (!RestrictDllSearchToSystemFolder()) ExitProcess(2);
        ExitProcess(LoadLibraryW(PlantedInCurrentFolder::kName) == nullptr ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

DWORD WINAPI StandInTickCount() { return 7; }

TEST(SystemFunctions, StandsInForWhatIsMissing) {
  using GetTickCountFunction = DWORD(WINAPI*)();
  const GetTickCountFunction standIn = &StandInTickCount;
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  struct Case {
    HMODULE module;
    const char* name;
    bool found;
  };
  // A DLL the system lacks leaves a table of stand-ins.
  const HMODULE missing = LoadSystemLibrary(L"zeltra-no-such-library.dll");
  EXPECT_EQ(missing, nullptr);
  for (const Case& c : {Case{kernel32, "GetTickCount", true}, Case{kernel32, "ZeltraNoSuchFunction", false},
                        Case{missing, "GetTickCount", false}}) {
    SystemFunctions functions(c.module);
    const GetTickCountFunction taken = functions.Take<GetTickCountFunction>(c.name, standIn);
    EXPECT_EQ(taken != standIn, c.found) << c.name;
    EXPECT_EQ(functions.all(), c.found) << c.name;
  }
}

// Every name in the tables is one the DLL exports (a misspelt one would
// quietly stand in).
TEST(SystemTables, HoldTheSystemsOwnFunctions) {
  ASSERT_TRUE(Hid().loaded);
  GUID hidClass{};
  Hid().HidD_GetHidGuid(&hidClass);
  // The HID device interface class.
  const GUID expected = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
  EXPECT_TRUE(IsEqualGUID(hidClass, expected));
  EXPECT_TRUE(Gdip().loaded);
}

}  // namespace
}  // namespace zeltra::win32
