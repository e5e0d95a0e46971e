// The HID class driver behind the device seam: SetupAPI enumeration of the
// HID interface class, HidD_/HidP_ queries, and overlapped transfers with a
// limit (IOCTL_HID_SET_FEATURE / IOCTL_HID_GET_FEATURE, ReadFile).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "device/clock.h"
#include "device/hid_backend.h"

namespace zeltra::win32 {

std::shared_ptr<HidBackend> CreateHidBackend();

// The backend the program runs on: the virtual mouse when the command line
// carries --virtual-mouse, else the HID class driver. `clock` must outlive it.
std::shared_ptr<HidBackend> SelectHidBackend(const wchar_t* commandLine, Clock& clock);

// The file of "--hid-log FILE" (or "--hid-log=FILE") on the command line;
// empty when there is none.
std::wstring HidLogPath(const wchar_t* commandLine);

// `backend` with the HID trace of the command line's --hid-log around it;
// `backend` itself without one, or when the file cannot be opened (the
// program then runs untraced). `clock` must outlive it.
std::shared_ptr<HidBackend> WithCommandLineTrace(std::shared_ptr<HidBackend> backend, const wchar_t* commandLine,
                                                 const Clock& clock);

// Registers `window` for HID device-interface arrival and removal
// broadcasts; nothing on failure.
HDEVNOTIFY RegisterHidDeviceNotifications(HWND window);

// Every interface the HID class backend opens from now on is registered
// with `window` for handle notifications (nullptr: none), so that Windows
// asks it before removing the device (a driver update, the device disabled)
// instead of finding the handle open and asking for a restart.
void WatchOpenInterfaces(HWND window);

// What a WM_DEVICECHANGE broadcast means to the link.
struct HidDeviceChange {
  enum class Kind {
    None,              // not about an interface the mouse may have
    Arrival,           // a HID interface arrived
    Removal,           // a HID interface was removed
    ReleaseRequested,  // Windows asks for an open interface back
    ReleaseCancelled,  // ... and then did not remove it
  };
  Kind kind = Kind::None;
  std::u16string path;  // the interface (for the release events: one this backend opened)
};
HidDeviceChange ClassifyDeviceChange(WPARAM event, LPARAM data);

}  // namespace zeltra::win32
