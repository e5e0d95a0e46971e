#include "settings/delayed_save.h"

namespace zeltra {

int RunDelayedSave(int pending, const std::function<bool()>& save) {
  if (pending != 1) return pending;
  return save() ? 0 : 1;
}

}  // namespace zeltra
