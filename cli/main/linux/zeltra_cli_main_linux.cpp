// Entry point of zeltra-cli on Linux: the arguments are UTF-8 already.
#include <string>
#include <vector>

#include "cli/main/run_cli_main.h"

int main(int argc, char** argv) { return zeltra::cli::RunCliMain(std::vector<std::string>(argv + 1, argv + argc)); }
