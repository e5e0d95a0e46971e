#include "device_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "macro/button_function.h"
#include "settings/text_format.h"

namespace zeltra::test {

ProfileRecord DefaultProfile() {
  ProfileRecord p;
  ResetProfile(p, 0, 0x3311);
  return p;
}

Bytes FromHex(std::string_view hex) {
  Bytes out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

Bytes Frame(std::string_view hex, std::uint8_t sequence) {
  std::string text(hex);
  for (std::size_t at; (at = text.find("ss")) != std::string::npos;) {
    char cell[3];
    std::snprintf(cell, sizeof cell, "%02X", sequence);
    text.replace(at, 2, cell);
  }
  Bytes out = FromHex(text);
  out.resize(kReportLength, 0);
  return out;
}

TestHost::TestHost() {
  for (auto& p : profiles) p = DefaultProfile();
  BuildDpiTable(0x3311, table);
}

const Macro* TestHost::FindLibraryMacro(std::uint32_t index) {
  for (const auto& m : library)
    if (m->MacroKeyIndex == index) return m.get();
  return nullptr;
}

bool TestHost::StartLinkTimer(LinkTimer timer) {
  switch (timer) {
    case LinkTimer::Apply: ++applyTimerStarts; return true;
    case LinkTimer::Watchdog: ++watchdogTimerStarts; return true;
    case LinkTimer::DeviceChange: deviceChangeTimerStarts += deviceChangeTimer ? 1 : 0; return deviceChangeTimer;
  }
  return false;
}

void TestHost::OnLinkEvent(const LinkEvent& event) {
  namespace ev = link_event;
  const auto refresh = [&] {
    ++refreshes;
    events.push_back("refresh");
  };
  if (const auto* applied = std::get_if<ev::Applied>(&event)) {
    if (applied->wroteSomething && !applied->silent) ++progressDialogs;
    ++delayedSaves;
    refresh();
  } else if (std::holds_alternative<ev::Changed>(event)) {
    refresh();
  } else if (const auto* disabled = std::get_if<ev::ButtonDisabled>(&event)) {
    NameDisabledButton(CurrentProfile(), disabled->position);
  } else if (const auto* standby = std::get_if<ev::StandbyChanged>(&event)) {
    events.push_back("active " + std::to_string(standby->active));
  } else if (const auto* status = std::get_if<ev::Status>(&event)) {
    if (status->turn == ev::Status::Turn::Woken) events.push_back("show");
    if (status->turn == ev::Status::Turn::Lapsed) events.push_back("minimise");
    sensorReports.push_back(status->sensor);
    statusReports.push_back(*status);
  } else if (const auto* report = std::get_if<ev::MouseReport>(&event)) {
    events.push_back("mouseState " + std::to_string(report->stage));
    if (link) stageByteCachedAtNotification.push_back(link->caches().dpi[0]);
    refresh();
  } else if (std::holds_alternative<ev::LastLinkGone>(event)) {
    ++quits;
  } else if (std::holds_alternative<ev::WatchingDevices>(event)) {
    ++registrations;
  } else if (std::holds_alternative<ev::FactoryResetDone>(event)) {
    refresh();
    ++progressDialogs;
  } else if (std::holds_alternative<ev::ReportsWaiting>(event)) {
    std::lock_guard lock(mutex_);
    ++postedCount_;
    posted_.notify_all();
  }
}

int TestHost::PumpPosted(DeviceLink& target, int count, std::chrono::milliseconds timeout) {
  int handled = 0;
  while (handled < count) {
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_for(lock, timeout, [&] { return postedCount_ > 0; })) break;
      --postedCount_;
    }
    target.DeliverMouseReports();  // the WM_MOUSE_STATE_CHANGED handler
    ++handled;
  }
  return handled;
}

Macro& TestHost::AddLibraryMacro(std::uint32_t index, int eventCount, std::uint8_t loopType, std::uint8_t loopNum) {
  auto macro = std::make_unique<Macro>(u"Macro " + Dec(index));
  macro->MacroKeyIndex = index;
  macro->MacroKeyLoopType = loopType;
  macro->MacroKeyLoopNum = loopNum;
  for (int i = 0; i < eventCount; ++i)
    macro->InsertAction(static_cast<int>(macro->MacroActionNum),
                        MacroAction::Event(static_cast<std::uint8_t>(0x41 + (i + static_cast<int>(index)) % 26), i % 2 == 1));
  macro->MacroCommandActionNum = static_cast<std::uint8_t>(macro->CountEvents());
  library.push_back(std::move(macro));
  return *library.back();
}

void TestHost::AssignMacro(int slot, std::uint32_t index) {
  KeySlot& key = CurrentProfile().Key[static_cast<std::size_t>(slot)];
  key.Name = u"Macro";
  key.Value = {0x90, 0x00, 0x00, 0};
  if (const Macro* m = FindLibraryMacro(index)) key.macro.CopyFrom(*m);
  key.MacroKeyIndex = index;
}

}  // namespace zeltra::test

namespace zeltra {

void PrintTo(const VirtualMouseState& s, std::ostream* out) {
  using test::Hex;
  using test::Bytes;
  *out << "\n  buttons";
  for (const auto& b : s.buttons) *out << " [" << Hex(Bytes(b.begin(), b.end())) << "]";
  *out << "\n  stage " << int(s.stageByte) << " mask " << int(s.dpiMask) << " codes";
  for (auto c : s.dpiCodes) *out << " " << c;
  *out << "\n  colours";
  for (const auto& c : s.dpiColours) *out << " [" << Hex(Bytes(c.begin(), c.end())) << "]";
  *out << "\n  rate " << int(s.rateCode) << " lift " << int(s.liftOff) << " debounce " << int(s.debounce) << " power "
       << int(s.powerDownTime) << "/" << int(s.moveLighting) << " wake " << int(s.motionWakeup);
  *out << "\n  lighting " << Hex(s.lighting);
  for (std::size_t i = 1; i < s.macros.size(); ++i) *out << "\n  macro " << i << ": " << Hex(s.macros[i]);
}

}  // namespace zeltra

namespace zeltra::test {

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

Rig::Rig(bool cable, bool receiver, int unrelatedBefore) : mouse(std::make_shared<VirtualMouse>(clock)) {
  mouse->AddUnrelatedInterface({0x1111, 0x2222, 9, 0});
  mouse->AddUnrelatedInterface({0x1111, 0x2223, 33, 33}, /*openable=*/false);
  for (int i = 0; i < unrelatedBefore; ++i)
    mouse->AddUnrelatedInterface({0x5555, static_cast<std::uint16_t>(i), 33, 33});
  if (cable) mouse->Plug(VirtualLink::Cable);
  if (receiver) mouse->Plug(VirtualLink::Receiver);
  mouse->AddUnrelatedInterface({0x3333, 0x4444, 64, 0});
  link = std::make_unique<DeviceLink>(mouse, clock, host, host, host);
  host.link = link.get();
  link->InitStandby(0);
}

Rig::~Rig() {
  link.reset();
  if (expectNoViolations) {
    EXPECT_EQ(mouse->Violations(), std::vector<std::string>{});
  }
}

void Rig::Connect() {
  link->StartUp();
  link->ApplyPendingChanges();
  TakeWrites();
}

std::vector<Bytes> Rig::TakeWrites() {
  const auto writes = mouse->Writes();
  std::vector<Bytes> out;
  for (std::size_t i = writesSeen; i < writes.size(); ++i) out.push_back(writes[i].bytes);
  writesSeen = writes.size();
  return out;
}

}  // namespace zeltra::test
