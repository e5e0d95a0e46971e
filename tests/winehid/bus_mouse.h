// The virtual mouse behind the bus driver: the program's own model of the
// mouse and its receiver (device/virtual_mouse), reached through the HID
// devices the bus presents, and steered by command lines (those of
// device/virtual_mouse_control.h, and a stalled transfer of its own). Plain
// C++: the driver's kernel-facing side sees only this.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace zeltra {
class HidHandle;
class VirtualMouse;
class VirtualMouseControl;
class SystemClock;
}  // namespace zeltra

namespace zeltra::winehid {

inline constexpr int kLinkCount = 2;  // 0 the cable, 1 the receiver

enum class StalledTransfer { SetFeature = 0, GetFeature = 1 };
// How long "stall set-feature" (the program's own command, a transfer that
// never completes) holds a transfer in the drivers: the program gives up
// after a second; the transfer then still reaches the mouse, late.
inline constexpr int kStallWithoutEndMs = 10000;

// One link's interfaces on the mouse, for as long as the link stays plugged.
class LinkPort {
 public:
  LinkPort(std::unique_ptr<HidHandle> feature, std::unique_ptr<HidHandle> input);
  ~LinkPort();
  // False or -1 when the mouse did not take or answer the report.
  bool SetFeature(std::span<const std::uint8_t> report);
  long GetFeature(std::span<std::uint8_t> report);
  // Blocks for the next input report; -1 once the link is unplugged or the
  // read was cancelled.
  long Read(std::span<std::uint8_t> buffer);
  void CancelRead();

 private:
  std::unique_ptr<HidHandle> feature_;
  std::unique_ptr<HidHandle> input_;
};

class BusMouse {
 public:
  // `topologyChanged` runs (on the thread of the command) after the cable
  // or the receiver was plugged or unplugged.
  explicit BusMouse(std::function<void()> topologyChanged);
  ~BusMouse();
  BusMouse(const BusMouse&) = delete;
  BusMouse& operator=(const BusMouse&) = delete;

  bool Plugged(int link) const;
  // Opens the link's interfaces; nothing when it is not plugged.
  std::unique_ptr<LinkPort> Open(int link);

  // Runs one command line: those of the program's command file, and
  //   stall set-feature|get-feature [MS]  the next such transfer takes MS
  //                                     ms (without: kStallWithoutEndMs, far
  //                                     beyond what the program waits)
  //   check                             fails with the first of the mouse's
  //                                     rules that what it got since it
  //                                     started over broke (frame layout,
  //                                     sequence, 60 ms between writes ...)
  // Empty when done, otherwise why not.
  std::string Command(std::string_view line);
  // Brings the mouse back to how the driver starts it (the cable alone,
  // online, factory state, a program yet to talk to it) and follows `file`
  // from its start.
  std::string Follow(const std::filesystem::path& file);
  // The milliseconds to stall the next transfer of this kind; zero once taken.
  int TakeStall(StalledTransfer kind);

 private:
  void Reset();

  std::unique_ptr<SystemClock> clock_;
  std::shared_ptr<VirtualMouse> mouse_;
  std::mutex mutex_;  // stall_, violationsBefore_
  int stall_[2] = {0, 0};
  std::size_t violationsBefore_ = 0;  // broken rules from before the start over
  std::mutex followMutex_;  // control_: one Follow at a time
  std::unique_ptr<VirtualMouseControl> control_;
};

}  // namespace zeltra::winehid
