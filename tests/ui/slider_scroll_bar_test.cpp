#include <gtest/gtest.h>

#include "recording_sink.h"
#include "ui/control_codes.h"
#include "ui/scroll_bar_model.h"
#include "ui/slider_model.h"

namespace zeltra {
namespace {

using test::RecordingSink;
using test::Sent;

TEST(Slider, PositionTableAndSnapping) {
  SliderModel slider(3200, UiRect{0, 0, 210, 14}, 5, 10, 10);
  EXPECT_EQ(slider.positions(), (std::vector<int>{10, 57, 105, 152, 200}));
  const std::pair<int, int> snaps[] = {{-40, 0}, {32, 0}, {33, 1}, {80, 1}, {82, 2}, {175, 3}, {176, 4}, {900, 4}};
  for (const auto& [x, index] : snaps) EXPECT_EQ(slider.Snap(x), index) << x;

  // Bad indices and degenerate tables stay inside the table.
  slider.SetPosition(9);
  EXPECT_EQ(slider.value(), 4);
  EXPECT_EQ(slider.thumbRect(), (UiRect{190, 0, 210, 14}));
  slider.SetPosition(-2);
  EXPECT_EQ(slider.value(), 0);
  for (int n : {1, 0, -3}) {
    SliderModel one(3200, UiRect{0, 0, 210, 14}, n, 7, 7);
    EXPECT_EQ(one.positions(), std::vector<int>{203}) << n;
    EXPECT_EQ(one.Snap(5), 0);
  }
}

TEST(Slider, DragReportsEveryMoveAndFollowsOutside) {
  RecordingSink sink;
  SliderModel slider(3200, UiRect{0, 0, 210, 14}, 5, 10, 10);
  slider.SetSink(&sink);
  EXPECT_FALSE(slider.FollowDrag(100));  // not dragging

  slider.OnMouseMove(5, 7);
  slider.OnLButtonDown(5, 7);  // on the thumb at position 0
  ASSERT_TRUE(slider.dragging());
  slider.OnMouseMove(80, 7);
  slider.OnMouseMove(79, 7);   // the same index reports again
  EXPECT_TRUE(slider.FollowDrag(500));  // beyond the right end
  EXPECT_EQ(slider.value(), 4);
  EXPECT_EQ(slider.ThumbDrawX(14), 196);  // drawn inside the rectangle
  slider.OnLButtonUp(150, 7);
  EXPECT_EQ(sink.sent, (std::vector<Sent>{{3200, 0, kCodePressed}, {3200, 1, kCodeValueChanged},
                                          {3200, 1, kCodeValueChanged}, {3200, 4, kCodeValueChanged},
                                          {3200, 0, kCodeClicked}}));
  EXPECT_FALSE(slider.dragging());
  EXPECT_EQ(slider.value(), 3);
  EXPECT_EQ(slider.thumbRect(), (UiRect{142, 0, 162, 14}));
  EXPECT_EQ(slider.ThumbDrawX(14), 142);

  // A press beside the thumb does not drag; the release still snaps.
  sink.sent.clear();
  slider.OnLButtonDown(20, 7);
  slider.OnMouseMove(30, 7);
  EXPECT_FALSE(slider.FollowDrag(30));
  slider.OnLButtonUp(30, 7);
  EXPECT_EQ(sink.Count(kCodeValueChanged), 0);
  EXPECT_EQ(slider.value(), 0);
}

struct ThumbCase {
  float scale;
  int position, page, range;
  int top, bottom;
};

TEST(ScrollBar, ThumbFromPositionPageAndRange) {
  // Everything fits; range 0 fills the track; beyond the range it stays on
  // the track; an empty page keeps one row.
  const ThumbCase cases[] = {{1.0f, 0, 10, 20, 18, 108}, {1.0f, 5, 10, 20, 64, 154},   {1.0f, 10, 10, 20, 109, 199},
                             {1.0f, 0, 30, 20, 18, 199}, {1.0f, 3, 10, 0, 18, 199},    {1.0f, 50, 10, 20, 199, 199},
                             {1.0f, 0, 0, 20, 18, 18},   {2.0f, 5, 10, 20, 127, 308}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale << ": " << c.position << "/" << c.page << "/" << c.range);
    const int s = static_cast<int>(c.scale);
    ScrollBarModel bar(2021, UiRect{0, 0, 18 * s, 218 * s}, c.scale);
    bar.SetArrowHeights(18, 18);
    EXPECT_EQ(bar.trackTop(), 18 * s);
    EXPECT_EQ(bar.trackBottom(), 218 * s - 18 * s - 1);
    bar.SetScrollInfo(c.position, c.page, c.range);
    EXPECT_EQ(bar.thumbTop(), c.top);
    EXPECT_EQ(bar.thumbBottom(), c.bottom);
  }
}

TEST(ScrollBar, PressReportsThePartAndDragClampsToTheTrack) {
  RecordingSink sink;
  ScrollBarModel bar(2021, UiRect{0, 0, 18, 218}, 1.0f);
  bar.SetSink(&sink);
  bar.SetArrowHeights(18, 18);
  bar.SetScrollInfo(5, 10, 20);  // thumb 64..154
  const std::pair<int, int> parts[] = {{0, 6}, {17, 6}, {18, 8}, {63, 8}, {64, 0}, {154, 0}, {155, 9}, {199, 9}, {200, 7}};
  for (const auto& [y, part] : parts) {
    sink.sent.clear();
    bar.OnLButtonDown(5, y);
    bar.OnLButtonUp(5, y);
    ASSERT_FALSE(sink.sent.empty());
    EXPECT_EQ(sink.sent.front(), (Sent{2021, static_cast<std::uintptr_t>(part), kCodePressed})) << y;
  }

  bar.SetScrollInfo(0, 10, 20);  // thumb 18..108
  sink.sent.clear();
  bar.OnMouseMove(5, 30);
  EXPECT_TRUE(bar.overThumb());
  bar.OnLButtonDown(5, 30);  // grabbed 12 below the thumb's top
  bar.OnMouseMove(5, 100);   // top 88: position 70 x 20 / 182 = 7
  bar.OnMouseMove(5, 101);   // still 7: nothing sent
  EXPECT_EQ(bar.position(), 7);
  bar.FollowDrag(5, 900);    // far below: the thumb ends on the track's last row
  EXPECT_EQ(bar.thumbBottom(), 199);
  EXPECT_EQ(bar.position(), 10);
  bar.FollowDrag(5, -900);
  EXPECT_EQ(bar.thumbTop(), 18);
  bar.OnLButtonUp(60, 300);  // outside after a drag: still a click
  EXPECT_EQ(sink.sent, (std::vector<Sent>{{2021, 0, kCodePressed}, {2021, 0, kCodeValueChanged},
                                          {2021, 0, kCodeValueChanged}, {2021, 0, kCodeValueChanged},
                                          {2021, 0, kCodeClicked}}));
  EXPECT_EQ(bar.position(), 0);
  EXPECT_FALSE(bar.dragging());
  EXPECT_FALSE(bar.overThumb());
  // Released outside without a drag: no click.
  sink.sent.clear();
  bar.OnLButtonDown(5, 150);
  bar.OnLButtonUp(60, 300);
  EXPECT_EQ(sink.Count(kCodeClicked), 0);
}

}  // namespace
}  // namespace zeltra
