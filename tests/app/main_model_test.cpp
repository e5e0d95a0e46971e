// Journeys through the main window's handlers down to the virtual mouse.
#include "app_fixture.h"
#include "settings/profile_file.h"

namespace zeltra::test {
namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

std::vector<std::uint8_t> Head(const std::vector<std::uint8_t>& frame, std::size_t n) {
  return {frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST_F(MainWindowTest, FiveHundredHertzReachesTheMouseAndShowsItsText) {
  Click(3004, 1);
  Click(3032);
  EXPECT_EQ(Current().PollingRateName, u"500HZ");
  EXPECT_EQ(model->page().rateIndex, 2);
  const Frames frames = ApplyNow();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(Head(frames[0], 8), (std::vector<std::uint8_t>{0x0C, 0x01, 0x07, 0x00, frames[0][4], 0x01, 0x01, 0x02}));
  EXPECT_EQ(window.progressDialogs, 1);
  EXPECT_TRUE(Drawn(3032));
  EXPECT_TRUE(Drawn(3144));
  EXPECT_FALSE(Drawn(3145));
  EXPECT_EQ(model->page().RadioWord() & kRadioRateMask, 0x40000u);
}

TEST_F(MainWindowTest, ADebounceNoControlOffersStillReachesTheMouse) {
  settings->Profile(1).SetSetting(kKeyDebounce, u"20");
  model->OnControl({kPickerId, 2});
  model->OnPickerResult(kPickerRowChosen, 3);  // profile 1
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x0A});
  EXPECT_EQ(mouse->State().debounce, 20);
}

TEST_F(MainWindowTest, ChoosingTheCurrentProfileRefreshesAndSendsNothing) {
  model->OnControl({kPickerId, 2});
  const int updates = window.updates;
  model->OnPickerResult(kPickerRowChosen, 2);
  EXPECT_GT(window.updates, updates);
  EXPECT_TRUE(ApplyNow().empty());
  EXPECT_EQ(window.progressDialogs, 0);
  EXPECT_FALSE(window.picker);
}

TEST_F(MainWindowTest, ASwitchSendsOnlyTheDifferencesPowerSavingIncluded) {
  settings->Profile(2).PollingRateValue = {0, 0, 0};
  settings->Profile(2).SetSetting(kPowerDownTime, u"9");
  settings->Profile(2).SetSetting(kMotionWakeup, u"0");
  model->OnControl({kPickerId, 2});
  model->OnPickerResult(kPickerRowChosen, 4);  // show-list position 2: profile 2
  EXPECT_EQ(settings->CurrentProfileIndex(), 2);
  EXPECT_EQ(Commands(ApplyNow()), (std::vector<int>{0x07, 0x0B, 0x0C}));
  EXPECT_EQ(mouse->State().powerDownTime, 9);
}

TEST_F(MainWindowTest, PowerControlsMarkTheirOwnGroups) {
  model->OnControl({3500, 2, 3500, 9});
  EXPECT_EQ(Current().Setting(kPowerDownTime), u"9");
  EXPECT_EQ(model->page().powerText, u"Sleep after 9 min");
  Click(3501, 1);
  Click(3504, 0);
  EXPECT_EQ(Commands(ApplyNow()), (std::vector<int>{0x0B, 0x0C}));
  EXPECT_EQ(mouse->State().moveLighting, 1);
  EXPECT_EQ(mouse->State().motionWakeup, 0);
}

TEST_F(MainWindowTest, LiftOffRadiosCollectThePage) {
  Current().SetSetting(kTiltSpeed, u"5");
  Click(3510);
  EXPECT_EQ(Current().Setting(kLiftDetectionHeight), u"1");
  EXPECT_EQ(Current().Setting(kTiltSpeed), u"2");  // the collection normalised the carried pairs
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x09});
}

TEST_F(MainWindowTest, TheControlPanelButtonRunsTheCommandAndMarksNothing) {
  const int applies = window.applyStarts;
  Click(3330);
  EXPECT_EQ(window.commands, std::vector<std::u16string>{u"rundll32.exe shell32.dll,Control_RunDLL main.cpl,,2|9"});
  EXPECT_EQ(window.applyStarts, applies);
}

struct StageCase {
  int activeBefore;
  int stage;
  bool checked;
  std::uint8_t maskAfter;
  int activeAfter;
};

class StageChecks : public MainWindowTest, public testing::WithParamInterface<StageCase> {};

TEST_P(StageChecks, KeepTheActiveStageWherePossibleAndSendIt) {
  const StageCase& c = GetParam();
  Current().CurrentDPILevelValue = static_cast<std::uint8_t>(c.activeBefore);
  if (c.checked) Current().DPIOffOnFlagValue = static_cast<std::uint8_t>(0x3F & ~(1u << c.stage));
  model->Refresh();
  ApplyNow();
  Click(3260 + c.stage, c.checked);
  EXPECT_EQ(Current().DPIOffOnFlagValue, c.maskAfter);
  EXPECT_EQ(Current().CurrentDPILevelValue, c.activeAfter);
  EXPECT_EQ(model->mouseStage(), c.activeAfter);
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x05});
  EXPECT_EQ(mouse->State().dpiMask, c.maskAfter);
}

