// The system's device-change broadcasts: plugging and unplugging, handled
// once per burst, and the system asking for an interface back.
#include <optional>
#include <utility>

#include "device/device_link.h"

namespace zeltra {

namespace {

std::u16string Upper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The last four digits of the run of hexadecimal digits after `key`, when
// the run is `shortest` to `longest` digits long. Bluetooth puts the
// identifier's source before the vendor: "VID&02248A", "VID&0002248A".
std::optional<unsigned> IdAfter(std::u16string_view path, std::u16string_view key, std::size_t shortest,
                                std::size_t longest) {
  const std::size_t at = path.find(key);
  if (at == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view rest = path.substr(at + key.size());
  std::size_t run = 0;
  while (run < rest.size() && run <= longest && HexDigit(rest[run]) >= 0) ++run;
  if (run < shortest || run > longest) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = run - 4; i < run; ++i) value = value * 16 + static_cast<unsigned>(HexDigit(rest[i]));
  return value;
}

}  // namespace

bool MayBeMouseInterface(std::u16string_view path) {
  const std::u16string upper = Upper(path);
  std::optional<unsigned> vendor = IdAfter(upper, u"VID_", 4, 4);
  std::optional<unsigned> product = IdAfter(upper, u"PID_", 4, 4);
  if (!vendor || !product) {
    vendor = IdAfter(upper, u"VID&", 6, 8);
    product = IdAfter(upper, u"PID&", 4, 4);
  }
  if (!vendor || !product) return true;
  return *vendor == kMouseVendorId && (*product == kCableProductId || *product == kReceiverProductId);
}

void DeviceLink::OnDeviceChange(std::uintptr_t event) {
  const bool arrival = event == kDeviceArrival;
  const bool removal = event == kDeviceRemoveComplete;
  if (!arrival && !removal) return;
  arrivalNoted_ = arrivalNoted_ || arrival;
  removalNoted_ = removalNoted_ || removal;
  if (!timers_.StartLinkTimer(LinkTimer::DeviceChange)) OnDeviceChangeTimer();
}

void DeviceLink::OnDeviceChangeTimer() {
  const bool arrival = std::exchange(arrivalNoted_, false);
  const bool removal = std::exchange(removalNoted_, false);
  HandleDeviceChanges(arrival, removal);
}

void DeviceLink::OnDeviceArrival() { HandleDeviceChanges(true, false); }

void DeviceLink::OnDeviceRemovalComplete() { HandleDeviceChanges(false, true); }

void DeviceLink::HandleDeviceChanges(bool arrival, bool removal) {
  const bool hadAny = cable_.present || receiver_.present;
  // A removal matters while a link is present; an arrival while one is
  // missing (a complete set of links is not re-scanned for another device).
  const bool act = (removal && hadAny) || (arrival && !(cable_.present && receiver_.present));
  if (!act) return;
  // Whatever the system asked back has been removed or is back by now.
  released_.clear();
  ScanDevices();
  watchdogCounter_ = kWatchdogAfterScan;
  if (!anyPresent_) {
    if (removal && hadAny) {
      initialReadPending_ = 1;
      standby_.active = 0;
      Tell(link_event::StandbyChanged{0});
      Tell(link_event::LastLinkGone{});
    }
    if (!arrival) return;
  } else if (initialReadPending_) {
    initialReadPending_ = 0;
    QueryStatus();
    Tell(link_event::Changed{});
  }
  if (arrival) Tell(link_event::Changed{});
}

void DeviceLink::ReleaseInterface(const std::u16string& path) {
  if (path.empty()) return;
  released_.insert(path);
  for (LinkKind kind : {LinkKind::Cable, LinkKind::Receiver}) {
    if (SideOf(kind).featurePath == path) HandleOf(kind).reset();
    if (InputPath(kind) == path) StopListener(kind);
  }
}

void DeviceLink::OnReleaseCancelled(const std::u16string& path) {
  if (!released_.erase(path)) return;
  ScanDevices();
  watchdogCounter_ = kWatchdogAfterScan;
}

}  // namespace zeltra
