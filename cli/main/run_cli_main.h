// zeltra-cli's run once its entry point has the arguments in UTF-8 (the
// program's name left out); returns the exit code.
#pragma once

#include <string>
#include <vector>

namespace zeltra::cli {

int RunCliMain(const std::vector<std::string>& args);

}  // namespace zeltra::cli
