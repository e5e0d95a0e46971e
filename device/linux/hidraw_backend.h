// The Linux HID backend behind the device seam: the hidraw nodes found
// through sysfs, their report lengths from their report descriptors, feature
// reports through HIDIOCSFEATURE/HIDIOCGFEATURE and blocking reads of input
// reports. A node is a whole USB interface and may hold several top-level
// collections: it shows the lengths of the collections that carry the
// mouse's input and feature reports (so one node may be both interfaces),
// and its reads deliver only the reports of the input collection. Linux sends this program no device-change message: every
// enumeration reads sysfs afresh, so a plug or unplug is seen by the next
// scan, and the link's watchdog re-scans a link whose read has failed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_descriptor.h"

namespace zeltra::hidraw {

// One hidraw node as sysfs describes it.
struct HidrawNode {
  std::filesystem::path node;  // <dev root>/hidrawN
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  int interfaceNumber = -1;  // the USB interface; -1 when sysfs does not tell
  HidReportLengths lengths;  // LengthsForReports of its descriptor
  std::string name;  // HID_NAME
  // The sysfs folder of the physical unit: the USB device above the
  // interface, else the HID device's parent; empty when unknown.
  std::string unit;
};

// The nodes of <sysRoot>/class/hidraw in ascending node number. Each one's
// vendor and product come from the HID_ID line of its device's uevent file,
// its lengths from its device's report_descriptor file, its interface from
// the bInterfaceNumber file of the device's parent (or the "inputN" end of
// HID_PHYS). A node whose files cannot be read keeps its place with zeros.
std::vector<HidrawNode> EnumerateHidraw(const std::filesystem::path& sysRoot, const std::filesystem::path& devRoot);

// The backend on the system's /sys and /dev, or on other roots for tests.
std::shared_ptr<HidBackend> CreateHidrawBackend(std::filesystem::path sysRoot = "/sys",
                                                std::filesystem::path devRoot = "/dev");

}  // namespace zeltra::hidraw
