#include "settings/win32/system_library_win32.h"

#include <string>

namespace zeltra::win32 {

namespace {

HMODULE Kernel32() { return GetModuleHandleW(L"kernel32.dll"); }

// The LOAD_LIBRARY_SEARCH_* flags came to Windows 7 with an update; where
// they are there, so is AddDllDirectory (the test Microsoft documents).
bool SearchFlagsSupported() {
  static const bool supported = GetProcAddress(Kernel32(), "AddDllDirectory") != nullptr;
  return supported;
}

std::wstring SystemFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    folder.resize(length);
    length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  }
  folder.resize(length < folder.size() ? length : 0);
  return folder;
}

}  // namespace

bool RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto set =
      SystemFunctions(Kernel32()).Take<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories", nullptr);
  return set != nullptr && set(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  // Side-by-side redirection (common controls 6 through the manifest) still
  // applies; the search itself, for the DLL and its imports, is the system
  // folder's alone.
  if (SearchFlagsSupported()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // A full path is looked for nowhere else, and the DLL's own imports are
  // then searched from its folder first.
  const std::wstring folder = SystemFolder();
  if (folder.empty()) return nullptr;
  const std::wstring path = folder + L'\\' + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace zeltra::win32
