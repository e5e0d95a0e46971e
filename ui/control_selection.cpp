#include "ui/control_selection.h"

#include <algorithm>
#include <array>
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

struct RadioEntry {
  int id;
  std::uint32_t groupMask;
  std::uint32_t bit;
};

constexpr std::array<RadioEntry, 11> kRadioTable{{
    {3240, kRadioGroupLightDirection, 0x800},
    {3250, kRadioGroupLightDirection, 0x1000},
    {2031, kRadioGroupMacroRepeat, 0x2000},
    {2032, kRadioGroupMacroRepeat, 0x4000},
    {2033, kRadioGroupMacroRepeat, 0x8000},
    {3030, kRadioGroupReportRate, 0x10000},
    {3031, kRadioGroupReportRate, 0x20000},
    {3032, kRadioGroupReportRate, 0x40000},
    {3033, kRadioGroupReportRate, 0x80000},
    {3510, kRadioGroupLiftOff, 0x100000},
    {3511, kRadioGroupLiftOff, 0x200000},
}};

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

std::optional<RadioBit> RadioBitOf(int id) {
  for (const auto& entry : kRadioTable) {
    if (entry.id == id) return RadioBit{entry.groupMask, entry.bit};
  }
  return std::nullopt;
}

std::uint32_t RadioSelectionWord() { return State().radioWord; }
void SetRadioSelectionWord(std::uint32_t word) { State().radioWord = word; }

void SelectRadio(int id) {
  if (const auto bit = RadioBitOf(id)) State().radioWord = (State().radioWord & ~bit->groupMask) | bit->bit;
}

bool RadioChecked(int id) {
  const auto bit = RadioBitOf(id);
  return bit && (State().radioWord & bit->bit) != 0;
}

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

int DpiRadioIndex(int id) { return std::clamp(id - kDpiRadioFirstId, 0, kDpiRadioCount - 1); }

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
