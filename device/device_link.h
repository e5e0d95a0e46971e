// The link to the mouse: finding the cable link and the receiver link among
// the HID interfaces, the apply cycle that sends what changed in the current
// profile, the status query, the listener threads that wait for the mouse's
// own DPI and report-rate changes, and the watchdog that reconnects.
//
// Everything here runs on the user-interface thread except the listener
// threads, which only decode input reports and hand them over: they tell
// ReportsWaiting, and the user-interface thread calls DeliverMouseReports(),
// so profile, controls and caches are only ever touched by that thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <variant>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "device/report.h"
#include "settings/dpi_table.h"
#include "settings/profile.h"

namespace zeltra {

// At most this many interfaces of the mouse's own products are looked at in
// one scan (interfaces of other devices are never opened).
inline constexpr int kMaxProbedMembers = 150;
inline constexpr int kReportPauseMs = 60;
inline constexpr int kStatusReplyWaitMs = 10;
inline constexpr int kStatusAttempts = 3;
inline constexpr int kWatchdogTrigger = 20;
inline constexpr int kWatchdogAfterScan = 19;
inline constexpr int kMacroSlotCount = 6;

enum class LinkKind { Cable = 0, Receiver = 1 };

// What the link reads from its host: the data the reports are built from.
// All calls come on the user-interface thread.
class DeviceLinkHost {
 public:
  virtual ~DeviceLinkHost() = default;

