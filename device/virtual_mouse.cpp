#include "device/virtual_mouse.h"

#include <mutex>
#include <string>
#include <utility>

#include "device/virtual_mouse_core.h"

namespace zeltra {

namespace {

std::u16string Decimal(std::size_t n) {
  const std::string narrow = std::to_string(n);
  return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace

VirtualMouse::VirtualMouse(Clock& clock) : core_(std::make_shared<Core>(clock)) {}

VirtualMouse::~VirtualMouse() {
  // Wake anything still blocked on this mouse: its handles now fail.
  std::lock_guard lock(core_->mutex);
  for (auto& slot : core_->slots) {
    slot.present = false;
    ++slot.generation;
  }
  core_->changed.notify_all();
}

void VirtualMouse::AddUnrelatedInterface(HidIdentity identity, bool openable, std::u16string unit) {
  std::lock_guard lock(core_->mutex);
  Core::Slot slot;
  slot.path = u"\\\\?\\virtual#other#" + Decimal(core_->slots.size());
  slot.unit = unit.empty() ? slot.path : std::move(unit);
  slot.identity = identity;
  slot.openable = openable;
  core_->slots.push_back(std::move(slot));
}

void VirtualMouse::SetUnitPresent(const std::u16string& unit, bool present) {
  std::lock_guard lock(core_->mutex);
  for (auto& slot : core_->slots) {
    if (slot.link != -1 || slot.unit != unit || slot.present == present) continue;
    slot.present = present;
    slot.queryPending = false;
    ++slot.generation;
  }
  core_->changed.notify_all();
}

void VirtualMouse::SetInterfaces(VirtualLink link, std::vector<VirtualInterfaceSpec> interfaces) {
  std::lock_guard lock(core_->mutex);
  core_->specs[static_cast<std::size_t>(link)] = std::move(interfaces);
}

void VirtualMouse::Plug(VirtualLink link) {
  std::function<void(bool)> callback;
  {
    std::lock_guard lock(core_->mutex);
    const auto l = static_cast<std::size_t>(link);
    if (core_->plugged[l]) return;
    core_->plugged[l] = true;
    auto& owned = core_->linkSlots[l];
    const auto& specs = core_->specs[l];
    // Interfaces whose layout changed since the last plug are new ones.
    if (owned.size() != specs.size()) {
      for (int index : owned) core_->slots[static_cast<std::size_t>(index)].link = -2;  // retired
      owned.clear();
      for (std::size_t i = 0; i < specs.size(); ++i) {
        Core::Slot slot;
        slot.path = std::u16string(u"\\\\?\\virtual#") + (link == VirtualLink::Cable ? u"cable" : u"receiver") +
                    u"#" + Decimal(i);
        slot.link = static_cast<int>(l);
        slot.unit = std::u16string(link == VirtualLink::Cable ? u"cable" : u"receiver") + u"#1";
        slot.present = false;
        owned.push_back(static_cast<int>(core_->slots.size()));
        core_->slots.push_back(std::move(slot));
      }
    }
    for (std::size_t i = 0; i < owned.size(); ++i) {
      auto& slot = core_->slots[static_cast<std::size_t>(owned[i])];
      slot.identity = {kMouseVendorId, link == VirtualLink::Cable ? kCableProductId : kReceiverProductId,
                       specs[i].inputReportLength, specs[i].featureReportLength};
      slot.exclusive = specs[i].exclusive;
      slot.present = true;
      slot.queryPending = false;
      ++slot.generation;
    }
    callback = core_->onChange;
  }
  if (callback) callback(true);
}

void VirtualMouse::Unplug(VirtualLink link) {
  std::function<void(bool)> callback;
  {
    std::lock_guard lock(core_->mutex);
    const auto l = static_cast<std::size_t>(link);
    if (!core_->plugged[l]) return;
    core_->plugged[l] = false;
    for (int index : core_->linkSlots[l]) {
      auto& slot = core_->slots[static_cast<std::size_t>(index)];
      slot.present = false;
      ++slot.generation;
    }
    core_->changed.notify_all();
    callback = core_->onChange;
  }
  if (callback) callback(false);
}

bool VirtualMouse::IsPlugged(VirtualLink link) const {
  std::lock_guard lock(core_->mutex);
  return core_->plugged[static_cast<std::size_t>(link)];
}

void VirtualMouse::SetDeviceChangeCallback(std::function<void(bool)> callback) {
  std::lock_guard lock(core_->mutex);
  core_->onChange = std::move(callback);
}

std::vector<HidInterfaceInfo> VirtualMouse::Enumerate() {
  std::lock_guard lock(core_->mutex);
  ++core_->enumerations;
  core_->Log(TransferKind::Enumerate, -1, {}, true);
  std::vector<HidInterfaceInfo> out;
  for (const auto& slot : core_->slots)
    if (slot.present) out.push_back({slot.path, slot.identity, slot.unit});
  return out;
}


void VirtualMouse::PressDpiButton() {
  std::lock_guard lock(core_->mutex);
  auto& s = core_->state;
  const int count = s.stageByte & 0x0F;
  int position = s.stageByte >> 4;
  if (count > 0) position = position >= count ? 1 : position + 1;
  s.stageByte = static_cast<std::uint8_t>((position << 4) | count);
  core_->NotifyMouseState();
}

void VirtualMouse::ChangeReportRate(std::uint8_t rateCode) {
  std::lock_guard lock(core_->mutex);
  core_->state.rateCode = rateCode;
  core_->NotifyMouseState();
}

void VirtualMouse::SendInputReport(VirtualLink link, std::vector<std::uint8_t> report) {
  std::lock_guard lock(core_->mutex);
  core_->Deliver(static_cast<int>(link), std::move(report));
}

void VirtualMouse::SetBattery(std::uint8_t level, std::uint8_t chargeState) {
  std::lock_guard lock(core_->mutex);
  core_->status.batteryLevel = level;
  core_->status.chargeState = chargeState;
}

void VirtualMouse::SetOnline(bool online) {
  std::lock_guard lock(core_->mutex);
  core_->status.online = online;
}

void VirtualMouse::SetSensorNumber(std::uint8_t number) {
  std::lock_guard lock(core_->mutex);
  core_->status.sensorNumber = number;
}

void VirtualMouse::SetModelTag(std::array<std::uint8_t, 4> tag) {
  std::lock_guard lock(core_->mutex);
  core_->status.modelTag = tag;
}

void VirtualMouse::AnswerNotReady(int count) {
  std::lock_guard lock(core_->mutex);
  core_->notReady = count;
}

void VirtualMouse::FailCall(FaultOp op, int nth) {
  std::lock_guard lock(core_->mutex);
  core_->failCountdown[static_cast<std::size_t>(op)] = nth;
}

void VirtualMouse::StallCall(FaultOp op, int nth) {
  std::lock_guard lock(core_->mutex);
  core_->stallCountdown[static_cast<std::size_t>(op)] = nth;
}

void VirtualMouse::SetNextStatusFault(StatusFault fault) {
  std::lock_guard lock(core_->mutex);
  core_->statusFault = fault;
}

VirtualMouseState VirtualMouse::State() const {
  std::lock_guard lock(core_->mutex);
  core_->CloseUpload();
  return core_->state;
}

void VirtualMouse::SetState(const VirtualMouseState& state) {
  std::lock_guard lock(core_->mutex);
  core_->CloseUpload();
  core_->state = state;
}

void VirtualMouse::SetFactoryState(const VirtualMouseState& state) {
  std::lock_guard lock(core_->mutex);
  core_->factoryState = state;
}

void VirtualMouse::ForgetProgram() {
  std::lock_guard lock(core_->mutex);
  core_->CloseUpload();
  core_->lastSequence.reset();
  core_->lastWriteTime.reset();
}

VirtualStatus VirtualMouse::Status() const {
  std::lock_guard lock(core_->mutex);
  return core_->status;
}

std::vector<Transfer> VirtualMouse::Log() const {
  std::lock_guard lock(core_->mutex);
  return core_->log;
}

std::vector<Transfer> VirtualMouse::Writes() const {
  std::lock_guard lock(core_->mutex);
  std::vector<Transfer> out;
  for (const auto& t : core_->log)
    if (t.kind == TransferKind::SetFeature && t.ok && !t.lost && t.bytes.size() > 2 && t.bytes[2] != 0x20) out.push_back(t);
  return out;
}

void VirtualMouse::ClearLog() {
  std::lock_guard lock(core_->mutex);
  core_->log.clear();
}

void VirtualMouse::SetLogging(bool on) {
  std::lock_guard lock(core_->mutex);
  core_->logging = on;
}

std::vector<std::string> VirtualMouse::Violations() const {
  std::lock_guard lock(core_->mutex);
  core_->CloseUpload();
  return core_->violations;
}

int VirtualMouse::RedundantWrites() const {
  std::lock_guard lock(core_->mutex);
  core_->CloseUpload();
  return core_->redundant;
}

int VirtualMouse::Enumerations() const {
  std::lock_guard lock(core_->mutex);
  return core_->enumerations;
}

int VirtualMouse::Opens() const {
  std::lock_guard lock(core_->mutex);
  return core_->opens;
}

int VirtualMouse::FactoryResets() const {
  std::lock_guard lock(core_->mutex);
  return core_->factoryResets;
}

bool VirtualMouse::WaitUntilReading(VirtualLink link, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(core_->mutex);
  return core_->changed.wait_for(lock, timeout, [&] {
    const int slot = core_->InputSlot(static_cast<int>(link));
    for (const auto& h : core_->handles)
      if (h->slot == slot && h->blockedReads > 0 && core_->Valid(*h)) return true;
    return false;
  });
}

int VirtualMouse::OpenHandles(VirtualLink link) const {
  std::lock_guard lock(core_->mutex);
  int count = 0;
  for (const auto& h : core_->handles)
    if (core_->slots[static_cast<std::size_t>(h->slot)].link == static_cast<int>(link)) ++count;
  return count;
}

int VirtualMouse::ReadsOffTheInputInterface() const {
  std::lock_guard lock(core_->mutex);
  int count = 0;
  for (const auto& h : core_->handles) {
    const int link = core_->slots[static_cast<std::size_t>(h->slot)].link;
    if (h->blockedReads > 0 && (link < 0 || h->slot != core_->InputSlot(link))) ++count;
  }
  return count;
}

std::string VirtualMouse::LogText() const {
  std::lock_guard lock(core_->mutex);
  static const char* const kinds[] = {"enumerate", "open", "set", "get", "read"};
  static const char* const links[] = {"cable", "receiver"};
  std::string out;
  for (const auto& t : core_->log) {
    out.append(std::to_string(t.timeMs)).append(" ").append(kinds[static_cast<int>(t.kind)]).append(" ");
    out.append(t.link >= 0 && t.link < 2 ? links[t.link] : "-");
    if (!t.ok) out.append(" FAILED");
    if (t.redundant) out.append(" REDUNDANT");
    if (t.lost) out.append(" LOST");
    if (!t.bytes.empty()) out.append(" ").append(Core::HexBytes(t.bytes));
    out.append("\n");
  }
  return out;
}

std::shared_ptr<VirtualMouse> MakeDemoVirtualMouse(Clock& clock) {
  auto mouse = std::make_shared<VirtualMouse>(clock);
  mouse->AddUnrelatedInterface({0x1A2B, 0x0001, 9, 0});    // a keyboard
  mouse->AddUnrelatedInterface({0x1A2B, 0x0001, 2, 2});    // its system-control interface
  mouse->AddUnrelatedInterface({0x3C4D, 0x0010, 5, 0}, false);  // another mouse, held exclusively
  mouse->Plug(VirtualLink::Cable);
  return mouse;
}

}  // namespace zeltra