INSTANTIATE_TEST_SUITE_P(Mask3F, StageChecks,
                         testing::Values(StageCase{2, 0, false, 0x3E, 1}, StageCase{1, 0, true, 0x3F, 2},
                                         StageCase{2, 2, false, 0x3B, 1}, StageCase{0, 0, false, 0x3E, 0}));

TEST_F(MainWindowTest, TheLastEnabledStageStaysOn) {
  Current().DPIOffOnFlagValue = 0x04;
  Current().CurrentDPILevelValue = 0;
  model->Refresh();
  ApplyNow();
  Click(3262, 0);
  EXPECT_TRUE(model->page().stages[2].enabled);
  EXPECT_EQ(Current().DPIOffOnFlagValue, 0x04);
  EXPECT_TRUE(ApplyNow().empty());
}

TEST_F(MainWindowTest, TheValueDialogStoresTheRoundedDpi) {
  window.dpiDialog = [](DpiValueDialog& d) {
    EXPECT_EQ(d.index(), 7);  // stage 0 starts at 800
    d.OnEnter(u"850");
    return true;
  };
  Click(3300);
  EXPECT_EQ(Current().XYSettingValue[0], 8);
  EXPECT_EQ(model->page().StageLabel(0), u"900");
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x05});
  window.dpiDialog = [](DpiValueDialog& d) {
    d.OnEnter(u"99999");
    return false;  // Cancel
  };
  Click(3300);
  EXPECT_EQ(Current().XYSettingValue[0], 8);
}

TEST_F(MainWindowTest, APaletteColourGoesToItsStage) {
  window.palette_ = [](ColourPalette& p) {
    EXPECT_FALSE(p.OnClick(300, 40, ColourPalette::kBackground, 1.0f));  // between the swatches
    EXPECT_TRUE(p.OnClick(300, 40, Rgb(1, 2, 3), 1.0f));
    EXPECT_EQ(p.ValueTexts(), (std::array<std::u16string, 3>{u"1", u"2", u"3"}));
    return true;
  };
  Click(3273);
  EXPECT_EQ(Current().DPILevelIndicationValue[3], Rgb(1, 2, 3));
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x06});
}

struct SlotCase {
  int mode;
  std::vector<int> inUse;
  int slot;
  int refusal;  // 0: the slot toggles
};

class ColourSlotClicks : public MainWindowTest, public testing::WithParamInterface<SlotCase> {};

TEST_P(ColourSlotClicks, ToggleOnTheirTimerUnlessTheModeRefuses) {
  const SlotCase& c = GetParam();
  Current().Lighting1ModeValue = {static_cast<std::uint8_t>(c.mode), 0, 0};
  Current().Lighting1ColorSelected[static_cast<std::size_t>(c.mode)].fill(0);
  for (int s : c.inUse) Current().Lighting1ColorSelected[static_cast<std::size_t>(c.mode)][static_cast<std::size_t>(s)] = 1;
  model->Refresh();
  ApplyNow();
  const bool before = model->page().slots[static_cast<std::size_t>(c.slot)].inUse;
  Click(3180 + c.slot);
  EXPECT_EQ(window.timers.at(SlotTimerId(c.slot)), 150u);
  EXPECT_TRUE(model->OnTimer(SlotTimerId(c.slot)));
  EXPECT_FALSE(window.timers.count(SlotTimerId(c.slot)));
  EXPECT_EQ(model->page().slots[static_cast<std::size_t>(c.slot)].inUse, c.refusal ? before : !before);
  EXPECT_EQ(window.attentions, c.refusal ? std::vector<int>{c.refusal} : std::vector<int>{});
  EXPECT_EQ(Commands(ApplyNow()), c.refusal ? std::vector<int>{} : std::vector<int>{0x08});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ColourSlotClicks,
    testing::Values(SlotCase{2, {4}, 4, 153}, SlotCase{2, {4}, 5, 0}, SlotCase{6, {0, 3}, 0, 154},
                    SlotCase{6, {0, 3, 5}, 0, 0}, SlotCase{3, {0}, 0, 153}, SlotCase{7, {1}, 1, 153},
                    SlotCase{7, {0, 1}, 0, 0}));

TEST_F(MainWindowTest, ADoubleClickOpensThePaletteWithoutTogglingTheSlot) {
  Current().Lighting1ModeValue = {2, 0, 0};
  window.palette_ = [](ColourPalette& p) {
    EXPECT_EQ(p.kind(), PaletteKind::LightingSlot);
    EXPECT_TRUE(p.OnClick(100, 100, Rgb(9, 9, 9), 1.0f));  // inside the colour field
    return true;
  };
  Click(3181);
  model->OnControl({3181, 10});
  EXPECT_FALSE(window.timers.count(SlotTimerId(1)));
  EXPECT_EQ(Current().Lighting1ColorSelected[2][1], 1);
  EXPECT_EQ(Current().Lighting1FixedColor[2][1], Rgb(9, 9, 9));
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x08});
}

