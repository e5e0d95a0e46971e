// Selection state that radio buttons write and other parts read: the radio
// selection word (one bit per radio button, grouped) and the DPI radio mask.
// Process-wide, used on the user-interface thread only.
#pragma once

#include <cstdint>

namespace zeltra {

// The groups of the radio selection word. Within a group exactly the chosen
// bit is set. The first two are changed by no button: the main window keeps
// a profile's X_DPI choice (0..6) and its ScrollWheelPageEnable choice there.
// Whoever creates a radio button gives it its group and bit.
inline constexpr std::uint32_t kRadioGroupXDpi = 0x0000007F;
inline constexpr std::uint32_t kRadioGroupWheelPage = 0x00000180;
inline constexpr std::uint32_t kRadioGroupLightDirection = 0x00001800;  // the lighting direction
inline constexpr std::uint32_t kRadioGroupMacroRepeat = 0x0000E000;     // the macro manager's repeat rules
inline constexpr std::uint32_t kRadioGroupReportRate = 0x000F0000;
inline constexpr std::uint32_t kRadioGroupLiftOff = 0x00300000;

// A radio button's place in the word; zeros for a button in no group.
struct RadioBit {
  std::uint32_t groupMask = 0;
  std::uint32_t bit = 0;
  friend bool operator==(const RadioBit&, const RadioBit&) = default;
};

std::uint32_t RadioSelectionWord();
void SetRadioSelectionWord(std::uint32_t word);
// Clears the button's group and sets its bit; a button in no group changes
// nothing.
void SelectRadio(RadioBit bit);
bool RadioChecked(RadioBit bit);

// Choice k of a group is the group's k-th lowest bit. Setting clamps k into
// the group's choices; reading gives the lowest set choice or -1 for none.
void SetRadioGroupChoice(std::uint32_t groupMask, int choice);
int RadioGroupChoice(std::uint32_t groupMask);

// DPI radios 0..7: radio k draws checked while bit k is set; a click on
// radio k sets the low k + 1 bits.
inline constexpr int kDpiRadioCount = 8;
std::uint8_t DpiRadioMask();
void SetDpiRadioMask(std::uint8_t mask);
void SelectDpiRadio(int index);
bool DpiRadioChecked(int index);

// Back to the start-up state (both zero).
void ResetControlSelections();

}  // namespace zeltra
