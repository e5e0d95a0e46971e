// The right half of the macro manager: the current macro's action list with
// its scroll bar, recording from the keyboard hook, the insert popup whose
// operation runs at the next repaint, and modifying and deleting actions.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "macro/macro_editor.h"
#include "macro/macro_manager_host.h"
#include "macro/macro_recorder.h"

namespace zeltra {

class MacroLibrary;

// Writes the library to its file with no selected location, as the manager
// does when it closes and when a recording ends.
int SaveManagedLibrary(const MacroLibrary& library, const std::filesystem::path& path);

class MacroActionPanel {
 public:
  MacroActionPanel(MacroLibrary& library, std::filesystem::path libraryPath, MacroManagerHost& host, int visibleRows);

  // The selection in the tree gave another current macro (or none): it is
  // shown from its first row with no action selected.
  void SetMacro(Macro* macro);
  Macro* macro() const { return macro_; }
  // Shows the list from its first row and sets its scroll bar.
  void Show();

  // Action-list notifications: 2 (released; `selectedRow` is the list's
  // selected row), 10 (double click: modify that row).
  void OnActionListNotify(int code, int selectedRow);
  void OnScrollBarNotify(int code, int part, int thumbPosition);
  void OnWheel(int notches);

  // Recording.
  void OnRecordToggled(bool on);
  void SetRecordDelays(bool on) { recordDelays_ = on; }
  // kKeyHookMessage (a key from the hook, or a popup's closing notice).
  void OnHookMessage(std::uint64_t wParam, std::uint64_t lParam);
  // The dialog is closing: a running recording stops.
  void StopRecording();
  bool recording() const { return recorder_.recording(); }

  // The insert combo was clicked (kInsertComboMessage): the popup opens below it.
  void OnInsertCombo(float scale);
  // The insert popup reported operation 0..4 (kInsertPopupResultMessage); it runs at the next repaint.
  void OnInsertChosen(int operation);
  // After a repaint: runs a pending insert operation. True when one ran.
  bool RunPendingInsert();
  // The modify and delete-action buttons.
  void OnModify();
  void OnDeleteAction();

  int selectedAction() const { return selection_; }
  int firstRow() const { return list_.scroll().firstRow(); }
  int visibleRows() const { return list_.scroll().visibleRows(); }

 private:
  int Count() const;
  void Insert(InsertOperation operation);
  // Runs the dialog an edit asks for and finishes the edit; true when the list changed.
  bool Follow(const EditOutcome& outcome);
  // Refreshes the list after an insert or a delete, scrolled to its end when it overflows.
  void ListChanged();
  void EndRecording();

  MacroLibrary& library_;
  std::filesystem::path libraryPath_;
  MacroManagerHost& host_;
  ScrolledList list_;
  Macro* macro_ = nullptr;
  int selection_ = -1;
  MacroRecorder recorder_;
  bool recordDelays_ = false;
  MacroActionEditor editor_;
  std::optional<InsertOperation> pendingInsert_;
};

}  // namespace zeltra
