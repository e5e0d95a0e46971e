// The HID class driver behind the device seam: SetupAPI enumeration of the
// HID interface class, HidD_/HidP_ queries and transfers, synchronous
// CreateFileW/ReadFile.
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

}  // namespace zeltra::win32
