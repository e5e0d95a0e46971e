// The virtual mouse's handles: every transfer checked against the model,
// logged, and failed as the HID stack would fail it.
#include <algorithm>
#include <mutex>
#include <vector>

#include "device/virtual_mouse_core.h"

namespace zeltra {

namespace {

constexpr std::size_t kFrame = VirtualMouse::Core::kFrame;

// Why the calling thread's last call on a handle failed.
thread_local HidError tLastError;

HidError Failure(std::uint32_t code) { return {HidError::Kind::System, code}; }

class VirtualHandle final : public HidHandle {
 public:
  VirtualHandle(std::shared_ptr<VirtualMouse::Core> core, std::shared_ptr<VirtualMouse::Core::OpenHandle> handle)
      : core_(std::move(core)), h_(std::move(handle)) {}
  ~VirtualHandle() override {
    std::lock_guard lock(core_->mutex);
    core_->handles.remove(h_);
    core_->changed.notify_all();
  }

  HidIdentity Identity() override {
    std::lock_guard lock(core_->mutex);
    return core_->Valid(*h_) ? core_->slots[static_cast<std::size_t>(h_->slot)].identity : HidIdentity{};
  }

  bool SetFeature(std::span<const std::uint8_t> report) override {
    std::unique_lock lock(core_->mutex);
    auto& slot = core_->slots[static_cast<std::size_t>(h_->slot)];
    Transfer t{core_->clock.NowMs(), TransferKind::SetFeature, slot.link, {report.begin(), report.end()}, true, false};
    const bool failed = core_->Fail(FaultOp::SetFeature);
    const bool stalled = !failed && core_->Stall(FaultOp::SetFeature);
    if (failed || stalled || !Usable(slot)) {
      if (failed) tLastError = Failure(kVirtualErrorFailed);
      t.ok = false;
      // A lost report still took its sequence number: the next one follows it.
      if (report.size() == kFrame) core_->lastSequence = report[4];
      if (stalled) GiveUp(lock);
    } else if (report.size() != kFrame) {
      core_->Violation("feature report of " + std::to_string(report.size()) + " bytes");
    } else {
      core_->Receive(slot, report.data(), t);
    }
    const bool ok = t.ok;
    if (core_->logging) core_->log.push_back(std::move(t));
    return ok;
  }

  long GetFeature(std::span<std::uint8_t> report) override {
    std::unique_lock lock(core_->mutex);
    const int link = core_->slots[static_cast<std::size_t>(h_->slot)].link;
    long got = -1;
    if (core_->Fail(FaultOp::GetFeature)) {
      tLastError = Failure(kVirtualErrorFailed);
    } else if (core_->Stall(FaultOp::GetFeature)) {
      GiveUp(lock);  // the slots may move meanwhile: only `link` is used after it
    } else if (auto& slot = core_->slots[static_cast<std::size_t>(h_->slot)]; Usable(slot)) {
      got = core_->StatusReply(slot, report);
      if (got < 0) tLastError = Failure(kVirtualErrorFailed);
    }
    core_->Log(TransferKind::GetFeature, link,
               got > 0 ? std::vector<std::uint8_t>(report.begin(), report.begin() + got) : std::vector<std::uint8_t>{},
               got >= 0);
    return got;
  }

  long Read(std::span<std::uint8_t> buffer) override {
    std::unique_lock lock(core_->mutex);
    const int link = core_->slots[static_cast<std::size_t>(h_->slot)].link;
    if (core_->Fail(FaultOp::Read) || h_->access != HidAccess::ReadWrite) {
      tLastError = Failure(h_->access == HidAccess::ReadWrite ? kVirtualErrorFailed : kVirtualErrorDenied);
      core_->Log(TransferKind::Read, link, {}, false);
      return -1;
    }
    ++h_->blockedReads;
    core_->changed.notify_all();
    core_->changed.wait(lock, [&] { return !core_->Valid(*h_) || h_->cancelled || !h_->inputs.empty(); });
    --h_->blockedReads;
    if (!core_->Valid(*h_) || h_->cancelled) {
      tLastError = Failure(h_->cancelled ? kVirtualErrorCancelled : kVirtualErrorGone);
      core_->Log(TransferKind::Read, link, {}, false);
      return -1;
    }
    std::vector<std::uint8_t> report = std::move(h_->inputs.front());
    h_->inputs.pop_front();
    const std::size_t length = std::min(report.size(), buffer.size());
    std::copy_n(report.begin(), length, buffer.begin());
    core_->Log(TransferKind::Read, link, std::move(report), true);
    return static_cast<long>(length);
  }

  void CancelRead() override {
    std::lock_guard lock(core_->mutex);
    h_->cancelled = true;
    core_->changed.notify_all();
  }

  HidError LastError() const override { return tLastError; }

 private:
  // A feature transfer can go through: the interface is still there and
  // carries feature reports. Otherwise the reason is the last error.
  bool Usable(const VirtualMouse::Core::Slot& slot) const {
    if (!core_->Valid(*h_)) {
      tLastError = Failure(kVirtualErrorGone);
      return false;
    }
    if (slot.identity.featureReportLength < kFrame) {
      tLastError = Failure(kVirtualErrorFailed);
      return false;
    }
    return true;
  }

  // A transfer the device never completes: the stack waits out its limit
  // (without holding the mouse, so that its other threads go on) and fails it.
  void GiveUp(std::unique_lock<std::mutex>& lock) const {
    lock.unlock();
    core_->clock.SleepMs(kFeatureTimeoutMs);
    lock.lock();
    tLastError = {HidError::Kind::Timeout, 0};
  }

  std::shared_ptr<VirtualMouse::Core> core_;
  std::shared_ptr<VirtualMouse::Core::OpenHandle> h_;
};

}  // namespace

std::unique_ptr<HidHandle> VirtualMouse::Open(const std::u16string& path, HidAccess access) {
  std::lock_guard lock(core_->mutex);
  ++core_->opens;
  int found = -1;
  for (std::size_t i = 0; i < core_->slots.size(); ++i)
    if (core_->slots[i].present && core_->slots[i].path == path) found = static_cast<int>(i);
  const int link = found >= 0 ? core_->slots[static_cast<std::size_t>(found)].link : -1;
  const bool fail = core_->Fail(FaultOp::Open);
  const Core::Slot* slot = found >= 0 ? &core_->slots[static_cast<std::size_t>(found)] : nullptr;
  if (fail || !slot || !slot->openable || (slot->exclusive && access == HidAccess::ReadWrite)) {
    core_->Log(TransferKind::Open, link, {}, false);
    return nullptr;
  }
  auto h = std::make_shared<Core::OpenHandle>();
  h->slot = found;
  h->access = access;
  h->generation = core_->slots[static_cast<std::size_t>(found)].generation;
  core_->handles.push_back(h);
  core_->Log(TransferKind::Open, link, {}, true);
  return std::make_unique<VirtualHandle>(core_, std::move(h));
}

}  // namespace zeltra
