// The status query on the virtual mouse and what its reply changes.
#include <gtest/gtest.h>

#include <tuple>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

int StatusQueries(const VirtualMouse& mouse) {
  int n = 0;
  for (const Transfer& t : mouse.Log())
    if (t.kind == TransferKind::SetFeature && t.bytes.size() > 2 && t.bytes[2] == 0x20) ++n;
  return n;
}

TEST(Status, QueryFrameAndReplyEffects) {
  Rig rig;
  rig.Connect();
  rig.mouse->ClearLog();
  rig.mouse->SetBattery(42, 0);
  rig.mouse->SetSensorNumber(96);
  const std::uint8_t s = rig.link->reportSequence();
  const auto start = rig.clock.NowMs();
  rig.link->QueryStatus();
  const auto log = rig.mouse->Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(Hex(log[0].bytes), Hex(Frame("0C 01 20 00 ss 00 00", s)));
  EXPECT_EQ(log[1].kind, TransferKind::GetFeature);
  EXPECT_EQ(log[1].timeMs - log[0].timeMs, 10);
  EXPECT_EQ(rig.clock.NowMs() - start, 10);
  EXPECT_EQ(rig.link->batteryLevel(), 42);
  EXPECT_EQ(rig.link->chargeState(), 0);
  EXPECT_EQ(rig.host.sensorReports.back(), 96);
  // The window hears of every reply, after the link took it.
  ASSERT_FALSE(rig.host.statusReports.empty());
  const link_event::Status& told = rig.host.statusReports.back();
  EXPECT_EQ((std::tuple{told.modelMatches, told.online, told.battery, told.charge}), (std::tuple{true, true, 42, 0}));
}

TEST(Status, NotReadyIsAskedAgainThreeTimesInAll) {
  for (auto [notReady, queries, answered] : {std::tuple{0, 1, true}, {2, 3, true}, {3, 3, false}, {5, 3, false}}) {
    Rig rig;
    rig.Connect();
    const int before = StatusQueries(*rig.mouse);
    const auto reports = rig.host.sensorReports.size();
    rig.mouse->AnswerNotReady(notReady);
    const std::uint8_t s = rig.link->reportSequence();
    rig.link->QueryStatus();
    EXPECT_EQ(StatusQueries(*rig.mouse) - before, queries) << notReady;
    EXPECT_EQ(rig.link->reportSequence(), static_cast<std::uint8_t>(s + queries)) << notReady;
    EXPECT_EQ(rig.host.sensorReports.size() - reports, answered ? 1u : 0u) << notReady;
  }
}

TEST(Status, FailedTransfersAndBadRepliesChangeNothing) {
  struct Case {
    const char* name;
    void (*fault)(VirtualMouse&);
    int queries;
  };
  const Case cases[] = {
      {"send fails", [](VirtualMouse& m) { m.FailCall(FaultOp::SetFeature); }, 1},
      {"read fails", [](VirtualMouse& m) { m.FailCall(FaultOp::GetFeature); }, 1},
      {"short reply", [](VirtualMouse& m) { m.SetNextStatusFault(StatusFault::Short); }, 1},
      {"garbage reply", [](VirtualMouse& m) { m.SetNextStatusFault(StatusFault::Garbage); }, 1},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.Connect();
    rig.link->SetStandby({0, 0, rig.link->standby().autoShown});
    const int battery = rig.link->batteryLevel();
    const auto reports = rig.host.sensorReports.size();
    const int before = StatusQueries(*rig.mouse);
    rig.mouse->SetBattery(77, 1);
    c.fault(*rig.mouse);
    rig.link->QueryStatus();
    EXPECT_EQ(StatusQueries(*rig.mouse) - before, c.queries) << c.name;
    EXPECT_EQ(rig.link->batteryLevel(), battery) << c.name;
    EXPECT_EQ(rig.host.sensorReports.size(), reports) << c.name;
    EXPECT_EQ(rig.link->standby().active, 0) << c.name;
  }
}

TEST(Status, WithoutALinkNothingIsAsked) {
  Rig rig(/*cable=*/false);
  rig.Connect();
  const std::uint8_t s = rig.link->reportSequence();
  rig.link->QueryStatus();
  EXPECT_EQ(rig.link->reportSequence(), s);
  EXPECT_EQ(StatusQueries(*rig.mouse), 0);
}

TEST(Status, OnlineFlagMovesTheWindowOnlyWithTheRightModel) {
  struct Case {
    const char* name;
    StandbyState before;
    bool online;
    std::array<std::uint8_t, 4> tag;
    StandbyState after;
    std::vector<std::string> events;
  };
  const std::array<std::uint8_t, 4> k5r7{'K', '5', 'R', '7'};
  const Case cases[] = {
      {"standby, online", {0, 0, 0}, true, k5r7, {1, 1, 1}, {"active 1", "show"}},
      {"standby, offline", {0, 1, 0}, false, k5r7, {0, 0, 0}, {}},
      {"auto-shown, offline", {1, 1, 1}, false, k5r7, {1, 0, 0}, {"minimise"}},
      {"shown by the user, offline", {1, 1, 0}, false, k5r7, {1, 0, 0}, {}},
      {"auto-shown, online", {1, 1, 1}, true, k5r7, {1, 1, 1}, {}},
      {"another model", {0, 0, 0}, true, {'K', '5', 'R', '8'}, {0, 0, 0}, {}},
      {"another model offline", {1, 1, 1}, false, {0, 0, 0, 0}, {1, 1, 1}, {}},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.Connect();
    rig.host.events.clear();
    rig.link->SetStandby(c.before);
    rig.mouse->SetOnline(c.online);
    rig.mouse->SetModelTag(c.tag);
    rig.mouse->SetBattery(20, 2);
    rig.link->QueryStatus();
    const StandbyState& s = rig.link->standby();
    EXPECT_EQ(std::tuple(s.active, s.mouseOnline, s.autoShown), std::tuple(c.after.active, c.after.mouseOnline, c.after.autoShown))
        << c.name;
    EXPECT_EQ(rig.host.events, c.events) << c.name;
    // The sensor and the battery are taken from every accepted reply.
    EXPECT_EQ(rig.link->batteryLevel(), 100) << c.name;
    EXPECT_EQ(rig.link->chargeState(), 2) << c.name;
    EXPECT_EQ(rig.host.sensorReports.size(), 2u) << c.name;  // start-up and this one
  }
}

}  // namespace
}  // namespace zeltra::test
