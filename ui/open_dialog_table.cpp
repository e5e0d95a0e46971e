#include "ui/open_dialog_table.h"

#include <algorithm>

namespace zeltra {

bool OpenDialogTable::Register(Handle handle) {
  if (handle == 0) return false;
  for (auto& entry : entries_) {
    if (entry == 0) {
      entry = handle;
      return true;
    }
  }
  return false;
}

bool OpenDialogTable::Unregister(Handle handle) {
  if (handle == 0) return false;
  auto it = std::find(entries_.begin(), entries_.end(), handle);
  if (it == entries_.end()) return false;
  std::move(it + 1, entries_.end(), it);
  entries_.back() = 0;
  return true;
}

OpenDialogTable::Handle OpenDialogTable::At(int index) const {
  if (index < 0 || index >= kSize) return 0;
  return entries_[static_cast<std::size_t>(index)];
}

int OpenDialogTable::Count() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](Handle h) { return h != 0; }));
}

OpenDialogTable& OpenDialogs() {
  static OpenDialogTable table;
  return table;
}

}  // namespace zeltra
