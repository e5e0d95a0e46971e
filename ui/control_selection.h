// Selection state that radio buttons write and other parts read: the radio
// selection word (one bit per radio button, grouped) and the DPI radio mask.
// Process-wide, used on the user-interface thread only.
#pragma once

#include <cstdint>
#include <optional>

namespace zeltra {

// The groups of the radio selection word. Within a group exactly the chosen
// bit is set. The first two are changed by no button: the main window keeps
// a profile's X_DPI choice (0..6) and its ScrollWheelPageEnable choice there.
inline constexpr std::uint32_t kRadioGroupXDpi = 0x0000007F;
inline constexpr std::uint32_t kRadioGroupWheelPage = 0x00000180;
inline constexpr std::uint32_t kRadioGroupLightDirection = 0x00001800;  // 3240, 3250
inline constexpr std::uint32_t kRadioGroupMacroRepeat = 0x0000E000;     // 2031..2033
inline constexpr std::uint32_t kRadioGroupReportRate = 0x000F0000;      // 3030..3033
inline constexpr std::uint32_t kRadioGroupLiftOff = 0x00300000;         // 3510, 3511

struct RadioBit {
  std::uint32_t groupMask;
  std::uint32_t bit;
};
// The group and bit of a radio button id; nothing for an id outside the table.
std::optional<RadioBit> RadioBitOf(int id);

std::uint32_t RadioSelectionWord();
void SetRadioSelectionWord(std::uint32_t word);
// Clears the button's group and sets its bit; an id outside the table
// changes nothing.
void SelectRadio(int id);
bool RadioChecked(int id);

// Choice k of a group is the group's k-th lowest bit. Setting clamps k into
// the group's choices; reading gives the lowest set choice or -1 for none.
void SetRadioGroupChoice(std::uint32_t groupMask, int choice);
int RadioGroupChoice(std::uint32_t groupMask);

// DPI radios 3290..3297: radio k draws checked while bit k is set; a click on
// radio k sets the low k + 1 bits.
inline constexpr int kDpiRadioFirstId = 3290;
inline constexpr int kDpiRadioCount = 8;
std::uint8_t DpiRadioMask();
void SetDpiRadioMask(std::uint8_t mask);
// Radio index of an id, clamped into 0..7.
int DpiRadioIndex(int id);
void SelectDpiRadio(int index);
bool DpiRadioChecked(int index);

// Back to the start-up state (both zero).
void ResetControlSelections();

}  // namespace zeltra
