// The virtual mouse's inside, shared by its backend and its handles: the
// interfaces, the open handles, the state the commands leave and the checks
// of what the program sends. Private to device/.
#pragma once

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "device/virtual_mouse.h"

namespace zeltra {

struct VirtualMouse::Core {
  static constexpr std::size_t kFrame = kReportLength;
  static constexpr int kWriteSpacingMs = 60;
  static constexpr int kStatusWaitMs = 10;
  static constexpr std::uint8_t kFeatureId = 0x0C;

  static std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char cell[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      std::snprintf(cell, sizeof cell, i ? " %02X" : "%02X", bytes[i]);
      out += cell;
    }
    return out;
  }

  // The lighting length the mouse expects for a mode (mode 2: by its colour count).
  static int LightingLength(int mode, int colourCount) {
    switch (mode) {
      case 1: return 3;
      case 2: return 3 + 3 * colourCount;
      case 3: return 5;
      case 6: return 23;
      case 7: return 8;
      default: return 2;
    }
  }

  explicit Core(Clock& c) : clock(c) {}

  struct Slot {
    std::u16string path;
    HidIdentity identity;
    int link = -1;
    std::u16string unit;
    bool openable = true;
    bool exclusive = false;
    bool present = true;
    std::uint64_t generation = 0;
    bool queryPending = false;
    std::int64_t queryTime = 0;
  };
  struct OpenHandle {
    int slot = 0;
    std::uint64_t generation = 0;
    HidAccess access = HidAccess::ReadWrite;
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
  std::array<int, 4> stallCountdown{};

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

  static bool CountDown(int& countdown) {
    if (countdown <= 0) return false;
    return --countdown == 0;
  }
  bool Fail(FaultOp op) { return CountDown(failCountdown[static_cast<std::size_t>(op)]); }
  bool Stall(FaultOp op) { return CountDown(stallCountdown[static_cast<std::size_t>(op)]); }

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
    // The receiver takes reports while its mouse sleeps, and another unit
    // of the product is not this mouse: neither reaches the mouse's state.
    const bool lost = slot.link < 0 || (slot.link == 1 && !status.online);
    if (command == 0x0F) {
      if (lost) {
        t.lost = true;
        return;
      }
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
    if (lost) {
      t.lost = true;
      return;
    }
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

}  // namespace zeltra
