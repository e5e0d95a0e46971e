// What CMacroManagerDlg does for its rules: the modal dialogs it runs, its
// popups, the keyboard hook and the controls it sets. The Win32 dialog
// implements it; the rules (MacroManagerDialog, MacroActionPanel) call it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "macro/macro_edit_dialogs.h"
#include "macro/macro_file_dialogs.h"
#include "macro/macro_tree_view.h"
#include "macro/popup_menus.h"
#include "ui/ui_geometry.h"

namespace zeltra {

class Macro;

struct KeyDialogResult {
  bool ok = false;
  // The key chosen; nothing when OK came from Enter (the action keeps its key).
  std::optional<std::uint8_t> code;
};

class MacroManagerHost : public MacroListHost {
 public:
  // The attention dialog, title string 150.
  virtual void ShowAttention(int message) = 0;
  // The attention dialog as a question; true when the user confirms.
  virtual bool Confirm(int message) = 0;

  // CMacroKeyOrFolderNameDlg (kMacroName, kFolderName): the text on OK, maybe
  // empty. CMacroKeyRenameDlg (kRename) preset with `preset`: the new text on
  // OK; nothing when cancelled or unchanged (RenameDialogAccepts).
  virtual std::optional<std::u16string> RunNameDialog(MacroEditDialog dialog, std::u16string_view preset) = 0;
  // CActionTimeModifyDlg preset with `preset`: the box's text on OK.
  virtual std::optional<std::u16string> RunDelayDialog(std::u16string_view preset) = 0;
  // CActionKeyModifyDlg showing `code` first.
  virtual KeyDialogResult RunKeyDialog(std::uint8_t code) = 0;
  // The platform's open or save dialog: the confirmed path, nothing when cancelled.
  virtual std::optional<std::filesystem::path> RunFileDialog(const MacroFileDialog& dialog) = 0;

  // Opens the popup of class `popup` (kMacroList, the context popup, or
  // kActionInsert) with its top-left corner at `at` (client coordinates),
  // its items built with `options`, and the result message
  // kContextPopupResultMessage or kInsertPopupResultMessage; choosing item k
  // reports operation k - 1.
  virtual void OpenPopup(PopupClass popup, const PopupOptions& options, UiPoint at) = 0;
  virtual void ClosePopup(PopupClass popup) = 0;

  virtual void StartHook() = 0;
  virtual void StopHook() = 0;

  // Enables or disables the controls of kControlsDisabledWhileRecording.
  virtual void EnableControls(bool enabled) = 0;
  // The record toggle's checked state, without a notification.
  virtual void SetRecordButton(bool on) = 0;
  // The repeat-rule radio that shows as chosen (kRepeatRuleControl1, 4 or 2; 0 for none).
  virtual void SetRepeatRule(int radioId) = 0;
  // Shown: the count box moves into place, is enabled, shows `text` selected.
  // Hidden: moved out of sight, its text left as it is.
  virtual void ShowCountBox(bool shown, std::u16string_view text) = 0;
  // Replaces what the user typed, with the caret at the end.
  virtual void SetCountBoxText(std::u16string_view text) = 0;
  virtual void PutCountBoxCaretAtEnd() = 0;

  // The action list shows this macro (none: empty); repaints it.
  virtual void ShowMacro(const Macro* macro) = 0;
  // The action list's highlighted row (-1 for none).
  virtual void SelectAction(int row) = 0;

  // Releases the controls' images and ends the dialog.
  virtual void End() = 0;
};

}  // namespace zeltra
