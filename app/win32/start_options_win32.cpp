#include "app/win32/start_options_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/win32/unique_handle_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

StartOptions ReadStartOptions(const wchar_t* commandLine) {
  // An empty line would be split into the program's own path alone.
  if (commandLine == nullptr || *commandLine == L'\0') return {};
  int count = 0;
  const UniqueLocalMemory<LPWSTR*> split(CommandLineToArgvW(commandLine, &count));
  if (!split) return {};
  std::vector<std::u16string> arguments;
  // The first is the program's own name, never an option.
  for (int i = 1; i < count; ++i) arguments.push_back(FromWide(split.get()[i]));
  return ParseStartOptions(arguments);
}

}  // namespace zeltra::win32
