#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <string>

#include "device/win32/hid_api_win32.h"
#include "settings/win32/system_library_win32.h"
#include "ui/win32/gdiplus_api_win32.h"

namespace zeltra::win32 {
namespace {

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
  return text;
}

std::wstring FolderOf(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return Lower(std::filesystem::path(std::wstring(path, length)).parent_path().wstring());
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH];
  return Lower(std::wstring(path, GetSystemDirectoryW(path, MAX_PATH)));
}

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

TEST(SystemLibrary, TakesTheSystemFoldersCopy) {
  for (const wchar_t* name : {L"hid.dll", L"gdiplus.dll"}) {
    const HMODULE module = LoadSystemLibrary(name);
    ASSERT_NE(module, nullptr) << name;
    EXPECT_EQ(FolderOf(module), SystemFolder()) << name;
  }
  EXPECT_EQ(LoadSystemLibrary(L"zeltra-no-such-library.dll"), nullptr);
}

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
  for (const Case& c : {Case{kernel32, "GetTickCount", true}, Case{kernel32, "ZeltraNoSuchFunction", false},
                        Case{nullptr, "GetTickCount", false}}) {
    SystemFunctions functions(c.module);
    const GetTickCountFunction taken = functions.Take<GetTickCountFunction>(c.name, standIn);
    EXPECT_EQ(taken != standIn, c.found) << c.name;
    EXPECT_EQ(functions.all(), c.found) << c.name;
  }
}

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
