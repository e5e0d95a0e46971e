// Report lengths from report descriptors: the mouse's and the receiver's
// interfaces as the links need to tell them apart, ordinary neighbours, and
// descriptors broken in every way a parser can be caught out.
#include <gtest/gtest.h>

#include <cstdio>

#include "device/hid_descriptor.h"
#include "device_fixture.h"

namespace zeltra::test {
namespace {

// Report 5 of 32 vendor bytes on the input interface; report 0x0C of 32
// bytes on the feature interface (one identifier byte + 32 = 33).
constexpr const char* kInputInterface =
    "06 00 FF 09 01 A1 01 85 05 15 00 26 FF 00 75 08 95 20 09 02 81 02 C0";
constexpr const char* kFeatureInterface =
    "06 01 FF 09 01 A1 01 85 0C 15 00 26 FF 00 75 08 95 20 09 03 B1 02 C0";
// A mouse (report 1: five buttons, padding, 16-bit X and Y, wheel) and a
// consumer control (report 3, 16 bits) on one interface.
constexpr const char* kMouseInterface =
    "05 01 09 02 A1 01 85 01 09 01 A1 00 05 09 19 01 29 05 15 00 25 01 95 05 75 01 81 02 95 01 75 03 81 01"
    " 05 01 09 30 09 31 16 00 80 26 FF 7F 75 10 95 02 81 06 09 38 15 81 25 7F 75 08 95 01 81 06 C0 C0"
    " 05 0C 09 01 A1 01 85 03 15 00 26 FF 03 19 00 2A FF 03 75 10 95 01 81 00 C0";
// A boot keyboard without identifiers: 8 bytes in, the LED byte out.
constexpr const char* kKeyboardInterface =
    "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 95 01 75 08 81 01"
    " 95 05 75 01 05 08 19 01 29 05 91 02 95 01 75 03 91 01 95 06 75 08 15 00 25 65 05 07 19 00 29 65 81 00 C0";

// A keyboard whose key bitmap (report 2) is 32 bytes: as long as the
// mouse's own input report, but not it.
constexpr const char* kBitmapKeyboard =
    "05 01 09 06 A1 01 85 02 05 07 19 00 29 FF 15 00 25 01 75 01 96 00 01 81 02 C0";

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out.append(p).append(" ");
  return out;
}

HidReportLengths Parse(std::string_view hex) {
  const Bytes bytes = FromHex(hex);
  return ParseReportDescriptor(bytes);
}

TEST(ReportDescriptor, LengthsOfWellFormedInterfaces) {
  struct Case {
    const char* name;
    std::string hex;
    HidReportLengths expected;
  } cases[] = {
      {"input interface", kInputInterface, {33, 0, 0, false}},
      {"feature interface", kFeatureInterface, {0, 0, 33, false}},
      {"both on one", std::string(kInputInterface) + " " + kFeatureInterface, {33, 0, 33, false}},
      {"mouse and consumer", kMouseInterface, {7, 0, 0, false}},
      {"keyboard", kKeyboardInterface, {9, 2, 0, false}},
      {"empty", "", {0, 0, 0, false}},
      // A long item carries nothing the lengths need.
      {"long item", std::string("FE 03 10 AA BB CC ") + kInputInterface, {33, 0, 0, false}},
      // Push keeps 8 x 4, Pop brings it back after 16 x 16.
      {"push and pop", "75 08 95 04 A4 75 10 95 10 B4 81 02", {5, 0, 0, false}},
      {"pop without push", "B4 B4 75 08 95 02 81 02", {3, 0, 0, false}},
      // Identifiers are one byte and never 0: such items change nothing.
      {"bad identifiers", "85 07 85 00 86 2C 01 75 08 95 03 81 02", {4, 0, 0, false}},
      // Reserved item types are skipped with their data.
      {"reserved item", "FF 01 02 03 04 75 08 95 01 81 02", {2, 0, 0, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.hex), c.expected) << c.name;
}

TEST(ReportDescriptor, BrokenDescriptorsStopWithoutReadingPastTheEnd) {
  const std::string feature = kFeatureInterface;
  struct Case {
    const char* name;
    std::string hex;
    HidReportLengths expected;
  } cases[] = {
      {"cut inside Report Count", feature.substr(0, feature.find("95 20") + 2), {0, 0, 0, true}},
      {"cut inside Feature", feature.substr(0, feature.find("B1 02") + 2), {0, 0, 0, true}},
      {"cut before End Collection", feature.substr(0, feature.find(" C0")), {0, 0, 33, false}},
      {"input then cut", std::string(kInputInterface) + " 06 01", {33, 0, 0, true}},
      {"long item cut in its header", "FE 03", {0, 0, 0, true}},
      {"long item longer than the rest", "FE C8 10 AA BB", {0, 0, 0, true}},
      {"four-byte item cut", "75 08 97 FF FF", {0, 0, 0, true}},
      // The largest size times the largest count saturates instead of wrapping.
      {"huge count", "77 FF FF FF FF 97 FF FF FF FF 81 02 81 02 B1 02", {0xFFFF, 0, 0xFFFF, false}},
      {"huge but once", "75 08 97 00 00 01 00 81 02", {0xFFFF, 0, 0, false}},
  };
  for (const Case& c : cases) {
    // A copy of exactly the descriptor's size, so a sanitizer sees any read past it.
    const Bytes bytes = FromHex(c.hex);
    const auto heap = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), heap.get());
    EXPECT_EQ(ParseReportDescriptor(std::span(heap.get(), bytes.size())), c.expected) << c.name;
  }
  // Pushes beyond what the parser keeps are dropped, not stacked without end.
  Bytes deep(5000, 0xA4);
  for (int i = 0; i < 5000; ++i) deep.push_back(0xB4);
  EXPECT_EQ(ParseReportDescriptor(deep), (HidReportLengths{}));
}


