// Entry point of zeltra-cli.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_platform.h"
#include "settings/text_format.h"

#ifdef _WIN32
#include "settings/win32/system_library_win32.h"

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a DLL by name from the folder the user started us in.
  zeltra::win32::RestrictDllSearchToSystemFolder();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg(argv[i]);
    args.push_back(zeltra::ToUtf8(std::u16string(arg.begin(), arg.end())));
  }
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  zeltra::SystemClock clock;
  zeltra::cli::CliEnvironment env = zeltra::cli::PlatformEnvironment();
  env.out = &std::cout;
  env.err = &std::cerr;
  env.clock = &clock;
  return zeltra::cli::RunCli(args, env);
}
