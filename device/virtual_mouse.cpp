#include "device/virtual_mouse.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <span>
#include <utility>

namespace zeltra {

namespace {

constexpr std::size_t kFrame = kReportLength;
constexpr int kWriteSpacingMs = 60;
constexpr int kStatusWaitMs = 10;
constexpr std::uint8_t kFeatureId = 0x0C;

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char cell[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(cell, sizeof cell, i ? " %02X" : "%02X", bytes[i]);
    out += cell;
  }
  return out;
}

std::u16string Decimal(std::size_t n) {
  const std::string narrow = std::to_string(n);
  return std::u16string(narrow.begin(), narrow.end());
}

// The lighting length the mouse expects for a mode (mode 2: by its colour count).
int LightingLength(int mode, int colourCount) {
  switch (mode) {
    case 1: return 3;
    case 2: return 3 + 3 * colourCount;
    case 3: return 5;
    case 6: return 23;
    case 7: return 8;
    default: return 2;
  }
}

}  // namespace

struct VirtualMouse::Core {
  explicit Core(Clock& c) : clock(c) {}

  struct Slot {
    std::u16string path;
    HidIdentity identity;
    int link = -1;
    bool openable = true;
    bool present = true;
    std::uint64_t generation = 0;
    bool queryPending = false;
    std::int64_t queryTime = 0;
  };
  struct OpenHandle {
    int slot = 0;
    std::uint64_t generation = 0;
    std::deque<std::vector<std::uint8_t>> inputs;
    bool cancelled = false;
    int blockedReads = 0;
  };
  struct Upload {
    bool active = false;
    int slot = 0;
    int received = 0;
    int countNibble = 0;
    bool lastFull = false;
    std::vector<std::uint8_t> before;
  };

  Clock& clock;
  mutable std::mutex mutex;
  mutable std::condition_variable changed;

  std::vector<Slot> slots;
  std::array<std::vector<VirtualInterfaceSpec>, 2> specs{
      std::vector<VirtualInterfaceSpec>{{33, 0}, {0, 33}}, std::vector<VirtualInterfaceSpec>{{33, 0}, {0, 33}}};
  std::array<std::vector<int>, 2> linkSlots;
  std::array<bool, 2> plugged{};
  std::list<std::shared_ptr<OpenHandle>> handles;
  std::function<void(bool)> onChange;

  VirtualMouseState state;
  VirtualMouseState factoryState;
  VirtualStatus status;
  int notReady = 0;
  StatusFault statusFault = StatusFault::None;
  std::array<int, 4> failCountdown{};

  std::vector<Transfer> log;
  bool logging = true;
  std::vector<std::string> violations;
  int redundant = 0;
  int enumerations = 0;
  int opens = 0;
  int factoryResets = 0;
  std::optional<int> lastSequence;
  std::optional<std::int64_t> lastWriteTime;
  Upload upload;

  // ---- helpers, all called with the mutex held ----

  bool Valid(const OpenHandle& h) const {
    const Slot& s = slots[static_cast<std::size_t>(h.slot)];
    return s.present && s.generation == h.generation;
  }

  bool Fail(FaultOp op) {
    int& countdown = failCountdown[static_cast<std::size_t>(op)];
    if (countdown <= 0) return false;
    return --countdown == 0;
  }

  void Violation(std::string text) { violations.push_back("t=" + std::to_string(clock.NowMs()) + ": " + std::move(text)); }

  void CloseUpload() {
    if (!upload.active) return;
    upload.active = false;
    if ((upload.received & 0x0F) != upload.countNibble)
      Violation("macro upload of " + std::to_string(upload.received) + " packets announced " +
                std::to_string(upload.countNibble));
    if (state.macros[static_cast<std::size_t>(upload.slot)] == upload.before) ++redundant;
  }

  int InputSlot(int link) const {
    for (int index : linkSlots[static_cast<std::size_t>(link)]) {
      const Slot& s = slots[static_cast<std::size_t>(index)];
      if (s.present && s.identity.inputReportLength == kFrame) return index;
    }
    return -1;
  }

  void Deliver(int link, std::vector<std::uint8_t> report) {
    const int slot = InputSlot(link);
    if (slot < 0) return;
    for (auto& h : handles)
      if (h->slot == slot && Valid(*h)) h->inputs.push_back(report);
    changed.notify_all();
  }

