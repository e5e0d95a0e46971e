// A main window stand-in for the device tests: five profiles, a macro
// library, the timers and dialogs as counters, and a user-interface queue
// that the listeners post to.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <ostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/virtual_mouse.h"
#include "settings/dpi_table.h"
#include "settings/profile.h"
#include "support/test_support.h"

namespace zeltra::test {

// A profile at its factory defaults for sensor 0x3311.
ProfileRecord DefaultProfile();

// Hex text -> bytes, spaces ignored ("0C 01 07").
Bytes FromHex(std::string_view hex);
// A 33-byte frame from hex, padded with zeros; "ss" stands for the sequence byte given.
Bytes Frame(std::string_view hex, std::uint8_t sequence);

}  // namespace zeltra::test

namespace zeltra {
// Readable failure messages for the mouse's state.
void PrintTo(const VirtualMouseState& state, std::ostream* out);
}  // namespace zeltra

namespace zeltra::test {

// Polls `condition` until it holds (true) or `timeout` passed (false).
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Records what the link tells as the window would act on it: "refresh",
// "mouseState N", "active N", "show", "minimise", and counters.
class TestHost : public DeviceLinkHost, public LinkEventSink, public LinkTimers {
 public:
  TestHost();

  ProfileRecord& CurrentProfile() override { return profiles[static_cast<std::size_t>(current)]; }
  const DpiTable& CurrentDpiTable() override { return table; }
  const Macro* FindLibraryMacro(std::uint32_t index) override;
  bool MacroLibraryUnavailable() override { return libraryUnavailable; }
  void OnLinkEvent(const LinkEvent& event) override;
  bool StartLinkTimer(LinkTimer timer) override;

  // Adds a macro to the library (index = its MacroKeyIndex) and returns it.
  Macro& AddLibraryMacro(std::uint32_t index, int events, std::uint8_t loopType = 2, std::uint8_t loopNum = 1);
  // Puts a library macro on a button the way the assignment does.
  void AssignMacro(int slot, std::uint32_t index);

  // The user-interface loop: handles the posted messages (waiting up to
  // `timeout` for `count` of them).
  int PumpPosted(DeviceLink& link, int count, std::chrono::milliseconds timeout = std::chrono::seconds(5));

  std::array<ProfileRecord, kProfileCount> profiles;
  int current = 0;
  DpiTable table;
  std::vector<std::unique_ptr<Macro>> library;
  bool libraryUnavailable = false;

  int applyTimerStarts = 0;
  int watchdogTimerStarts = 0;
  int delayedSaves = 0;
  int progressDialogs = 0;
  int refreshes = 0;
  int quits = 0;
  int registrations = 0;
  bool deviceChangeTimer = false;  // off: the link acts on every broadcast at once
  int deviceChangeTimerStarts = 0;
  std::vector<int> sensorReports;
  std::vector<link_event::Status> statusReports;
  std::vector<std::string> events;
  // Checked inside OnMouseStateReported: what the profile and the link held then.
  DeviceLink* link = nullptr;
  std::vector<std::uint8_t> stageByteCachedAtNotification;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  int postedCount_ = 0;
};

// The window going into standby (0) or out of it (1), the rest as it is.
inline void SetActive(DeviceLink& link, int active) {
  StandbyState state = link.standby();
  state.active = active;
  link.SetStandby(state);
}

// A virtual clock, a virtual mouse and a link to it through a TestHost.
struct Rig {
  // `unrelatedBefore` extra unrelated interfaces come before the links.
  explicit Rig(bool cable = true, bool receiver = false, int unrelatedBefore = 0);
  ~Rig();
  // Reload the caches, scan, and run the apply the scan asked for.
  void Connect();
  // The frames written since the last call, as byte vectors.
  std::vector<Bytes> TakeWrites();

  VirtualClock clock;
  std::shared_ptr<VirtualMouse> mouse;
  TestHost host;
  std::unique_ptr<DeviceLink> link;
  std::size_t writesSeen = 0;
  // Tests that provoke the mouse's checks on purpose turn this off.
  bool expectNoViolations = true;
};

}  // namespace zeltra::test
