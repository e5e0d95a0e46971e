// State shared between the link on the user-interface thread and its
// listener threads. Private to device/.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/device_link.h"

namespace zeltra {

// One per link. Every field is guarded by `mutex`.
struct DeviceLink::Listener {
  std::mutex mutex;
  std::condition_variable ended;
  int busy = 0;           // a listener thread owns this link's input interface
  int run = 0;            // the read loop continues while 1
  bool stopping = false;  // shutdown: no new read loop may begin
  int inputIndex = 0;
  std::u16string inputPath;  // non-empty exactly while a listener may be reading
  HidHandle* reading = nullptr;  // the handle a read may be blocked on
};

struct DeviceLink::Mailbox {
  std::mutex mutex;
  std::deque<MouseReport> reports;
  LinkEventSink* events = nullptr;  // cleared at shutdown; a late listener then tells nothing

  void Post(const MouseReport& report) {
    // The sink is called under the lock so that shutdown cannot take it away
    // in between; it only wakes the user-interface thread, without waiting.
    std::lock_guard lock(mutex);
    if (!events) return;
    reports.push_back(report);
    events->OnLinkEvent(link_event::ReportsWaiting{});
  }
  std::deque<MouseReport> TakeAll() {
    std::lock_guard lock(mutex);
    return std::exchange(reports, {});
  }
};

struct DeviceLink::ScanContext {
  // An interface of the mouse's products that the probe opened.
  struct Candidate {
    int index = -1;        // member index
    bool input = false;    // its 33-byte input report can be read (opened ReadWrite)
    bool feature = false;  // it carries the 33-byte feature report
    // The probe's handle, kept until the scan ends so that the feature
    // handle or the listener take it instead of opening the interface again.
    std::unique_ptr<HidHandle> handle;
  };

  std::vector<HidInterfaceInfo> members;
  std::array<std::vector<Candidate>, 2> candidates;  // per LinkKind, in member order
  // What this scan chose per LinkKind; nothing when it found none.
  std::array<Candidate*, 2> input{};
  std::array<Candidate*, 2> feature{};

  const HidInterfaceInfo& Member(const Candidate& c) const { return members[static_cast<std::size_t>(c.index)]; }
};

}  // namespace zeltra
