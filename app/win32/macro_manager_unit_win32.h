// The main window's macro-manager button: runs the manager and, once
// it closed, reads the library again and sends any macro button of the
// current profile to the mouse at once.
#pragma once

#include "app/win32/main_window_unit_win32.h"

namespace zeltra::win32 {

class MacroManagerUnit : public MainWindowUnit {
 public:
  void Attach(MainWindowServices& window) override { window_ = &window; }
  void Detach() override { window_ = nullptr; }
  bool OnControlNotify(UINT id, WPARAM wParam, LPARAM code) override;

 private:
  void RunManager();

  MainWindowServices* window_ = nullptr;
  bool running_ = false;
};

}  // namespace zeltra::win32