  // The link the mouse talks through: the cable when it is in.
  int MouseLink() const {
    if (plugged[0]) return 0;
    if (plugged[1]) return 1;
    return -1;
  }

  void NotifyMouseState() {
    const int link = MouseLink();
    if (link < 0) return;
    std::vector<std::uint8_t> report(kFrame, 0);
    report[0] = 5;
    report[1] = 6;
    report[3] = state.rateCode;
    report[4] = static_cast<std::uint8_t>(state.stageByte >> 4);
    Deliver(link, std::move(report));
  }

  void CheckUnused(const std::uint8_t* r, std::size_t from, const char* what) {
    for (std::size_t i = from; i < kFrame; ++i) {
      if (r[i] != 0) {
        Violation(std::string(what) + ": byte " + std::to_string(i) + " beyond the payload is not zero");
        return;
      }
    }
  }

  bool Expect(bool condition, const std::string& text) {
    if (!condition) Violation(text);
    return condition;
  }

  // A single-report write: parameter 1 and the given payload length.
  bool CheckWrite(const std::uint8_t* r, int length, const char* what) {
    const bool ok = Expect(r[5] == 0x01, std::string(what) + ": parameter byte is not 01") &&
                    Expect(r[6] == length, std::string(what) + ": length " + std::to_string(r[6]) + ", expected " +
                                               std::to_string(length));
    CheckUnused(r, 7 + static_cast<std::size_t>(length), what);
    return ok;
  }

  void MacroPacket(const std::uint8_t* r) {
    const int index = r[5] >> 4;
    const int count = r[5] & 0x0F;
    const int length = r[6];
    const int slot = r[7];
    if (!Expect(length >= 1 && length <= 26, "macro packet length " + std::to_string(length)) ||
        !Expect(slot >= 1 && slot <= 6, "macro packet for slot " + std::to_string(slot)))
      return;
    const int chunk = length - 1;
    CheckUnused(r, 8 + static_cast<std::size_t>(chunk), "macro packet");
    // Packet indexes wrap at 16; a packet continues the upload when it is
    // the next one of the same slot and the previous chunk was full.
    const bool continues = upload.active && upload.slot == slot && upload.countNibble == count && upload.lastFull &&
                           upload.received > 0 && index == (upload.received & 0x0F);
    if (!continues) {
      CloseUpload();
      if (!Expect(index == 0, "macro packet " + std::to_string(index) + " without the packets before it")) return;
      upload = Upload{true, slot, 0, count, false, state.macros[static_cast<std::size_t>(slot)]};
      state.macros[static_cast<std::size_t>(slot)].clear();
    }
    auto& bytes = state.macros[static_cast<std::size_t>(slot)];
    bytes.insert(bytes.end(), r + 8, r + 8 + chunk);
    ++upload.received;
    upload.lastFull = chunk == 25;
    if (!upload.lastFull) CloseUpload();
  }

