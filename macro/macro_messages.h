// The window messages of the button assignment and the macro dialogs: what
// the assignment menus, the keyboard hook, the assignment dialogs and the
// macro manager's popups send, and what the main window posts itself on
// their behalf. The popups' dismissal messages are the toolkit's
// (ui/popup_messages.h).
#pragma once

namespace zeltra {

// A key transition anywhere in the system, from the keyboard hook (the same
// number as a popup's closing notice: wParam 0 tells that one apart).
inline constexpr unsigned kKeyHookMessage = 0x401;

// The assignment's main menu (CComboPopup): an entry chosen (wParam the
// combo id, lParam the result record), or with wParam 0 the cue to bring
// the popups to the front; and, on entering an entry without a submenu,
// the request to close the open submenus.
inline constexpr unsigned kMainMenuResultMessage = 0x403;
inline constexpr unsigned kCloseSubmenusMessage = 0x409;

// The submenus: the main menu asks to open one, and the submenu's choice
// comes back.
inline constexpr unsigned kDpiMenuOpen = 0x410;
inline constexpr unsigned kDpiMenuResult = 0x411;
inline constexpr unsigned kMultimediaMenuOpen = 0x413;
inline constexpr unsigned kMultimediaMenuResult = 0x414;
inline constexpr unsigned kDpiLockMenuOpen = 0x482;
inline constexpr unsigned kDpiLockMenuResult = 0x483;
inline constexpr unsigned kWindowsMenuOpen = 0x485;
inline constexpr unsigned kWindowsMenuResult = 0x486;
inline constexpr unsigned kOfficeMenuOpen = 0x488;
inline constexpr unsigned kOfficeMenuResult = 0x489;

// The assignment dialogs: the main menu's request, the message the main
// window posts itself to open the dialog once the menus are closed, and the
// dialog's result (the macro chooser's choice is the library's selection).
inline constexpr unsigned kKeyCombinationDialogOpen = 0x40A;
inline constexpr unsigned kKeyCombinationDialogRequest = 0x40B;
inline constexpr unsigned kKeyCombinationResultMessage = 0x40C;
inline constexpr unsigned kFireKeyDialogOpen = 0x425;
inline constexpr unsigned kFireKeyDialogRequest = 0x426;
inline constexpr unsigned kFireKeyResultMessage = 0x427;
inline constexpr unsigned kMacroChooserOpen = 0x428;
inline constexpr unsigned kMacroChooserRequest = 0x429;
inline constexpr unsigned kMacroChosenMessage = 0x42A;

// The macro manager: its insert combo was clicked, and the results of its
// two popups (CComboActionInsertPopup, CMacroListPopup).
inline constexpr unsigned kInsertComboMessage = 0x48E;
inline constexpr unsigned kInsertPopupResultMessage = 0x48F;
inline constexpr unsigned kContextPopupResultMessage = 0x491;

}  // namespace zeltra
