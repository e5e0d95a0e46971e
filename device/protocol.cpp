// The apply cycle: compare every command group of the current profile with
// what the mouse was last sent, send only what changed, 60 ms apart.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "device/device_link.h"

namespace zeltra {

namespace {

inline constexpr std::uint8_t kMacroCategory = 0x90;

constexpr std::uint32_t Bit(unsigned group) { return 1u << group; }
constexpr std::uint32_t kButtonBits = 0x3Fu << kCacheButton0;
constexpr std::uint32_t kSettingBits =
    Bit(kCacheDpi) | Bit(kCacheDpiColours) | Bit(kCacheRate) | Bit(kCacheLiftOff) | Bit(kCacheDebounce) | Bit(kCacheLighting);

// Copies `fresh` into `cache`; true when they differed or the mouse's copy
// of the group is unknown since a failed write.
template <typename T>
bool Refresh(T& cache, const T& fresh, std::uint32_t& unknown, unsigned group) {
  const bool differed = !(cache == fresh) || (unknown & Bit(group)) != 0;
  cache = fresh;
  unknown &= ~Bit(group);
  return differed;
}

}  // namespace

bool DeviceLink::SendFeatureReport(Report& report) {
  HidHandle* handle = cableHandle_ ? cableHandle_.get() : receiverHandle_.get();
  lastError_ = {};
  if (!handle) return false;
  report[0] = kFeatureReportId;
  report[kOffSequence] = reportSequence_++;
  if (handle->SetFeature(report)) return true;
  lastError_ = handle->LastError();
  return false;
}

void DeviceLink::SendWrite(Report report, unsigned group) {
  Transmit(report, group);
  Pause();
}

void DeviceLink::Transmit(Report& report, unsigned group) {
  // After a timeout the device is not answering: the rest of this apply is
  // left for the next one rather than waited out report by report.
  if (!pending_.stalled && SendFeatureReport(report)) {
    pending_.reportWritten = 1;
    if (!standby_.mouseOnline) caches_.unconfirmed |= Bit(group);
    return;
  }
  // The cache already holds the new bytes, so only this mark gets them sent again.
  caches_.unknown |= Bit(group);
  pending_.writeFailed = 1;
  if (lastError_.kind == HidError::Kind::Timeout) pending_.stalled = 1;
}

void DeviceLink::MarkUnknownPending() {
  const std::uint32_t unknown = caches_.unknown;
  if (unknown & kButtonBits) pending_.buttonsPending = 1;
  if (unknown & kSettingBits) pending_.settingsPending = 1;
  if (unknown & Bit(kCachePower)) pending_.powerPending = 1;
  if (unknown & Bit(kCacheWake)) pending_.wakePending = 1;
}

void DeviceLink::MarkPending(unsigned pendingFlags) {
  if (pendingFlags & kPendingButtons) pending_.buttonsPending = 1;
  if (pendingFlags & kPendingSettings) pending_.settingsPending = 1;
  if (pendingFlags & kPendingPower) pending_.powerPending = 1;
  if (pendingFlags & kPendingWake) pending_.wakePending = 1;
  if (pendingFlags & kPendingSilent) pending_.silentApply = 1;
}

bool DeviceLink::RequestApply(unsigned pendingFlags) {
  MarkPending(pendingFlags);
  return timers_.StartLinkTimer(LinkTimer::Apply);
}

void DeviceLink::ApplyPendingChanges() {
  pending_.reportWritten = 0;
  pending_.writeFailed = 0;
  pending_.stalled = 0;
  if (!standby_.active) return;  // the flags stay set for the next apply
  if (ResolveMacroSlots()) pending_.buttonsPending = 1;
  if (pending_.buttonsPending) SendButtonChanges();
  if (pending_.settingsPending) SendSettingChanges();
  if (pending_.powerPending) SendPowerSettings();
  if (pending_.wakePending) SendMotionWakeup();
  pending_.buttonsPending = pending_.settingsPending = pending_.powerPending = pending_.wakePending = 0;
  SendMacroChanges(true);
  // What failed stays pending, so that the next apply sends it again; the
  // macro slots are compared on every apply anyway.
  MarkUnknownPending();
  pending_.stalled = 0;
  if (pending_.writeFailed) pending_.reportWritten = 0;
  const link_event::Applied applied{pending_.reportWritten != 0, pending_.silentApply != 0};
  if (applied.wroteSomething && !applied.silent) watchdogCounter_ = 0;
  pending_.silentApply = 0;
  Tell(applied);
}

bool DeviceLink::ResolveMacroSlots() { return BindMacroSlots(true); }

bool DeviceLink::BindMacroSlots(bool fromLibrary) {
  ProfileRecord& profile = host_.CurrentProfile();
  const bool libraryUnavailable = host_.MacroLibraryUnavailable();
  std::vector<std::uint32_t> slots;  // device macro slot n holds the macro with index slots[n - 1]
  bool changed = false;
  for (std::size_t position = 0; position < profile.Key.size(); ++position) {
    KeySlot& key = profile.Key[position];
    if (key.Value[0] != kMacroCategory) continue;
    const auto before = key.Value;
    const Macro* macro = key.MacroKeyIndex ? host_.FindLibraryMacro(key.MacroKeyIndex) : nullptr;
    if (!macro && !(key.MacroKeyIndex && libraryUnavailable)) {
      key.Value[0] = key.Value[1] = key.Value[2] = 0;
      changed = true;
      Tell(link_event::ButtonDisabled{static_cast<int>(position)});
      continue;
    }
    auto found = std::find(slots.begin(), slots.end(), key.MacroKeyIndex);
    if (found == slots.end()) found = slots.insert(slots.end(), key.MacroKeyIndex);
    const int slot = static_cast<int>(found - slots.begin()) + 1;
    if (macro) {
      // Whichever profile is applied, and whatever happened since the manager
      // ran, the button carries the library's macro. A reload keeps the
      // button's own copy, which is what the mouse was last sent.
      if (fromLibrary) key.macro.CopyFrom(*macro);
      const Macro& rule = fromLibrary ? *macro : key.macro;
      key.Value[1] = static_cast<std::uint8_t>((slot & 0x0F) | (rule.MacroKeyLoopType << 4));
      key.Value[2] = rule.MacroKeyLoopType == 2 ? rule.MacroKeyLoopNum : 0;
    } else {
      // The library could not be read: the button's copy is the best there
      // is. Its repeat rule is not in the profile file, but the code bytes
      // the last apply gave the button still carry it.
      key.Value[1] = static_cast<std::uint8_t>((slot & 0x0F) | (key.Value[1] & 0xF0));
    }
    changed = changed || key.Value != before;
  }
  if (fromLibrary) pending_.macroLibraryChanged = 0;
  return changed;
}

void DeviceLink::SendButtonChanges() {
  if (!AnyHandleOpen()) return;
  const ButtonBytes fresh = EncodeButtons(host_.CurrentProfile());
  std::array<bool, kKeySlotCount> changed{};
  for (std::size_t i = 0; i < fresh.size(); ++i)
    if (fresh[i] != caches_.buttons[i]) changed[i / 3] = true;
  for (std::size_t position = 0; position < changed.size(); ++position) {
    const std::uint32_t bit = Bit(kCacheButton0 + static_cast<unsigned>(position));
    if (caches_.unknown & bit) changed[position] = true;
    caches_.unknown &= ~bit;
  }
  caches_.buttons = fresh;
  for (std::size_t position = 0; position < changed.size(); ++position) {
    if (changed[position]) {
      const std::uint8_t payload[] = {static_cast<std::uint8_t>(position), fresh[position * 3], fresh[position * 3 + 1],
                                      fresh[position * 3 + 2]};
      Report report = MakeWrite(kCmdButton, payload);
      Transmit(report, kCacheButton0 + static_cast<unsigned>(position));
    }
    Pause();  // every position costs its pause, sent or not
  }
}

void DeviceLink::SendSettingChanges() {
  if (!AnyHandleOpen()) return;
  const ProfileRecord& profile = host_.CurrentProfile();
  std::uint32_t& unknown = caches_.unknown;
  const bool rate = Refresh(caches_.rate, EncodeRateCode(profile), unknown, kCacheRate);
  const bool liftOff = Refresh(caches_.liftOff, EncodeLiftOff(profile), unknown, kCacheLiftOff);
  const bool debounce = Refresh(caches_.debounce, EncodeDebounce(profile), unknown, kCacheDebounce);
  const bool dpi = Refresh(caches_.dpi, EncodeDpi(profile, host_.CurrentDpiTable()), unknown, kCacheDpi);
  const bool colours = Refresh(caches_.dpiColours, EncodeDpiColours(profile), unknown, kCacheDpiColours);
  const bool lighting = Refresh(caches_.lighting, EncodeLighting(profile), unknown, kCacheLighting);

  if (dpi) {
    std::array<std::uint8_t, 0x12> payload{};  // the last four bytes stay zero
    std::copy(caches_.dpi.begin(), caches_.dpi.end(), payload.begin());
    SendWrite(MakeWrite(kCmdDpi, payload), kCacheDpi);
  }
  if (colours) SendWrite(MakeWrite(kCmdDpiColours, caches_.dpiColours), kCacheDpiColours);
  if (rate) SendWrite(MakeWrite(kCmdReportRate, std::array{caches_.rate}), kCacheRate);
  if (liftOff) SendWrite(MakeWrite(kCmdLiftOff, std::array<std::uint8_t, 2>{caches_.liftOff, 0}), kCacheLiftOff);
  if (debounce) SendWrite(MakeWrite(kCmdDebounce, std::array{caches_.debounce}), kCacheDebounce);
  if (lighting) {
    const std::uint8_t length = caches_.lighting[0];
    SendWrite(MakeReport(kCmdLighting, 0x01, length, std::span(caches_.lighting).subspan(1, length)), kCacheLighting);
  }
}

void DeviceLink::SendPowerSettings() {
  if (!AnyHandleOpen()) return;
  if (!Refresh(caches_.power, EncodePowerSaving(host_.CurrentProfile()), caches_.unknown, kCachePower)) return;
  SendWrite(MakeWrite(kCmdPowerSaving, caches_.power), kCachePower);
}

void DeviceLink::SendMotionWakeup() {
  if (!AnyHandleOpen()) return;
  if (!Refresh(caches_.wake, EncodeMotionWakeup(host_.CurrentProfile()), caches_.unknown, kCacheWake)) return;
  SendWrite(MakeWrite(kCmdMotionWakeup, std::array{caches_.wake}), kCacheWake);
}

void DeviceLink::SendMacroChanges(bool send) {
  // Like every other writer, an upload with no link open leaves its cache
  // alone, so that the macro still reaches the mouse once it is connected.
  if (send && !AnyHandleOpen()) return;
  const ProfileRecord& profile = host_.CurrentProfile();
  std::array<bool, kMacroSlotCount + 1> done{};
  for (const KeySlot& key : profile.Key) {
    if (key.Value[0] != kMacroCategory) continue;
    const int slot = key.Value[1] & 0x0F;
    if (slot < 1 || slot > kMacroSlotCount) continue;  // never bound by ResolveMacroSlots
    // A slot shared by two buttons is built from the first one only: their
    // copies of the macro can differ (one assigned before a library edit),
    // and alternating between them would upload it twice on every apply.
    if (std::exchange(done[static_cast<std::size_t>(slot)], true)) {
      Pause();
      continue;
    }
    const MacroImage image = BuildMacroImage(key.macro, static_cast<std::uint8_t>(slot), deviceKeyCode_);
    MacroImage& cache = caches_.macros[static_cast<std::size_t>(slot)];
    const unsigned group = kCacheMacro1 + static_cast<unsigned>(slot - 1);
    if (!send) {
      cache = image;  // a reload keeps what a failed upload left unknown
    } else if (Refresh(cache, image, caches_.unknown, group)) {
      for (const Report& packet : BuildMacroPackets(cache)) SendWrite(packet, group);
    }
    Pause();
  }
}

void DeviceLink::ReloadDeviceCaches() {
  // A group whose edit is still pending has not been sent: it keeps what the
  // mouse was last sent, so that the apply still finds the edit. While the
  // buttons are pending, so are their macro slots.
  const ProfileRecord& profile = host_.CurrentProfile();
  if (!pending_.buttonsPending) caches_.buttons = EncodeButtons(profile);
  if (!pending_.settingsPending) {
    caches_.rate = EncodeRateCode(profile);
    caches_.liftOff = EncodeLiftOff(profile);
    caches_.debounce = EncodeDebounce(profile);
    caches_.dpi = EncodeDpi(profile, host_.CurrentDpiTable());
    caches_.dpiColours = EncodeDpiColours(profile);
    caches_.lighting = EncodeLighting(profile);
  }
  if (!pending_.powerPending) caches_.power = EncodePowerSaving(profile);
  if (!pending_.wakePending) caches_.wake = EncodeMotionWakeup(profile);
  if (pending_.buttonsPending) return;
  // Bind the macro buttons as the next apply will (a deleted macro's button
  // is disabled, a new one gets its slot), so that the controls show it and
  // the macro caches are filled for the right slots. What that changed is
  // not in the mouse yet: the buttons cache keeps what is, and the buttons
  // are sent by the next apply.
  if (BindMacroSlots(false)) pending_.buttonsPending = 1;
  SendMacroChanges(false);
}

void DeviceLink::MarkCachesUnknown() {
  constexpr std::uint32_t kMacroBits = ((1u << kMacroSlotCount) - 1) << kCacheMacro1;
  caches_.unknown = kButtonBits | kSettingBits | Bit(kCachePower) | Bit(kCacheWake) | kMacroBits;
}

void DeviceLink::QueryStatus() {
  HidHandle* handle = cableHandle_ ? cableHandle_.get() : receiverHandle_.get();
  if (!handle) return;
  for (int attempt = 0; attempt < kStatusAttempts; ++attempt) {
    Report query = MakeReport(kCmdStatus, 0x00, 0x00, {});
    if (!SendFeatureReport(query)) return;
    clock_.SleepMs(kStatusReplyWaitMs);
    Report reply;
    reply.fill(0xFF);
    reply[0] = kFeatureReportId;
    const long got = handle->GetFeature(reply);
    if (got < 0) return;
    const auto length = std::min(static_cast<std::size_t>(got), reply.size());
    // Byte 6 zero: not ready yet, ask again. A reply too short to say is ignored.
    if (length <= kOffLength) return;
    if (reply[kOffLength] == 0) continue;
    HandleStatusReply(std::span(reply.data(), length));
    return;
  }
}

void DeviceLink::HandleStatusReply(std::span<const std::uint8_t> reply) {
  const auto status = ParseStatusReply(reply);
  if (!status) return;
  auto turn = link_event::Status::Turn::None;
  if (status->modelMatches) {
    const int wasOnline = standby_.mouseOnline;
    standby_.mouseOnline = status->online ? 1 : 0;
    if (!wasOnline && status->online && caches_.unconfirmed) {
      // What was written while the mouse slept never reached it.
      caches_.unknown |= std::exchange(caches_.unconfirmed, 0u);
      MarkUnknownPending();
      pending_.silentApply = 1;
      timers_.StartLinkTimer(LinkTimer::Apply);
    }
    if (standby_.active == 0 && status->online) {
      standby_.autoShown = 1;
      standby_.active = 1;
      turn = link_event::Status::Turn::Woken;
      Tell(link_event::StandbyChanged{1});
    } else if (standby_.active == 1 && standby_.autoShown == 1 && !status->online) {
      standby_.autoShown = 0;
      turn = link_event::Status::Turn::Lapsed;
    }
  }
  batteryLevel_ = status->batteryLevel;
  chargeState_ = status->chargeState;
  Tell(link_event::Status{status->modelMatches, status->online, status->sensorNumber, status->batteryLevel,
                          status->chargeState, turn});
}

void DeviceLink::SendFactoryReset() {
  Report report = MakeWrite(kCmdFactoryReset, std::array<std::uint8_t, 1>{0xFF});
  SendFeatureReport(report);
}

void DeviceLink::CompleteFactoryReset() {
  ReloadDeviceCaches();
  watchdogCounter_ = 0;
  Tell(link_event::FactoryResetDone{});
}

}  // namespace zeltra