  // Checks one feature report and applies it when its layout is right.
  void Receive(Slot& slot, const std::uint8_t* r, Transfer& t) {
    const std::int64_t now = clock.NowMs();
    if (!Expect(r[0] == kFeatureId && r[1] == 0x01 && r[3] == 0x00, "frame header " + HexBytes({r[0], r[1], r[2], r[3]})))
      return;
    if (lastSequence && r[4] != ((*lastSequence + 1) & 0xFF))
      Violation("sequence " + std::to_string(r[4]) + " after " + std::to_string(*lastSequence));
    lastSequence = r[4];
    const std::uint8_t command = r[2];
    if (command == 0x20) {
      Expect(r[5] == 0 && r[6] == 0, "status query with parameter or length");
      CheckUnused(r, 7, "status query");
      slot.queryPending = true;
      slot.queryTime = now;
      return;
    }
    if (command == 0x0F) {
      if (CheckWrite(r, 1, "factory reset") && Expect(r[7] == 0xFF, "factory reset without FF")) {
        CloseUpload();
        state = factoryState;
        ++factoryResets;
      }
      return;
    }
    if (command < 0x04 || command > 0x0E || command == 0x0D) {
      Violation("unknown command " + std::to_string(command));
      return;
    }
    if (lastWriteTime && now - *lastWriteTime < kWriteSpacingMs)
      Violation("write " + std::to_string(now - *lastWriteTime) + " ms after the previous one");
    lastWriteTime = now;
    if (command == 0x0E) {
      MacroPacket(r);
      return;
    }
    CloseUpload();
    const VirtualMouseState before = state;
    switch (command) {
      case 0x04:
        if (CheckWrite(r, 4, "button") && Expect(r[7] <= 5, "button position " + std::to_string(r[7])))
          state.buttons[r[7]] = {r[8], r[9], r[10]};
        break;
      case 0x05:
        if (CheckWrite(r, 0x12, "DPI") && Expect(!r[21] && !r[22] && !r[23] && !r[24], "DPI bytes 21..24 not zero")) {
          state.stageByte = r[7];
          state.dpiMask = r[8];
          for (std::size_t i = 0; i < 6; ++i)
            state.dpiCodes[i] = static_cast<std::uint16_t>(r[9 + i * 2] | (r[10 + i * 2] << 8));
        }
        break;
      case 0x06:
        if (CheckWrite(r, 0x18, "DPI colours"))
          for (std::size_t i = 0; i < 8; ++i) state.dpiColours[i] = {r[7 + i * 3], r[8 + i * 3], r[9 + i * 3]};
        break;
      case 0x07:
        if (CheckWrite(r, 1, "report rate") &&
            Expect(r[7] == 8 || r[7] == 4 || r[7] == 2 || r[7] == 1, "report rate code " + std::to_string(r[7])))
          state.rateCode = r[7];
        break;
      case 0x08: {
        const int length = LightingLength(r[7], r[9]);
        if (Expect(length <= 26, "lighting colour count " + std::to_string(r[9])) && CheckWrite(r, length, "lighting"))
          state.lighting.assign(r + 7, r + 7 + length);
        break;
      }
      case 0x09:
        if (CheckWrite(r, 2, "lift-off") && Expect((r[7] == 1 || r[7] == 2) && r[8] == 0, "lift-off value"))
          state.liftOff = r[7];
        break;
      case 0x0A:
        if (CheckWrite(r, 1, "debounce")) state.debounce = r[7];
        break;
      case 0x0B:
        if (CheckWrite(r, 2, "power saving")) {
          state.powerDownTime = r[7];
          state.moveLighting = r[8];
        }
        break;
      case 0x0C:
        if (CheckWrite(r, 1, "motion wake-up")) state.motionWakeup = r[7];
        break;
      default:
        Violation("command " + std::to_string(command) + " is not a write");
        return;
    }
    if (state == before) {
      t.redundant = true;
      ++redundant;
    }
  }

  long StatusReply(Slot& slot, std::span<std::uint8_t> out) {
    if (!slot.queryPending) {
      Violation("status read without a status query");
      return -1;
    }
    if (clock.NowMs() - slot.queryTime < kStatusWaitMs)
      Violation("status read " + std::to_string(clock.NowMs() - slot.queryTime) + " ms after the query");
    slot.queryPending = false;
    std::array<std::uint8_t, kFrame> reply{};
    reply[0] = kFeatureId;
    reply[1] = 0x01;
    reply[2] = 0x20;
    reply[4] = lastSequence ? static_cast<std::uint8_t>(*lastSequence) : 0;
    if (notReady > 0) {
      --notReady;
    } else {
      reply[6] = 15;
      std::copy(status.modelTag.begin(), status.modelTag.end(), reply.begin() + 8);
      reply[15] = status.sensorNumber;
      reply[18] = status.batteryLevel;
      reply[19] = status.chargeState;
      reply[21] = status.online ? 1 : 0;
    }
    std::size_t length = reply.size();
    const StatusFault fault = std::exchange(statusFault, StatusFault::None);
    if (fault == StatusFault::Short) {
      length = 5;
    } else if (fault == StatusFault::Garbage) {
      for (std::size_t i = 1; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(i * 37 + 11);
      reply[2] = 0x5A;
    }
    length = std::min(length, out.size());
    std::copy_n(reply.begin(), length, out.begin());
    return static_cast<long>(length);
  }

  void Log(TransferKind kind, int link, std::vector<std::uint8_t> bytes, bool ok, bool redundantWrite = false) {
    if (logging) log.push_back(Transfer{clock.NowMs(), kind, link, std::move(bytes), ok, redundantWrite});
  }
};

namespace {

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
    std::lock_guard lock(core_->mutex);
    auto& slot = core_->slots[static_cast<std::size_t>(h_->slot)];
    Transfer t{core_->clock.NowMs(), TransferKind::SetFeature, slot.link, {report.begin(), report.end()}, true, false};
    if (core_->Fail(FaultOp::SetFeature) || !core_->Valid(*h_) || slot.identity.featureReportLength < kFrame) {
      t.ok = false;
      // A lost report still took its sequence number: the next one follows it.
      if (report.size() == kFrame) core_->lastSequence = report[4];
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
    std::lock_guard lock(core_->mutex);
    auto& slot = core_->slots[static_cast<std::size_t>(h_->slot)];
    long got = -1;
    if (!core_->Fail(FaultOp::GetFeature) && core_->Valid(*h_) && slot.identity.featureReportLength >= kFrame)
      got = core_->StatusReply(slot, report);
    core_->Log(TransferKind::GetFeature, slot.link,
               got > 0 ? std::vector<std::uint8_t>(report.begin(), report.begin() + got) : std::vector<std::uint8_t>{},
               got >= 0);
    return got;
  }

