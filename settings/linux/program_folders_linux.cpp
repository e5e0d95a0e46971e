#include "settings/program_folders.h"

#include <cstdlib>
#include <system_error>

namespace zeltra {

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }

std::filesystem::path UserDataFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::filesystem::path(xdg) / "zeltra";
  if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".config" / "zeltra";
  return {};
}

}  // namespace zeltra