  virtual ProfileRecord& CurrentProfile() = 0;
  virtual const DpiTable& CurrentDpiTable() = 0;
  // The macro library's macro with this index (first level, then second,
  // then third; folders skipped), or nothing.
  virtual const Macro* FindLibraryMacro(std::uint32_t macroKeyIndex) = 0;
  // The library's file exists but could not be read in this run
  // (MacroLibrary::Unavailable): a macro it does not hold is then unknown,
  // not deleted.
  virtual bool MacroLibraryUnavailable() { return false; }
};

// What the link tells. Each event says what happened to the link or the
// mouse; what the program shows for it is its own affair.
namespace link_event {

// An apply ended (the caches hold what it sent). `wroteSomething`: a report
// of it reached the mouse, and none failed. `silent`: the apply was the one
// a scan or a wake-up asked for, not an edit of the user's.
struct Applied {
  bool wroteSomething = false;
  bool silent = false;
};
// The profile or the links changed in a way the controls show (a scan, a
// macro button disabled by a reload).
struct Changed {};
// The macro of key slot `position` (0-based) of the current profile is gone
// from the library: the link gave the button the code 00 00 00, and the
// host names it as a disabled button.
struct ButtonDisabled {
  int position = 0;
};
// standby().active is now `active`: at start-up, 1 when a status reply finds
// the mouse online while in standby, 0 when the last link went away.
struct StandbyChanged {
  int active = 0;
};
// An accepted status reply. `turn`: what it did to the standby state.
struct Status {
  enum class Turn {
    None,
    Woken,   // standby ended: the mouse came online (autoShown set)
    Lapsed,  // brought up by an earlier reply, the mouse is offline again (autoShown cleared)
  };
  bool modelMatches = false;
  bool online = false;
  int sensor = 0;
  int battery = 0;
  int charge = 0;  // 0 on battery, 1 charging, 2 full
  Turn turn = Turn::None;
};
// The mouse changed its DPI stage (0-based) or report rate (0 = 125 Hz ..
// 3 = 1000 Hz) itself; the profile already holds them, the caches not yet.
struct MouseReport {
  int stage = 0;
  int rate = 0;
};
// The last link went away (standby().active is 0 by now).
struct LastLinkGone {};
// The link let go of its handles and starts anew: from now on it wants to
// hear of the system's HID device changes (OnDeviceChange).
struct WatchingDevices {};
// The factory reset is complete: caches reloaded from the reset profile.
struct FactoryResetDone {};
// Any thread: a listener handed over reports; the user-interface thread is
// to call DeliverMouseReports() soon.
struct ReportsWaiting {};

}  // namespace link_event

using LinkEvent =
    std::variant<link_event::Applied, link_event::Changed, link_event::ButtonDisabled, link_event::StandbyChanged,
                 link_event::Status, link_event::MouseReport, link_event::LastLinkGone, link_event::WatchingDevices,
                 link_event::FactoryResetDone, link_event::ReportsWaiting>;

// Where the link's events go. On the user-interface thread, except
// ReportsWaiting, which comes from a listener thread.
class LinkEventSink {
 public:
  virtual ~LinkEventSink() = default;
  virtual void OnLinkEvent(const LinkEvent& event) = 0;
};

// The timers the link asks for; each one's end calls the link back.
enum class LinkTimer {
  Apply,         // one-shot, 20 ms: ApplyPendingChanges (several edits go together)
  Watchdog,      // repeating, 1 s: OnWatchdogTimer
  DeviceChange,  // one-shot, (re)started by each broadcast: OnDeviceChangeTimer
};

class LinkTimers {
 public:
  virtual ~LinkTimers() = default;
  // (Re)starts the timer; false when it was not started. Without a
  // device-change timer the link acts on every broadcast at once; without an
  // apply timer the caller applies when it sees fit.
  virtual bool StartLinkTimer(LinkTimer timer) = 0;
};

// Pending flags of the apply cycle.
enum PendingFlag : unsigned {
  kPendingButtons = 1u << 0,   // 0x04
  kPendingSettings = 1u << 1,  // 0x05, 0x06, 0x07, 0x09, 0x0A, 0x08
  kPendingPower = 1u << 2,     // 0x0B
  kPendingWake = 1u << 3,      // 0x0C
  kPendingSilent = 1u << 4,    // the apply shows no progress (nobody edited anything)
};

struct PendingState {
  int buttonsPending = 0;
  int settingsPending = 0;
  int powerPending = 0;
  int wakePending = 0;
  int silentApply = 0;
  int reportWritten = 0;
  int macroLibraryChanged = 0;
  // Some report of this apply did not reach the mouse: the apply does not
  // count as written, and the groups concerned are sent again next time.
  int writeFailed = 0;
  // A transfer of this apply timed out: the device is not answering, and
  // the rest of the apply is left for the next one instead of waiting out
  // every report.
  int stalled = 0;
};

// Command groups of the caches, as bits of DeviceCaches::unknown.
enum CacheGroup : unsigned {
  kCacheButton0 = 0,  // ... kCacheButton0 + 5: device positions 0..5
  kCacheDpi = 6,
  kCacheDpiColours,
  kCacheRate,
  kCacheLiftOff,
  kCacheDebounce,
  kCacheLighting,
  kCachePower,
  kCacheWake,
  kCacheMacro1,  // ... kCacheMacro1 + 5: device macro slots 1..6
};

// active: 1 = shown and written to; 0 = standby. mouseOnline: the last
// online flag reported. autoShown: brought up by a status reply.
struct StandbyState {
  int active = 0;
  int mouseOnline = 0;
  int autoShown = 0;
};

// Timer 80: which attention message to show, if any.
enum class StartupNotice { None, NoDevice /* string 155 */, MouseOffline /* string 156 */ };

// The bytes last sent to the mouse (or assumed to be in it), per command group.
struct DeviceCaches {
  ButtonBytes buttons{};
  DpiBytes dpi{};
  DpiColourBytes dpiColours{};
  std::uint8_t rate = 0;
  std::uint8_t liftOff = 0;
  std::uint8_t debounce = 0;
  LightingBytes lighting{};
  std::array<std::uint8_t, 2> power{};
  std::uint8_t wake = 0;
  std::array<MacroImage, kMacroSlotCount + 1> macros{};  // slots 1..6
  // Bit per CacheGroup: a write of that group failed, so what the mouse
  // holds is not known and the group is sent whatever the cache says.
  std::uint32_t unknown = 0;
  // Bit per CacheGroup: written while the last status said the mouse was
  // offline (asleep behind the receiver, which takes reports for it all the
  // same); sent again when it is reported online.
  std::uint32_t unconfirmed = 0;
};

struct LinkStats {
  int enumerations = 0;
  int opens = 0;
};

class DeviceLink {
 public:
  // `deviceKeyCode` nothing: the program's key-code table.
  DeviceLink(std::shared_ptr<HidBackend> backend, Clock& clock, DeviceLinkHost& host, LinkEventSink& events,
             LinkTimers& timers, DeviceKeyCodeFn deviceKeyCode = nullptr);
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // ---- Start-up ----
  // active and mouseOnline = !startInStandby, autoShown = 0.
  void InitStandby(int startInStandby);
  // RegisterDeviceNotifications, ReloadDeviceCaches, ScanDevices and, when a
  // device was found, the initial status query followed by a refresh.
  void StartUp();
  // Resets the link state (listener flags, handles, initial read pending)
  // and tells WatchingDevices.
  void RegisterDeviceNotifications();

