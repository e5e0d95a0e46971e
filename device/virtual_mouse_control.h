// Driving the virtual mouse of a running program from outside: a text file
// of commands, one a line, that the program follows while it runs (started
// with "--virtual-mouse --virtual-mouse-control FILE"). Scripts append lines
// to the file to play the mouse's own part (its DPI button, going offline,
// an unplugged cable) and ask for the mouse's state, which they compare with
// what the program saved.
//
//   online 0|1                 the status reply's online flag
//   dpi-button                 the DPI button on the mouse
//   rate 1|2|4|8               a report-rate change made on the mouse
//   battery LEVEL CHARGE       battery level (0..100) and charge state (0..2)
//   sensor N                   the sensor number of the status reply
//   stall set-feature|get-feature  the next such transfer never completes (it
//                              fails after a second, as the HID stack gives up)
//   unplug cable|receiver      the link goes (the last one ends the program)
//   plug cable|receiver
//   dump PATH                  writes the mouse's state (VirtualMouseStateText)
//   load PATH                  the mouse holds the state in the file (a dump)
//   factory PATH               a factory reset brings it to the state in the file
//
// Blank lines and lines starting with "#" are skipped; a line that is not a
// command is skipped as well, so a typo in a script never stops the program.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "device/virtual_mouse.h"

namespace zeltra {

// The state as text, one field a line ("rate 1", "buttons 010100 ..."), hex bytes.
std::string VirtualMouseStateText(const VirtualMouseState& state);
// The reverse; nothing when a line is missing or malformed.
std::optional<VirtualMouseState> ParseVirtualMouseStateText(std::string_view text);

// Runs one command line on the mouse. Empty: done (or nothing to do);
// otherwise why the line was not a command.
std::string RunVirtualMouseCommand(VirtualMouse& mouse, std::string_view line);

// Follows a command file: runs what is there at construction at once (so a
// script can set the mouse up before the program's first scan), then what
// is appended, every `interval`, on a thread of its own until destroyed.
// Only whole lines are taken; a half-written last line waits for its end.
class VirtualMouseControl {
 public:
  // Runs one line; returns what RunVirtualMouseCommand returns.
  using Runner = std::function<std::string(std::string_view line)>;

  VirtualMouseControl(std::filesystem::path file, std::shared_ptr<VirtualMouse> mouse,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(50));
  // Lines go to `run` instead (a host that takes commands of its own first).
  VirtualMouseControl(std::filesystem::path file, Runner run,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(50));
  ~VirtualMouseControl();
  VirtualMouseControl(const VirtualMouseControl&) = delete;
  VirtualMouseControl& operator=(const VirtualMouseControl&) = delete;

  // Reads and runs the lines appended since the last call; how many ran.
  int Poll();
  int CommandsRun() const;

 private:
  void Loop();

  std::filesystem::path file_;
  Runner run_;
  std::chrono::milliseconds interval_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::uintmax_t offset_ = 0;
  int commands_ = 0;
  std::thread thread_;
};

}  // namespace zeltra
