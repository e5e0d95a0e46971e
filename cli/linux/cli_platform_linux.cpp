#include <csignal>
#include <cstdlib>
#include <system_error>

#include "cli/cli_platform.h"
#include "device/linux/hidraw_backend.h"

namespace zeltra::cli {

namespace {

// $XDG_CONFIG_HOME/zeltra, or ~/.config/zeltra without it.
std::filesystem::path ConfigFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::filesystem::path(xdg) / "zeltra";
  if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".config" / "zeltra";
  return {};
}

}  // namespace

CliEnvironment PlatformEnvironment() {
  // Output into a closed pipe is an error to ignore, not a reason to die
  // halfway through a transfer.
  std::signal(SIGPIPE, SIG_IGN);
  CliEnvironment env;
  std::error_code ec;
  env.programFolder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  env.defaultDataFolder = ConfigFolder();
  env.hidBackend = [] { return hidraw::CreateHidrawBackend(); };
  return env;
}

}  // namespace zeltra::cli
