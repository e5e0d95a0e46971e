// The units the program plugs into its main window.
#pragma once

namespace zeltra::win32 {

class CTarvinDlg;

// Adds every unit of the program to the window (before or after it is up).
void AddMainWindowUnits(CTarvinDlg& window);

}  // namespace zeltra::win32
