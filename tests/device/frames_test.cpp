// Byte-exact frames of every command, derived by hand from the report layout.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

TEST(Frames, EveryWriteCommandOfAFullApply) {
  Rig rig;
  rig.Connect();
  ProfileRecord& p = rig.host.CurrentProfile();
  p.Key[1].Value = {0x70, 0x01, 0x06, 0};  // slot 1 -> position 1
  p.Key[3].Value = {0x80, 0xCD, 0x00, 0};  // slot 3 -> position 4
  p.CurrentDPILevelValue = 0;
  p.DPIOffOnFlagValue = 0x2D;                    // stages 0, 2, 3, 5: four enabled
  p.XYSettingValue = {0, 11, 15, 23, 49, 200, 0, 0};  // 200 is beyond the 120 steps: the last one
  p.DPILevelIndicationValue[7] = Rgb(0x12, 0x34, 0x56);
  p.PollingRateValue = {0, 0, 0};
  p.SetSetting(kLiftDetectionHeight, u"1");
  p.SetSetting(kKeyDebounce, u"300");  // low byte 0x2C
  p.Lighting1ModeValue = {3, 0, 0};
  p.SetSetting(kPowerDownTime, u"10");
  p.SetSetting(kMoveLightingOnOffMode, u"1");
  p.SetSetting(kMotionWakeup, u"0");

  const std::uint8_t s = rig.link->reportSequence();
  const std::int64_t start = rig.clock.NowMs();
  rig.link->RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  rig.link->ApplyPendingChanges();

  const std::vector<Bytes> expected{
      Frame("0C 01 04 00 ss 01 04 01 70 01 06", s),
      Frame("0C 01 04 00 ss 01 04 04 80 CD 00", static_cast<std::uint8_t>(s + 1)),
      Frame("0C 01 05 00 ss 01 12 14 2D 01 00 0C 00 10 00 18 00 32 00 78 00 00 00 00 00", static_cast<std::uint8_t>(s + 2)),
      Frame("0C 01 06 00 ss 01 18 FF 00 00 00 FF 00 00 00 FF FF FF 00 00 FF FF FF 00 FF FF FF FF 12 34 56",
            static_cast<std::uint8_t>(s + 3)),
      Frame("0C 01 07 00 ss 01 01 08", static_cast<std::uint8_t>(s + 4)),
      Frame("0C 01 09 00 ss 01 02 01 00", static_cast<std::uint8_t>(s + 5)),
      Frame("0C 01 0A 00 ss 01 01 2C", static_cast<std::uint8_t>(s + 6)),
      Frame("0C 01 08 00 ss 01 05 03 42 FF 00 FF", static_cast<std::uint8_t>(s + 7)),
      Frame("0C 01 0B 00 ss 01 02 0A 01", static_cast<std::uint8_t>(s + 8)),
      Frame("0C 01 0C 00 ss 01 01 00", static_cast<std::uint8_t>(s + 9)),
  };
  const auto writes = rig.TakeWrites();
  ASSERT_EQ(writes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Hex(writes[i]), Hex(expected[i])) << "report " << i;
  // Six button positions always cost 360 ms; every other report 60 ms.
  EXPECT_EQ(rig.clock.NowMs() - start, 360 + 8 * 60);
  EXPECT_EQ(rig.host.progressDialogs, 1);
}

}  // namespace
}  // namespace zeltra::test
