// A device scan among 5, 50 and 150 HID interfaces on the virtual mouse (the
// cable and the receiver, two interfaces each, among unrelated ones): one
// enumeration per scan and one open per interface of the two links.
// For comparison, "ProbePerMember" re-enumerates the set for every member
// index and opens every interface, as a probe-per-index scan would.
#include <benchmark/benchmark.h>

#include "device/device_link.h"
#include "cli/headless_host.h"
#include "device/virtual_mouse.h"

namespace {

using namespace zeltra;

std::shared_ptr<VirtualMouse> MouseAmong(Clock& clock, int interfaces) {
  auto mouse = std::make_shared<VirtualMouse>(clock);
  mouse->SetLogging(false);
  const int unrelated = interfaces - 4;
  for (int i = 0; i < unrelated / 2; ++i) mouse->AddUnrelatedInterface({0x1000, static_cast<std::uint16_t>(i), 8, 0});
  mouse->Plug(VirtualLink::Cable);
  for (int i = unrelated / 2; i < unrelated; ++i) mouse->AddUnrelatedInterface({0x1000, static_cast<std::uint16_t>(i), 33, 33});
  mouse->Plug(VirtualLink::Receiver);
  return mouse;
}

void Report(benchmark::State& state, const VirtualMouse& mouse, int enumerations, int opens) {
  const auto scans = static_cast<double>(state.iterations());
  state.counters["enumerations/scan"] = (mouse.Enumerations() - enumerations) / scans;
  state.counters["opens/scan"] = (mouse.Opens() - opens) / scans;
}

void ScanDevices(benchmark::State& state) {
  VirtualClock clock;
  SettingsStore settings{std::filesystem::path{}};  // never loaded or saved: a scan reads no file
  HeadlessLinkHost host(settings);
  auto mouse = MouseAmong(clock, static_cast<int>(state.range(0)));
  DeviceLink link(mouse, clock, host, host, host);
  link.ScanDevices();  // starts the two listeners once
  const int enumerations = mouse->Enumerations();
  const int opens = mouse->Opens();
  for (auto _ : state) benchmark::DoNotOptimize(link.ScanDevices());
  Report(state, *mouse, enumerations, opens);
  if (link.AnyPresent() != 1 || !link.HandleOpen(LinkKind::Cable)) state.SkipWithError("the scan lost the links");
}
BENCHMARK(ScanDevices)->Arg(5)->Arg(50)->Arg(150);

void ProbePerMember(benchmark::State& state) {
  VirtualClock clock;
  auto mouse = MouseAmong(clock, static_cast<int>(state.range(0)));
  const int enumerations = mouse->Enumerations();
  const int opens = mouse->Opens();
  for (auto _ : state) {
    for (int i = 0; i < kMaxProbedMembers; ++i) {
      const auto members = mouse->Enumerate();
      if (i >= static_cast<int>(members.size())) continue;
      if (auto handle = mouse->Open(members[static_cast<std::size_t>(i)].path, HidAccess::ReadWrite))
        benchmark::DoNotOptimize(handle->Identity());
    }
    for (int link = 0; link < 2; ++link) benchmark::DoNotOptimize(mouse->Enumerate());
  }
  Report(state, *mouse, enumerations, opens);
}
BENCHMARK(ProbePerMember)->Arg(5)->Arg(50)->Arg(150);

}  // namespace
