// The table of open small dialogs, so that quitting can close them all first.
#pragma once

#include <array>
#include <cstdint>

namespace zeltra {

class OpenDialogTable {
 public:
  static constexpr int kSize = 10;
  using Handle = std::uintptr_t;  // a window handle; 0 = empty entry

  void Clear() { entries_.fill(0); }
  // Puts the handle into the first empty entry; false when all are taken (the
  // dialog then simply is not closed by a quit).
  bool Register(Handle handle);
  // Removes the handle and moves the later entries up by one. A handle that
  // is not in the table leaves it unchanged.
  bool Unregister(Handle handle);
  Handle At(int index) const;
  int Count() const;

 private:
  std::array<Handle, kSize> entries_{};
};

// The process-wide table (user-interface thread only).
OpenDialogTable& OpenDialogs();

}  // namespace zeltra
