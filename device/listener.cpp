// The listener threads: one per link, blocked on the link's input interface,
// handing every DPI-stage or report-rate notification to the user-interface
// thread. Nothing here touches the profile, the caches or the window.
#include <algorithm>
#include <chrono>
#include <vector>

#include "device/device_link.h"
#include "device/link_internal.h"
#include "settings/key_tables.h"

namespace zeltra {

// The thread entry. Everything it touches is shared-owned, so a listener
// that outlives its link (a read the platform would not cancel) stays safe.
void DeviceLink::RunListener(std::shared_ptr<HidBackend> backend, std::shared_ptr<Listener> self,
                             std::shared_ptr<Mailbox> mailbox, std::unique_ptr<HidHandle> handle,
                             std::u16string path, std::uint16_t product) {
  backend->OnListenerThreadStart();
  if (!handle && !path.empty()) handle = backend->Open(path, HidAccess::ReadWrite);
  if (handle) {
    const HidIdentity id = handle->Identity();
    // Only the link's input interface: another collection of the product
    // (its mouse or keyboard part) never carries report 5.
    if (id.vendor == kMouseVendorId && id.product == product && id.inputReportLength == kReportLength) {
      std::vector<std::uint8_t> buffer(std::max<std::size_t>(id.inputReportLength, 1), 0xFF);
      buffer[0] = kInputReportId;
      bool go = false;
      {
        std::lock_guard lock(self->mutex);
        go = !self->stopping;
        if (go) {
          self->run = 1;
          self->reading = handle.get();
        }
      }
      while (go) {
        const long got = handle->Read(buffer);
        if (got < 0) break;
        const auto length = std::min(static_cast<std::size_t>(got), buffer.size());
        if (const auto report = DecodeInputReport(std::span(buffer.data(), length))) mailbox->Post(*report);
        std::lock_guard lock(self->mutex);
        go = self->run == 1 && !self->stopping;
      }
      std::lock_guard lock(self->mutex);
      self->reading = nullptr;
    }
  }
  handle.reset();
  {
    std::lock_guard lock(self->mutex);
    self->busy = 0;
    self->inputPath.clear();
  }
  self->ended.notify_all();
}

void DeviceLink::StartListener(LinkKind kind, ScanContext& scan) {
  const auto k = static_cast<std::size_t>(kind);
  Listener& l = *listeners_[k];
  // Only on an input interface this very scan found: an index or path of an
  // earlier scan may name another interface by now (the input interface of
  // a device still arriving may not be there yet).
  ScanContext::Candidate* input = scan.input[k];
  if (!input) return;
  const std::u16string path = scan.Member(*input).path;
  {
    std::lock_guard lock(l.mutex);
    if (l.busy) return;  // one listener per link
    l.busy = 1;
    l.stopping = false;
    l.inputIndex = input->index;
    l.inputPath = path;
  }
  // A previous listener of this link has cleared its busy flag and is
  // returning; collect its thread before starting the next.
  if (threads_[k].joinable()) threads_[k].join();
  threads_[k] = std::thread(RunListener, backend_, listeners_[k], mailbox_, std::move(input->handle), path,
                            kind == LinkKind::Cable ? kCableProductId : kReceiverProductId);
}

void DeviceLink::StopListener(LinkKind kind) {
  const auto k = static_cast<std::size_t>(kind);
  Listener& l = *listeners_[k];
  {
    std::unique_lock lock(l.mutex);
    l.stopping = true;
    l.run = 0;
    // A cancel can slip in just before the read starts; repeat it until the
    // thread has gone, and give up waiting after two seconds.
    for (int attempt = 0; l.busy && attempt < 40; ++attempt) {
      if (l.reading) l.reading->CancelRead();
      l.ended.wait_for(lock, std::chrono::milliseconds(50), [&] { return l.busy == 0; });
    }
    if (l.busy) {
      // The platform would not give the read back; the thread keeps only
      // shared state alive and ends with the process.
      if (threads_[k].joinable()) threads_[k].detach();
      return;
    }
  }
  if (threads_[k].joinable()) threads_[k].join();
}

void DeviceLink::DeliverMouseReports() {
  for (const MouseReport& report : mailbox_->TakeAll()) {
    ProfileRecord& profile = host_.CurrentProfile();
    const int stage = report.stagePosition - 1;
    profile.CurrentDPILevelValue = static_cast<std::uint8_t>(stage);
    profile.PollingRateValue = {static_cast<std::uint8_t>(report.rateIndex), 0, 0};
    profile.PollingRateName = ReportRateName(report.rateIndex);
    Tell(link_event::MouseReport{stage, report.rateIndex});
    // The mouse changed only its stage or rate. Its power-saving and wake-up
    // values are still the ones last sent, which after a profile switch need
    // not be this profile's: keep them, so the switch's values still go out
    // with the next edit or scan and nothing is re-sent needlessly.
    const auto power = caches_.power;
    const auto wake = caches_.wake;
    const int buttonsPending = pending_.buttonsPending;
    ReloadDeviceCaches();
    caches_.power = power;
    caches_.wake = wake;
    // The reload bound the macro buttons anew (a deleted macro's button is
    // disabled): show it.
    if (pending_.buttonsPending != buttonsPending) Tell(link_event::Changed{});
    if (pending_.settingsPending) {
      // The reload kept the settings' caches for the edit still to be sent,
      // but the stage and the rate the mouse reported are in it already.
      caches_.rate = EncodeRateCode(profile);
      const std::uint8_t stageByte = EncodeDpi(profile, host_.CurrentDpiTable())[0];
      caches_.dpi[0] = static_cast<std::uint8_t>((stageByte & 0xF0) | (caches_.dpi[0] & 0x0F));
    }
  }
}

}  // namespace zeltra
