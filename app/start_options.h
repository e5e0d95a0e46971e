// What the program's command line asks for, read once at start-up:
//
//   --virtual-mouse               run on the virtual mouse instead of the HID class driver
//   --virtual-mouse-control FILE  play the virtual mouse's part from the commands in FILE
//   --hid-log FILE                write every HID transfer to FILE ("-": standard error)
//   --first-paint-log FILE        write the milliseconds to the first paint to FILE
//   --tray                        start hidden in the tray (the Startup folder's shortcut)
//
// A value follows its option as the next argument or after "=" ("--hid-log=FILE").
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "device/virtual_mouse.h"

namespace zeltra {

struct StartOptions {
  bool virtualMouse = false;
  std::filesystem::path virtualMouseControl;  // empty: none
  std::filesystem::path hidTrace;
  std::filesystem::path firstPaintLog;
  bool startInTray = false;
  friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

// The switch the shortcut in the user's Startup folder starts the program with.
inline constexpr char16_t kStartInTraySwitch[] = u"--tray";

// The arguments after the program's own name. The first value given to an
// option counts; an option without a value, and anything the program does
// not know, is passed over.
StartOptions ParseStartOptions(std::span<const std::u16string> arguments);

// What the program runs on: the virtual mouse when asked for, otherwise the
// backend `real` makes; either one traced into the --hid-log file when there
// is one and it opens (else untraced: a trace is no reason not to start).
struct StartBackend {
  std::shared_ptr<HidBackend> backend;
  std::shared_ptr<VirtualMouse> virtualMouse;  // null on the real backend
};
StartBackend MakeStartBackend(const StartOptions& options, Clock& clock,
                              const std::function<std::shared_ptr<HidBackend>()>& real);

}  // namespace zeltra
