#include <gtest/gtest.h>

#include "settings/dpi_table.h"
#include "settings/profile.h"

namespace zeltra {
namespace {

struct TableCase {
  std::uint16_t code;
  int count;
  int firstDpi;
  int lastDpi;
  int firstDevice;
  bool pageFlag;
  std::vector<std::pair<int, int>> samples;  // index, DPI
};

class DpiTables : public testing::TestWithParam<TableCase> {};

TEST_P(DpiTables, HoldTheSensorsSteps) {
  const TableCase& c = GetParam();
  DpiTable t;
  ASSERT_TRUE(BuildDpiTable(c.code, t));
  EXPECT_EQ(t.count, c.count);
  EXPECT_EQ(t.DpiOf(0), c.firstDpi);
  EXPECT_EQ(t.DpiOf(c.count - 1), c.lastDpi);
  EXPECT_EQ(t.DeviceValueOf(0), c.firstDevice);
  EXPECT_EQ(t.DeviceValueOf(c.count - 1), c.count - 1 + c.firstDevice);
  EXPECT_EQ(t.pageFlag, c.pageFlag);
  for (auto [index, dpi] : c.samples) EXPECT_EQ(t.DpiOf(index), dpi) << index;
}

INSTANTIATE_TEST_SUITE_P(
    Sensors, DpiTables,
    testing::Values(TableCase{0x3104, 48, 100, 8000, 0, false, {{39, 4000}, {40, 4500}, {41, 4800}, {42, 5500}}},
                    TableCase{0x3212, 42, 200, 4800, 1, false, {{22, 2400}, {23, 3000}}},
                    TableCase{0x3311, 120, 100, 12000, 1, false, {{7, 800}, {119, 12000}}},
                    TableCase{0x3325, 59, 200, 10000, 1, false, {{48, 5000}, {49, 5500}, {51, 6400}}},
                    TableCase{0x3327, 74, 200, 12400, 1, false, {{60, 6200}, {61, 6500}, {72, 12000}}},
                    TableCase{0x3335, 160, 100, 16000, 0, true, {}},
                    TableCase{0x3389, 160, 100, 16000, 0, true, {}},
                    TableCase{0x3360, 121, 100, 24000, 0, true, {{119, 12000}}},
                    TableCase{0x3370, 290, 50, 19000, 0, true, {{199, 10000}, {200, 10100}}},
                    TableCase{0x3395, 520, 50, 26000, 0, true, {}},
                    TableCase{0x3399, 400, 50, 20000, 0, true, {}}));

TEST(DpiTable, UnknownSensorKeepsTheTableAndFallsBackToTheDefaultSensor) {
  DpiTable t;
  ASSERT_TRUE(BuildDpiTable(0x3360, t));
  EXPECT_FALSE(BuildDpiTable(0x1234, t));
  EXPECT_EQ(t.sensor, 0x3360);
  EXPECT_EQ(DpiTableFor(0x1234).sensor, 0x3311);
  EXPECT_EQ(DpiTableFor(0x1234).count, 120);
}

TEST(DpiTable, IndexBeyondTheTableUsesTheLastEntry) {
  ProfileRecord r;
  ApplySensorDpiDefaults(r, 0x3104);
  const DpiTable t = DpiTableFor(0x3104);
  EXPECT_EQ(r.XYSettingValue[6], 58);  // stored as it is
  EXPECT_EQ(r.XYSettingValue[7], 50);
  EXPECT_EQ(t.DpiOf(r.XYSettingValue[6]), 8000);
  EXPECT_EQ(t.DeviceValueOf(r.XYSettingValue[7]), 47);
  EXPECT_EQ(t.DpiOf(0xFFFF), 8000);
  EXPECT_EQ(t.DpiOf(-1), 100);
  EXPECT_EQ(DpiTable{}.DpiOf(3), 0);
}

TEST(DpiTable, DefaultStagesOfTheDefaultSensor) {
  ProfileRecord r;
  ApplySensorDpiDefaults(r, 0x3311);
  const DpiTable t = DpiTableFor(0x3311);
  std::vector<int> dpi, device;
  for (int s = 0; s < 6; ++s) {
    dpi.push_back(t.DpiOf(r.XYSettingValue[static_cast<std::size_t>(s)]));
    device.push_back(t.DeviceValueOf(r.XYSettingValue[static_cast<std::size_t>(s)]));
  }
  EXPECT_EQ(dpi, (std::vector<int>{800, 1200, 1600, 2400, 5000, 12000}));
  EXPECT_EQ(device, (std::vector<int>{8, 12, 16, 24, 50, 120}));
}

TEST(DpiRules, ActiveStageCountsEnabledStagesOnly) {
  EXPECT_EQ(ActiveStageIndex(0x3F, 0), 0);
  EXPECT_EQ(ActiveStageIndex(0x3E, 0), 1);
  EXPECT_EQ(ActiveStageIndex(0x2A, 2), 5);
  EXPECT_EQ(ActiveStageIndex(0x7F, 6), 6);  // stage 6 counts although the page does not offer it
  EXPECT_EQ(ActiveStageIndex(0x03, 2), 8);  // no such stage
  EXPECT_EQ(ActiveStageIndex(0x00, 0), 8);
}

struct ToggleCase {
  std::uint8_t mask;
  int active;
  int stage;
  bool checked;
  StageToggle expected;
};

class StageEnable : public testing::TestWithParam<ToggleCase> {};

TEST_P(StageEnable, KeepsTheActiveStageWherePossible) {
  const ToggleCase& c = GetParam();
  const StageToggle got = ToggleStageEnable(c.mask, c.active, c.stage, c.checked);
  EXPECT_EQ(got.refused, c.expected.refused);
  EXPECT_EQ(got.mask, c.expected.mask);
  EXPECT_EQ(got.active, c.expected.active);
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, StageEnable,
    testing::Values(
        // Stage 2 active: switching stage 0 off and on again keeps stage 2 active.
        ToggleCase{0x3F, 2, 0, false, {false, 0x3E, 1}}, ToggleCase{0x3E, 1, 0, true, {false, 0x3F, 2}},
        // The active stage itself goes off: the previous one takes over...
        ToggleCase{0x3F, 2, 2, false, {false, 0x3B, 1}},
        // ...or, for the first enabled stage, the next one.
        ToggleCase{0x3F, 0, 0, false, {false, 0x3E, 0}},
        // Stages after the active one do not move it.
        ToggleCase{0x3F, 1, 4, false, {false, 0x2F, 1}}, ToggleCase{0x0F, 1, 5, true, {false, 0x2F, 1}},
        // The last enabled stage stays on.
        ToggleCase{0x04, 0, 2, false, {true, 0x04, 0}},
        // Stage 6, enabled by a file, counts among the enabled stages.
        ToggleCase{0x7F, 6, 5, false, {false, 0x5F, 5}},
        // Boxes that already match and stages outside 0..7 change nothing.
        ToggleCase{0x3F, 1, 3, true, {false, 0x3F, 1}}, ToggleCase{0x3F, 1, 8, false, {false, 0x3F, 1}}));

TEST(DpiRules, TypedDpiRoundsUpToTheNextStep) {
  const DpiTable t = DpiTableFor(0x3311);
  EXPECT_EQ(DpiIndexForTyped(t, 850), 8);
  EXPECT_EQ(t.DpiOf(8), 900);
  EXPECT_EQ(DpiIndexForTyped(t, 900), 8);
  EXPECT_EQ(DpiIndexForTyped(t, 0), 0);
  EXPECT_EQ(DpiIndexForTyped(t, -50), 0);
  EXPECT_EQ(DpiIndexForTyped(t, 11999), 119);
  EXPECT_EQ(DpiIndexForTyped(t, 99999999), 119);
  EXPECT_EQ(DpiIndexForText(t, u"1234"), 12);
  EXPECT_EQ(DpiIndexForText(t, u"abc"), 0);
  EXPECT_EQ(DpiIndexForTyped(DpiTable{}, 800), 0);
}

TEST(DpiRules, StageByte) {
  EXPECT_EQ(StageByte(0x3F, 1), 0x26);
  EXPECT_EQ(StageByte(0x7F, 6), 0x77);
  EXPECT_EQ(StageByte(0xFF, 15), 0x08);  // each nibble masked
}

}  // namespace
}  // namespace zeltra
