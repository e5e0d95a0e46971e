// Discovery, device-change rules, the watchdog and the start-up check.
#include "device/device_link.h"

#include <algorithm>

#include "device/link_internal.h"
#include "settings/text_format.h"

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
                       DeviceKeyCodeFn deviceKeyCode)
    : backend_(std::move(backend)), clock_(clock), host_(host), deviceKeyCode_(deviceKeyCode) {
  for (auto& l : listeners_) l = std::make_shared<Listener>();
  mailbox_ = std::make_shared<Mailbox>();
  mailbox_->host = &host_;
}

DeviceLink::~DeviceLink() { Close(); }

void DeviceLink::Close() {
  StopListener(LinkKind::Cable);
  StopListener(LinkKind::Receiver);
  {
    std::lock_guard lock(mailbox_->mutex);
    mailbox_->host = nullptr;
  }
  cableHandle_.reset();
  receiverHandle_.reset();
}

void DeviceLink::InitStandby(int startInStandby) {
  standby_.active = startInStandby ? 0 : 1;
  standby_.mouseOnline = standby_.active;
  standby_.autoShown = 0;
  host_.OnStandbyChanged(standby_.active);
}

void DeviceLink::StartUp() {
  RegisterDeviceNotifications();
  ReloadDeviceCaches();
  ScanDevices();
  if (anyPresent_ && initialReadPending_) {
    initialReadPending_ = 0;
    QueryStatus();
    host_.RefreshControls();
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
  host_.RegisterHidNotifications();
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
  const HidInterfaceInfo* member = scan.Member(memberIndex);
  if (!member || member->path.empty()) return;
  // Only an interface of the mouse or the receiver with a 33-byte input or
  // feature report can change anything; the others are not opened at all.
  const HidIdentity& listed = member->identity;
  if (!KindOf(listed) || (listed.inputReportLength != kReportLength && listed.featureReportLength != kReportLength))
    return;
  auto handle = backend_->Open(member->path);
  ++stats_.opens;
  if (!handle) return;
  const HidIdentity id = handle->Identity();
  if (const auto kind = KindOf(id)) {
    if (id.inputReportLength == kReportLength) {
      Listener& l = ListenerOf(*kind);
      std::lock_guard lock(l.mutex);
      if (l.inputPath.empty()) {
        l.inputIndex = memberIndex;
        l.inputPath = member->path;
      }
    } else if (id.featureReportLength == kReportLength) {
      LinkSide& side = SideOf(*kind);
      if (side.featurePath.empty()) {
        side.present = 1;
        side.featureIndex = memberIndex;
        side.featurePath = member->path;
      } else if (side.featurePath == member->path) {
        side.present = 1;
      }
    }
  }
  scan.opened[static_cast<std::size_t>(memberIndex)] = std::move(handle);
}

bool DeviceLink::ScanDevices() {
  anyPresent_ = cable_.present = receiver_.present = 0;
  ScanContext scan;
  scan.members = backend_->Enumerate();
  ++stats_.enumerations;
  const int probed = std::min<int>(static_cast<int>(scan.members.size()), kMaxProbedMembers);
  scan.opened.resize(static_cast<std::size_t>(probed));
  for (int i = 0; i < probed; ++i) ProbeInterface(scan, i);
  if (cable_.present || receiver_.present) anyPresent_ = 1;
  ConnectLink(LinkKind::Cable, scan);
  ConnectLink(LinkKind::Receiver, scan);
  if (anyPresent_) host_.StartWatchdogTimer();
  pending_.buttonsPending = 1;
  pending_.settingsPending = 1;
  pending_.powerPending = 1;
  pending_.silentApply = 1;
  return host_.StartApplyTimer();
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
  if (handle) return;
  const HidInterfaceInfo* member = scan.Member(side.featureIndex);
  if (!member) return;
  auto candidate = scan.Take(side.featureIndex);
  if (!candidate && KindOf(member->identity) == kind && !member->path.empty()) {
    candidate = backend_->Open(member->path);
    ++stats_.opens;
  }
  // The interface at the remembered index may belong to another device now.
  if (candidate && KindOf(candidate->Identity()) == kind) handle = std::move(candidate);
}

void DeviceLink::OnDeviceChange(std::uintptr_t event) {
  if (event == kDeviceArrival)
    OnDeviceArrival();
  else if (event == kDeviceRemoveComplete)
    OnDeviceRemovalComplete();
}

void DeviceLink::OnDeviceArrival() {
  // Any HID arrival in the system lands here; a complete set of links is
  // not re-scanned.
  if (receiver_.present && cable_.present) return;
  ScanDevices();
  watchdogCounter_ = kWatchdogAfterScan;
  if (anyPresent_ && initialReadPending_) {
    initialReadPending_ = 0;
    QueryStatus();
    host_.RefreshControls();
  }
  host_.RefreshControls();
}

void DeviceLink::OnDeviceRemovalComplete() {
  if (!receiver_.present && !cable_.present) return;
  ScanDevices();
  watchdogCounter_ = kWatchdogAfterScan;
  if (!anyPresent_) {
    initialReadPending_ = 1;
    standby_.active = 0;
    host_.OnStandbyChanged(0);
    host_.QuitOnDeviceRemoval();
  }
}

std::optional<BatteryDisplay> DeviceLink::OnWatchdogTimer() {
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
  if (!standby_.active) return std::nullopt;
  return BatteryTick();
}

std::optional<BatteryDisplay> DeviceLink::BatteryTick() {
  if (batteryLevel_ > 100) batteryLevel_ = 0;
  batteryAnimationStep_ += 25;
  if (batteryAnimationStep_ > 100) batteryAnimationStep_ = 25;
  BatteryDisplay display;
  display.level = batteryLevel_;
  display.chargeState = chargeState_;
  display.animationStep = batteryAnimationStep_;
  display.text = Dec(batteryLevel_) + u"%";
  display.textVisible = chargeState_ != 1;
  return display;
}

BatteryChange CompareBatteryDisplays(const BatteryDisplay& shown, const BatteryDisplay& next) {
  BatteryChange change;
  if (shown.chargeState != next.chargeState) {
    change.gauge = true;
  } else if (next.chargeState == 1) {
    change.gauge = shown.animationStep != next.animationStep;
  } else if (next.chargeState != 2) {
    change.gauge = shown.level != next.level;
  }
  change.text = shown.textVisible != next.textVisible || (next.textVisible && shown.text != next.text);
  return change;
}

StartupNotice DeviceLink::StartupCheck() const {
  if (cableHandle_) return StartupNotice::None;
  if (receiverHandle_) return standby_.mouseOnline == 1 ? StartupNotice::None : StartupNotice::MouseOffline;
  return StartupNotice::NoDevice;
}

}  // namespace zeltra
