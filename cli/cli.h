// zeltra-cli: the command layer over the program's core. The settings,
// profile files, device link, caches and apply cycle are the window's own;
// this layer only decides what one command does with them and prints it.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>

#include "cli/command_line.h"
#include "settings/data_folder_lock.h"
#include "device/clock.h"
#include "device/hid_backend.h"

namespace zeltra::cli {

// What the platform gives the command layer.
struct CliEnvironment {
  std::ostream* out = nullptr;
  std::ostream* err = nullptr;
  // The shipped language files are read from its "lang" folder.
  std::filesystem::path programFolder;
  // The data folder without --data; empty when the platform names none.
  std::filesystem::path defaultDataFolder;
  // Paces the reports; must outlive the call.
  Clock* clock = nullptr;
  // The real mouse's backend (the HID class driver or hidraw).
  std::function<std::shared_ptr<HidBackend>()> hidBackend;
  // The backend of --virtual-mouse; empty: a demo mouse on its cable.
  std::function<std::shared_ptr<HidBackend>(Clock&)> virtualMouse;
  std::function<LockAttempt(const std::filesystem::path&, std::string_view)> lockDataFolder = TryLockDataFolder;
  std::function<std::optional<std::string>(const std::filesystem::path&)> dataFolderHolder = DataFolderLockHolder;
  // How long to wait for another zeltra-cli that holds the data folder.
  int lockWaitMs = 10000;
};

// Runs one command line (`args` without the program name, UTF-8) and returns
// its exit status. Errors are one line on the environment's `err`.
int RunCli(std::span<const std::string> args, const CliEnvironment& env);

// A path given on the command line (UTF-8 on every platform).
std::filesystem::path PathFromUtf8(const std::string& utf8);

}  // namespace zeltra::cli
