// The two macro lists of the manager and the chooser, as the toolkit's
// lists show them: the library tree and one macro's action list.
#pragma once

#include <vector>

#include "macro/macro_editor.h"
#include "macro/macro_library.h"
#include "ui/list_models.h"

namespace zeltra {

// The library tree: rows in the order of the library's visible rows, each
// stage indented by one icon width + 3; folders show an open or closed icon.
class TreeListModel : public TreeModel {
 public:
  TreeListModel(int id, const UiRect& rect, float scale, MacroLibrary* library)
      : TreeModel(id, rect, scale), library_(library) {}

  void SetLibrary(MacroLibrary* library) { library_ = library; }
  MacroLibrary* library() const { return library_; }

  int ItemCount() const override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonDblClk(int x, int y) override;
  bool OnRButtonUp(int x, int y) override;
  // Scrolls so that the selected row is shown (FirstRowShowing).
  void EnsureSelectionVisible();
  std::vector<TreeRow> Rows() const override;

 private:
  // Selects the item under the point (or nothing, also for the library's
  // selected location); a press in a folder's icon zone opens or closes it.
  void SelectAt(int x, int y, bool toggleInIconZone);
  static void ToggleFolder(MacroItem* item);

  MacroLibrary* library_;
};

// One macro's actions: a delay, press or release icon left of each row (the
// row's image is its ActionIcon) and the action's text ("%ums", key names,
// "Move Right %d" ...).
class ActionListModel : public IconListModel {
 public:
  ActionListModel(int id, const UiRect& rect, float scale, const Macro* macro = nullptr)
      : IconListModel(id, rect, scale), macro_(macro) {}

  void SetMacro(const Macro* macro) { macro_ = macro; }
  const Macro* macro() const { return macro_; }

  // The valid actions, never more than a macro holds.
  int ItemCount() const override;
  bool OnLButtonDown(int x, int y) override;
  bool OnLButtonDblClk(int x, int y) override;
  std::vector<IconRow> Rows() const override;

 private:
  const Macro* macro_;
};

}  // namespace zeltra
