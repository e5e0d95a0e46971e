#include <windows.h>

#include "app/win32/paths_win32.h"
#include "cli/cli_platform.h"
#include "device/win32/hid_backend_win32.h"

namespace zeltra::cli {

CliEnvironment PlatformEnvironment() {
  // Names and paths are printed as UTF-8.
  SetConsoleOutputCP(CP_UTF8);
  CliEnvironment env;
  env.programFolder = win32::ExecutableFolder();
  env.defaultDataFolder = win32::DataFolder();
  env.hidBackend = [] { return win32::CreateHidBackend(); };
  return env;
}

}  // namespace zeltra::cli
