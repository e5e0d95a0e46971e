// The eleven drop-down popups apart from drawing: the items each lists, the
// kind that picks its dismissal message, and what it sends to its owner for
// every mouse operation on every item.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "macro/button_function.h"
#include "settings/language.h"
#include "ui/popup_messages.h"
#include "ui/popup_model.h"

namespace zeltra {

class SettingsStore;

enum class PopupClass : int {
  kCombo,          // CComboPopup: the main assignment menu
  kDpi,            // CDPIPopup: DPI functions
  kMultimedia,     // CMultimediaPopup
  kComboProfile,   // CComboProfilePopup: the profile picker
  kComboLighting,  // CComboLightingPopup: lighting modes
  kDpiLock,        // CDPILockPopup
  kWindowsManage,  // CWindowsManagePopup
  kOffice,         // COfficePopup
  kProfileRKey,    // CProfileRKeyPopup: the profile rows' context menu
  kActionInsert,   // CComboActionInsertPopup: macro actions to insert
  kMacroList,      // CMacroListPopup: the macro tree's context menu
};
inline constexpr int kPopupClassCount = 11;

// Fixed per class: 0, 2, 3, 7, 9, 10, 11, 12, 13, 14, 15 in the order above.
int PopupKind(PopupClass popupClass);
PopupLayout PopupLayoutOf(PopupClass popupClass);
// What the popup sends when it loses activation; 0 for a kind that has none.
std::uint32_t DismissalMessage(int kind);
// One owner slot per family is enough: the class's own number (0..10).
inline constexpr int PopupSlotOf(PopupClass popupClass) { return static_cast<int>(popupClass); }
// The submenu popup a main-menu entry opens.
std::optional<PopupClass> SubmenuPopupClass(MenuChoice menu);
// The main-menu entry whose submenu a class is (the table it lists); none for
// the classes with tables of their own.
std::optional<MenuChoice> SubmenuChoice(PopupClass popupClass);

// The record a chosen item hands its owner: the item's label and three
// bytes: a button-function code, or (mode, 0, 0) for a lighting mode, or
// (operation, 0, 0) for the profile actions, the macro actions to insert and
// the macro tree's context menu.
struct PopupResult {
  std::u16string label;
  ButtonFunctionCode code;
};

// One message to the owner. With `carriesResult` the lParam is the address
// of the popup's result record, valid while the message is handled.
struct PopupSend {
  std::uint32_t message = 0;
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
  bool carriesResult = false;
  friend bool operator==(const PopupSend&, const PopupSend&) = default;
};

struct PopupReaction {
  bool changed = false;  // repaint
  std::optional<PopupSend> send;
};

// The profile picker's rows: item values 1 (header), 2..6 (show-list
// positions 0..4, an empty name is a row that cannot be chosen), 7 (the
// last row, which adds a profile).
struct ProfilePopupRows {
  std::u16string header;
  std::array<std::u16string, 5> names;
  std::u16string last;
  int currentRow = 1;  // item index of the current profile's row; -1 for none
};
// Rows for the shown profiles: header language string 10, last row 200, the
// current profile's row current. A shown profile whose file brought an empty
// name shows its default name (DefaultProfileName), so its row stays
// reachable (the popup refuses rows without a text).
ProfilePopupRows ProfileRowsOf(const SettingsStore& settings, const LanguageTable& language = Language());
// wParam of the profile picker's result message: a row chosen or right-clicked.
inline constexpr int kProfileRowChosen = 2;
inline constexpr int kProfileRowRightClicked = 11;

struct PopupOptions {
  // CMacroListPopup: 1 a macro is selected, 2 a folder, 0 anything else.
  int macroListContext = 0;
  ProfilePopupRows profileRows;  // CComboProfilePopup
};

// One popup's items and mouse rules, for the class it is.
class PopupLogic {
 public:
  PopupLogic(PopupClass popupClass, float scale, std::uint32_t resultMessage, std::intptr_t ownerValue);

  // Adds the class's items with their labels from the language table.
  void BuildItems(const PopupOptions& options = {});

  PopupClass popupClass() const { return class_; }
  int kind() const { return PopupKind(class_); }
  std::intptr_t ownerValue() const { return ownerValue_; }
  std::uint32_t resultMessage() const { return resultMessage_; }
  PopupModel& model() { return model_; }
  const PopupModel& model() const { return model_; }
  const PopupResult& result() const { return result_; }
  bool buttonHeld() const { return held_; }
  // The profile picker's current row (an item index), -1 for none.
  int currentRow() const { return currentRow_; }

  // Window messages, in client coordinates. While the left button is held
  // the hovered item does not follow the mouse.
  PopupReaction MouseMove(int x, int y);
  PopupReaction MouseHover(int x, int y);
  PopupReaction MouseLeave(int x, int y);
  PopupReaction ButtonDown(int x, int y);
  PopupReaction ButtonUp(int x, int y);
  PopupReaction RightButtonUp(int x, int y);
  // The capture went elsewhere in the middle of a press: no release comes.
  void CaptureLost() { held_ = false; }

  // Sent on losing activation; nothing for a kind without a dismissal message.
  std::optional<PopupSend> Dismissal() const;
  PopupSend Closed() const { return {kPopupClosedMessage, 0, 0, false}; }

 private:
  PopupReaction Hover(int x, int y);
  std::optional<PopupSend> Entered(const PopupItem& item) const;
  std::optional<PopupSend> Pressed(const PopupItem& item) const;
  std::optional<PopupSend> Chosen(const PopupItem& item);
  PopupSend ResultSend(std::u16string label, ButtonFunctionCode code);

  PopupClass class_;
  std::uint32_t resultMessage_;
  std::intptr_t ownerValue_;
  PopupModel model_;
  PopupResult result_;
  bool held_ = false;
  int currentRow_ = -1;
};

}  // namespace zeltra
