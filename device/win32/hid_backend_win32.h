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

}  // namespace zeltra::win32
