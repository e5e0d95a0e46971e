// The profile picker's name dialogs: add a profile, rename a profile. A
// native edit box takes the name; Enter confirms like OK, Escape is ignored.
#pragma once

#include <string>

#include "ui/small_dialogs.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra {
class SettingsStore;
}

namespace zeltra::win32 {

class CProfileNameDlg : public CSmallDialog {
 public:
  ~CProfileNameDlg() override;

  HWND edit() const { return edit_.get(); }
  std::u16string EditText() const;

 protected:
  CProfileNameDlg(HWND parent, int titleString, const DesignRect& editPlace, std::u16string initialText);

  // What OK does with the name.
  virtual ProfileNameOutcome Confirm(const std::u16string& name) = 0;

  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void OnConfirm();
  void CreateEdit();

  int titleString_;
  DesignRect editPlace_;
  std::u16string initialText_;
  UniqueFont editFont_;  // outlives the edit box
  UniqueWindow edit_;
};

// Adds the first hidden profile under the typed name. IDOK when a profile
// was added; the caller saves and refreshes.
class CAddProfileDlg : public CProfileNameDlg {
 public:
  explicit CAddProfileDlg(SettingsStore& settings, HWND parent = nullptr);
  // The profile that was added, -1 before.
  int addedProfile() const { return added_; }

 protected:
  ProfileNameOutcome Confirm(const std::u16string& name) override;

 private:
  SettingsStore& settings_;
  int added_ = -1;
};

// Renames a profile. IDOK when the name was changed.
class CEditProfileDlg : public CProfileNameDlg {
 public:
  explicit CEditProfileDlg(ProfileRecord& profile, HWND parent = nullptr);

 protected:
  ProfileNameOutcome Confirm(const std::u16string& name) override;

 private:
  ProfileRecord& profile_;
};

}  // namespace zeltra::win32
