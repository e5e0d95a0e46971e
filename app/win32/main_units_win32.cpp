#include "app/win32/main_units_win32.h"

#include <memory>

#include "app/win32/assignment_unit_win32.h"
#include "app/win32/foreground_watch_win32.h"
#include "app/win32/macro_manager_unit_win32.h"
#include "app/win32/tarvin_dlg_win32.h"

namespace zeltra::win32 {

void AddMainWindowUnits(CTarvinDlg& window) {
  // One line per unit: window.AddUnit(std::make_unique<...>());
  window.AddUnit(std::make_unique<ButtonAssignmentUnit>());
  window.AddUnit(std::make_unique<MacroManagerUnit>());
  window.AddUnit(std::make_unique<ForegroundWatchUnit>());
}

}  // namespace zeltra::win32
