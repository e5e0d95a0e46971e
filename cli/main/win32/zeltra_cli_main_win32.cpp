// Entry point of zeltra-cli on Windows: UTF-16 arguments.
#include <string>
#include <vector>

#include "cli/main/run_cli_main.h"
#include "settings/text_format.h"
#include "settings/win32/system_library_win32.h"

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a DLL by name from the folder the user started us in.
  zeltra::win32::RestrictDllSearchToSystemFolder();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg(argv[i]);
    args.push_back(zeltra::ToUtf8(std::u16string(arg.begin(), arg.end())));
  }
  return zeltra::cli::RunCliMain(args);
}
