// The two macro lists of the manager and the chooser: the library tree and
// one macro's action list. Rows are 20 design pixels high.
#pragma once

#include <string>
#include <vector>

#include "macro/macro_editor.h"
#include "macro/macro_library.h"
#include "ui/control_model.h"

namespace zeltra {

class ListModel : public ControlModel {
 public:
  static constexpr int kMaxRow = 1 << 20;
  ListModel(int id, const UiRect& rect, float scale) : ControlModel(id, rect), scale_(scale) {}

  // The standard release: state 1 and code 2 inside, state 0 outside.
  bool OnLButtonUp(int x, int y) override;

  int rowHeight() const;
  // Rows that fit, a half-visible last row included (ListRowsThatFit).
  int visibleRows() const;
  virtual int ItemCount() const = 0;
  int firstRow() const { return firstRow_; }
  // Clamped into 0..kMaxRow (far beyond any list) so row sums never overflow.
  void SetFirstRow(int row) { firstRow_ = row < 0 ? 0 : (row > kMaxRow ? kMaxRow : row); }
  // -1 for none.
  int selectedRow() const { return selectedRow_; }
  void SetSelectedRow(int row) { selectedRow_ = row >= 0 ? row : -1; }
  // The item row under a point inside the list, or -1 below the last item.
  int ItemRowAt(int y) const;

 protected:
  // Shown row r (0 = the first visible) between the given insets.
  UiRect RowRect(int r, int leftInset) const;

  float scale_;
  int firstRow_ = 0;
  int selectedRow_ = -1;
};

// The library tree: rows in the order of the library's visible rows, each
// stage indented by one icon width + 3; folders show an open or closed icon.
class TreeListModel : public ListModel {
 public:
  struct Row {
    UiRect rect;         // highlight area
    UiRect text;         // where the name goes
    UiPoint icon;        // folder icon's top-left (folders only)
    bool folder = false;
    bool open = false;
    bool selected = false;
    MacroLocation location;
    std::u16string name;
  };

  TreeListModel(int id, const UiRect& rect, float scale, MacroLibrary* library)
      : ListModel(id, rect, scale), library_(library) {}

  void SetLibrary(MacroLibrary* library) { library_ = library; }
  MacroLibrary* library() const { return library_; }
  // The folder icons' size in image pixels (indents and the folder-icon zone).
  void SetIconSize(int width, int height);

  int ItemCount() const override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonDblClk(int x, int y) override;
  bool OnRButtonUp(int x, int y) override;
  // Scrolls so that the selected row is shown (FirstRowShowing).
  void EnsureSelectionVisible();
  // The rows to draw, from the first visible one.
  std::vector<Row> Rows() const;

 private:
  // Selects the item under the point (or nothing, also for the library's
  // selected location); a press in a folder's icon zone opens or closes it.
  void SelectAt(int x, int y, bool toggleInIconZone);
  static void ToggleFolder(MacroItem* item);

  MacroLibrary* library_;
  int iconWidth_ = 0;
  int iconHeight_ = 0;
};

// One macro's actions: a delay, press or release icon left of each row and
// the action's text ("%ums", key names, "Move Right %d" ...).
class ActionListModel : public ListModel {
 public:
  struct Row {
    UiRect rect;
    UiPoint icon;  // top-left of the icon
    ActionIcon kind = ActionIcon::kDelay;
    bool selected = false;
    std::u16string text;
  };

  ActionListModel(int id, const UiRect& rect, float scale, const Macro* macro)
      : ListModel(id, rect, scale), macro_(macro) {}

  void SetMacro(const Macro* macro) { macro_ = macro; }
  const Macro* macro() const { return macro_; }

  // The valid actions, never more than a macro holds.
  int ItemCount() const override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonDblClk(int x, int y) override;
  std::vector<Row> Rows() const;

 private:
  const Macro* macro_;
};

}  // namespace zeltra
