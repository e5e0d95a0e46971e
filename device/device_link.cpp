// Discovery, device-change rules, the watchdog and the start-up check.
#include "device/device_link.h"

#include <algorithm>

#include "device/link_internal.h"

namespace zeltra {

namespace {

std::optional<LinkKind> KindOf(const HidIdentity& id) {
  if (id.vendor != kMouseVendorId) return std::nullopt;
  if (id.product == kCableProductId) return LinkKind::Cable;
  if (id.product == kReceiverProductId) return LinkKind::Receiver;
  return std::nullopt;
}

}  // namespace

DeviceLink::DeviceLink(std::shared_ptr<HidBackend> backend, Clock& clock, DeviceLinkHost& host,
                       LinkEventSink& events, LinkTimers& timers, DeviceKeyCodeFn deviceKeyCode)
    : backend_(std::move(backend)),
      clock_(clock),
      host_(host),
      events_(events),
      timers_(timers),
      deviceKeyCode_(deviceKeyCode) {
  for (auto& l : listeners_) l = std::make_shared<Listener>();
  mailbox_ = std::make_shared<Mailbox>();
  mailbox_->events = &events_;
}

DeviceLink::~DeviceLink() { Close(); }

void DeviceLink::Close() {
  StopListener(LinkKind::Cable);
  StopListener(LinkKind::Receiver);
  {
    std::lock_guard lock(mailbox_->mutex);
    mailbox_->events = nullptr;
  }
  cableHandle_.reset();
  receiverHandle_.reset();
}

void DeviceLink::InitStandby(int startInStandby) {
  standby_.active = startInStandby ? 0 : 1;
  standby_.mouseOnline = standby_.active;
  standby_.autoShown = 0;
  Tell(link_event::StandbyChanged{standby_.active});
}

void DeviceLink::StartUp() {
  RegisterDeviceNotifications();
  ReloadDeviceCaches();
  ScanDevices();
  if (anyPresent_ && initialReadPending_) {
    initialReadPending_ = 0;
    QueryStatus();
    Tell(link_event::Changed{});
  }
}

void DeviceLink::RegisterDeviceNotifications() {
  // Ending any listener leaves both busy flags clear without a second reader
  // ever sharing an interface with a first one.
  StopListener(LinkKind::Cable);
  StopListener(LinkKind::Receiver);
  cableHandle_.reset();
  receiverHandle_.reset();
  initialReadPending_ = 1;
  Tell(link_event::WatchingDevices{});
}

bool DeviceLink::ListenerBusy(LinkKind kind) const {
  Listener& l = ListenerOf(kind);
  std::lock_guard lock(l.mutex);
  return l.busy != 0;
}

std::u16string DeviceLink::InputPath(LinkKind kind) const {
  Listener& l = ListenerOf(kind);
  std::lock_guard lock(l.mutex);
  return l.inputPath;
}

int DeviceLink::InputIndex(LinkKind kind) const {
  Listener& l = ListenerOf(kind);
  std::lock_guard lock(l.mutex);
  return l.inputIndex;
}

void DeviceLink::ProbeInterface(ScanContext& scan, int memberIndex) {
  const HidInterfaceInfo& member = scan.members[static_cast<std::size_t>(memberIndex)];
  const std::optional<LinkKind> kind = KindOf(member.identity);
  if (!kind || member.path.empty() || released_.count(member.path)) return;
  // One interface may carry both reports: a Linux node is a whole USB
  // interface, and a collection may hold both.
  bool input = member.identity.inputReportLength == kReportLength;
  const bool feature = member.identity.featureReportLength == kReportLength;
  if (!input && !feature) return;
  auto handle = backend_->Open(member.path, input ? HidAccess::ReadWrite : HidAccess::FeatureOnly);
  ++stats_.opens;
  if (!handle && input && feature) {
    // The system keeps the collection for itself; its feature reports still pass.
    input = false;
    handle = backend_->Open(member.path, HidAccess::FeatureOnly);
    ++stats_.opens;
  }
  if (!handle) return;
  const HidIdentity id = handle->Identity();
  if (KindOf(id) != kind) return;
  ScanContext::Candidate candidate;
  candidate.index = memberIndex;
  candidate.input = input && id.inputReportLength == kReportLength;
  candidate.feature = feature && id.featureReportLength == kReportLength;
  if (!candidate.input && !candidate.feature) return;
  candidate.handle = std::move(handle);
  scan.candidates[static_cast<std::size_t>(*kind)].push_back(std::move(candidate));
}

void DeviceLink::ChooseInterfaces(LinkKind kind, ScanContext& scan) {
  const auto k = static_cast<std::size_t>(kind);
  auto& list = scan.candidates[k];
  LinkSide& side = SideOf(kind);
  auto unitOf = [&](const ScanContext::Candidate& c) -> const std::u16string& { return scan.Member(c).unit; };
  auto unitHasInput = [&](const std::u16string& unit) {
    return std::any_of(list.begin(), list.end(), [&](const auto& c) { return c.input && unitOf(c) == unit; });
  };
  ScanContext::Candidate* feature = nullptr;
  // The interface used so far, while it is there; otherwise the first unit
  // that has both interfaces, or at least a feature interface.
  for (auto& c : list)
    if (!feature && c.feature && !side.featurePath.empty() && scan.Member(c).path == side.featurePath) feature = &c;
  for (auto& c : list)
    if (!feature && c.feature && unitHasInput(unitOf(c))) feature = &c;
  for (auto& c : list)
    if (!feature && c.feature) feature = &c;
  // Input and feature of one unit, so that with two mice of this product
  // the listener hears the mouse the reports go to.
  ScanContext::Candidate* input = nullptr;
  for (auto& c : list)
    if (!input && feature && c.input && unitOf(c) == unitOf(*feature)) input = &c;
  scan.feature[k] = feature;
  scan.input[k] = input;
  side.present = feature ? 1 : 0;
  if (feature) {
    side.featureIndex = feature->index;
    side.featurePath = scan.Member(*feature).path;
  }
}

bool DeviceLink::ScanDevices() {
  anyPresent_ = cable_.present = receiver_.present = 0;
  ScanContext scan;
  scan.members = backend_->Enumerate();
  ++stats_.enumerations;
  // Only the mouse's own interfaces count towards the limit: a PC may have
  // hundreds of collections of other devices before them.
  int probed = 0;
  for (int i = 0; i < static_cast<int>(scan.members.size()) && probed < kMaxProbedMembers; ++i) {
    if (!KindOf(scan.members[static_cast<std::size_t>(i)].identity)) continue;
    ++probed;
    ProbeInterface(scan, i);
  }
  ChooseInterfaces(LinkKind::Cable, scan);
  ChooseInterfaces(LinkKind::Receiver, scan);
  if (cable_.present || receiver_.present) anyPresent_ = 1;
  ConnectLink(LinkKind::Cable, scan);
  ConnectLink(LinkKind::Receiver, scan);
  if (anyPresent_) timers_.StartLinkTimer(LinkTimer::Watchdog);
  pending_.buttonsPending = 1;
  pending_.settingsPending = 1;
  pending_.powerPending = 1;
  pending_.silentApply = 1;
  return timers_.StartLinkTimer(LinkTimer::Apply);
}

void DeviceLink::ConnectLink(LinkKind kind, ScanContext& scan) {
  LinkSide& side = SideOf(kind);
  auto& handle = HandleOf(kind);
  if (!side.present) {
    handle.reset();
    side.featurePath.clear();
    return;
  }
  StartListener(kind, scan);
  // Every scan takes a fresh handle: one kept from before may belong to an
  // interface that went away and came back under the same path (a re-plug
  // whose removal was not handled yet), and would fail every transfer.
  auto fresh = std::move(scan.feature[static_cast<std::size_t>(kind)]->handle);
  if (!fresh) {
    // The listener took the probe's handle of an interface that serves both.
    fresh = backend_->Open(side.featurePath, HidAccess::FeatureOnly);
    ++stats_.opens;
    if (fresh && KindOf(fresh->Identity()) != kind) fresh.reset();
  }
  if (fresh) handle = std::move(fresh);
}

bool DeviceLink::OnWatchdogTimer() {
  if (watchdogCounter_ < kWatchdogTrigger) {
    ++watchdogCounter_;
  } else {
    watchdogCounter_ = 0;
    if (cable_.present && !ListenerBusy(LinkKind::Cable)) {
      ScanDevices();
      watchdogCounter_ = kWatchdogAfterScan;
    }
    if (receiver_.present && !ListenerBusy(LinkKind::Receiver)) {
      ScanDevices();
      watchdogCounter_ = kWatchdogAfterScan;
    }
    if (standby_.active) QueryStatus();
  }
  return standby_.active != 0;
}

StartupNotice DeviceLink::StartupCheck() const {
  if (cableHandle_) return StartupNotice::None;
  if (receiverHandle_) return standby_.mouseOnline == 1 ? StartupNotice::None : StartupNotice::MouseOffline;
  return StartupNotice::NoDevice;
}

}  // namespace zeltra
