#include "model/macro.h"

#include <algorithm>

namespace zeltra {

int Macro::SetAction(int i, const MacroAction& action) {
  if (i < 0 || i >= kMaxMacroActions) return 0;
  AllAction[static_cast<std::size_t>(i)] = action;
  return 1;
}

int Macro::InsertAction(int i, const MacroAction& action) {
  const int count = static_cast<int>(std::min<std::uint32_t>(MacroActionNum, kMaxMacroActions));
  if (count >= kMaxMacroActions) return 0;
  if (i < 0) i = 0;
  if (i < count) {
    std::move_backward(AllAction.begin() + i, AllAction.begin() + count, AllAction.begin() + count + 1);
  } else {
    i = count;
  }
  AllAction[static_cast<std::size_t>(i)] = action;
  MacroActionNum = static_cast<std::uint32_t>(count + 1);
  return 1;
}

int Macro::DeleteAction(int i) {
  const int count = static_cast<int>(std::min<std::uint32_t>(MacroActionNum, kMaxMacroActions));
  if (i < 0 || i >= count) return 0;
  std::move(AllAction.begin() + i + 1, AllAction.begin() + count, AllAction.begin() + i);
  AllAction[static_cast<std::size_t>(count - 1)] = MacroAction{};
  MacroActionNum = static_cast<std::uint32_t>(count - 1);
  return 1;
}

void Macro::CopyFrom(const Macro& other) {
  if (this == &other) return;
  name = other.name;
  MacroKeyIndex = other.MacroKeyIndex;
  MacroCommandActionNum = other.MacroCommandActionNum;
  MacroKeyLoopNum = other.MacroKeyLoopNum;
  MacroKeyLoopType = other.MacroKeyLoopType;
  MacroActionNum = 0;
  const int count = static_cast<int>(std::min<std::uint32_t>(other.MacroActionNum, kMaxMacroActions));
  for (int i = 0; i < count; ++i) InsertAction(i, other.AllAction[static_cast<std::size_t>(i)]);
}

int Macro::CountEvents() const {
  const auto count = std::min<std::uint32_t>(MacroActionNum, kMaxMacroActions);
  return static_cast<int>(std::count_if(AllAction.begin(), AllAction.begin() + count,
                                        [](const MacroAction& a) { return !a.IsDelay(); }));
}

}  // namespace zeltra
