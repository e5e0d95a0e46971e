// The main window's side of button assignment: a click on a button combo
// opens the main menu, hovering opens and closes submenus, a chosen entry or
// a dialog's result runs the assignment sequence, and losing activation
// closes the menus. The window forwards its messages here and carries out
// what the host interface asks for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "macro/assignment_menu.h"
#include "macro/button_function.h"

namespace zeltra {

class MacroLibrary;

// What the main window does for the menus, in the order it is asked.
class AssignmentHost {
 public:
  virtual ~AssignmentHost() = default;

  virtual ProfileRecord& CurrentProfile() = 0;
  virtual const MacroLibrary& Library() = 0;
  // The combo's rectangle in client coordinates, and the screen it is on.
  virtual UiRect ComboRect(int comboId) = 0;
  virtual MenuScreen Screen() = 0;

  // Creates the popup of class `popup` with its top-left corner at `topLeft`
  // (client coordinates, shown at their screen point), owner value `comboId`
  // and the result message of AssignmentMessagesOf.
  virtual void OpenPopup(PopupClass popup, UiPoint topLeft, int comboId) = 0;
  virtual void ClosePopup(PopupClass popup) = 0;
  virtual bool PointerOverMainMenu() = 0;
  // Every open popup to the foreground, the main menu first (the last one
  // brought holds the activation).
  virtual void BringPopupsToFront() = 0;

  // The combo's popup-open flag (its pressed look), and its text; both repaint it.
  virtual void SetComboPressed(int comboId, bool pressed) = 0;
  virtual void SetComboText(int comboId, const std::u16string& text) = 0;
  // The mouse picture highlights button 1..9 (0 for none) and repaints.
  virtual void SetPictureHighlight(int button) = 0;

  // Posts `message` to the main window itself.
  virtual void PostToSelf(unsigned message) = 0;
  // Runs the dialog modally: kFireKeyDialog, kKeyCombinationDialog or
  // kMacroChooser. Its result arrives through HandleMessage meanwhile.
  virtual void RunDialog(MenuChoice dialog) = 0;

  // Sets buttonsPending and starts the apply timer (30, 20 ms).
  virtual void ApplyButtons() = 0;
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  // The attention dialog with title string 150 and message string `message`.
  virtual void ShowAttention(int message) = 0;
};

// What a message of the menus and dialogs means to the main window.
enum class MenuMessageKind {
  kMainResult,             // kMainMenuResultMessage: with wParam 0 the foreground cue, else a chosen entry
  kMainLostActivation,     // the main menu's dismissal
  kCloseSubmenus,          // kCloseSubmenusMessage
  kOpenSubmenu,            // a submenu's ...Open
  kSubmenuResult,          // a submenu's ...Result
  kSubmenuLostActivation,  // a submenu's dismissal
  kDialogRequest,          // a dialog's ...Request
  kDialogOpen,             // a dialog's ...Open (posted by the request)
  kDialogResult,           // kFireKeyResultMessage, kKeyCombinationResultMessage
  kMacroChosen,            // kMacroChosenMessage
};
struct MenuMessage {
  unsigned message = 0;
  MenuMessageKind kind = MenuMessageKind::kMainResult;
  PopupClass popup = PopupClass::kCombo;    // for the submenu kinds
  MenuChoice dialog = MenuChoice::kAssign;         // for the dialog kinds
};
// Nothing for a message that is not one of the assignment's.
std::optional<MenuMessage> FindMenuMessage(unsigned message);
// Whether lParam of `message` is a result record (a popup's PopupResult, or
// a dialog's ButtonAssignment) the window must hand HandleMessage as a
// ButtonAssignment (AssignmentOfResult for a popup's).
bool MenuMessageCarriesRecord(unsigned message, std::intptr_t wParam);

class AssignmentMenus {
 public:
  explicit AssignmentMenus(AssignmentHost& host) : host_(host) {}

  // kButtonComboMessage from button combo `comboId`: code 2 click, 4 pointer
  // entered, 5 pointer left.
  void OnComboNotify(int comboId, int code);
  // Any message of FindMenuMessage; `record` is the decoded result record
  // where MenuMessageCarriesRecord says so. False for other messages.
  bool HandleMessage(unsigned message, std::intptr_t wParam, const ButtonAssignment* record);
  // Timer 20 (the left-click warning).
  void OnWarningTimer();
  // The window is closing: every open menu goes.
  void CloseAll();

  // Runs the assignment sequence on `comboId`: combo text, the profile,
  // menus closed, then the left-click rule with its timer.
  void Assign(int comboId, const ButtonAssignment& assignment);

  bool IsOpen(PopupClass popup) const;
  int menuCombo() const { return menuCombo_; }
  int dialogCombo() const { return dialogCombo_; }

 private:
  void OpenMainMenu(int comboId);
  void OpenSubmenu(PopupClass submenu, int comboId);
  void Close(PopupClass popup);
  void CloseSubmenus();
  void CloseMenus();
  bool AnySubmenuOpen() const;

  AssignmentHost& host_;
  std::array<bool, kPopupClassCount> open_{};  // by PopupSlotOf
  int menuCombo_ = 0;    // the combo whose menu is open (pressed look)
  int dialogCombo_ = 0;  // the combo a dialog was requested for
};

}  // namespace zeltra
