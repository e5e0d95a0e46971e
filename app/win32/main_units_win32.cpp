#include "app/win32/main_units_win32.h"

#include <memory>

#include "app/win32/assignment_unit_win32.h"

#include "app/win32/tarvin_dlg_win32.h"

namespace zeltra::win32 {

void AddMainWindowUnits(CTarvinDlg& window) {
  // One line per unit: window.AddUnit(std::make_unique<...>());
  window.AddUnit(std::make_unique<ButtonAssignmentUnit>());
}

}  // namespace zeltra::win32
