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
// How long a feature transfer may take before it counts as failed: a device
// that never completes one must not hold the program.
inline constexpr int kFeatureTimeoutMs = 1000;

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
  // The same for every interface of one physical unit (a mouse, a receiver)
  // and different for two units of one product; empty when the platform
  // cannot tell.
  std::u16string unit;
};

// Why a transfer failed, as the system said it.
struct HidError {
  enum class Kind : std::uint8_t {
    None,     // no failure, or the backend cannot tell
    System,   // a Windows error code (GetLastError)
    Errno,    // an errno value
    Timeout,  // the device did not complete the transfer in time
  };
  Kind kind = Kind::None;
  std::uint32_t code = 0;
  friend bool operator==(const HidError&, const HidError&) = default;
};
// "error=1167", "errno=19", "timeout", or "error=?" when nothing is known.
std::string HidErrorText(const HidError& error);

// What a handle is opened for.
enum class HidAccess {
  // Input reports are read from it (and feature reports may pass).
  ReadWrite,
  // Feature reports only: no read or write access is asked for, so a
  // collection that the system keeps for itself still opens.
  FeatureOnly,
};

// An open interface (shared with other programs). Closing is destruction.
class HidHandle {
 public:
  virtual ~HidHandle() = default;
  // Attributes and capabilities queried on this handle; zeros when the query fails.
  virtual HidIdentity Identity() = 0;
  // Sends one feature report (byte 0 is the report identifier). A device
  // that does not complete it within about a second fails it with a
  // Timeout error, and the handle can still be used.
  virtual bool SetFeature(std::span<const std::uint8_t> report) = 0;
  // Reads one feature report into `report` (byte 0 names the report). Returns
  // the number of bytes the device delivered, or -1 on failure (a timeout
  // as for SetFeature).
  virtual long GetFeature(std::span<std::uint8_t> report) = 0;
  // Blocks until an input report arrives; returns its length, or -1 when the
  // read failed (device gone, handle invalid, read cancelled).
  virtual long Read(std::span<std::uint8_t> buffer) = 0;
  // Thread-safe: makes a Read blocked in another thread fail. Used when the
  // program shuts down or the system asks for the interface back.
  virtual void CancelRead() = 0;
  // Why the last call of this handle on the calling thread failed.
  virtual HidError LastError() const { return {}; }
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // One enumeration of the present HID interfaces, in member-index order.
  virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
  // Opens an interface; nothing when it cannot be opened (another
  // application may hold it exclusively).
  virtual std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) = 0;
  // Called first thing on every listener thread (the Windows backend raises
  // the thread to time-critical priority there).
  virtual void OnListenerThreadStart() {}
};

}  // namespace zeltra
