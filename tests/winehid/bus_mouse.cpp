#include "bus_mouse.h"

#include <charconv>
#include <utility>

#include "device/clock.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_control.h"

namespace zeltra::winehid {

namespace {

VirtualLink LinkOf(int link) { return link == 0 ? VirtualLink::Cable : VirtualLink::Receiver; }

// The path of the link's interface with a 33-byte input (or feature) report.
std::u16string InterfacePath(VirtualMouse& mouse, int link, bool input) {
  const std::uint16_t product = link == 0 ? kCableProductId : kReceiverProductId;
  for (const HidInterfaceInfo& member : mouse.Enumerate()) {
    const HidIdentity& id = member.identity;
    if (id.vendor != kMouseVendorId || id.product != product) continue;
    if ((input ? id.inputReportLength : id.featureReportLength) == kReportLength) return member.path;
  }
  return {};
}

}  // namespace

LinkPort::LinkPort(std::unique_ptr<HidHandle> feature, std::unique_ptr<HidHandle> input)
    : feature_(std::move(feature)), input_(std::move(input)) {}

LinkPort::~LinkPort() = default;

bool LinkPort::SetFeature(std::span<const std::uint8_t> report) { return feature_->SetFeature(report); }

long LinkPort::GetFeature(std::span<std::uint8_t> report) { return feature_->GetFeature(report); }

long LinkPort::Read(std::span<std::uint8_t> buffer) { return input_->Read(buffer); }

void LinkPort::CancelRead() { input_->CancelRead(); }

BusMouse::BusMouse(std::function<void()> topologyChanged)
    : clock_(std::make_unique<SystemClock>()), mouse_(std::make_shared<VirtualMouse>(*clock_)) {
  // Its log would only grow: the journeys read the program's own trace.
  mouse_->SetLogging(false);
  mouse_->Plug(VirtualLink::Cable);
  mouse_->SetDeviceChangeCallback([changed = std::move(topologyChanged)](bool) { changed(); });
}

BusMouse::~BusMouse() {
  {
    std::lock_guard lock(followMutex_);
    control_.reset();
  }
  mouse_->SetDeviceChangeCallback(nullptr);
}

bool BusMouse::Plugged(int link) const { return mouse_->IsPlugged(LinkOf(link)); }

std::unique_ptr<LinkPort> BusMouse::Open(int link) {
  auto feature = mouse_->Open(InterfacePath(*mouse_, link, false), HidAccess::FeatureOnly);
  auto input = mouse_->Open(InterfacePath(*mouse_, link, true), HidAccess::ReadWrite);
  if (!feature || !input) return nullptr;
  return std::make_unique<LinkPort>(std::move(feature), std::move(input));
}

std::string BusMouse::Command(std::string_view line) {
  if (line == "check" || line == "check\r") {
    const std::vector<std::string> broken = mouse_->Violations();
    std::lock_guard lock(mutex_);
    if (broken.size() <= violationsBefore_) return {};
    return std::to_string(broken.size() - violationsBefore_) + " broken rules, the first: " + broken[violationsBefore_];
  }
  constexpr std::string_view kStall = "stall ";
  if (line.substr(0, kStall.size()) != kStall) return RunVirtualMouseCommand(*mouse_, line);
  std::string_view rest = line.substr(kStall.size());
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.remove_suffix(1);
  const std::size_t space = rest.find(' ');
  const std::string_view kind = rest.substr(0, space);
  int ms = kStallWithoutEndMs;
  if (space != std::string_view::npos) {
    const std::string_view number = rest.substr(space + 1);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), ms);
    if (error != std::errc() || end != number.data() + number.size() || ms < 0 || ms > 600000)
      return "stall takes set-feature or get-feature and 0..600000 ms";
  }
  std::lock_guard lock(mutex_);
  if (kind == "set-feature")
    stall_[0] = ms;
  else if (kind == "get-feature")
    stall_[1] = ms;
  else
    return "stall takes set-feature or get-feature and 0..600000 ms";
  return {};
}

std::string BusMouse::Follow(const std::filesystem::path& file) {
  std::lock_guard lock(followMutex_);
  control_.reset();
  Reset();
  control_ = std::make_unique<VirtualMouseControl>(file, [this](std::string_view line) { return Command(line); });
  return {};
}

int BusMouse::TakeStall(StalledTransfer kind) {
  std::lock_guard lock(mutex_);
  return std::exchange(stall_[static_cast<int>(kind)], 0);
}

void BusMouse::Reset() {
  {
    std::lock_guard lock(mutex_);
    stall_[0] = stall_[1] = 0;
    violationsBefore_ = mouse_->Violations().size();
  }
  const VirtualStatus fresh;
  mouse_->ForgetProgram();
  mouse_->SetState(VirtualMouseState{});
  mouse_->SetFactoryState(VirtualMouseState{});
  mouse_->SetBattery(fresh.batteryLevel, fresh.chargeState);
  mouse_->SetOnline(fresh.online);
  mouse_->SetSensorNumber(fresh.sensorNumber);
  mouse_->SetModelTag(fresh.modelTag);
  mouse_->Unplug(VirtualLink::Receiver);
  mouse_->Plug(VirtualLink::Cable);
}

}  // namespace zeltra::winehid
