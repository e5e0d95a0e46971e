// Plug-in units of the main window: each handles its own controls, messages
// and timers, so the window's dispatch does not grow with every page.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zeltra {
class DeviceLink;
class MacroLibrary;
class MainWindowModel;
class SettingsStore;
}  // namespace zeltra

namespace zeltra::win32 {

class CControlBase;
class CDlgBase;

// What a unit may reach of the main window. Valid from Attach until the
// window is destroyed; every call on the user-interface thread.
class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;
  virtual HWND Window() const = 0;
  // The dialog base: popup slots, control groups, repaint.
  virtual CDlgBase& Dialog() = 0;
  // A control by id (and instance, for the decorations sharing an id);
  // null when the window has none.
  virtual CControlBase* Control(int id, int instance = 0) const = 0;
  virtual SettingsStore& Settings() = 0;
  virtual DeviceLink& Link() = 0;
  virtual MacroLibrary& Macros() = 0;
  virtual MainWindowModel& Model() = 0;
  virtual float Scale() const = 0;
  // The main window's timers (SetTimer/KillTimer on the window).
  virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void StopTimer(unsigned id) = 0;
  // Client coordinates of the main window to screen coordinates.
  virtual POINT ClientToScreenPoint(POINT client) const = 0;
  // The page again from the current profile, then every control and a repaint.
  virtual void RefreshControls() = 0;
  // Mouse-picture highlight of button n (1..9), 0 none; repaints the picture.
  virtual void SetPictureHighlight(int n) = 0;
  virtual int PictureHighlight() const = 0;
  // The progress dialog the window shows after an apply that sent something.
  virtual void ShowProgressDialog() = 0;
  // After a save: tells the user once that a damaged file was replaced and
  // a copy of it kept (nothing when no copy was kept since the last time).
  virtual void TellAboutKeptCopies() = 0;
};

class MainWindowUnit {
 public:
  virtual ~MainWindowUnit() = default;
  // Once, after every control of the window exists (or at once when the unit
  // is added to a window that is already up).
  virtual void Attach(MainWindowServices& window) = 0;
  // Any window message before the main window's own handling; true with
  // `result` set when the unit handled it.
  virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
    return false;
  }
  // A control notification: message number `id`, lParam `code`.
  virtual bool OnControlNotify(UINT /*id*/, WPARAM /*wParam*/, LPARAM /*code*/) { return false; }
  // A timer the window and its model do not know.
  virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
  // The tray's exit and the device's removal: close the unit's dialogs and popups.
  virtual void CloseDialogs() {}
  // Drawn over the controls at the end of every paint, into the memory DC.
  virtual void OnPaintOverlay(HDC /*dc*/) {}
  // The window goes: last chance to let go of the services.
  virtual void Detach() {}
};

}  // namespace zeltra::win32
