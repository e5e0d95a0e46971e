#include "ui/popup_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/popup_logic.h"

namespace zeltra {
namespace {

struct SizeCase {
  PopupLayout layout;
  float scale;
  int items;
  int separatorAfter;  // index of the item a separator follows, -1 for none
  UiSize size;
};

TEST(PopupLayout, WindowSizeFollowsTheItemsForEveryLayoutAndScale) {
  const SizeCase cases[] = {
      {PopupLayout::kStandard, 1.0f, 5, 2, {162, 116}},
      {PopupLayout::kStandard, 1.5f, 5, 2, {242, 173}},  // 1 + 5 x 33 + 6 + 1
      {PopupLayout::kStandard, 2.0f, 5, 2, {324, 232}},
      {PopupLayout::kLighting, 1.5f, 8, -1, {283, 266}},
      {PopupLayout::kLighting, 2.0f, 8, -1, {378, 356}},
      {PopupLayout::kActionInsert, 1.5f, 5, -1, {176, 167}},
      {PopupLayout::kActionInsert, 2.0f, 5, -1, {236, 224}},
      {PopupLayout::kProfileCombo, 1.0f, 7, -1, {230, 177}},
      {PopupLayout::kProfileCombo, 1.5f, 7, -1, {345, 261}},
      {PopupLayout::kProfileCombo, 2.0f, 7, -1, {460, 354}},
      {PopupLayout::kStandard, 1.0f, 0, -1, {162, 2}},
  };
  for (const SizeCase& c : cases) {
    PopupModel model(c.layout, c.scale);
    for (int i = 0; i < c.items; ++i) {
      model.AddItem(i + 1, u"x");
      if (i == c.separatorAfter) model.AddSeparator();
    }
    EXPECT_EQ(model.size(), c.size) << static_cast<int>(c.layout) << " at " << c.scale;
  }
}

TEST(PopupLayout, ItemsAndSeparatorsStackFromTheTop) {
  PopupModel standard(PopupLayout::kStandard, 1.0f);
  standard.AddItem(1, u"a");
  standard.AddSeparator();
  standard.AddItem(2, u"b");
  EXPECT_EQ(standard.items()[0].rect, (UiRect{1, 1, 161, 23}));
  EXPECT_EQ(standard.items()[1].rect, (UiRect{1, 25, 161, 26}));
  EXPECT_EQ(standard.items()[2].rect, (UiRect{1, 27, 161, 49}));

  PopupModel wide(PopupLayout::kStandard, 2.0f);
  wide.AddSeparator();
  EXPECT_EQ(wide.items()[0].rect, (UiRect{2, 6, 322, 8}));

  PopupModel profile(PopupLayout::kProfileCombo, 1.5f);
  profile.AddItem(1, u"h");
  profile.AddItem(2, u"p");
  EXPECT_EQ(profile.items()[1].rect, (UiRect{0, 38, 345, 75}));
}

// A standard list whose every item is a choice handed over as a result.
class ListMenu final : public PopupMenu {
 public:
  int Kind() const override { return 3; }
  PopupLayout Layout() const override { return PopupLayout::kStandard; }
  int AddItems(PopupModel& model) const override {
    for (int value = 1; value <= 4; ++value) model.AddItem(value, u"item");
    return -1;
  }
  Choice Chosen(const PopupItem& item, const PopupTarget&) const override {
    return {PopupResult{item.text, {}}, std::nullopt};
  }
};

struct MouseRules : testing::Test {
  PopupLogic logic{std::make_unique<ListMenu>(), 1.0f, 0x414, 2015};
  void SetUp() override {
    logic.BuildItems();
    ASSERT_GE(logic.model().items().size(), 3u);
  }
  // Centre of item `index`.
  int X() const { return 80; }
  int Y(int index) const {
    const UiRect& r = logic.model().items()[static_cast<std::size_t>(index)].rect;
    return (r.top + r.bottom) / 2;
  }
};

TEST_F(MouseRules, PressMoveAndReleaseChooseOnlyWhatWasPressedAndReleasedOn) {
  // Chosen: pressed and released on the same item.
  logic.MouseMove(X(), Y(1));
  logic.ButtonDown(X(), Y(1));
  PopupReaction up = logic.ButtonUp(X(), Y(1));
  ASSERT_TRUE(up.send);
  EXPECT_TRUE(up.send->carriesResult);
  EXPECT_FALSE(up.changed);

  // Pressed on one, moved to another with the button held, released there:
  // the hover stays, the release outside clears it and nothing is chosen.
  logic.MouseMove(X(), Y(1));
  logic.ButtonDown(X(), Y(1));
  EXPECT_FALSE(logic.MouseMove(X(), Y(2)).changed);
  EXPECT_FALSE(logic.MouseHover(X(), Y(2)).changed);
  EXPECT_EQ(logic.model().hovered(), 1);
  up = logic.ButtonUp(X(), Y(2));
  EXPECT_FALSE(up.send);
  EXPECT_TRUE(up.changed);
  EXPECT_EQ(logic.model().hovered(), -1);

  // A release with nothing hovered chooses nothing and changes nothing.
  up = logic.ButtonUp(X(), Y(2));
  EXPECT_FALSE(up.send);
  EXPECT_FALSE(up.changed);
}

TEST_F(MouseRules, HoverFollowsTheMouseAndLeaving) {
  EXPECT_TRUE(logic.MouseMove(X(), Y(0)).changed);
  EXPECT_FALSE(logic.MouseMove(X() + 3, Y(0)).changed);  // still inside
  EXPECT_TRUE(logic.MouseLeave(-5, -5).changed);
  EXPECT_FALSE(logic.MouseLeave(-5, -5).changed);
  // A press beside the hovered item drops it; a lost capture ends the press.
  logic.MouseMove(X(), Y(0));
  logic.ButtonDown(500, 500);
  EXPECT_EQ(logic.model().hovered(), -1);
  logic.CaptureLost();
  EXPECT_TRUE(logic.MouseMove(X(), Y(2)).changed);
}

}  // namespace
}  // namespace zeltra
