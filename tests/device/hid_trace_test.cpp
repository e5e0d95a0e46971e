// The HID trace: its line format, what it records of a real apply cycle and
// listener, and that nothing about it can disturb a transfer.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "device/device_link.h"
#include "device/hid_trace.h"
#include "device_fixture.h"

namespace zeltra::test {
namespace {

class CapturingSink : public HidTraceSink {
 public:
  void WriteLine(std::string_view line) noexcept override {
    std::lock_guard lock(mutex);
    lines.emplace_back(line);
  }
  std::vector<std::string> Lines() {
    std::lock_guard lock(mutex);
    return lines;
  }
  std::mutex mutex;
  std::vector<std::string> lines;
};

TEST(HidTrace, LineFormat) {
  const std::uint8_t frame[] = {0x0C, 0x01, 0x07, 0xAB};
  struct Case {
    std::int64_t ms;
    std::string_view link;
    TraceDirection direction;
    std::span<const std::uint8_t> bytes;
    bool ok;
    HidError error;
    std::string_view line;
  } cases[] = {
      {0, "cable", TraceDirection::SetFeature, frame, true, {}, "0 cable set-feature ok 0C 01 07 AB\n"},
      {1234, "receiver", TraceDirection::GetFeature, {}, false, {}, "1234 receiver get-feature failed error=?\n"},
      {7, "other", TraceDirection::InputReport, std::span(frame).first(1), true, {}, "7 other input-report ok 0C\n"},
      // The system's reason comes before what was sent.
      {9, "cable", TraceDirection::SetFeature, frame, false, {HidError::Kind::System, 1167},
       "9 cable set-feature failed error=1167 0C 01 07 AB\n"},
      {9, "cable", TraceDirection::InputReport, {}, false, {HidError::Kind::Errno, 19}, "9 cable input-report failed errno=19\n"},
      {9, "cable", TraceDirection::GetFeature, {}, false, {HidError::Kind::Timeout, 258}, "9 cable get-feature failed timeout\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HidTrace::FormatLine(c.ms, c.link, c.direction, c.bytes, c.ok, c.error), c.line);
  EXPECT_EQ(TraceLinkName({kMouseVendorId, kReceiverProductId, 0, 33}), "receiver");
  EXPECT_EQ(TraceLinkName({0x1234, kCableProductId, 0, 33}), "other");
}

TEST(HidTrace, OffIsTheBackendItself) {
  VirtualClock clock;
  auto mouse = std::make_shared<VirtualMouse>(clock);
  EXPECT_EQ(WithHidTrace(mouse, nullptr), mouse);
}

TEST(HidTrace, RecordsEveryTransferOfTheLinkInOrder) {
  Rig rig(/*cable=*/false, /*receiver=*/true);
  auto sink = std::make_shared<CapturingSink>();
  auto trace = std::make_shared<HidTrace>(sink, rig.clock);
  TestHost host;
  DeviceLink link(WithHidTrace(rig.mouse, trace), rig.clock, host, host, host);
  host.link = &link;
  link.InitStandby(0);
  link.StartUp();  // scan and status query
  ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Receiver, std::chrono::seconds(5)));
  rig.mouse->PressDpiButton();
  ASSERT_EQ(host.PumpPosted(link, 1), 1);
  host.CurrentProfile().PollingRateValue = {2, 0, 0};
  link.RequestApply(kPendingSettings);
  link.ApplyPendingChanges();
  rig.mouse->FailCall(FaultOp::SetFeature);
  link.SendFactoryReset();
  rig.mouse->StallCall(FaultOp::SetFeature);
  link.SendFactoryReset();
  rig.mouse->Unplug(VirtualLink::Receiver);  // the listener's read fails
  ASSERT_TRUE(Eventually([&] { return !link.ListenerBusy(LinkKind::Receiver); }));
  link.Close();

  const auto lines = sink->Lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], HidTrace::kHeader);
  EXPECT_EQ(lines[1].substr(0, 47), "0 receiver set-feature ok 0C 01 20 00 01 00 00 ");
  EXPECT_EQ(lines[2].substr(0, 29), "10 receiver get-feature ok 0C");
  std::vector<std::string> rest(lines.begin() + 3, lines.end());
  auto has = [&](std::string_view piece) {
    return std::any_of(rest.begin(), rest.end(), [&](const std::string& l) { return l.find(piece) != std::string::npos; });
  };
  EXPECT_TRUE(has("receiver input-report ok 05 06"));
  EXPECT_TRUE(has("receiver set-feature ok 0C 01 07 00 02 01 01 02 00"));
  // Each failure with the reason the stack gave.
  EXPECT_TRUE(has("receiver set-feature failed error=31 0C 01 0F 00 03 01 01 FF"));
  EXPECT_TRUE(has("receiver set-feature failed timeout 0C 01 0F 00 04 01 01 FF"));
  EXPECT_TRUE(has("receiver input-report failed error=1167\n"));
  EXPECT_EQ(trace->Failures(TraceDirection::SetFeature), 2);
  EXPECT_EQ(trace->Transfers(TraceDirection::SetFeature), 4);
}

#ifndef _WIN32
TEST(HidTrace, AFailingFileNeverTouchesTheTransfers) {
  // Every write to /dev/full fails with "no space left".
  auto sink = OpenHidTraceFile("/dev/full");
  ASSERT_TRUE(sink);
  Rig rig;
  auto trace = std::make_shared<HidTrace>(sink, rig.clock);
  TestHost host;
  DeviceLink link(WithHidTrace(rig.mouse, trace), rig.clock, host, host, host);
  link.InitStandby(0);
  link.StartUp();
  host.CurrentProfile().PollingRateValue = {0, 0, 0};
  link.RequestApply(kPendingSettings);
  link.ApplyPendingChanges();
  EXPECT_EQ(rig.mouse->State().rateCode, 8);
  EXPECT_EQ(trace->Failures(TraceDirection::SetFeature), 0);
}
#endif

TEST(HidTrace, AFileGetsWholeLinesFromManyThreads) {
  TempDir dir;
  EXPECT_FALSE(OpenHidTraceFile(dir / "no-such-folder" / "trace.log"));
  {
    auto sink = OpenHidTraceFile(dir / "trace.log");
    ASSERT_TRUE(sink);
    VirtualClock clock;
    HidTrace trace(sink, clock);
    std::vector<std::thread> threads;
    const Bytes frame(33, 0x5A);
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([&] {
        for (int i = 0; i < 200; ++i) trace.Record("cable", TraceDirection::InputReport, frame, true);
      });
    for (auto& t : threads) t.join();
  }
  const Bytes bytes = ReadBytes(dir / "trace.log");
  const std::string text(bytes.begin(), bytes.end());
  const std::string line = HidTrace::FormatLine(0, "cable", TraceDirection::InputReport, Bytes(33, 0x5A), true);
  EXPECT_EQ(text, std::string(HidTrace::kHeader) + [&] {
    std::string all;
    for (int i = 0; i < 800; ++i) all += line;
    return all;
  }());
}

}  // namespace
}  // namespace zeltra::test
