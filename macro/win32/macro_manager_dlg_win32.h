// The macro manager (528 x 365): draws the library tree, the current
// macro's actions and their controls, and hands every event to the rules of
// MacroManagerDialog; the small dialogs, popups, hook and controls it runs
// for those rules are the MacroManagerHost it implements.
#pragma once

#include <windows.h>

#include <filesystem>

#include "macro/macro_manager_dialog.h"
#include "macro/win32/dialog_table_win32.h"
#include "macro/win32/keyboard_hook_win32.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

class CMacroManagerDlg : public CDlgBase, public MacroManagerHost {
 public:
  // `library` is saved to `libraryPath`; `profile` is the current profile.
  CMacroManagerDlg(MacroLibrary& library, const ProfileRecord& profile, std::filesystem::path libraryPath,
                   HWND parent);
  ~CMacroManagerDlg() override;

  MacroManagerDialog& rules() { return rules_; }
  bool hookStarted() const { return hook_.IsStarted(); }
  HWND countBox() const { return countBox_.hwnd(); }

  // ---- MacroManagerHost ----
  void ShowList(int listId, int firstRow) override;
  void SetScrollBar(int barId, const ScrollInfo& info) override;
  void RepaintControl(int id) override;
  void RepaintAll() override;
  void ShowAttention(int message) override;
  bool Confirm(int message) override;
  std::optional<std::u16string> RunNameDialog(MacroEditDialog dialog, std::u16string_view preset) override;
  std::optional<std::u16string> RunDelayDialog(std::u16string_view preset) override;
  KeyDialogResult RunKeyDialog(std::uint8_t code) override;
  std::optional<std::filesystem::path> RunFileDialog(const MacroFileDialog& dialog) override;
  void OpenPopup(PopupClass popup, const PopupOptions& options, UiPoint at) override;
  void ClosePopup(PopupClass popup) override;
  void StartHook() override;
  void StopHook() override;
  void EnableControls(bool enabled) override;
  void SetRecordButton(bool on) override;
  void SetRepeatRule(int radioId) override;
  void ShowCountBox(bool shown, std::u16string_view text) override;
  void SetCountBoxText(std::u16string_view text) override;
  void PutCountBoxCaretAtEnd() override;
  void ShowMacro(const Macro* macro) override;
  void SelectAction(int row) override;
  void End() override;

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;
  // Enter and Esc never close the manager; only the cross and a quit do.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  bool OnControlNotify(UINT id, WPARAM wParam, LPARAM code);
  void OnMouseMoveAfterBase(UINT flags, int x, int y);
  void OnPopupGone(PopupClass popup);
  void SetCountBoxTextQuietly(std::u16string_view text);

  MacroLibrary& library_;
  MacroManagerDialog rules_;
  CKeyboardHook hook_;
  NativeEditBox countBox_;
  UniqueBrush countBoxBrush_;
  bool settingCountText_ = false;
  bool ended_ = false;
};

// Runs the manager modally over `owner`: it opens with every folder closed
// and nothing selected, and saves the library when it closes.
void RunMacroManager(HWND owner, MacroLibrary& library, const ProfileRecord& profile,
                     const std::filesystem::path& libraryPath);

}  // namespace zeltra::win32
