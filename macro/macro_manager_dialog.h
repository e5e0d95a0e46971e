// CMacroManagerDlg's rules: opening and closing, the library tree with its
// notifications, wheel and scroll bar, the context popup whose operation runs
// at the next repaint (new macro, new folder, rename, delete and the four
// file operations), and the repeat rule with its count box. The action list,
// recording and the insert popup are the MacroActionPanel it owns.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "macro/macro_action_panel.h"
#include "macro/macro_manager.h"
#include "macro/macro_manager_host.h"
#include "macro/macro_tree_view.h"

namespace zeltra {

// After the manager closed, the main window reads the library again from its
// file and, when a button of the current profile holds a macro (true),
// applies at once so that the edited macro reaches the mouse.
bool ProfileHasMacroButton(const ProfileRecord& profile);
bool ReloadLibraryAfterManager(MacroLibrary& library, const std::filesystem::path& path,
                               const ProfileRecord& currentProfile);

class MacroManagerDialog {
 public:
  // `library` is the program's library, saved to `libraryPath`; `profile`
  // the current profile (whose buttons keep their macros from deletion).
  MacroManagerDialog(MacroLibrary& library, const ProfileRecord& profile, std::filesystem::path libraryPath,
                     MacroManagerHost& host, float scale);

  // Every folder closed, nothing selected, no current macro.
  void Open();
  // The close cross, or the application closing the dialog: the selection
  // goes, the library is saved when it changed since Open, the dialog ends.
  void Close();
  // After every paint: the count box's caret on the first one, then a
  // pending insert operation, then a pending context-popup operation.
  void OnPainted();

  // Tree notifications: 2 released, 10 double click, 11 right button
  // released at `point` (the tree has selected the row under it).
  void OnTreeNotify(int code, UiPoint point = {});
  // The tree's and the action list's scroll bars.
  void OnScrollBarNotify(int barId, int code, int part, int thumbPosition);
  // The wheel with the pointer at `pointer` (client coordinates).
  void OnWheel(int notches, UiPoint pointer);

  // The context popup reported operation 0..7 (kContextPopupResultMessage).
  void OnContextPopupChosen(int operation);
  // The new-macro and delete-item buttons.
  void OnNewMacro() { RunOperation(ManagerOperation::kNewMacro); }
  void OnDeleteItem() { RunOperation(ManagerOperation::kDelete); }
  // The repeat-rule radios.
  void OnRepeatRule(int radioId);
  // The count box's text changed (EN_CHANGE).
  void OnCountBoxChanged(std::u16string_view text);
  // A character typed anywhere in the dialog.
  void OnChar(char16_t c);

  MacroActionPanel& actions() { return actions_; }
  const MacroTreeView& tree() const { return tree_; }
  Macro* currentMacro() const { return actions_.macro(); }

 private:
  void RunOperation(ManagerOperation operation);
  // True, after telling the user, while the library cannot be added to.
  bool RefusedWhileUnavailable();
  void AddItem(bool folder);
  void Rename();
  void Delete();
  void RunFileOperation(ManagerOperation operation);
  // Follows the tree's selection: the current macro, both lists, the repeat rule.
  void RefreshSelection(bool macroGone = false);
  void ShowRepeatRule();
  // After the tree changed: the selection scrolled into view, everything refreshed.
  void TreeChanged();

  MacroLibrary& library_;
  const ProfileRecord& profile_;
  std::filesystem::path libraryPath_;
  MacroManagerHost& host_;
  float scale_;
  MacroTreeView tree_;
  MacroActionPanel actions_;
  std::optional<ManagerOperation> pendingOperation_;
  bool painted_ = false;
  std::uint64_t openedAs_ = 0;  // MacroLibraryFingerprint at Open
};

}  // namespace zeltra
