// A model of the mouse and its receiver as the program sees them: their HID
// interfaces among unrelated ones, every command they accept and the state it
// leaves, the status reply, the DPI-button and report-rate notifications,
// plugging and unplugging. It checks what the program sends (frame layout,
// sequence numbers, 60 ms between writes, 10 ms before a status read), logs
// every transfer and injects faults. Tests use it as their oracle; the
// program runs on it when started with --virtual-mouse.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/clock.h"
#include "device/hid_backend.h"

namespace zeltra {

enum class VirtualLink { Cable = 0, Receiver = 1 };

// What the mouse holds after the commands it received.
struct VirtualMouseState {
  std::array<std::array<std::uint8_t, 3>, 6> buttons{};  // by device position
  std::uint8_t stageByte = 0x26;                          // active position + 1 | enabled count
  std::uint8_t dpiMask = 0x3F;
  std::array<std::uint16_t, 6> dpiCodes{};
  std::array<std::array<std::uint8_t, 3>, 8> dpiColours{};  // red, green, blue
  std::uint8_t rateCode = 1;                                 // report interval in ms
  std::uint8_t liftOff = 2;
  std::uint8_t debounce = 12;
  std::uint8_t powerDownTime = 6;
  std::uint8_t moveLighting = 0;
  std::uint8_t motionWakeup = 1;
  std::vector<std::uint8_t> lighting{1, 0x22, 1};  // mode, light byte, mode data
  // Action bytes of device macro slots 1..6 (index 0 unused), reassembled
  // from their upload packets.
  std::array<std::vector<std::uint8_t>, 7> macros{};
  friend bool operator==(const VirtualMouseState&, const VirtualMouseState&) = default;
};

struct VirtualStatus {
  std::array<std::uint8_t, 4> modelTag{0x4B, 0x35, 0x52, 0x37};  // "K5R7"
  std::uint8_t sensorNumber = 17;
  std::uint8_t batteryLevel = 80;
  std::uint8_t chargeState = 0;  // 1 charging, 2 full
  bool online = true;
};

// One interface of the mouse or the receiver (vendor and product are the link's).
struct VirtualInterfaceSpec {
  std::uint16_t inputReportLength = 0;
  std::uint16_t featureReportLength = 0;
  // The system keeps the collection for itself (as Windows does with a
  // mouse's or keyboard's): it opens for feature reports only.
  bool exclusive = false;
};

enum class TransferKind { Enumerate, Open, SetFeature, GetFeature, Read };
enum class FaultOp { Open, SetFeature, GetFeature, Read };
enum class StatusFault { None, Short, Garbage };

// The errors the virtual mouse's handles report, as Windows' HID stack would.
inline constexpr std::uint32_t kVirtualErrorGone = 1167;      // ERROR_DEVICE_NOT_CONNECTED
inline constexpr std::uint32_t kVirtualErrorFailed = 31;      // ERROR_GEN_FAILURE
inline constexpr std::uint32_t kVirtualErrorDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kVirtualErrorCancelled = 995;  // ERROR_OPERATION_ABORTED

struct Transfer {
  std::int64_t timeMs = 0;
  TransferKind kind = TransferKind::SetFeature;
  int link = -1;  // VirtualLink, or -1 for an unrelated interface / the enumeration
  std::vector<std::uint8_t> bytes;
  bool ok = true;
  bool redundant = false;  // a write that left the mouse's state as it was
  // Taken, but never reached the mouse: the receiver's while the mouse
  // sleeps, or another unit's.
  bool lost = false;
};

class VirtualMouse final : public HidBackend {
 public:
  // Plugs nothing yet; the clock times the transfers and the checks.
  explicit VirtualMouse(Clock& clock);
  ~VirtualMouse() override;

