// The macro manager's four small dialogs on one 319 x 102 layout: the key
// of an action (CActionKeyModifyDlg, with a keyboard hook of its own), a
// delay (CActionTimeModifyDlg), a new macro's or folder's name
// (CMacroKeyOrFolderNameDlg) and a new name (CMacroKeyRenameDlg).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "macro/macro_edit_dialogs.h"
#include "macro/win32/dialog_table_win32.h"
#include "macro/win32/keyboard_hook_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CMacroEditDlg : public CSmallDialog {
 public:
  MacroEditDialog kind() const { return kind_; }

 protected:
  CMacroEditDlg(MacroEditDialog kind, HWND parent);

  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

  // OK (the button, or Enter where Enter runs OK): the dialog's own rule.
  virtual void OnConfirm() = 0;
  // The text the edit box starts with (the key dialog has none).
  virtual std::u16string InitialText() const { return {}; }
  // A character typed into the edit box.
  virtual void OnEditChar(char16_t) {}

  NativeEditBox edit_;

 private:
  MacroEditDialog kind_;
};

// The key of one action: every key from the hook replaces the code; OK takes
// it, Enter ends as OK without taking it, Esc and Cancel take nothing.
class CActionKeyModifyDlg : public CMacroEditDlg {
 public:
  CActionKeyModifyDlg(std::uint8_t code, HWND parent);
  ~CActionKeyModifyDlg() override;

  // The key OK took; nothing after Cancel or an OK given with Enter.
  std::optional<std::uint8_t> chosen() const { return chosen_; }
  std::uint8_t code() const { return state_.code(); }
  bool hookStarted() const { return hook_.IsStarted(); }

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;
  void OnConfirm() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  KeyDialogState state_;
  std::optional<std::uint8_t> chosen_;
  CKeyboardHook hook_;
};

// A delay: the box's text on OK (the caller reads and caps it).
class CActionTimeModifyDlg : public CMacroEditDlg {
 public:
  CActionTimeModifyDlg(std::u16string preset, HWND parent);
  const std::optional<std::u16string>& result() const { return result_; }

 protected:
  std::u16string InitialText() const override { return preset_; }
  void OnConfirm() override;
  void OnEditChar(char16_t c) override;

 private:
  std::u16string preset_;
  std::optional<std::u16string> result_;
};

// The name of a new macro or folder: the text on OK, maybe empty.
class CMacroKeyOrFolderNameDlg : public CMacroEditDlg {
 public:
  CMacroKeyOrFolderNameDlg(bool folder, HWND parent);
  const std::optional<std::u16string>& result() const { return result_; }

 protected:
  void OnConfirm() override;

 private:
  std::optional<std::u16string> result_;
};

// A new name for an item: OK ends as OK only when the text differs.
class CMacroKeyRenameDlg : public CMacroEditDlg {
 public:
  CMacroKeyRenameDlg(std::u16string current, HWND parent);
  const std::optional<std::u16string>& result() const { return result_; }

 protected:
  std::u16string InitialText() const override { return current_; }
  void OnConfirm() override;

 private:
  std::u16string current_;
  std::optional<std::u16string> result_;
};

}  // namespace zeltra::win32
