// What the eleven drop-down popups list and what choosing their items
// means: the assignment menus and the macro manager's, and the profile
// picker's, the profile rows' and the lighting modes', which share their
// table of classes and kinds. The toolkit's popup (ui/popup_logic.h) does
// the rest.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "macro/button_function.h"
#include "ui/popup_logic.h"

namespace zeltra {

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
// One owner slot per family is enough: the class's own number (0..10).
inline constexpr int PopupSlotOf(PopupClass popupClass) { return static_cast<int>(popupClass); }
// The submenu popup a main-menu entry opens.
std::optional<PopupClass> SubmenuPopupClass(MenuChoice menu);
// The main-menu entry whose submenu a class is (the table it lists); none for
// the classes with tables of their own.
std::optional<MenuChoice> SubmenuChoice(PopupClass popupClass);

// A chosen item's three bytes: a button-function code, or (mode, 0, 0) for a
// lighting mode, or (operation, 0, 0) for the profile actions, the macro
// actions to insert and the macro tree's context menu.
inline ButtonFunctionCode CodeOf(const PopupResult& result) {
  return {result.bytes[0], result.bytes[1], result.bytes[2]};
}

// The profile picker's rows: item values 1 (header), 2..6 (show-list
// positions 0..4, an empty name is a row that cannot be chosen), 7 (the
// last row, which adds a profile).
struct ProfilePopupRows {
  std::u16string header;
  std::array<std::u16string, 5> names;
  std::u16string last;
  int currentRow = 1;  // item index of the current profile's row; -1 for none
};
// wParam of the profile picker's result message: a row chosen or right-clicked.
inline constexpr int kProfileRowChosen = 2;
inline constexpr int kProfileRowRightClicked = 11;

struct PopupOptions {
  // CMacroListPopup: 1 a macro is selected, 2 a folder, 0 anything else.
  int macroListContext = 0;
  ProfilePopupRows profileRows;  // CComboProfilePopup
};

// The menu of one class, its labels from the language table. A number that
// names no class is taken as the main menu.
std::unique_ptr<PopupMenu> MakePopupMenu(PopupClass popupClass, PopupOptions options = {});
// A popup's rules with that menu.
inline PopupLogic MakePopupLogic(PopupClass popupClass, float scale, std::uint32_t resultMessage,
                                 std::intptr_t ownerValue, PopupOptions options = {}) {
  return PopupLogic(MakePopupMenu(popupClass, std::move(options)), scale, resultMessage, ownerValue);
}

}  // namespace zeltra
