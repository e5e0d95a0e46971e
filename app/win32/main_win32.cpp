// Start-up shell of the program (grows into the full application object).
#include <windows.h>

#include <filesystem>
#include <string>

#include "app/win32/paths_win32.h"
#include "settings/language.h"
#include "settings/text_format.h"


int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const auto config = zeltra::win32::DataFolder() / L"config";
  std::error_code ec;
  std::filesystem::create_directories(config, ec);
  zeltra::InstallDefaultLanguageFiles(zeltra::win32::ExecutableFolder() / L"lang", config);
  const int loaded = zeltra::LoadLanguage(config, 1.0f);
  const auto& font = zeltra::Language().font;
  std::u16string text = u"Language loaded: " + zeltra::Dec(loaded) + u"\nString 0: " + zeltra::LanguageString(0) +
                        u"\nFont: " + font.face + u", " + zeltra::Dec(font.height) + u" px, charset " +
                        zeltra::Dec(font.charset);
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Zeltra", MB_OK);
  return 0;
}
