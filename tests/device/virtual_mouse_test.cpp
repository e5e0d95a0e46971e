// The virtual mouse is the other tests' oracle; here it is checked itself.
#include <gtest/gtest.h>

#include "device/report.h"
#include "device_fixture.h"

namespace zeltra::test {
namespace {

struct Bench {
  Bench() {
    mouse.AddUnrelatedInterface({0x1111, 0x2222, 33, 33});
    mouse.Plug(VirtualLink::Cable);
    for (const auto& m : mouse.Enumerate()) {
      if (m.identity.product != kCableProductId) continue;
      (m.identity.inputReportLength == 33 ? input : feature) = mouse.Open(m.path, HidAccess::ReadWrite);
    }
  }
  // Sends hex (the sequence byte is filled in), then waits `pauseMs`.
  bool Send(std::string_view hex, int pauseMs = 60) {
    Bytes frame = Frame(hex, sequence++);
    const bool ok = feature->SetFeature(frame);
    clock.SleepMs(pauseMs);
    return ok;
  }
  bool Send(const Report& report, int pauseMs = 60) {
    Report r = report;
    r[4] = sequence++;
    const bool ok = feature->SetFeature(r);
    clock.SleepMs(pauseMs);
    return ok;
  }

  VirtualClock clock;
  VirtualMouse mouse{clock};
  std::unique_ptr<HidHandle> input, feature;
  std::uint8_t sequence = 1;
};

TEST(VirtualMouse, FindsWhatTheProgramGotWrong) {
  struct Case {
    const char* frame;
    int pauseBefore;
    const char* complaint;
  };
  const Case cases[] = {
      {"0C 01 07 00 ss 01 01 02", 59, "ms after the previous one"},
      {"0C 00 07 00 ss 01 01 02", 60, "frame header"},
      {"0C 01 07 00 ss 02 01 02", 60, "parameter byte"},
      {"0C 01 07 00 ss 01 02 02", 60, "length 2, expected 1"},
      {"0C 01 07 00 ss 01 01 03", 60, "report rate code 3"},
      {"0C 01 07 00 ss 01 01 02 00 00 07", 60, "beyond the payload"},
      {"0C 01 05 00 ss 01 12 26 3F 08 00 0C 00 10 00 18 00 32 00 78 00 00 00 00 01", 60, "21..24"},
      {"0C 01 08 00 ss 01 05 02 22 02 01 02 03", 60, "lighting: length 5, expected 9"},
      {"0C 01 0D 00 ss 01 01 00", 60, "unknown command"},
      {"0C 01 0E 00 ss 12 03 01 00 08", 60, "without the packets before it"},
      {"0C 01 0E 00 ss 02 1A 01", 60, "announced 2"},
      {"0C 01 0E 00 ss 01 1B 01", 60, "macro packet length 27"},
      {"0C 01 0E 00 ss 01 02 07 01", 60, "slot 7"},
      {"0C 01 20 00 ss 00 01", 60, "status query with parameter or length"},
  };
  for (const Case& c : cases) {
    Bench b;
    b.Send("0C 01 0A 00 ss 01 01 0C", c.pauseBefore);
    b.Send(c.frame);
    const auto v = b.mouse.Violations();
    ASSERT_FALSE(v.empty()) << c.frame;
    EXPECT_NE(v.front().find(c.complaint), std::string::npos) << c.frame << ": " << v.front();
  }
  Bench gap;
  gap.Send("0C 01 0A 00 ss 01 01 0C");
  ++gap.sequence;
  gap.Send("0C 01 0A 00 ss 01 01 0D");
  ASSERT_EQ(gap.mouse.Violations().size(), 1u);
  EXPECT_NE(gap.mouse.Violations()[0].find("sequence 3 after 1"), std::string::npos);
}

TEST(VirtualMouse, CountsWritesThatChangeNothing) {
  Bench b;
  b.Send("0C 01 04 00 ss 01 04 00 10 01 00");
  b.Send("0C 01 04 00 ss 01 04 00 10 01 00");
  const Report packet = BuildMacroPackets(MacroImage{0x09, 0x90, 0x03, 0x01, 0x30, 0x00, 0x05})[0];
  b.Send(packet);
  b.Send(packet);
  EXPECT_EQ(b.mouse.RedundantWrites(), 2);
  EXPECT_TRUE(b.mouse.Writes()[1].redundant);
}

TEST(VirtualMouse, ReassemblesLongUploadsAcrossTheWrappingPacketIndex) {
  for (int actions : {125, 150, 168}) {
    Bench b;
    MacroImage image{};
    image[0] = 0x09;
    image[1] = 0x90;
    image[2] = 5;
    image[3] = static_cast<std::uint8_t>(actions);
    for (int i = 0; i < actions * 3; ++i) image[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>(i * 7 + 1);
    for (int round = 0; round < 2; ++round) {  // the second upload starts afresh
      for (const Report& p : BuildMacroPackets(image)) b.Send(p);
      EXPECT_EQ(b.mouse.State().macros[5], Bytes(image.begin() + 4, image.begin() + 4 + actions * 3)) << actions;
    }
    EXPECT_TRUE(b.mouse.Violations().empty()) << actions;
    EXPECT_EQ(b.mouse.RedundantWrites(), 1) << actions;
  }
}

TEST(VirtualMouse, StatusRepliesAndTheirTiming) {
  Bench b;
  b.mouse.SetBattery(66, 1);
  b.mouse.SetSensorNumber(149);
  b.mouse.AnswerNotReady(1);
  Report reply{};
  b.Send("0C 01 20 00 ss 00 00", 10);
  ASSERT_EQ(b.feature->GetFeature(reply), 33);
  EXPECT_EQ(reply[6], 0);
  b.Send("0C 01 20 00 ss 00 00", 10);
  ASSERT_EQ(b.feature->GetFeature(reply), 33);
  EXPECT_EQ(Hex(Bytes(reply.begin(), reply.begin() + 22)),
            "0C 01 20 00 02 00 0F 00 4B 35 52 37 00 00 00 95 00 00 42 01 00 01");
  EXPECT_TRUE(b.mouse.Violations().empty());

  EXPECT_EQ(b.feature->GetFeature(reply), -1);  // no query before it
  b.Send("0C 01 20 00 ss 00 00", 9);
  b.feature->GetFeature(reply);
  const auto v = b.mouse.Violations();
  ASSERT_EQ(v.size(), 2u);
  EXPECT_NE(v[0].find("without a status query"), std::string::npos);
  EXPECT_NE(v[1].find("9 ms after the query"), std::string::npos);
}

TEST(VirtualMouse, FaultsUnplugAndPlugBack) {
  Bench b;
  std::vector<bool> changes;
  b.mouse.SetDeviceChangeCallback([&](bool arrival) { changes.push_back(arrival); });
  b.mouse.FailCall(FaultOp::SetFeature, 2);
  EXPECT_TRUE(b.Send("0C 01 0A 00 ss 01 01 01"));
  EXPECT_FALSE(b.Send("0C 01 0A 00 ss 01 01 02"));
  EXPECT_TRUE(b.Send("0C 01 0A 00 ss 01 01 03"));
  EXPECT_EQ(b.mouse.State().debounce, 3);

  b.mouse.AddUnrelatedInterface({0x9999, 0x0001, 8, 0}, /*openable=*/false);
  const auto members = b.mouse.Enumerate();
  ASSERT_EQ(members.size(), 4u);
  EXPECT_EQ(b.mouse.Open(members[3].path, HidAccess::ReadWrite), nullptr);  // held by another program
  b.mouse.FailCall(FaultOp::Open);
  EXPECT_EQ(b.mouse.Open(members[0].path, HidAccess::ReadWrite), nullptr);
  EXPECT_NE(b.mouse.Open(members[0].path, HidAccess::ReadWrite), nullptr);
  b.mouse.Unplug(VirtualLink::Cable);
  EXPECT_EQ(b.mouse.Enumerate().size(), 2u);
  EXPECT_FALSE(b.Send("0C 01 0A 00 ss 01 01 04"));
  EXPECT_EQ(b.feature->Identity(), HidIdentity{});
  Bytes buffer(33);
  EXPECT_EQ(b.input->Read(buffer), -1);
  b.mouse.Plug(VirtualLink::Cable);
  EXPECT_EQ(changes, (std::vector<bool>{false, true}));
  EXPECT_FALSE(b.Send("0C 01 0A 00 ss 01 01 05"));  // handles from before stay dead
  const auto again = b.mouse.Enumerate();
  ASSERT_EQ(again.size(), 4u);
  EXPECT_EQ(again[1].path, members[1].path);  // back in its old place
  auto fresh = b.mouse.Open(again[2].path, HidAccess::FeatureOnly);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->SetFeature(Frame("0C 01 0A 00 ss 01 01 06", b.sequence++)));
}

TEST(VirtualMouse, TheDpiButtonWrapsAroundTheEnabledStages) {
  Bench b;
  VirtualMouseState s;
  s.stageByte = 0x33;
  b.mouse.SetState(s);
  Bytes report(33);
  b.mouse.PressDpiButton();
  ASSERT_EQ(b.input->Read(report), 33);
  EXPECT_EQ(Hex(Bytes(report.begin(), report.begin() + 5)), "05 06 00 01 01");
  EXPECT_EQ(b.mouse.State().stageByte, 0x13);
  b.mouse.ChangeReportRate(8);
  ASSERT_EQ(b.input->Read(report), 33);
  EXPECT_EQ(Hex(Bytes(report.begin(), report.begin() + 5)), "05 06 00 08 01");
  b.input->CancelRead();
  EXPECT_EQ(b.input->Read(report), -1);
}

}  // namespace
}  // namespace zeltra::test