  // ---- Topology ----
  // Appends an interface of another device to the enumeration. Interfaces
  // given the same `unit` belong to one device (another unit of the
  // mouse's own product, say: its reports are taken but reach no mouse).
  void AddUnrelatedInterface(HidIdentity identity, bool openable = true, std::u16string unit = {});
  // Takes the unrelated interfaces of `unit` out of the enumeration (their
  // handles fail from then on) or puts them back.
  void SetUnitPresent(const std::u16string& unit, bool present);
  // The link's interfaces in enumeration order (default: input 33, then
  // feature 33). Takes effect at the next plug.
  void SetInterfaces(VirtualLink link, std::vector<VirtualInterfaceSpec> interfaces);
  // Plugging puts the link's interfaces into the enumeration (at the end the
  // first time, back in their old place afterwards); unplugging takes them
  // out, fails every later transfer on handles opened before and wakes
  // blocked reads with a failure. Both call the device-change callback.
  void Plug(VirtualLink link);
  void Unplug(VirtualLink link);
  bool IsPlugged(VirtualLink link) const;
  // Called with true on arrival, false on removal (outside every lock).
  void SetDeviceChangeCallback(std::function<void(bool arrival)> callback);

  // ---- HidBackend ----
  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override;

  // ---- Scripted events ----
  // The mouse's own DPI button: next enabled stage, then input report 5/6.
  void PressDpiButton();
  // The mouse's own report-rate change (code 8, 4, 2 or 1), then input report 5/6.
  void ChangeReportRate(std::uint8_t rateCode);
  // Queues raw bytes as an input report on the link's input interface.
  void SendInputReport(VirtualLink link, std::vector<std::uint8_t> report);
  void SetBattery(std::uint8_t level, std::uint8_t chargeState);
  void SetOnline(bool online);
  void SetSensorNumber(std::uint8_t number);
  void SetModelTag(std::array<std::uint8_t, 4> tag);
  // The next `count` status replies carry no data (byte 6 = 0).
  void AnswerNotReady(int count);

  // ---- Faults ----
  // The nth call of `op` from now on fails (1 = the next one).
  void FailCall(FaultOp op, int nth = 1);
  // The nth feature transfer of `op` (SetFeature or GetFeature) from now on
  // never completes: the handle gives up after kFeatureTimeoutMs of the
  // clock and fails it with a Timeout error.
  void StallCall(FaultOp op, int nth = 1);
  // The next status reply is cut short or replaced by garbage.
  void SetNextStatusFault(StatusFault fault);

  // ---- Observation ----
  VirtualMouseState State() const;
  void SetState(const VirtualMouseState& state);
  // What a factory reset brings the mouse back to (a fresh VirtualMouseState
  // unless told): a script sets it to what the program's defaults encode,
  // the configuration it takes a reset mouse to hold.
  void SetFactoryState(const VirtualMouseState& state);
  // The program that talks to the mouse starts again: its sequence numbers
  // and pauses are checked afresh (what the mouse holds stays).
  void ForgetProgram();
  VirtualStatus Status() const;
  std::vector<Transfer> Log() const;
  // The feature reports written (set-feature calls that reached the mouse).
  std::vector<Transfer> Writes() const;
  void ClearLog();
  // Logging is on from the start; long benchmarks turn it off.
  void SetLogging(bool on);
  // Layout, sequence and timing problems found in what the program sent.
  std::vector<std::string> Violations() const;
  int RedundantWrites() const;
  int Enumerations() const;
  int Opens() const;
  int FactoryResets() const;
  // Waits until a read is blocked on the link's input interface.
  bool WaitUntilReading(VirtualLink link, std::chrono::milliseconds timeout) const;
  // Handles open on the link's interfaces (all of them), and reads blocked
  // on interfaces that are not the link's input interface.
  int OpenHandles(VirtualLink link) const;
  int ReadsOffTheInputInterface() const;
  // The transfer log as text, one transfer per line.
  std::string LogText() const;

  struct Core;

 private:
  std::shared_ptr<Core> core_;
};

// The mouse on its cable among a keyboard's and another mouse's interfaces,
// online, for running the program without the real mouse.
std::shared_ptr<VirtualMouse> MakeDemoVirtualMouse(Clock& clock);

}  // namespace zeltra
