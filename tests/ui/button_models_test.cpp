#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/main_layout.h"
#include "app/main_window_ids.h"
#include "macro/macro_manager_layout.h"
#include "recording_sink.h"
#include "ui/button_models.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"

namespace zeltra {
namespace {

using test::RecordingSink;
using test::Sent;

constexpr UiRect kBox{10, 10, 50, 30};

// The radio bit a window gives the radio of this id: the main window's or
// the macro manager's; none for another id.
RadioBit RadioBitOf(int id) {
  if (const ControlSpec* row = FindControlSpec(id)) return row->radio;
  if (const DialogControl* control = FindDialogControl(kMacroManagerControls, id)) return control->radio;
  return {};
}
enum Op { kMove, kDown, kUp };
struct Step { Op op; int x, y; };

void Drive(ControlModel& model, std::initializer_list<Step> steps) {
  for (const Step& s : steps) {
    switch (s.op) {
      case kMove: model.OnMouseMove(s.x, s.y); break;
      case kDown: model.OnLButtonDown(s.x, s.y); break;
      case kUp: model.OnLButtonUp(s.x, s.y); break;
    }
  }
}

class Selections : public testing::Test {
 protected:
  void SetUp() override { ResetControlSelections(); }
  void TearDown() override { ResetControlSelections(); }
};

using StandardButtons = Selections;

TEST_F(StandardButtons, EveryButtonClassFollowsThePressOverReleaseMachine) {
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<ControlModel>()>>> classes{
      {"image", [] { return std::make_unique<ImageButtonModel>(2101, kBox); }},
      {"check", [] { return std::make_unique<CheckButtonModel>(2102, kBox); }},
      {"colour check", [] { return std::make_unique<ColorCheckModel>(3180, kBox); }},
      {"radio", [] { return std::make_unique<RadioButtonModel>(3030, kBox); }},
      {"dpi radio", [] { return std::make_unique<DpiRadioModel>(3291, 1, kBox, 4); }},
      {"combo", [] { return std::make_unique<ComboButtonModel>(2013, kBox, 1100); }},
  };
  for (const auto& [name, make] : classes) {
    SCOPED_TRACE(name);
    auto model = make();
    RecordingSink sink;
    model->SetSink(&sink);
    // Pressed, dragged off (the state holds), released outside: no click.
    Drive(*model, {{kMove, 20, 20}, {kDown, 20, 20}, {kMove, 80, 80}});
    EXPECT_EQ(model->state(), kStatePressed);
    Drive(*model, {{kUp, 80, 80}});
    EXPECT_EQ(model->state(), kStateNormal);
    EXPECT_EQ(sink.Count(kCodeClicked), 0);
    EXPECT_EQ(sink.Count(kCodePressed), 1);
    // A full click inside.
    Drive(*model, {{kMove, 20, 20}, {kDown, 20, 20}, {kUp, 21, 21}});
    EXPECT_EQ(model->state(), kStateOver);
    EXPECT_EQ(sink.Count(kCodeClicked), 1);
    // Disabled: the state stays and nothing is sent.
    const auto before = sink.sent.size();
    model->SetDisabled(true);
    Drive(*model, {{kMove, 80, 80}, {kDown, 20, 20}, {kUp, 20, 20}});
    EXPECT_EQ(model->state(), kStateOver);
    EXPECT_EQ(sink.sent.size(), before);
  }
}

TEST_F(StandardButtons, ImageButtonPassesItsIdAndThePickerReportsMoves) {
  RecordingSink sink;
  const ControlSpec& row = *FindControlSpec(kIdProfilePicker);
  ImageButtonModel picker(row.id, kBox);
  picker.SetReportsMoves(row.reportsMoves);
  picker.SetSink(&sink);
  Drive(picker, {{kMove, 20, 20}, {kMove, 22, 20}, {kMove, 90, 20}, {kDown, 20, 20}, {kMove, 21, 20}, {kUp, 20, 20}});
  const int id = kIdProfilePicker;
  EXPECT_EQ(sink.sent, (std::vector<Sent>{{id, 0, kCodePickerMove}, {id, 0, kCodePickerMove}, {id, 0, kCodePressed},
                                          {id, static_cast<std::uintptr_t>(id), kCodeClicked}}));
}

TEST_F(StandardButtons, CheckButtonTogglesOncePerCompleteClick) {
  struct Case {
    const char* name;
    std::initializer_list<Step> steps;
    bool checked;
    int clicks;
  };
  const Case cases[] = {{"one click", {{kDown, 20, 20}, {kUp, 20, 20}}, true, 1},
                        {"two clicks", {{kDown, 20, 20}, {kUp, 20, 20}, {kDown, 20, 20}, {kUp, 20, 20}}, false, 2},
                        {"released outside", {{kDown, 20, 20}, {kUp, 60, 20}}, false, 0},
                        {"all outside", {{kDown, 60, 20}, {kUp, 60, 20}}, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSink sink;
    CheckButtonModel check(2005, kBox);
    check.SetSink(&sink);
    Drive(check, c.steps);
    EXPECT_EQ(check.checked(), c.checked);
    EXPECT_EQ(sink.Count(kCodeClicked), c.clicks);
  }
  // The look: checked wins over the mouse; pressing shows checked too.
  CheckButtonModel check(2005, kBox);
  check.OnMouseMove(20, 20);
  EXPECT_EQ(check.look(), kLookOver);
  check.OnLButtonDown(20, 20);
  EXPECT_EQ(check.look(), kLookChecked);
  check.OnLButtonUp(90, 20);
  EXPECT_EQ(check.look(), kLookNormal);
}

TEST_F(StandardButtons, ComboEntersFiveTimesAndLeavesOnceUnlessItsPopupIsOpen) {
  constexpr int kMessage = 1100;
  constexpr std::uintptr_t kId = 2013;
  RecordingSink sink;
  ComboButtonModel combo(2013, kBox, kMessage);
  combo.SetSink(&sink);
  // No leave before the mouse ever came in.
  combo.OnMouseMove(90, 20);
  EXPECT_TRUE(sink.sent.empty());
  for (int i = 0; i < 8; ++i) combo.OnMouseMove(20 + i, 20);
  EXPECT_EQ(sink.sent, std::vector<Sent>(5, Sent{kMessage, kId, kCodeEntered}));
  combo.OnMouseMove(90, 20);
  combo.OnMouseMove(91, 20);
  EXPECT_EQ(sink.Count(kCodeLeft), 1);
  EXPECT_EQ(sink.sent.back(), (Sent{kMessage, kId, kCodeLeft}));

  // While the popup is open, leaving says nothing and the look stays lit.
  combo.OnMouseMove(20, 20);
  combo.SetPopupOpen(true);
  combo.OnMouseMove(90, 20);
  EXPECT_EQ(sink.Count(kCodeLeft), 1);
  EXPECT_TRUE(combo.highlighted());
  combo.SetPopupOpen(false);
  combo.OnMouseMove(90, 20);
  EXPECT_EQ(sink.Count(kCodeLeft), 2);

  // Press under its id, click under its message number.
  sink.sent.clear();
  Drive(combo, {{kMove, 20, 20}, {kDown, 20, 20}, {kUp, 20, 20}});
  EXPECT_EQ(sink.sent[1], (Sent{2013, 0, kCodePressed}));
  EXPECT_EQ(sink.sent[2], (Sent{kMessage, kId, kCodeClicked}));
}

TEST_F(Selections, RadioClickChangesOnlyItsGroup) {
  struct Case {
    int id;
    std::uint32_t before;
    std::uint32_t after;
  };
  const Case cases[] = {{2032, 0x2000 | 0x40000 | 0x85, 0x4000 | 0x40000 | 0x85},
                        {3240, 0x1000 | 0x8000, 0x800 | 0x8000},
                        {3033, 0x10000 | 0x100000, 0x80000 | 0x100000},
                        {3511, 0x100000 | 0x7F, 0x200000 | 0x7F},
                        {2999, 0x12345, 0x12345}};  // no radio of any window: only code 2
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    RecordingSink sink;
    RadioButtonModel radio(c.id, kBox);
    radio.SetRadioBit(RadioBitOf(c.id));
    radio.SetSink(&sink);
    SetRadioSelectionWord(c.before);
    Drive(radio, {{kDown, 20, 20}, {kUp, 20, 20}});
    EXPECT_EQ(RadioSelectionWord(), c.after);
    EXPECT_EQ(sink.Count(kCodeClicked), 1);
  }
  // Drawn checked whatever the mouse does.
  RadioButtonModel checked(3031, kBox);
  checked.SetRadioBit(RadioBitOf(3031));
  SetRadioSelectionWord(0x20000);
  checked.OnMouseMove(20, 20);
  EXPECT_EQ(checked.look(), kLookChecked);
}

TEST_F(Selections, GroupsWithoutButtonsHoldOneChoiceEach) {
  SetRadioSelectionWord(0x40000);
  SetRadioGroupChoice(kRadioGroupXDpi, 3);
  SetRadioGroupChoice(kRadioGroupWheelPage, 1);
  EXPECT_EQ(RadioSelectionWord(), 0x40000u | 0x8u | 0x100u);
  EXPECT_EQ(RadioGroupChoice(kRadioGroupXDpi), 3);
  EXPECT_EQ(RadioGroupChoice(kRadioGroupWheelPage), 1);
  EXPECT_EQ(RadioGroupChoice(kRadioGroupReportRate), 2);
  EXPECT_EQ(RadioGroupChoice(kRadioGroupLiftOff), -1);
  // A choice beyond the group is its last one.
  SetRadioGroupChoice(kRadioGroupXDpi, 40);
  EXPECT_EQ(RadioSelectionWord() & kRadioGroupXDpi, 0x40u);
}

TEST_F(Selections, DpiRadioSetsTheLowBitsUpToItsOwn) {
  for (int k = 0; k < kDpiRadioCount; ++k) {
    DpiRadioModel radio(kIdDpiLabelFirst + k, k, kBox, k + 1);
    Drive(radio, {{kDown, 20, 20}, {kUp, 20, 20}});
    EXPECT_EQ(DpiRadioMask(), (1u << (k + 1)) - 1) << k;
  }
  DpiRadioModel radio(3293, 3, kBox, 32);
  Drive(radio, {{kDown, 20, 20}, {kUp, 20, 20}});
  EXPECT_EQ(DpiRadioMask(), 15);
  for (int k = 0; k < kDpiRadioCount; ++k) EXPECT_EQ(DpiRadioChecked(k), k <= 3) << k;
  EXPECT_EQ(radio.Label(), u"1600");
  EXPECT_EQ(radio.LabelBand(2.0f), (UiRect{10, 10, 50, 32}));
  // An index beyond the eight radios acts as the last one.
  DpiRadioModel stray(3305, 15, kBox, 1);
  Drive(stray, {{kDown, 20, 20}, {kUp, 20, 20}});
  EXPECT_EQ(DpiRadioMask(), 0xFF);
}

TEST(PowerDial, ReleaseOnAWedgeChoosesItsMinutes) {
  struct Case {
    float scale;
    int dx;
    int dy;
    int value;  // after the release; 1 = unchanged
    int clicks;
  };
  const Case cases[] = {
      {1.0f, 71, 6, 7, 1},     {1.0f, 69, 7, 6, 1},  // just right and left of a4: wedges 6 and 5
      {1.0f, 8, 68, 3, 1},     {1.0f, 131, 68, 10, 1},  // beside a0 and a8
      {1.0f, 70, 74, 1, 0},    {1.0f, 2, 2, 1, 0},  // below the baseline, beside the arc: nothing
      {2.0f, 142, 12, 7, 1},   {2.0f, 140, 148, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale << " " << c.dx << "," << c.dy);
    const UiRect rect{100, 200, 100 + static_cast<int>(140 * c.scale), 200 + static_cast<int>(76 * c.scale)};
    RecordingSink sink;
    PowerDialModel dial(kIdPowerDial, rect, c.scale);
    dial.SetSink(&sink);
    dial.SetValue(1);
    Drive(dial, {{kDown, 100 + c.dx, 200 + c.dy}, {kUp, 100 + c.dx, 200 + c.dy}});
    EXPECT_EQ(dial.value(), c.value);
    EXPECT_EQ(sink.Count(kCodeClicked), c.clicks);
    EXPECT_EQ(dial.state(), kStateOver);
  }
  PowerDialModel dial(kIdPowerDial, UiRect{0, 0, 140, 76}, 1.0f);
  dial.SetValue(99);
  EXPECT_EQ(dial.value(), PowerDialModel::kMaxValue);
  // Moving the dial moves its wedges.
  dial.SetRect(UiRect{500, 0, 640, 76});
  EXPECT_EQ(dial.WedgeAt(571, 6), 6);
}

}  // namespace
}  // namespace zeltra