TEST_F(MainWindowTest, ADraggedSliderAppliesOnceTheButtonIsUp) {
  const int applies = window.applyStarts;
  model->OnControl({3200, 3, 0});
  EXPECT_EQ(model->sliderDragged(), 1);
  EXPECT_EQ(Current().Lighting1Speed[1], 0);
  EXPECT_EQ(model->page().SpeedLabel(), u"1");
  EXPECT_EQ(window.applyStarts, applies);
  model->OnMouseMoveWithoutButton();
  EXPECT_EQ(model->sliderDragged(), 0);
  EXPECT_EQ(window.applyStarts, applies + 1);
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x08});
  model->OnMouseMoveWithoutButton();
  EXPECT_EQ(window.applyStarts, applies + 1);
}

TEST_F(MainWindowTest, ChoosingModeZeroHidesEveryLightingControl) {
  model->OnControl({3120, 2, 3120});
  ASSERT_TRUE(window.modePopup);
  model->OnLightingModeChosen(u"Off", {0, 0, 0});
  EXPECT_FALSE(window.modePopup);
  EXPECT_EQ(Current().Lighting1Name, u"Off");
  for (int id : {3180, 3200, 3220, 3240, 3250, 3210, 3230}) EXPECT_FALSE(Drawn(id)) << id;
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x08});
  model->OnLightingModeChosen(u"?", {12, 0, 0});
  EXPECT_EQ(Current().Lighting1ModeValue[0], 0);
}

TEST_F(MainWindowTest, FactoryResetSendsTheResetAndRestoresTheProfileKeepingItsName) {
  Current().SetSetting(kProfileName, u"Mine");
  Click(3030);
  ApplyNow();
  window.confirmReset = false;
  Click(2045);
  EXPECT_EQ(mouse->FactoryResets(), 0);
  window.confirmReset = true;
  const int progress = window.progressDialogs;
  Click(2045);
  EXPECT_EQ(mouse->FactoryResets(), 1);
  EXPECT_EQ(Current().PollingRateValue[0], 3);
  EXPECT_EQ(Current().Setting(kProfileName), u"Mine");
  EXPECT_EQ(link->watchdogCounter(), 0);
  EXPECT_EQ(window.progressDialogs, progress + 1);
  EXPECT_EQ(model->page().rateIndex, 3);
  ProfileRecord onDisk;
  ASSERT_TRUE(ReadProfileRecord(settings->ProfilePath(0), onDisk));
  EXPECT_EQ(onDisk.PollingRateValue[0], 3);
  EXPECT_EQ(onDisk.Setting(kProfileName), u"Mine");
}

TEST_F(MainWindowTest, ANewSensorRewritesEveryProfileAndOffersTheLiftOffSection) {
  EXPECT_FALSE(Drawn(3011));
  model->OnSensorReported(17);  // already the sensor
  EXPECT_FALSE(Drawn(3011));
  model->OnSensorReported(96);
  EXPECT_TRUE(Drawn(3011));
  EXPECT_EQ(model->page().dpiSteps, 121);
  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord onDisk;
    ASSERT_TRUE(ReadProfileRecord(settings->ProfilePath(p), onDisk));
    EXPECT_EQ(onDisk.XYSettingValue[5], 59) << p;
    EXPECT_EQ(onDisk.XYSettingValue[0], 3) << p;
  }
}

TEST_F(MainWindowTest, EnterAndEscapeAreSwallowedAndTheSupportKeysOpenTheNotice) {
  EXPECT_TRUE(model->OnKeyDown(kVkReturn));
  EXPECT_TRUE(model->OnKeyDown(kVkEscape));
  EXPECT_FALSE(model->OnKeyDown('A'));
  for (char16_t c : std::u16string_view(u"ZELTRAHEL")) EXPECT_FALSE(model->OnKeyDown(c));
  EXPECT_EQ(model->keySequenceCount(), 9);
  EXPECT_TRUE(model->OnKeyDown('P'));
  EXPECT_EQ(window.notices, std::vector<std::u16string>{u"Technical support|Zeltra 1.1.12, sensor 0x3311"});
  // A wrong key starts over; a Z starts a new try.
  for (char16_t c : std::u16string_view(u"ZELZ")) model->OnKeyDown(c);
  EXPECT_EQ(model->keySequenceCount(), 1);
  model->OnKeyDown(kVkEscape);
  EXPECT_EQ(model->keySequenceCount(), 0);
}

TEST_F(MainWindowTest, HeadersOpenAndCloseSections) {
  Click(3003, 1);
  EXPECT_TRUE(Drawn(3330));
  EXPECT_FALSE(Drawn(3200));
  EXPECT_TRUE(Drawn(3262));
  Click(3012, 1);  // hidden: nothing happens
  EXPECT_FALSE(model->sections().Expanded(Section::Debounce));
}

}  // namespace
}  // namespace zeltra::test
