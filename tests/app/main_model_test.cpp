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
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 3);  // profile 1
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x0A});
  EXPECT_EQ(mouse->State().debounce, 20);
}

TEST_F(MainWindowTest, ASwitchSendsOnlyTheDifferencesPowerSavingIncluded) {
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 2);  // the current profile: a refresh, nothing to send
  EXPECT_TRUE(ApplyNow().empty());
  EXPECT_EQ(window.progressDialogs, 0);
  settings->Profile(2).PollingRateValue = {0, 0, 0};
  settings->Profile(2).SetSetting(kPowerDownTime, u"9");
  settings->Profile(2).SetSetting(kMotionWakeup, u"0");
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 4);  // show-list position 2: profile 2
  EXPECT_EQ(settings->CurrentProfileIndex(), 2);
  EXPECT_EQ(Commands(ApplyNow()), (std::vector<int>{0x07, 0x0B, 0x0C}));
  EXPECT_EQ(mouse->State().powerDownTime, 9);
}

TEST_F(MainWindowTest, PowerLiftOffAndControlPanelButtons) {
  Current().SetSetting(kTiltSpeed, u"5");
  model->OnControl({3500, 2, 3500, 9});
  EXPECT_EQ(model->page().powerText, u"Sleep after 9 min");
  Click(3501, 1);
  Click(3504, 0);
  EXPECT_EQ(Commands(ApplyNow()), (std::vector<int>{0x0B, 0x0C}));
  EXPECT_EQ(Current().Setting(kTiltSpeed), u"5");  // only the collecting handlers normalise
  Click(3510);
  EXPECT_EQ(Current().Setting(kLiftDetectionHeight), u"1");
  EXPECT_EQ(Current().Setting(kTiltSpeed), u"2");
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x09});
  EXPECT_EQ((std::array{mouse->State().powerDownTime, mouse->State().moveLighting, mouse->State().motionWakeup}),
            (std::array<std::uint8_t, 3>{9, 1, 0}));
  const int applies = window.applyStarts;
  Click(3330);
  EXPECT_EQ(window.commands, std::vector<std::u16string>{u"rundll32.exe shell32.dll,Control_RunDLL main.cpl,,2|9"});
  EXPECT_EQ(window.applyStarts, applies);
}

TEST_F(MainWindowTest, ExitAndMinimiseHideTheWindowOnAClickOnly) {
  model->OnControl({2001, 1});
  EXPECT_EQ(window.hides, 0);
  Click(2001);
  Click(2002);
  EXPECT_EQ(window.hides, 2);
  // The window's units answer the macro manager and the button combos.
  EXPECT_FALSE(model->OnControl({2062, 2}));
  EXPECT_FALSE(model->OnControl({2013, 2}));
}

struct StageCase {
  std::uint8_t maskBefore;
  int activeBefore;
  int stage;
  bool checked;
  std::uint8_t maskAfter;
  int activeAfter;
};

class StageChecks : public MainWindowTest, public testing::WithParamInterface<StageCase> {};

