// What the assignment and macro dialogs share: the table form in which each
// dialog lists its controls (design rectangles, scaled by
// ScaleOriginAndSize), and what Enter and Esc do in each dialog.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/list_rows.h"
#include "ui/ui_context.h"
#include "ui/ui_geometry.h"

namespace zeltra {

enum class ControlKind {
  kStaticText,
  kImageButton,  // push buttons and the close cross
  kCheckButton,  // check boxes and the record toggle
  kRadioButton,
  kComboButton,
  kTreeList,    // CEditShowList
  kActionList,  // CImageShowList
  kScrollBar,
  kEditBox,  // a native child edit control
};

// One control of a dialog. Skin files are relative to the program folder, in
// the stored (backslash) form; empty where the control has no such image.
// The images in order: normal, mouse over, checked (buttons, boxes, radios);
// open and closed folder (tree); first action, second action and delay
// icon (action list).
struct DialogControl {
  int id = 0;
  ControlKind kind = ControlKind::kStaticText;
  DesignRect rect;
  int text = 0;               // language string; 0 for none
  std::u16string_view label;  // a fixed text, used when `text` is 0
  std::array<std::u16string_view, 3> images;
  int checkedText = 0;  // a check button's text while checked; 0 for none
  RadioBit radio;       // a radio button's place in the radio selection word
};

// Table rows of the common kinds.
constexpr DialogControl TextControl(int id, DesignRect rect, int text) {
  return {id, ControlKind::kStaticText, rect, text, {}, {}, 0, {}};
}
constexpr DialogControl LabelControl(int id, DesignRect rect, std::u16string_view label) {
  return {id, ControlKind::kStaticText, rect, 0, label, {}, 0, {}};
}
constexpr DialogControl ImageControl(int id, ControlKind kind, DesignRect rect, std::u16string_view first = {},
                                     std::u16string_view second = {}, std::u16string_view third = {}) {
  return {id, kind, rect, 0, {}, {first, second, third}, 0, {}};
}
constexpr DialogControl ButtonControl(int id, DesignRect rect, int text, std::u16string_view normal,
                                      std::u16string_view over) {
  return {id, ControlKind::kImageButton, rect, text, {}, {normal, over, {}}, 0, {}};
}

// The first control of a table with this id (the manager has two texts of one id).
const DialogControl* FindDialogControl(std::span<const DialogControl> controls, int id);

// A character typed into one of the number boxes (fire key, delay, repeat
// count): the attention message for anything but a digit or backspace (0
// for none). The character is not suppressed.
int NotADigitWarning(char16_t c);

// What Enter and Esc do in a dialog.
enum class DialogKeyRule {
  kSwallow,           // nothing happens
  kOk,                // the dialog's own OK rule runs
  kEndWithoutResult,  // the dialog ends (as OK for Enter, Cancel for Esc) and takes nothing
};
struct DialogKeys {
  DialogKeyRule enter;
  DialogKeyRule escape;
};

// Skin files several dialogs use.
inline constexpr std::u16string_view kSkinCloseNormal = u"skins\\exit_nr.png";
inline constexpr std::u16string_view kSkinCloseOver = u"skins\\exit_ov.png";
inline constexpr std::u16string_view kSkinButtonNormal = u"skins\\button2_nr.png";
inline constexpr std::u16string_view kSkinButtonOver = u"skins\\button2_ov.png";
inline constexpr std::u16string_view kSkinCheckNormal = u"skins\\check_nr.png";
inline constexpr std::u16string_view kSkinCheckOver = u"skins\\check_ov.png";
inline constexpr std::u16string_view kSkinCheckChecked = u"skins\\check_dn.png";
inline constexpr std::u16string_view kSkinFolderOpen = u"skins\\foldr_open.png";
inline constexpr std::u16string_view kSkinFolderClosed = u"skins\\foldr_close.png";
inline constexpr std::u16string_view kSkinMacroFrame = u"skins\\Frame_Macro_Manager.bmp";

// The caption text in the dialogs that write their own.
inline constexpr int kDialogCaptionId = 2001;

// Language strings every dialog uses.
inline constexpr int kOkText = 4;
inline constexpr int kCancelText = 5;

// A push button on the common button skin, the close cross, a check box.
constexpr DialogControl PushButtonControl(int id, DesignRect rect, int text) {
  return ButtonControl(id, rect, text, kSkinButtonNormal, kSkinButtonOver);
}
constexpr DialogControl CloseCrossControl(DesignRect rect) {
  return ImageControl(kIdClose, ControlKind::kImageButton, rect, kSkinCloseNormal, kSkinCloseOver);
}
constexpr DialogControl CheckBoxControl(int id, DesignRect rect) {
  return ImageControl(id, ControlKind::kCheckButton, rect, kSkinCheckNormal, kSkinCheckOver, kSkinCheckChecked);
}

}  // namespace zeltra
