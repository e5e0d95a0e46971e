// zeltra-cli run in-process on one virtual mouse that keeps its state from
// command to command, with a scratch data folder.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "device/virtual_mouse.h"
#include "support/test_support.h"

namespace zeltra::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliRig {
 public:
  CliRig();
  // Runs zeltra-cli with --virtual-mouse and --data <the scratch folder> before `args`.
  CliResult Run(std::vector<std::string> args);
  // The same with --data `data` as given.
  CliResult RunWithData(const std::string& data, std::vector<std::string> args);
  // Every file under the scratch data folder with its bytes.
  std::map<std::string, Bytes> DataFiles() const;
  // The feature reports the mouse took since the last call.
  std::vector<Bytes> TakeWrites();
  std::filesystem::path Data(std::string_view relative) const { return dir.path() / "data" / relative; }
  std::string File(std::string_view name) const;

  TempDir dir;
  VirtualClock clock;
  std::shared_ptr<VirtualMouse> mouse;
  cli::CliEnvironment env;

 private:
  std::size_t writesSeen_ = 0;
};

}  // namespace zeltra::test
