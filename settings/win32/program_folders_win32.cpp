#include "settings/program_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace zeltra {

std::filesystem::path ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);  // long paths: the name was cut
  }
  return std::filesystem::path(buffer);
}

std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }

std::filesystem::path UserDataFolder() {
  wchar_t appData[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return {};
  return std::filesystem::path(appData) / L"VelmoraData20241016A";
}

}  // namespace zeltra
