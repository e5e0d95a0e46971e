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

// Control ids start here, above the window messages of the popups and dialogs.
inline constexpr int kFirstControlId = 2001;

// Ids every small dialog gives the same meaning: the close cross in the
// frame's corner, OK, Cancel, and a native edit box for typed text.
inline constexpr int kIdClose = 2004;
inline constexpr int kIdOk = 2010;
inline constexpr int kIdCancel = 2011;
inline constexpr int kIdTextEntry = 2017;

}  // namespace zeltra
