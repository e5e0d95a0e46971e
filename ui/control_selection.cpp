#include "ui/control_selection.h"

#include <algorithm>
#include <bit>

namespace zeltra {
namespace {

struct Selections {
  std::uint32_t radioWord = 0;
  std::uint8_t dpiRadioMask = 0;
};

Selections& State() {
  static Selections selections;
  return selections;
}

// The k-th lowest set bit of a mask (k clamped into the mask's bits).
std::uint32_t NthBit(std::uint32_t mask, int k) {
  const int count = std::popcount(mask);
  if (count == 0) return 0;
  k = std::clamp(k, 0, count - 1);
  std::uint32_t rest = mask;
  for (int i = 0; i < k; ++i) rest &= rest - 1;  // drop the lowest bit
  return rest & (~rest + 1);
}

}  // namespace

std::uint32_t RadioSelectionWord() { return State().radioWord; }
void SetRadioSelectionWord(std::uint32_t word) { State().radioWord = word; }

void SelectRadio(RadioBit bit) {
  if (bit.bit != 0) State().radioWord = (State().radioWord & ~bit.groupMask) | bit.bit;
}

bool RadioChecked(RadioBit bit) { return (State().radioWord & bit.bit) != 0; }

void SetRadioGroupChoice(std::uint32_t groupMask, int choice) {
  State().radioWord = (State().radioWord & ~groupMask) | NthBit(groupMask, choice);
}

int RadioGroupChoice(std::uint32_t groupMask) {
  const std::uint32_t set = State().radioWord & groupMask;
  if (set == 0) return -1;
  // Count the group's bits below the lowest set one.
  const std::uint32_t lowest = set & (~set + 1);
  return std::popcount(groupMask & (lowest - 1));
}

std::uint8_t DpiRadioMask() { return State().dpiRadioMask; }
void SetDpiRadioMask(std::uint8_t mask) { State().dpiRadioMask = mask; }

void SelectDpiRadio(int index) {
  index = std::clamp(index, 0, kDpiRadioCount - 1);
  State().dpiRadioMask = static_cast<std::uint8_t>((1u << (index + 1)) - 1u);
}

bool DpiRadioChecked(int index) {
  if (index < 0 || index >= kDpiRadioCount) return false;
  return (State().dpiRadioMask >> index & 1u) != 0;
}

void ResetControlSelections() { State() = Selections{}; }

}  // namespace zeltra
