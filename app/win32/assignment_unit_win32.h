// The main window's button assignment: the six button combos open the
// assignment menu and its submenus, the chosen entry or dialog result is
// stored in the current profile, and the mouse picture follows the pointer
// over the combos. The rules are AssignmentMenus'; this unit carries out
// what they ask on the window's own controls and popups. Timer 20 (the
// left-click warning) it starts is the window's to handle.
#pragma once

#include <windows.h>

#include "macro/assignment_controller.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra {
class MacroLibrary;
struct ProfileRecord;
}  // namespace zeltra

namespace zeltra::win32 {

class CWndPopup;

// What the unit needs from the window it serves.
class AssignmentWindow {
 public:
  virtual ~AssignmentWindow() = default;
  // The window: its button combos and its popup slots.
  virtual CDlgBase& Dialog() = 0;
  virtual ProfileRecord& AssignedProfile() = 0;
  virtual MacroLibrary& AssignedLibrary() = 0;
  // The mouse picture highlights button 1..9, 0 for none, and repaints.
  virtual void HighlightPictureButton(int button) = 0;
  // The buttons changed: set buttonsPending and start the apply timer.
  virtual void ApplyChangedButtons() = 0;
};

class AssignmentUnit : private AssignmentHost {
 public:
  explicit AssignmentUnit(AssignmentWindow& window) : window_(window), menus_(*this) {}

  // The combos' notifications (kButtonComboMessage) and every menu and dialog message;
  // true when the message was the unit's (`result` then holds the answer).
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The window is closing: the menus go (the dialogs are small dialogs the
  // window closes with every other one).
  void CloseDialogs() { menus_.CloseAll(); }

  const AssignmentMenus& menus() const { return menus_; }
  // The open popup of an assignment class, or null.
  CWndPopup* OpenMenu(PopupClass popup) const;

 private:
  // AssignmentHost
  ProfileRecord& CurrentProfile() override;
  const MacroLibrary& Library() override;
  UiRect ComboRect(int comboId) override;
  MenuScreen Screen() override;
  void OpenPopup(PopupClass popup, UiPoint topLeft, int comboId) override;
  void ClosePopup(PopupClass popup) override;
  bool PointerOverMainMenu() override;
  void BringPopupsToFront() override;
  void SetComboPressed(int comboId, bool pressed) override;
  void SetComboText(int comboId, const std::u16string& text) override;
  void SetPictureHighlight(int button) override;
  void PostToSelf(unsigned message) override;
  void RunDialog(MenuChoice dialog) override;
  void ApplyButtons() override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  void ShowAttention(int message) override;

  HWND hwnd() { return window_.Dialog().GetSafeHwnd(); }

  AssignmentWindow& window_;
  AssignmentMenus menus_;
};

}  // namespace zeltra::win32

#include "app/win32/main_window_unit_win32.h"

namespace zeltra::win32 {

// The assignment unit plugged into the main window: the key slots' combos on
// the current profile, the library, the picture's highlight and the apply
// cycle of the window. Timer 20 is the window model's.
class ButtonAssignmentUnit : public MainWindowUnit, private AssignmentWindow {
 public:
  ButtonAssignmentUnit() : unit_(*this) {}

  void Attach(MainWindowServices& window) override { window_ = &window; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return window_ != nullptr && unit_.OnMessage(message, wParam, lParam, result);
  }
  void CloseDialogs() override {
    if (window_ != nullptr) unit_.CloseDialogs();
  }
  void Detach() override { window_ = nullptr; }

  const AssignmentUnit& unit() const { return unit_; }

 private:
  CDlgBase& Dialog() override { return window_->Dialog(); }
  ProfileRecord& AssignedProfile() override;
  MacroLibrary& AssignedLibrary() override { return window_->Macros(); }
  void HighlightPictureButton(int button) override { window_->SetPictureHighlight(button); }
  void ApplyChangedButtons() override;

  MainWindowServices* window_ = nullptr;
  AssignmentUnit unit_;
};

}  // namespace zeltra::win32
