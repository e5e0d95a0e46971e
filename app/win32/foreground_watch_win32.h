// The main window's unit that tells the model which program is in front:
// the system's foreground event (SetWinEventHook with EVENT_SYSTEM_FOREGROUND,
// out of context, so it arrives as a message on the user-interface thread;
// nothing polls), the window's process and its program's full path
// (QueryFullProcessImageNameW).
#pragma once

#include <windows.h>

#include "app/program_switch.h"
#include "app/win32/main_window_unit_win32.h"
#include "base/win32/unique_handle_win32.h"

namespace zeltra::win32 {

using UniqueWinEventHook = UniqueHandle<NullableHandleTraits<HWINEVENTHOOK, &UnhookWinEvent>>;

class ForegroundWatchUnit : public MainWindowUnit {
 public:
  ForegroundWatchUnit() = default;
  ~ForegroundWatchUnit() override;
  ForegroundWatchUnit(const ForegroundWatchUnit&) = delete;
  ForegroundWatchUnit& operator=(const ForegroundWatchUnit&) = delete;

  void Attach(MainWindowServices& window) override;
  void Detach() override;

  bool hooked() const { return static_cast<bool>(hook_); }

  // The program a window belongs to: this process's own, or the full path
  // of its executable (empty when the process cannot be asked).
  static ForegroundProgram ProgramOf(HWND window);

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                               DWORD time);
  void Unhook();

  MainWindowServices* window_ = nullptr;
  UniqueWinEventHook hook_;
};

}  // namespace zeltra::win32