TEST(ReportDescriptor, CollectionsWithTheirUsagesLengthsAndReports) {
  const Bytes bytes = FromHex(Join({kMouseInterface, kInputInterface, kFeatureInterface}));
  const HidDescriptor d = ParseHidDescriptor(bytes);
  ASSERT_EQ(d.collections.size(), 4u);
  EXPECT_EQ(d.collections[0], (HidCollection{0x01, 0x02, {7, 0, 0, false}, {1}, {}}));    // the pointer
  EXPECT_EQ(d.collections[1], (HidCollection{0x0C, 0x01, {3, 0, 0, false}, {3}, {}}));    // consumer keys
  EXPECT_EQ(d.collections[2], (HidCollection{0xFF00, 0x01, {33, 0, 0, false}, {5}, {}}));  // vendor input
  EXPECT_EQ(d.collections[3], (HidCollection{0xFF01, 0x01, {0, 0, 33, false}, {}, {0x0C}}));
  EXPECT_EQ(d.whole, (HidReportLengths{33, 0, 33, false}));
  // A descriptor without identifiers: one collection, reports named 0.
  const HidDescriptor keyboard = ParseHidDescriptor(FromHex(kKeyboardInterface));
  ASSERT_EQ(keyboard.collections.size(), 1u);
  EXPECT_EQ(keyboard.collections[0].inputIds, std::vector<std::uint8_t>{0});
  // Reports outside every collection still count, in a collection of their own.
  EXPECT_EQ(ParseHidDescriptor(FromHex("75 08 95 02 81 02")).collections.size(), 1u);
  // Collections beyond the limit count towards the whole only.
  std::string many;
  for (std::size_t i = 1; i <= kMaxHidCollections + 1; ++i) {
    char item[40];
    std::snprintf(item, sizeof item, "A1 01 85 %02zX 75 08 95 01 81 02 C0 ", i);
    many += item;
  }
  const HidDescriptor capped = ParseHidDescriptor(FromHex(many));
  EXPECT_EQ(capped.collections.size(), kMaxHidCollections);
  EXPECT_EQ(capped.whole.input, 2);
}

// How a Linux node (a whole USB interface) shows itself to the links: the
// lengths of the collections that carry the mouse's reports, whatever else
// the interface holds.
TEST(ReportDescriptor, LengthsForTheMousesReports) {
  struct Case {
    const char* name;
    std::string hex;
    HidReportLengths expected;
  } cases[] = {
      {"a receiver's one interface: pointer, consumer, vendor input and feature",
       Join({kMouseInterface, kInputInterface, kFeatureInterface}), {33, 0, 33, false}},
      {"split: pointer and vendor input", Join({kMouseInterface, kInputInterface}), {33, 0, 0, false}},
      {"split: keyboard and vendor feature", Join({kBitmapKeyboard, kFeatureInterface}), {0, 0, 33, false}},
      {"only the pointer", kMouseInterface, {0, 0, 0, false}},
      // The whole interface's longest input report would say 33 here.
      {"a 32-byte key bitmap is not the mouse's report", kBitmapKeyboard, {0, 0, 0, false}},
      // No identifiers: one report of each kind, the whole lengths.
      {"unnumbered", kKeyboardInterface, {9, 2, 0, false}},
  };
  for (const Case& c : cases) {
    const HidDescriptor d = ParseHidDescriptor(FromHex(c.hex));
    EXPECT_EQ(LengthsForReports(d, 5, 0x0C), c.expected) << c.name;
  }
  // What Windows shows for the collection: its longest report, also when
  // that is not the one asked for.
  const HidDescriptor twoReports =
      ParseHidDescriptor(FromHex("06 00 FF 09 01 A1 01 85 05 75 08 95 20 81 02 85 06 95 40 81 02 C0"));
  EXPECT_EQ(LengthsForReports(twoReports, 5, 0x0C).input, 65);
}

}  // namespace
}  // namespace zeltra::test