  // ---- Discovery ----
  // One enumeration; probes the interfaces of the mouse's products (at most
  // kMaxProbedMembers); opens fresh feature handles, starts the listeners
  // and the watchdog timer; marks buttons, settings and power pending
  // (silently) and starts the apply timer. Each link takes its input and
  // feature interfaces from one unit: the one it used so far while that is
  // still there, else the first with both.
  bool ScanDevices();
  // WM_DEVICECHANGE for a HID interface that may be the mouse's:
  // DBT_DEVICEARRIVAL (0x8000) and DBT_DEVICEREMOVECOMPLETE (0x8004) are
  // noted and handled together when the device-change timer ends (at once
  // without one); every other event is ignored here.
  void OnDeviceChange(std::uintptr_t event);
  void OnDeviceChangeTimer();
  // The rules for one arrival and one removal, at once.
  void OnDeviceArrival();
  void OnDeviceRemovalComplete();
  // The system asks for the interface at `path` back (Windows: a query-remove
  // or remove-pending before a driver update or the device is disabled):
  // its feature handle is closed and its listener ended, and no scan opens
  // it again until a device change is handled or the request is cancelled.
  void ReleaseInterface(const std::u16string& path);
  // The removal was refused after all: the interface is taken up again.
  void OnReleaseCancelled(const std::u16string& path);
  // Timer 110: the watchdog step; then true when the battery is to be shown
  // (batteryLevel, chargeState), false while the window is in standby.
  bool OnWatchdogTimer();
  // Timer 80.
  StartupNotice StartupCheck() const;

  // ---- Apply cycle ----
  // Sets the flags (PendingFlag) for the next apply, without asking for one.
  void MarkPending(unsigned pendingFlags);
  // Sets the flags and starts the apply timer (several edits within 20 ms
  // are applied together).
  bool RequestApply(unsigned pendingFlags);
  void SetMacroLibraryChanged() { pending_.macroLibraryChanged = 1; }
  void ApplyPendingChanges();
  // Binds the macro buttons of the current profile to device slots. The
  // library is the source of truth: every button whose macro it holds gets
  // a fresh copy of it. A button whose macro it does not hold is disabled,
  // unless the library is unavailable: the button then keeps its own copy
  // and its repeat bytes. True when a macro button's code bytes changed (a
  // new slot or repeat rule, or a button disabled), which the mouse must be
  // sent.
  bool ResolveMacroSlots();
  void SendButtonChanges();
  void SendSettingChanges();
  void SendPowerSettings();
  void SendMotionWakeup();
  void SendMacroChanges(bool send);
  // Fills every cache from the current profile without sending: what the
  // mouse is taken to hold. The macro images come from the buttons' own
  // copies and slots, which are what the last apply gave the mouse; library
  // edits not applied yet (the manager still open) are not taken for sent.
  // Nor are edits whose pending flag is set: their groups (with the macro
  // slots for the buttons) keep their caches. Then the macro buttons are
  // bound to their slots as the next apply will bind them, from their own
  // copies; a button that changes by it (its macro deleted, a new slot) is
  // left for that apply to send.
  void ReloadDeviceCaches();
  // What the mouse holds is not known (it was never sent anything from these
  // settings): the next apply of each group sends it, whatever its cache says.
  void MarkCachesUnknown();

  // ---- Status ----
  void QueryStatus();
  void HandleStatusReply(std::span<const std::uint8_t> reply);

  // ---- Factory reset ----
  // Sends 0F FF once, no pause, whether or not the window is active.
  void SendFactoryReset();
  // After the current profile was reset and its file written: reload the
  // caches, zero the watchdog, tell FactoryResetDone.
  void CompleteFactoryReset();

  // ---- Listener hand-over (user-interface thread) ----
  // Applies every report the listeners handed over, in order: profile
  // fields, then MouseReport, then the cache reload.
  void DeliverMouseReports();

  // ---- State ----
  // Sets byte 0 and the next sequence number and sends to the cable handle
  // when it is open, else to the receiver handle; false when neither is open
  // or the transfer failed.
  bool SendFeatureReport(Report& report);
  bool AnyHandleOpen() const { return cableHandle_ || receiverHandle_; }
  bool HandleOpen(LinkKind kind) const { return (kind == LinkKind::Cable ? cableHandle_ : receiverHandle_) != nullptr; }
  int Present(LinkKind kind) const { return SideOf(kind).present; }
  int AnyPresent() const { return anyPresent_; }
  const std::u16string& FeaturePath(LinkKind kind) const { return SideOf(kind).featurePath; }
  int FeatureIndex(LinkKind kind) const { return SideOf(kind).featureIndex; }
  bool ListenerBusy(LinkKind kind) const;
  std::u16string InputPath(LinkKind kind) const;
  int InputIndex(LinkKind kind) const;

