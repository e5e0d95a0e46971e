#include "ui/win32/common_controls_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "settings/win32/system_library_win32.h"

namespace zeltra::win32 {

bool EnsureCommonControls() {
  // comctl32.dll is not a known DLL: it comes from the system (side by side),
  // never from beside the program. Loaded on first use, not at start: with
  // the theming it starts, it would delay the window's first paint for the
  // one dialog that shows tips.
  static const bool started = [] {
    const auto init = SystemFunctions(LoadSystemLibrary(L"comctl32.dll"))
                          .Take<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx", nullptr);
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    return init(&controls) != FALSE;
  }();
  return started;
}

}  // namespace zeltra::win32
