#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <vector>

namespace zeltra::cli {

namespace {

constexpr const char* kFooter =
    "Profiles are numbered 1 to 5. Exit status: 0 done, 2 usage error, 3 no mouse found,\n"
    "4 a file that cannot be read or written, 5 the mouse did not answer.";

void AddProfileNumber(CLI::App& command, CliRequest& request, bool required) {
  auto* option =
      command.add_option("N", request.profile, "profile number, 1 to 5")->type_name("")->check(CLI::Range(1, 5));
  if (required) option->required();
}

void AddFile(CLI::App& command, CliRequest& request, const char* description) {
  command.add_option("FILE", request.file, description)->type_name("")->required();
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string> args) {
  CliRequest request;
  CLI::App app{"Configures the mouse from the command line, with the profile files of the Zeltra window.",
               "zeltra-cli"};
  app.footer(kFooter);
  app.require_subcommand(1, 1);
  app.fallthrough();  // global options may also follow the sub-command
  app.add_flag("--virtual-mouse", request.virtualMouse, "work on a simulated mouse instead of the real one");
  app.add_option("--data", request.dataFolder, "the data folder (default: the program's own per-user folder)")
      ->type_name("DIR");
  app.add_option("--hid-log", request.hidLog, "append a trace of every HID transfer to FILE (- for standard error)")
      ->type_name("FILE");
  app.add_flag("--json", request.json, "print one JSON document on standard output");

  struct Entry {
    Command command;
    CLI::App* app;
  };
  std::vector<Entry> commands{
      {Command::Devices, app.add_subcommand("devices", "list the mouse's links that were found")},
      {Command::Status, app.add_subcommand("status", "ask the mouse for its status")},
      {Command::Profiles, app.add_subcommand("profiles", "list the five profiles")},
      {Command::Show, app.add_subcommand("show", "show one profile (default: the current one)")},
      {Command::Switch, app.add_subcommand("switch", "make profile N current and send what differs")},
      {Command::Apply, app.add_subcommand("apply", "load a profile file into the current profile and send it")},
      {Command::Export, app.add_subcommand("export", "write profile N to a profile file")},
      {Command::Import, app.add_subcommand("import", "read a profile file into profile N")},
      {Command::Reset, app.add_subcommand("reset", "restore the mouse's factory settings")},
      {Command::Link, app.add_subcommand("link", "switch to profile N while one of these programs is in front")},
      {Command::Unlink, app.add_subcommand("unlink", "link profile N to no program")},
  };
  auto sub = [&](Command c) -> CLI::App& {
    return *std::find_if(commands.begin(), commands.end(), [c](const Entry& e) { return e.command == c; })->app;
  };
  AddProfileNumber(sub(Command::Show), request, false);
  AddProfileNumber(sub(Command::Switch), request, true);
  AddFile(sub(Command::Apply), request, "the profile file (.psf)");
  AddProfileNumber(sub(Command::Export), request, true);
  AddFile(sub(Command::Export), request, "the profile file to write");
  AddFile(sub(Command::Import), request, "the profile file to read");
  AddProfileNumber(sub(Command::Import), request, true);
  sub(Command::Reset).add_flag("--yes", request.yes, "confirm the factory reset");
  AddProfileNumber(sub(Command::Link), request, true);
  sub(Command::Link)
      .add_option("PATH", request.programs,
                  "a program's full path (C:\\Games\\game.exe), or its file name alone for any folder; up to three")
      ->type_name("")
      ->required()
      ->expected(1, 3);
  AddProfileNumber(sub(Command::Unlink), request, true);

  ParsedCommandLine result;
  // The first word that is neither an option nor an option's value names the command.
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--data" || arg == "--hid-log") {
      ++i;
      continue;
    }
    if (arg.starts_with("-")) continue;
    if (std::none_of(commands.begin(), commands.end(), [&](const Entry& e) { return e.app->get_name() == arg; })) {
      result.exitCode = kExitUsage;
      result.text = "unknown command \"" + arg + "\" (see zeltra-cli --help)";
      return result;
    }
    break;
  }
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    result.text = app.help();
    return result;
  } catch (const CLI::CallForAllHelp&) {
    result.text = app.help("", CLI::AppFormatMode::All);
    return result;
  } catch (const CLI::ParseError& e) {
    result.exitCode = kExitUsage;
    result.text = std::string(e.what()) + " (see zeltra-cli --help)";
    return result;
  }
  for (const Entry& e : commands)
    if (e.app->parsed()) request.command = e.command;
  if (request.command == Command::Reset && !request.yes) {
    result.exitCode = kExitUsage;
    result.text = "reset restores the mouse's factory settings: confirm it with reset --yes";
    return result;
  }
  result.request = request;
  return result;
}

}  // namespace zeltra::cli
