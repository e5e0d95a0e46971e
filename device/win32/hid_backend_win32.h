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
