// User mode's side of the virtual mouse's drivers: installing them on a
// root-enumerated device of the Wine prefix, sending the mouse commands, and
// waiting for the system's view of its links (their HID collections) to
// follow. Each function returns an empty string when it did what it says,
// else why not.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zeltra::winehid {

// Installs the drivers found in `folder` and waits until the system shows
// the cable, with which the bus starts.
std::string InstallDriver(const std::filesystem::path& folder);

// One command line for the mouse (device/virtual_mouse_control.h, and
// "stall set-feature|get-feature MS").
std::string SendCommand(std::string_view line);

// The mouse starts over (the cable alone, online, factory state) and follows
// the command file `file` from its start, as the program follows
// --virtual-mouse-control.
std::string FollowFile(const std::filesystem::path& file);

// Which links the system shows: a HID collection with the 33-byte feature
// report of the cable's, the receiver's product.
struct LinksShown {
  bool cable = false;
  bool receiver = false;
  friend bool operator==(const LinksShown&, const LinksShown&) = default;
};
LinksShown ShownLinks();
// Every HID collection the system shows, one a line: path, vendor and
// product, input and feature report lengths.
std::string DescribeCollections();
// Waits up to `timeoutMs` until the system shows exactly `links`.
std::string WaitForLinks(LinksShown links, int timeoutMs);

}  // namespace zeltra::winehid
