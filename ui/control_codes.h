// Notification codes a control sends to its dialog (message number = the
// control's id, lParam = the code), and ids with a standard meaning.
#pragma once

namespace zeltra {

enum ControlCode : int {
  kCodePressed = 1,
  kCodeClicked = 2,
  kCodeValueChanged = 3,
  kCodeEntered = 4,
  kCodeLeft = 5,
  kCodeDoubleClick = 10,
  kCodeRightReleased = 11,
  kCodePickerMove = 12,
};

// Parts of a scroll bar a press reports (wParam of code 1).
enum ScrollPart : int {
  kPartThumb = 0,
  kPartUpArrow = 6,
  kPartDownArrow = 7,
  kPartTrackAbove = 8,
  kPartTrackBelow = 9,
};

// Button combos 2013..2021 report their codes under this message (wParam
// the combo's id, lParam the code).
inline constexpr int kButtonComboMessage = 0x404;  // 1028

inline constexpr int kIdClose = 2004;
inline constexpr int kIdOk = 2010;
inline constexpr int kIdCancel = 2011;

}  // namespace zeltra
