#include <gtest/gtest.h>

#include "settings/lighting.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

TEST(Lighting, ModesBeyondTheTableOfferNothing) {
  for (int mode : {10, 0x2A, -1}) {
    const LightingModeInfo& info = LightingMode(mode);
    EXPECT_EQ(&info, &LightingMode(0));
    EXPECT_EQ(info.slotsOffered, 0);
    EXPECT_FALSE(info.speed || info.brightness || info.direction);
  }
}

TEST(Lighting, MenuItemsSelectTheirModes) {
  std::vector<int> modes;
  for (int item : kLightingMenuItems) modes.push_back(LightingModeForMenuItem(item).value_or(-1));
  EXPECT_EQ(modes, (std::vector<int>{1, 2, 3, 4, 5, 6, 9, 0}));
  for (int item : {0, 7, 8, 11, -1}) EXPECT_FALSE(LightingModeForMenuItem(item)) << item;

  LanguageTable language;
  language.Set(105, u"Neon");
  ProfileRecord r;
  SelectLightingMode(r, 6, language);
  EXPECT_EQ(r.Lighting1Name, u"Neon");
  EXPECT_EQ(r.Lighting1ModeValue, (std::array<std::uint8_t, 3>{6, 0, 0}));
  SelectLightingMode(r, 12, language);
  EXPECT_EQ(r.Lighting1ModeValue[0], 6);
}

TEST(Lighting, StepTexts) {
  EXPECT_EQ(LightingSpeedText(0), u"1");
  EXPECT_EQ(LightingSpeedText(2), u"3");
  std::vector<std::u16string> texts;
  for (int step = -1; step <= 4; ++step) texts.push_back(LightingBrightnessText(step));
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"25%", u"25%", u"50%", u"75%", u"100%", u"100%"}));
}

TEST(Lighting, LightByte) {
  EXPECT_EQ(LightByte(3, 2), 0x43);
  EXPECT_EQ(LightByte(0, 0), 0x11);
  EXPECT_EQ(LightByte(0xFF, 0x0F), 0x00);  // each nibble masked
  ProfileRecord r;
  r.Lighting1ModeValue[0] = 3;
  r.Lighting1Brightness[3] = 2;
  r.Lighting1Speed[3] = 1;
  EXPECT_EQ(LightByte(r), 0x32);
  r.Lighting1ModeValue[0] = 0x2A;  // beyond the table: handled as mode 0
  r.Lighting1Brightness[0] = 1;
  EXPECT_EQ(LightByte(r), 0x21);
  EXPECT_EQ(LightingModeIndex(r), 0);
}

// A record with the given slots of a mode in use, the mode current.
ProfileRecord WithSlots(int mode, const std::vector<int>& slots) {
  ProfileRecord r;
  r.Lighting1ModeValue[0] = static_cast<std::uint8_t>(mode);
  for (int s : slots) r.Lighting1ColorSelected[static_cast<std::size_t>(mode)][static_cast<std::size_t>(s)] = 1;
  return r;
}

struct SlotCase {
  const char* name;
  int mode;
  std::vector<int> inUse;
  int slot;
  int refusal;
};

class ColourSlots : public testing::TestWithParam<SlotCase> {};

TEST_P(ColourSlots, SwitchOffRules) {
  const SlotCase& c = GetParam();
  ProfileRecord r = WithSlots(c.mode, c.inUse);
  const bool wasInUse = ColourSlotInUse(r, c.mode, c.slot);
  const SlotToggle t = ToggleColourSlot(r, c.slot);
  EXPECT_EQ(t.refusal, c.refusal);
  EXPECT_EQ(t.changed, c.refusal == 0);
  EXPECT_EQ(ColourSlotInUse(r, c.mode, c.slot), c.refusal ? wasInUse : !wasInUse);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ColourSlots,
    testing::Values(SlotCase{"mode2_last_slot", 2, {4}, 4, 153},
                    SlotCase{"mode2_other_slot_comes_on", 2, {4}, 5, 0},
                    SlotCase{"mode2_two_slots", 2, {4, 5}, 4, 0},
                    SlotCase{"mode3_never", 3, {0, 1}, 0, 153},
                    SlotCase{"mode3_slot_comes_on", 3, {}, 0, 0},
                    SlotCase{"mode6_keeps_two", 6, {0, 3}, 0, 154},
                    SlotCase{"mode6_three", 6, {0, 3, 7}, 0, 0},
                    SlotCase{"mode7_last", 7, {1}, 1, 153},
                    SlotCase{"mode7_two", 7, {0, 1}, 1, 0},
                    SlotCase{"mode1_free", 1, {0}, 0, 0}),
    [](const testing::TestParamInfo<SlotCase>& p) { return std::string(p.param.name); });

TEST(Lighting, SlotOutsideTheTableChangesNothing) {
  ProfileRecord r = WithSlots(2, {0});
  EXPECT_FALSE(ToggleColourSlot(r, 10).changed);
  EXPECT_FALSE(ToggleColourSlot(r, -1).changed);
  EXPECT_EQ(ColourSlotOffRefusal(r, 11, 0), 0);
}

}  // namespace
}  // namespace zeltra