  const PendingState& pending() const { return pending_; }
  const StandbyState& standby() const { return standby_; }
  // Puts the standby state as it is given, telling nothing (a test's or a
  // restored session's starting point).
  void SetStandby(const StandbyState& state) { standby_ = state; }
  const DeviceCaches& caches() const { return caches_; }
  std::uint8_t reportSequence() const { return reportSequence_; }
  int watchdogCounter() const { return watchdogCounter_; }
  void SetWatchdogCounter(int value) { watchdogCounter_ = value; }
  int initialReadPending() const { return initialReadPending_; }
  int batteryLevel() const { return batteryLevel_; }
  int chargeState() const { return chargeState_; }
  const LinkStats& stats() const { return stats_; }

  // Shutdown: stop the listeners (their reads are cancelled) and close both
  // feature handles, cable first. Also done by the destructor.
  void Close();

 private:
  struct LinkSide {
    int present = 0;
    int featureIndex = 0;
    std::u16string featurePath;
  };
  struct Listener;  // shared with one listener thread
  struct Mailbox;   // reports handed over to the user-interface thread
  struct ScanContext;

  LinkSide& SideOf(LinkKind kind) { return kind == LinkKind::Cable ? cable_ : receiver_; }
  const LinkSide& SideOf(LinkKind kind) const { return kind == LinkKind::Cable ? cable_ : receiver_; }
  std::unique_ptr<HidHandle>& HandleOf(LinkKind kind) { return kind == LinkKind::Cable ? cableHandle_ : receiverHandle_; }
  Listener& ListenerOf(LinkKind kind) const { return *listeners_[static_cast<std::size_t>(kind)]; }

  void ProbeInterface(ScanContext& scan, int memberIndex);
  void ChooseInterfaces(LinkKind kind, ScanContext& scan);
  void ConnectLink(LinkKind kind, ScanContext& scan);
  void HandleDeviceChanges(bool arrival, bool removal);
  void StartListener(LinkKind kind, ScanContext& scan);
  void StopListener(LinkKind kind);
  static void RunListener(std::shared_ptr<HidBackend> backend, std::shared_ptr<Listener> self,
                          std::shared_ptr<Mailbox> mailbox, std::unique_ptr<HidHandle> handle, std::u16string path,
                          std::uint16_t product);
  // Sends one report of a group (a CacheGroup); a failure marks the group
  // unknown. SendWrite pauses after it. Once a transfer of the apply timed
  // out, neither sends nor pauses.
  void Transmit(Report& report, unsigned group);
  void SendWrite(Report report, unsigned group);
  void Pause() {
    if (!pending_.stalled) clock_.SleepMs(kReportPauseMs);
  }
  // Sets the pending flag of every group whose cache is unknown.
  void MarkUnknownPending();
  // Binds the macro buttons to device slots; `fromLibrary`: each button
  // takes a fresh copy of its library macro (an apply), else it keeps its
  // own (a reload, which must not take a library edit for sent).
  bool BindMacroSlots(bool fromLibrary);

  std::shared_ptr<HidBackend> backend_;
  void Tell(const LinkEvent& event) { events_.OnLinkEvent(event); }

  Clock& clock_;
  DeviceLinkHost& host_;
  LinkEventSink& events_;
  LinkTimers& timers_;
  DeviceKeyCodeFn deviceKeyCode_;

  LinkSide cable_;
  LinkSide receiver_;
  int anyPresent_ = 0;
  std::unique_ptr<HidHandle> cableHandle_;
  std::unique_ptr<HidHandle> receiverHandle_;
  int initialReadPending_ = 1;
  int watchdogCounter_ = 0;
  // Broadcasts noted for the device-change timer.
  bool arrivalNoted_ = false;
  bool removalNoted_ = false;
  // Interfaces the system asked for back (ReleaseInterface).
  std::set<std::u16string> released_;
  // Why the last SendFeatureReport failed.
  HidError lastError_;

  std::uint8_t reportSequence_ = 1;
  PendingState pending_;
  StandbyState standby_;
  DeviceCaches caches_;
  int batteryLevel_ = 10;
  int chargeState_ = 0;

  std::array<std::shared_ptr<Listener>, 2> listeners_;
  std::array<std::thread, 2> threads_;
  std::shared_ptr<Mailbox> mailbox_;
  LinkStats stats_;
};

// WM_DEVICECHANGE events the link acts on.
inline constexpr std::uintptr_t kDeviceArrival = 0x8000;
inline constexpr std::uintptr_t kDeviceRemoveComplete = 0x8004;

// False when a device-interface path names a vendor and product that are
// not the mouse's (USB "VID_xxxx&PID_yyyy", Bluetooth "VID&02xxxx_PID&yyyy",
// any case), so that its broadcast can be ignored; true when it names the
// mouse's or names none.
bool MayBeMouseInterface(std::u16string_view path);

}  // namespace zeltra