  long Read(std::span<std::uint8_t> buffer) override {
    std::unique_lock lock(core_->mutex);
    const int link = core_->slots[static_cast<std::size_t>(h_->slot)].link;
    if (core_->Fail(FaultOp::Read)) {
      core_->Log(TransferKind::Read, link, {}, false);
      return -1;
    }
    ++h_->blockedReads;
    core_->changed.notify_all();
    core_->changed.wait(lock, [&] { return !core_->Valid(*h_) || h_->cancelled || !h_->inputs.empty(); });
    --h_->blockedReads;
    if (!core_->Valid(*h_) || h_->cancelled) {
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

 private:
  std::shared_ptr<VirtualMouse::Core> core_;
  std::shared_ptr<VirtualMouse::Core::OpenHandle> h_;
};

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

void VirtualMouse::AddUnrelatedInterface(HidIdentity identity, bool openable) {
  std::lock_guard lock(core_->mutex);
  Core::Slot slot;
  slot.path = u"\\\\?\\virtual#other#" + Decimal(core_->slots.size());
  slot.identity = identity;
  slot.openable = openable;
  core_->slots.push_back(std::move(slot));
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
        slot.present = false;
        owned.push_back(static_cast<int>(core_->slots.size()));
        core_->slots.push_back(std::move(slot));
      }
    }
    for (std::size_t i = 0; i < owned.size(); ++i) {
      auto& slot = core_->slots[static_cast<std::size_t>(owned[i])];
      slot.identity = {kMouseVendorId, link == VirtualLink::Cable ? kCableProductId : kReceiverProductId,
                       specs[i].inputReportLength, specs[i].featureReportLength};
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
    if (slot.present) out.push_back({slot.path, slot.identity});
  return out;
}

std::unique_ptr<HidHandle> VirtualMouse::Open(const std::u16string& path) {
  std::lock_guard lock(core_->mutex);
  ++core_->opens;
  int found = -1;
  for (std::size_t i = 0; i < core_->slots.size(); ++i)
    if (core_->slots[i].present && core_->slots[i].path == path) found = static_cast<int>(i);
  const int link = found >= 0 ? core_->slots[static_cast<std::size_t>(found)].link : -1;
  const bool fail = core_->Fail(FaultOp::Open);
  if (fail || found < 0 || !core_->slots[static_cast<std::size_t>(found)].openable) {
    core_->Log(TransferKind::Open, link, {}, false);
    return nullptr;
  }
  auto h = std::make_shared<Core::OpenHandle>();
  h->slot = found;
  h->generation = core_->slots[static_cast<std::size_t>(found)].generation;
  core_->handles.push_back(h);
  core_->Log(TransferKind::Open, link, {}, true);
  return std::make_unique<VirtualHandle>(core_, std::move(h));
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
    if (t.kind == TransferKind::SetFeature && t.ok && t.bytes.size() > 2 && t.bytes[2] != 0x20) out.push_back(t);
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
    if (!t.bytes.empty()) out.append(" ").append(HexBytes(t.bytes));
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
