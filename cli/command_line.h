// The command line of zeltra-cli: sub-commands, their arguments and the
// global options, parsed into one request.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zeltra::cli {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDevice = 3;
inline constexpr int kExitFile = 4;
inline constexpr int kExitNoAnswer = 5;

enum class Command { Devices, Status, Profiles, Show, Switch, Apply, Export, Import, Reset, Link, Unlink };

struct CliRequest {
  Command command = Command::Status;
  bool virtualMouse = false;
  bool json = false;
  std::string dataFolder;  // UTF-8; empty: the platform's default
  std::string hidLog;      // UTF-8; "-" standard error; empty: no trace
  int profile = 0;         // 1..5; 0 when `show` names none (the current one)
  std::string file;        // UTF-8
  std::vector<std::string> programs;  // link: UTF-8, one to three
  bool yes = false;        // reset --yes
};

struct ParsedCommandLine {
  std::optional<CliRequest> request;  // nothing: print `text` and exit with `exitCode`
  int exitCode = kExitDone;
  std::string text;  // the help (standard output) or the one-line error (standard error)
};

// `args` without the program name, UTF-8.
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

}  // namespace zeltra::cli
