// The vertical scroll bar: arrows, track, thumb layout, the part a press
// hits and the drag arithmetic.
#pragma once

#include "ui/control_codes.h"
#include "ui/control_model.h"

namespace zeltra {

// Arrows at both ends (their images' heights x scale), the track between
// them and a thumb laid out from position, page and range. Thumb and track
// rows are inclusive.
class ScrollBarModel : public ControlModel {
 public:
  ScrollBarModel(int id, const UiRect& rect, float scale, bool disabled = false);
  void SetRect(const UiRect& rect) override;
  // The arrow images' heights in image pixels; lays the bar out again.
  void SetArrowHeights(int up, int down);

  // Lays the thumb out; a range of 0 fills the track.
  void SetScrollInfo(int position, int page, int range);
  bool OnMouseMove(int x, int y) override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonUp(int x, int y) override;
  // While the thumb is dragged, the owner passes its own moves here so that
  // the drag goes on outside the bar. True when the thumb moved.
  bool FollowDrag(int x, int y);

  int position() const { return position_; }
  int page() const { return page_; }
  int range() const { return range_; }
  bool dragging() const { return dragging_; }
  bool overUp() const { return overUp_; }
  bool overDown() const { return overDown_; }
  bool overThumb() const { return overThumb_; }
  int trackTop() const { return trackTop_; }
  int trackBottom() const { return trackBottom_; }
  int thumbTop() const { return thumbTop_; }
  int thumbBottom() const { return thumbBottom_; }
  // The drawn arrow areas and thumb (exclusive bottoms).
  UiRect UpArrowRect() const;
  UiRect DownArrowRect() const;
  UiRect ThumbRect() const;
  int PartAt(int y) const;

 private:
  void Layout();
  void UpdateHover(int x, int y);
  bool DragThumb(int y);

  float scale_;
  int upHeight_ = 0;    // scaled
  int downHeight_ = 0;  // scaled
  int trackTop_ = 0;
  int trackBottom_ = 0;
  int position_ = 0;
  int page_ = 1;
  int range_ = 1;
  int thumbTop_ = 0;
  int thumbBottom_ = 0;
  bool dragging_ = false;
  int grab_ = 0;
  bool overUp_ = false;
  bool overDown_ = false;
  bool overThumb_ = false;
};

}  // namespace zeltra
