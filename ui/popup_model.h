// What a drop-down popup is apart from drawing: its items and their places,
// the window size they give, and the item under the mouse through hover,
// press and release.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ui_geometry.h"

namespace zeltra {

// Item widths and heights of the popups: most are 161 design units wide, the
// lighting popup 188, the macro action-insert popup 117, and the profile
// combo popup has rows of 230 x 25 from the window's left edge.
enum class PopupLayout { kStandard, kLighting, kActionInsert, kProfileCombo };

// Window pixels of one layout at one UI scale factor.
struct PopupMetrics {
  int itemLeft = 0;     // normal items start here
  int itemRight = 0;    // W: normal items and separators end here
  int itemHeight = 0;   // H
  int margin = 0;       // s: the first item's top, and the space below the last
  int windowWidth = 0;  // W + s, or 230 s for the profile combo popup
  // A separator is a line from y + 2 s to y + 3 s and takes 4 s.
  int separatorTop = 0;
  int separatorBottom = 0;
  int separatorAdvance = 0;
};
PopupMetrics MetricsOf(PopupLayout layout, float scale);

// The four backgrounds of a menu popup's items (every owner gives these):
// normal, mouse over, and the pair for marked entries.
inline constexpr std::array<std::u16string_view, 4> kMenuItemSkins{u"skins\\menu_nr.png", u"skins\\menu_ov.png",
                                                                   u"skins\\menusub_nr.png", u"skins\\menusub_ov.png"};

struct PopupItem {
  bool separator = false;
  int value = 0;  // the number the item was added with
  std::u16string text;
  UiRect rect;       // client coordinates
  bool marked = false;  // drawn with the marked look (an entry that opens a submenu)
};

// Items stacked from the top, and the standard hover, press and release
// rules. "changed" answers mean the popup must be repainted.
class PopupModel {
 public:
  PopupModel(PopupLayout layout, float scale);

  void AddItem(int value, std::u16string text, bool marked = false);
  void AddSeparator();
  const std::vector<PopupItem>& items() const { return items_; }
  // Null for an index outside the list.
  const PopupItem* item(int index) const;
  // The window size the items need (it follows every added item).
  UiSize size() const { return size_; }
  PopupLayout layout() const { return layout_; }

  int hovered() const { return hovered_; }
  const PopupItem* hoveredItem() const { return item(hovered_); }
  // The first normal item containing the point, or -1.
  int ItemAt(int x, int y) const;

  // The hovered item stays while the point is inside it; otherwise it
  // becomes the item under the point (changed), or none (changed only when
  // an item was hovered).
  bool HoverAt(int x, int y);
  // A press outside the hovered item drops it. Never "changed".
  bool PressAt(int x, int y);
  struct Release {
    bool changed = false;
    int chosen = -1;  // the item released on, -1 when none was chosen
  };
  // Chooses the hovered item when the point is still inside it; a release
  // outside drops the hovered item (changed) and chooses nothing.
  Release ReleaseAt(int x, int y);

 private:
  PopupLayout layout_;
  PopupMetrics metrics_;
  std::vector<PopupItem> items_;
  int nextTop_;
  UiSize size_;
  int hovered_ = -1;
};

}  // namespace zeltra
