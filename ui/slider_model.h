// The horizontal slider with a fixed number of positions: its position
// table, snapping and drag arithmetic.
#pragma once

#include <vector>

#include "ui/control_model.h"

namespace zeltra {

// Positions p[0] = left + L, p[n-1] = right - R and evenly between; the
// thumb reaches L pixels left and R right of its position. The value is
// always an index of the table.
class SliderModel : public ControlModel {
 public:
  SliderModel(int id, const UiRect& rect, int positions, int leftExtent, int rightExtent, bool disabled = false);
  void SetRect(const UiRect& rect) override;

  bool OnMouseMove(int x, int y) override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonUp(int x, int y) override;
  // The owner's mouse-move handler calls this while the left button is down
  // so that a drag goes on outside the slider. True while dragging.
  bool FollowDrag(int x);
  // Sets the value (clamped into the table) without a notification.
  void SetPosition(int index);

  const std::vector<int>& positions() const { return positions_; }
  // The index for an x coordinate: the nearest position, the upper one at a tie.
  int Snap(int x) const;
  int value() const { return value_; }
  bool dragging() const { return dragging_; }
  int dragX() const { return dragX_; }
  const UiRect& thumbRect() const { return thumb_; }
  // Left edge of a thumb image `thumbWidth` pixels wide (already scaled).
  int ThumbDrawX(int thumbWidth) const;

 private:
  void BuildTable();
  void PlaceThumb();
  // The drag step shared by moves and FollowDrag.
  void DragTo(int x, bool moveThumb);

  int leftExtent_;
  int rightExtent_;
  int count_;
  std::vector<int> positions_;
  int value_ = 0;
  bool dragging_ = false;
  int dragX_ = 0;
  UiRect thumb_{};
};

}  // namespace zeltra
