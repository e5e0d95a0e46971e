// Start-up shell of the program (grows into the full application object).
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "settings/language.h"
#include "settings/text_format.h"

namespace {

std::filesystem::path ExecutableFolder() {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  return std::filesystem::path(std::wstring(buffer, n)).parent_path();
}

std::filesystem::path DataFolder() {
  wchar_t appData[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return {};
  return std::filesystem::path(appData) / L"VelmoraData20241016A";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const auto config = DataFolder() / L"config";
  std::error_code ec;
  std::filesystem::create_directories(config, ec);
  zeltra::InstallDefaultLanguageFiles(ExecutableFolder() / L"lang", config);
  const int loaded = zeltra::LoadLanguage(config, 1.0f);
  const auto& font = zeltra::Language().font;
  std::u16string text = u"Language loaded: " + zeltra::Dec(loaded) + u"\nString 0: " + zeltra::LanguageString(0) +
                        u"\nFont: " + font.face + u", " + zeltra::Dec(font.height) + u" px, charset " +
                        zeltra::Dec(font.charset);
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Zeltra", MB_OK);
  return 0;
}
