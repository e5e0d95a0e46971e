// zeltra-vmouse: installs the virtual mouse's drivers into a Wine prefix and
// plays the mouse's part through them, for scripts.
//
//   zeltra-vmouse install              the drivers beside this program
//   zeltra-vmouse do LINE...           one command: those of device/virtual_mouse_control.h,
//                                      "stall set-feature|get-feature [MS]", "check"
//                                      (tests/winehid/bus_mouse.h)
//   zeltra-vmouse follow FILE          start over and follow a command file
//   zeltra-vmouse wait [cable] [receiver] [--seconds N]
//                                      until the system shows exactly these links
//   zeltra-vmouse links                which links the system shows
//   zeltra-vmouse collections          every HID collection the system shows
//
// Exit status 0 done, 1 not done (the reason on standard error), 2 usage.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "vmouse_client.h"

namespace {

std::string Narrow(const wchar_t* text) {
  const std::wstring wide(text);
  return std::filesystem::path(wide).string();
}

std::filesystem::path ProgramFolder() {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  return std::filesystem::path(std::wstring(path.data(), length)).parent_path();
}

int Done(const std::string& error) {
  if (error.empty()) return 0;
  std::fprintf(stderr, "zeltra-vmouse: %s\n", error.c_str());
  return 1;
}

int Usage() {
  std::fputs("usage: zeltra-vmouse install | do LINE... | follow FILE | wait [cable] [receiver] [--seconds N] | links | collections\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace zeltra::winehid;
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  if (command == L"install" && argc == 2) return Done(InstallDriver(ProgramFolder()));
  if (command == L"do" && argc > 2) {
    std::string line;
    for (int i = 2; i < argc; ++i) line += (i > 2 ? " " : "") + Narrow(argv[i]);
    return Done(SendCommand(line));
  }
  if (command == L"follow" && argc == 3) return Done(FollowFile(std::filesystem::path(argv[2])));
  if (command == L"collections" && argc == 2) {
    std::fputs(DescribeCollections().c_str(), stdout);
    return 0;
  }
  if (command == L"links" && argc == 2) {
    const LinksShown shown = ShownLinks();
    std::printf("%s%s%s\n", shown.cable ? "cable" : "", shown.cable && shown.receiver ? " " : "",
                shown.receiver ? "receiver" : (shown.cable ? "" : "none"));
    return 0;
  }
  if (command == L"wait") {
    LinksShown links;
    int seconds = 20;
    for (int i = 2; i < argc; ++i) {
      const std::wstring arg = argv[i];
      if (arg == L"cable") links.cable = true;
      else if (arg == L"receiver") links.receiver = true;
      else if (arg == L"--seconds" && i + 1 < argc) seconds = _wtoi(argv[++i]);
      else return Usage();
    }
    return Done(WaitForLinks(links, seconds * 1000));
  }
  return Usage();
}
