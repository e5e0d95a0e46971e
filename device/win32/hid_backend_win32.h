// The HID class driver behind the device seam: SetupAPI enumeration of the
// HID interface class, HidD_/HidP_ queries and transfers, synchronous
// CreateFileW/ReadFile.
#pragma once

#include <windows.h>

#include <memory>

#include "device/clock.h"
#include "device/hid_backend.h"

namespace zeltra::win32 {

std::shared_ptr<HidBackend> CreateHidBackend();

// The backend the program runs on: the virtual mouse when the command line
// carries --virtual-mouse, else the HID class driver. `clock` must outlive it.
std::shared_ptr<HidBackend> SelectHidBackend(const wchar_t* commandLine, Clock& clock);

// Registers `window` for HID device-interface arrival and removal
// broadcasts; nothing on failure.
HDEVNOTIFY RegisterHidDeviceNotifications(HWND window);

}  // namespace zeltra::win32
