// The narrow seam between the device logic and the HID class driver: one
// enumeration of the present HID interfaces, and per opened interface the
// feature-report and input-report transfers. The program uses the Windows
// backend (device/win32) or the virtual mouse; tests only ever get the
// virtual mouse, so no test can reach real hardware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zeltra {

inline constexpr std::uint16_t kMouseVendorId = 0x248A;
inline constexpr std::uint16_t kCableProductId = 0x5B2E;
inline constexpr std::uint16_t kReceiverProductId = 0x5B2F;
// One report-identifier byte plus 32 data bytes.
inline constexpr std::size_t kReportLength = 33;

// Attributes and capabilities of one HID interface.
struct HidIdentity {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  std::uint16_t inputReportLength = 0;
  std::uint16_t featureReportLength = 0;
  friend bool operator==(const HidIdentity&, const HidIdentity&) = default;
};

// One member of the enumeration. Its position in the list is its member
// index; a member whose path could not be read keeps its place with an empty
// path, and one whose identity could not be queried has a zero identity.
struct HidInterfaceInfo {
  std::u16string path;
  HidIdentity identity;
};

// An interface opened for reading and writing (shared, synchronous). Closing
// is destruction.
class HidHandle {
 public:
  virtual ~HidHandle() = default;
  // Attributes and capabilities queried on this handle; zeros when the query fails.
  virtual HidIdentity Identity() = 0;
  // Sends one feature report (byte 0 is the report identifier).
  virtual bool SetFeature(std::span<const std::uint8_t> report) = 0;
  // Reads one feature report into `report` (byte 0 names the report). Returns
  // the number of bytes the device delivered, or -1 on failure.
  virtual long GetFeature(std::span<std::uint8_t> report) = 0;
  // Blocks until an input report arrives; returns its length, or -1 when the
  // read failed (device gone, handle invalid, read cancelled).
  virtual long Read(std::span<std::uint8_t> buffer) = 0;
  // Thread-safe: makes a Read blocked in another thread fail. Used only when
  // the program shuts down.
  virtual void CancelRead() = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // One enumeration of the present HID interfaces, in member-index order.
  virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
  // Opens an interface for reading and writing; nothing when it cannot be
  // opened (another application may hold it exclusively).
  virtual std::unique_ptr<HidHandle> Open(const std::u16string& path) = 0;
  // Called first thing on every listener thread (the Windows backend raises
  // the thread to time-critical priority there).
  virtual void OnListenerThreadStart() {}
};

}  // namespace zeltra
