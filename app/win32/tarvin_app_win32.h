// The application: one copy per user session, the main window's class,
// GDI+, and the main dialog that runs for the life of the process.
#pragma once

#include <windows.h>

#include <string>

namespace zeltra::win32 {

class CTarvinApp {
 public:
  // Runs the program and returns when it ends. Always false, as the program
  // is over once the main dialog has closed.
  bool InitInstance(const std::wstring& commandLine);

  // The main dialog's class: the system dialog class under the program's
  // own name, which a second copy looks for.
  static bool RegisterMainWindowClass();
  // A second copy: wakes the first copy's window, if there is one.
  static void WakeFirstCopy();
};

}  // namespace zeltra::win32
