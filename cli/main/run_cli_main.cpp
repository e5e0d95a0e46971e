// What zeltra-cli's entry points share once the arguments are UTF-8: the
// platform's environment and the commands (the entry points themselves are
// in win32/ and linux/).
#include "cli/main/run_cli_main.h"

#include <iostream>

#include "cli/cli.h"
#include "cli/cli_platform.h"

namespace zeltra::cli {

int RunCliMain(const std::vector<std::string>& args) {
  SystemClock clock;
  CliEnvironment env = PlatformEnvironment();
  env.out = &std::cout;
  env.err = &std::cerr;
  env.clock = &clock;
  return RunCli(args, env);
}

}  // namespace zeltra::cli
