#include <csignal>

#include "cli/cli_platform.h"
#include "device/linux/hidraw_backend.h"
#include "settings/program_folders.h"

namespace zeltra::cli {

CliEnvironment PlatformEnvironment() {
  // Output into a closed pipe is an error to ignore, not a reason to die
  // halfway through a transfer.
  std::signal(SIGPIPE, SIG_IGN);
  CliEnvironment env;
  env.programFolder = ExecutableFolder();
  env.defaultDataFolder = UserDataFolder();
  env.hidBackend = [] { return hidraw::CreateHidrawBackend(); };
  return env;
}

}  // namespace zeltra::cli
