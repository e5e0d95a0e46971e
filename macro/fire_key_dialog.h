// CFireKeyDlg's rules: two boxes with the fire key's two values, checked
// every 100 ms, and OK building the code 0x30 with both values. Characters
// typed into the boxes are checked by NotADigitWarning.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/button_function.h"
#include "macro/dialog_layout.h"

namespace zeltra {

inline constexpr int kFireKeyDialogWidth = 429;  // design units
inline constexpr int kFireKeyDialogHeight = 140;
inline constexpr std::u16string_view kFireKeyDialogFrame = u"skins\\Frame_common.bmp";
inline constexpr int kFireKeyFirstBox = kIdTextEntry;  // native edit boxes, centred text
inline constexpr int kFireKeySecondBox = 2018;
inline constexpr int kFireKeyFirstLabel = 2012;  // left of the boxes
inline constexpr int kFireKeySecondLabel = 2013;
inline constexpr int kFireKeyNote = 2014;  // below them
inline constexpr std::u16string_view kFireKeyFirstPreset = u"50";
inline constexpr std::u16string_view kFireKeySecondPreset = u"0";
inline constexpr int kFireKeyCheckTimerMs = 100;
// Attention messages (title 150).
inline constexpr int kFireKeyFirstValueMessage = 174;  // first value above 255, or below 5 on OK
inline constexpr int kFireKeySecondValueMessage = 176;
inline constexpr std::uint8_t kFireKeyFirstMinimum = 5;
inline constexpr DialogKeys kFireKeyDialogKeys{DialogKeyRule::kSwallow, DialogKeyRule::kSwallow};

// Caption (string 170), the texts 171 to 173, the two boxes, OK, Cancel and
// the close cross; the frame is drawn stretched to the client area.
extern const std::array<DialogControl, 9> kFireKeyDialogControls;

// One tick of the 100 ms check.
struct FireKeyCheck {
  std::optional<std::u16string> firstText;   // replace the first box's text
  std::optional<std::u16string> secondText;  // replace the second box's text
  std::vector<int> messages;                 // attention dialogs to show, in order
};
FireKeyCheck CheckFireKeyBoxes(std::u16string_view first, std::u16string_view second);

struct FireKeyOk {
  bool close = false;                      // the dialog ends
  int message = 0;                         // attention dialog (the dialog stays open)
  std::optional<ButtonAssignment> result;  // send as kFireKeyResultMessage before closing
};
// OK with the two boxes' texts, each read as a decimal number up to its first
// non-digit.
FireKeyOk FireKeyDialogOk(std::u16string_view first, std::u16string_view second);

}  // namespace zeltra
