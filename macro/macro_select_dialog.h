// CMacroSelectDlg's rules: the library tree read-only, opened collapsed with
// nothing selected; OK only on a macro.
#pragma once

#include <array>

#include "macro/dialog_layout.h"
#include "macro/macro_tree_view.h"

namespace zeltra {

inline constexpr int kMacroSelectDialogWidth = 528;  // design units
inline constexpr int kMacroSelectDialogHeight = 365;
inline constexpr DialogKeys kMacroSelectDialogKeys{DialogKeyRule::kSwallow, DialogKeyRule::kSwallow};
inline constexpr int kNoMacroChosenMessage = 234;

// The tree's caption, close cross, tree, scroll bar and OK, on the frame
// kSkinMacroFrame with one grey surround behind the tree.
extern const std::array<DialogControl, 5> kMacroSelectDialogControls;
// Filled RGB(148, 148, 148) behind the tree (design corners).
inline constexpr std::array<int, 4> kMacroSelectTreeSurround{24, 53, 489, 324};

class MacroChooserHost : public MacroListHost {
 public:
  virtual void ShowAttention(int message) = 0;  // title 150
  // Sends kMacroChosenMessage to the main window: the chosen macro is the library's selection.
  virtual void SendMacroChosen() = 0;
  // Releases the controls' images and ends the dialog.
  virtual void End() = 0;
};

class MacroChooser {
 public:
  MacroChooser(MacroLibrary& library, MacroChooserHost& host, int visibleRows)
      : library_(library), host_(host), tree_(library, host, visibleRows) {}

  void Open() { tree_.Open(); }
  // Tree notifications: 2 released, 10 double click (repaint), 11 right
  // button (the tree has selected the row; no popup here).
  void OnTreeNotify(int code);
  void OnWheel(int notches) { tree_.OnWheel(notches); }
  void OnScrollBarNotify(int code, int part, int thumbPosition) { tree_.OnScrollBarNotify(code, part, thumbPosition); }
  // OK: sends the choice and ends on a macro, else string 234 and stays.
  void OnOk();
  // The close cross: ends without a choice.
  void OnClose() { host_.End(); }

  const MacroTreeView& tree() const { return tree_; }

 private:
  MacroLibrary& library_;
  MacroChooserHost& host_;
  MacroTreeView tree_;
};

}  // namespace zeltra
