#include <windows.h>

#include "cli/cli_platform.h"
#include "device/win32/hid_backend_win32.h"
#include "settings/program_folders.h"

namespace zeltra::cli {

CliEnvironment PlatformEnvironment() {
  // Names and paths are printed as UTF-8.
  SetConsoleOutputCP(CP_UTF8);
  CliEnvironment env;
  env.programFolder = ExecutableFolder();
  env.defaultDataFolder = UserDataFolder();
  env.hidBackend = [] { return win32::CreateHidBackend(); };
  return env;
}

}  // namespace zeltra::cli