TEST_P(StageChecks, KeepTheActiveStageWherePossibleAndSendIt) {
  const StageCase& c = GetParam();
  Current().DPIOffOnFlagValue = c.maskBefore;
  Current().CurrentDPILevelValue = static_cast<std::uint8_t>(c.activeBefore);
  model->Refresh();
  Click(3260 + c.stage, c.checked);
  const bool refused = c.maskBefore == c.maskAfter;
  EXPECT_EQ(model->page().stages[static_cast<std::size_t>(c.stage)].enabled, c.checked || refused);
  EXPECT_EQ(Current().DPIOffOnFlagValue, c.maskAfter);
  EXPECT_EQ(Current().CurrentDPILevelValue, c.activeAfter);
  EXPECT_EQ(model->mouseStage(), c.activeAfter);
  EXPECT_EQ(Commands(ApplyNow()), refused ? std::vector<int>{} : std::vector<int>{0x05});
  if (!refused) {
    EXPECT_EQ(mouse->State().dpiMask, c.maskAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(Mask3F, StageChecks,
                         testing::Values(StageCase{0x3F, 2, 0, false, 0x3E, 1}, StageCase{0x3E, 1, 0, true, 0x3F, 2},
                                         StageCase{0x3F, 2, 2, false, 0x3B, 1}, StageCase{0x3F, 0, 0, false, 0x3E, 0},
                                         StageCase{0x04, 0, 2, false, 0x04, 0}));  // the last one stays on

TEST_F(MainWindowTest, TheValueDialogAndThePaletteEditTheirStage) {
  window.dpiDialog = [](DpiValueDialog& d) {
    EXPECT_EQ(d.index(), 7);  // stage 0 starts at 800
    d.OnEnter(u"850");
    return true;
  };
  window.palette_ = [](ColourPalette& p) {
    EXPECT_FALSE(p.OnClick(300, 40, ColourPalette::kBackground, 1.0f));  // between the swatches
    EXPECT_FALSE(p.OnClick(300, 200, Rgb(7, 7, 7), 1.0f));               // below the grid
    EXPECT_TRUE(p.OnClick(300, 40, Rgb(1, 2, 3), 1.0f));
    EXPECT_EQ(p.ValueTexts(), (std::array<std::u16string, 3>{u"1", u"2", u"3"}));
    return true;
  };
  Click(3300);
  Click(3273);
  EXPECT_EQ(model->page().StageLabel(0), u"900");
  EXPECT_EQ(Current().DPILevelIndicationValue[3], Rgb(1, 2, 3));
  EXPECT_EQ(Commands(ApplyNow()), (std::vector<int>{0x05, 0x06}));
}

TEST(DpiValueDialog, TypedValuesArrowsAndTheSliderStayOnTheTable) {
  DpiValueDialog dialog(DpiTableFor(0x3311), 0, 500);
  EXPECT_EQ(dialog.index(), 119);
  dialog.OnRightArrow();
  EXPECT_EQ(dialog.ValueText(), u"12000");
  for (const auto& [typed, index] : std::vector<std::pair<std::u16string, int>>{
           {u"850", 8}, {u"99999", 119}, {u"0", 0}, {u"abc", 0}, {u"900", 8}}) {
    dialog.OnEnter(typed);
    EXPECT_EQ(dialog.index(), index) << ToUtf8(typed);
  }
  dialog.OnLeftArrow();
  EXPECT_EQ(dialog.index(), 7);
  dialog.OnSlider(-3);
  dialog.OnLeftArrow();
  EXPECT_EQ(dialog.ValueText(), u"100");
  // The slider's end labels, whatever the index asked for.
  EXPECT_EQ(dialog.ValueTextAt(-1), u"100");
  EXPECT_EQ(dialog.ValueTextAt(dialog.positions() - 1), u"12000");
  EXPECT_EQ(dialog.ValueTextAt(1000), u"12000");
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
                    SlotCase{6, {0, 3, 5}, 0, 0}, SlotCase{3, {0}, 0, 153}, SlotCase{7, {1}, 1, 153}));

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

TEST_F(MainWindowTest, TheModePopupSetsTheModeAndRefusesUnknownModes) {
  model->OnControl({3120, 2, 3120});
  ASSERT_TRUE(window.modePopup);
  model->OnLightingModeChosen(u"Off", {0, 0, 0});
  EXPECT_FALSE(window.modePopup);
  EXPECT_EQ(Current().Lighting1Name, u"Off");
  EXPECT_FALSE(Drawn(3200));
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x08});
  model->OnLightingModeChosen(u"?", {12, 0, 0});
  EXPECT_EQ(Current().Lighting1ModeValue[0], 0);
}

// Combo 3120 keeps its pressed look exactly while its popup is open, however
// the popup goes: a mode chosen, or the popup losing the activation.
TEST_F(MainWindowTest, TheModeComboLooksPressedWhileItsPopupIsOpen) {
  for (const bool chosen : {true, false}) {
    SCOPED_TRACE(chosen ? "chosen" : "dismissed");
    model->OnControl({3120, 2, 3120});
    ASSERT_TRUE(window.modePopup);
    EXPECT_TRUE(window.comboPressed.at(3120));
    EXPECT_TRUE(model->lightingModeOpen());
    if (chosen)
      model->OnLightingModeChosen(u"Off", {0, 0, 0});
    else
      model->OnLightingModeDismissed();
    EXPECT_FALSE(window.modePopup);
    EXPECT_FALSE(window.comboPressed.at(3120));
    EXPECT_FALSE(model->lightingModeOpen());
  }
  // A late dismissal of a popup already closed changes nothing.
  window.comboPressed.clear();
  model->OnLightingModeDismissed();
  EXPECT_TRUE(window.comboPressed.empty());
}

TEST_F(MainWindowTest, FactoryResetSendsTheResetAndRestoresTheProfileKeepingItsName) {
  Current().SetSetting(kProfileName, u"Mine");
  Current().PollingRateValue = {0, 0, 0};
  window.confirmReset = false;
  Click(2045);
  EXPECT_EQ(mouse->FactoryResets(), 0);
  window.confirmReset = true;
  Click(2045);
  EXPECT_EQ(mouse->FactoryResets(), 1);
  EXPECT_EQ(Current().Setting(kProfileName), u"Mine");
  EXPECT_EQ(link->watchdogCounter(), 0);
  EXPECT_EQ(window.progressDialogs, 1);
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

}  // namespace
}  // namespace zeltra::test
