// Value encodings, the macro image and its packets, and the parsing of what
// the mouse sends back, against bytes worked out by hand.
#include <gtest/gtest.h>

#include "device/report.h"
#include "device_fixture.h"

namespace zeltra::test {
namespace {

TEST(Encoding, StageByte) {
  struct Case {
    std::uint8_t mask, active, expected;
  };
  for (const Case& c : {Case{0x3F, 1, 0x26}, Case{0x2D, 0, 0x14}, Case{0x7F, 6, 0x77}, Case{0x01, 0, 0x11},
                        Case{0xFF, 7, 0x88}, Case{0x00, 0, 0x10}}) {
    ProfileRecord p = DefaultProfile();
    p.DPIOffOnFlagValue = c.mask;
    p.CurrentDPILevelValue = c.active;
    EXPECT_EQ(EncodeStageByte(p), c.expected) << std::hex << int(c.mask) << " " << int(c.active);
  }
}

TEST(Encoding, DpiCodesComeFromTheSensorTable) {
  ProfileRecord p = DefaultProfile();
  DpiTable t3311, t3104;
  BuildDpiTable(0x3311, t3311);
  BuildDpiTable(0x3104, t3104);
  const DpiBytes defaults = EncodeDpi(p, t3311);
  EXPECT_EQ(Hex(Bytes(defaults.begin(), defaults.end())), "26 3F 08 00 0C 00 10 00 18 00 32 00 78 00 00 00 00");
  p.XYSettingValue = {4, 15, 23, 31, 39, 300, 58, 50};  // 300: past the 48 steps, the last one (device value 47)
  const DpiBytes clamped = EncodeDpi(p, t3104);
  EXPECT_EQ(Hex(Bytes(clamped.begin(), clamped.end())), "26 3F 04 00 0F 00 17 00 1F 00 27 00 2F 00 00 00 00");
}

TEST(Encoding, LightingPayloads) {
  struct Case {
    const char* name;
    void (*edit)(ProfileRecord&);
    const char* expected;  // length byte, then the payload
  };
  const Case cases[] = {
      {"direction", [](ProfileRecord& p) { p.Lighting1Speed[1] = 2; p.Lighting1Brightness[1] = 0; p.Lighting1Direction[1] = 0; },
       "03 01 13 00"},
      {"packed colours",
       [](ProfileRecord& p) {
         p.Lighting1ModeValue[0] = 2;
         p.Lighting1ColorSelected[2] = {1, 1, 0, 1, 0, 0, 0, 1, 1, 1};
         p.Lighting1FixedColor[2][1] = 0;  // black is left out
         p.Lighting1FixedColor[2][3] = Rgb(0x00, 0xFF, 0xFF);
       },
       "09 02 22 02 FF 00 00 00 FF FF"},
      {"single colour", [](ProfileRecord& p) { p.Lighting1ModeValue[0] = 3; }, "05 03 42 FF 00 FF"},
      {"fixed places",
       [](ProfileRecord& p) {
         p.Lighting1ModeValue[0] = 6;
         p.Lighting1ColorSelected[6] = {1, 0, 0, 1, 0, 0, 0, 1, 0, 0};
       },
       "17 06 22 FF 00 00 00 00 00 00 00 00 FF FF 00 00 00 00 00 00 00 00 00 00"},
      {"two fixed places", [](ProfileRecord& p) { p.Lighting1ModeValue[0] = 7; }, "08 07 22 00 FF 00 FA 00 6A"},
      {"mode 0", [](ProfileRecord& p) { p.Lighting1ModeValue[0] = 0; }, "02 00 22"},
      {"mode 9", [](ProfileRecord& p) { p.Lighting1ModeValue[0] = 9; p.Lighting1Speed[9] = 0; }, "02 09 21"},
      {"no such mode", [](ProfileRecord& p) { p.Lighting1ModeValue[0] = 12; p.Lighting1Speed[0] = 2; }, "02 0C 23"},
  };
  for (const Case& c : cases) {
    ProfileRecord p = DefaultProfile();
    c.edit(p);
    const LightingBytes bytes = EncodeLighting(p);
    EXPECT_EQ(Hex(Bytes(bytes.begin(), bytes.begin() + 1 + bytes[0])), c.expected) << c.name;
  }
}

Macro MacroOf(std::initializer_list<MacroAction> actions) {
  Macro m(u"m");
  for (const MacroAction& a : actions) m.InsertAction(static_cast<int>(m.MacroActionNum), a);
  m.MacroCommandActionNum = static_cast<std::uint8_t>(m.CountEvents());
  return m;
}

TEST(MacroImage, EveryKindOfAction) {
  const Macro m = MacroOf({
      MacroAction::Event(0x41, false), MacroAction::Delay(100),    // A down, 100 ms
      MacroAction::Event(0x41, true),                              // A up
      MacroAction::Event(0xA2, false), MacroAction::Delay(5000),   // left Ctrl, capped at 4095 ms
      MacroAction::Event(0xE0, false), MacroAction::Event(0xE0, true),  // left button
      MacroAction::Event(0xE4, false),                             // fifth button
      MacroAction::Event(0xE5, false, 0xFB),                       // move left 5
      MacroAction::Event(0xE6, false, 0x03),                       // move down 3
      MacroAction::Event(0xE7, false, 0x01),                       // wheel
      MacroAction::Event(0xFA, false),                             // key value 0x90: still a key
      MacroAction::Event(0xFB, true),                              // key value 0x91: a modifier bit
      MacroAction::Event(0x7C, false),                             // F13: no key code
      MacroAction::Event(0x42, false), MacroAction::Delay(0x0ABCDE),  // over 4095: capped
  });
  const MacroImage image = BuildMacroImage(m, 3);
  EXPECT_EQ(Hex(Bytes(image.begin(), image.begin() + 4 + 13 * 3)),
            "09 90 03 0D "
            "30 64 04 B0 00 04 2F FF 01 10 00 01 90 00 01 10 00 10 40 00 FB 50 00 03 60 00 01 30 00 90 "
            "A0 00 02 30 00 00 3F FF 05");
  EXPECT_TRUE(std::all_of(image.begin() + 4 + 13 * 3, image.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(MacroImage, OtherDeviceValuesAreSentAsTheyAre) {
  // No key maps there today; the rule still holds for values 0xE8..0xEF and 0xF8..0xFF.
  const auto map = [](unsigned vk) -> std::uint8_t { return vk == 0x30 ? 0xE9 : vk == 0x31 ? 0xFA : 0; };
  const MacroImage image = BuildMacroImage(MacroOf({MacroAction::Event(0x30, false), MacroAction::Event(0x31, true)}), 1, map);
  EXPECT_EQ(Hex(Bytes(image.begin(), image.begin() + 10)), "09 90 01 02 00 00 E9 80 00 FA");
}

TEST(MacroImage, ADelayOnlyCountsForTheActionBeforeIt) {
  // A leading delay and a second delay in a row give nothing to anyone.
  const MacroImage image = BuildMacroImage(
      MacroOf({MacroAction::Delay(50), MacroAction::Event(0x41, false), MacroAction::Delay(0x234), MacroAction::Delay(9)}), 2);
  EXPECT_EQ(Hex(Bytes(image.begin(), image.begin() + 7)), "09 90 02 01 32 34 04");
}

TEST(MacroImage, NeverGrowsPastItsSizeAndCountsWhatItHolds) {
  Macro m(u"long");
  for (int i = 0; i < kMaxMacroActions; ++i) m.InsertAction(i, MacroAction::Event(0x41, i % 2 == 1));
  m.MacroActionNum = 1000;          // a damaged library file
  m.MacroCommandActionNum = 3;      // and a count that does not match
  const MacroImage image = BuildMacroImage(m, 1);
  EXPECT_EQ(image[3], 168);
  EXPECT_EQ(Hex(Bytes(image.begin() + 502, image.end())), "30 00 04 B0 00 04 00 00 00 00");

  const auto packets = BuildMacroPackets(image);
  ASSERT_EQ(packets.size(), 21u);  // 504 bytes, 25 a packet
  Bytes uploaded;
  for (std::size_t k = 0; k < packets.size(); ++k) {
    const Report& p = packets[k];
    EXPECT_EQ(p[5], static_cast<std::uint8_t>(((k & 0x0F) << 4) | (21 & 0x0F))) << k;
    EXPECT_EQ(p[6], k + 1 < packets.size() ? 26 : 5) << k;
    EXPECT_EQ(p[7], 1);
    uploaded.insert(uploaded.end(), p.begin() + 8, p.begin() + 8 + (p[6] - 1));
    for (std::size_t i = 8 + (p[6] - 1u); i < p.size(); ++i) EXPECT_EQ(p[i], 0) << "packet " << k << " byte " << i;
  }
  EXPECT_EQ(uploaded, Bytes(image.begin() + 4, image.begin() + 4 + 504));
}

TEST(MacroImage, CountByteFollowsTheActionsNotTheStoredCount) {
  Macro m = MacroOf({MacroAction::Event(0x41, false), MacroAction::Event(0x41, true), MacroAction::Event(0x42, false)});
  m.MacroCommandActionNum = 200;
  const MacroImage image = BuildMacroImage(m, 1);
  EXPECT_EQ(image[3], 3);
  const auto packets = BuildMacroPackets(image);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0][6], 10);
}

TEST(MacroPackets, ChunkLengths) {
  struct Case {
    int actions;
    std::vector<std::pair<int, int>> fields;  // [5], [6] per packet
  };
  const Case cases[] = {
      {0, {{0x01, 1}}},
      {1, {{0x01, 4}}},
      {8, {{0x01, 25}}},
      {9, {{0x02, 26}, {0x12, 3}}},
      {25, {{0x03, 26}, {0x13, 26}, {0x23, 26}}},  // 75 bytes: three full packets
  };
  for (const Case& c : cases) {
    MacroImage image{};
    image[2] = 4;
    image[3] = static_cast<std::uint8_t>(c.actions);
    const auto packets = BuildMacroPackets(image);
    ASSERT_EQ(packets.size(), c.fields.size()) << c.actions;
    for (std::size_t k = 0; k < packets.size(); ++k) {
      EXPECT_EQ(packets[k][5], c.fields[k].first) << c.actions << " packet " << k;
      EXPECT_EQ(packets[k][6], c.fields[k].second) << c.actions << " packet " << k;
    }
  }
}

// ---- What comes back ----

Bytes StatusBytes(std::uint8_t command, std::uint8_t result, std::string_view tag, std::uint8_t sensor,
                  std::uint8_t level, std::uint8_t charge, std::uint8_t online) {
  Bytes r(33, 0);
  r[0] = 0x0C;
  r[2] = command;
  r[3] = result;
  r[6] = 15;
  for (std::size_t i = 0; i < 4; ++i) r[8 + i] = static_cast<std::uint8_t>(tag[i]);
  r[15] = sensor;
  r[18] = level;
  r[19] = charge;
  r[21] = online;
  return r;
}

// What the virtual mouse cannot be made to answer: a failed result and an
// unknown charge state.
TEST(StatusReplyParse, ResultCodeAndChargeState) {
  EXPECT_FALSE(ParseStatusReply(StatusBytes(0x20, 1, "K5R7", 17, 55, 0, 1)));
  EXPECT_FALSE(ParseStatusReply(StatusBytes(0x07, 0, "K5R7", 17, 55, 0, 1)));
  const auto reply = ParseStatusReply(StatusBytes(0x20, 0, "K5R7", 17, 30, 7, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->chargeState, 0);
  EXPECT_EQ(reply->batteryLevel, 30);
  EXPECT_FALSE(reply->online);
}

TEST(InputReportDecode, StageAndRate) {
  struct Case {
    Bytes report;
    std::optional<std::pair<int, int>> decoded;  // position, rate index
  };
  const Case cases[] = {
      {FromHex("05 06 00 08 02"), std::pair{2, 0}},
      {FromHex("05 06 00 04 01"), std::pair{1, 1}},
      {FromHex("05 06 00 02 08"), std::pair{8, 2}},
      {FromHex("05 06 00 01 03"), std::pair{3, 3}},
      {FromHex("05 06 00 00 03"), std::pair{3, 3}},  // no rate bits: 1000 Hz
      {FromHex("05 06 00 10 03"), std::pair{3, 3}},
      {FromHex("05 06 00 08"), std::nullopt},        // short
      {FromHex("05 07 00 08 02"), std::nullopt},     // another notification
      {FromHex("04 06 00 08 02"), std::nullopt},     // another report
      {FromHex("05 06 00 08 00"), std::nullopt},     // no stage 0
      {FromHex("05 06 00 08 09"), std::nullopt},     // no ninth stage
  };
  for (const Case& c : cases) {
    const auto r = DecodeInputReport(c.report);
    ASSERT_EQ(r.has_value(), c.decoded.has_value()) << Hex(c.report);
    if (r) {
      EXPECT_EQ(std::pair(r->stagePosition, r->rateIndex), *c.decoded) << Hex(c.report);
    }
  }
}

}  // namespace
}  // namespace zeltra::test
