// State shared between the link on the user-interface thread and its
// listener threads. Private to device/.
#pragma once

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
  DeviceLinkHost* host = nullptr;  // cleared at shutdown; a late listener then posts nothing

  void Post(const MouseReport& report) {
    // The host is called under the lock so that shutdown cannot take it away
    // in between; posting a window message does not wait for the window.
    std::lock_guard lock(mutex);
    if (!host) return;
    reports.push_back(report);
    host->PostMouseStateChanged();
  }
  std::deque<MouseReport> TakeAll() {
    std::lock_guard lock(mutex);
    return std::exchange(reports, {});
  }
};

struct DeviceLink::ScanContext {
  std::vector<HidInterfaceInfo> members;
  // Handles opened by the probes, by member index, kept until the scan ends
  // so that the feature handle and the listener reuse them instead of
  // opening the interface a second time.
  std::vector<std::unique_ptr<HidHandle>> opened;

  std::unique_ptr<HidHandle> Take(int index) {
    if (index < 0 || index >= static_cast<int>(opened.size())) return nullptr;
    return std::move(opened[static_cast<std::size_t>(index)]);
  }
  const HidInterfaceInfo* Member(int index) const {
    if (index < 0 || index >= static_cast<int>(members.size())) return nullptr;
    return &members[static_cast<std::size_t>(index)];
  }
};

}  // namespace zeltra
