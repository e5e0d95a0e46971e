#include "cli_fixture.h"

#include "settings/text_format.h"

namespace zeltra::test {

CliRig::CliRig() : mouse(std::make_shared<VirtualMouse>(clock)) {
  mouse->AddUnrelatedInterface({0x1A2B, 0x0001, 9, 0});
  mouse->Plug(VirtualLink::Cable);
  env.programFolder = std::filesystem::path(ZELTRA_DIST_DIR);
  env.clock = &clock;
  env.virtualMouse = [this](Clock&) -> std::shared_ptr<HidBackend> { return mouse; };
  env.lockWaitMs = 100;
}

CliResult CliRig::Run(std::vector<std::string> args) {
  const std::u8string data = (dir.path() / "data").u8string();
  return RunWithData(std::string(data.begin(), data.end()), std::move(args));
}

std::map<std::string, Bytes> CliRig::DataFiles() const {
  std::map<std::string, Bytes> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path() / "data", ec))
    files[entry.path().string()] = entry.is_regular_file() ? ReadBytes(entry.path()) : Bytes{};
  return files;
}

CliResult CliRig::RunWithData(const std::string& data, std::vector<std::string> args) {
  args.insert(args.begin(), {"--virtual-mouse", "--data", data});
  std::ostringstream out, err;
  env.out = &out;
  env.err = &err;
  CliResult result;
  result.status = cli::RunCli(args, env);
  result.out = out.str();
  result.err = err.str();
  return result;
}

std::vector<Bytes> CliRig::TakeWrites() {
  const auto writes = mouse->Writes();
  std::vector<Bytes> out;
  for (std::size_t i = writesSeen_; i < writes.size(); ++i) out.push_back(writes[i].bytes);
  writesSeen_ = writes.size();
  return out;
}

std::string CliRig::File(std::string_view name) const {
  const std::u8string path = (dir.path() / std::filesystem::path(name)).u8string();
  return std::string(path.begin(), path.end());
}

}  // namespace zeltra::test
