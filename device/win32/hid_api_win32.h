// The functions of the HID class driver's library, hid.dll. It is not one of
// the system's known DLLs, so it is loaded at run time from the system folder
// (LoadSystemLibrary), never found beside the program.
#pragma once

#include <windows.h>

extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

namespace zeltra::win32 {

// One entry per function, named as hid.dll exports it. Every entry can be
// called: where hid.dll or the function is missing it fails (FALSE, an error
// status, a null GUID) with ERROR_PROC_NOT_FOUND, so the program sees no
// HID device rather than crashing.
struct HidApi {
  decltype(&::HidD_GetHidGuid) HidD_GetHidGuid;
  decltype(&::HidD_GetAttributes) HidD_GetAttributes;
  decltype(&::HidD_GetPreparsedData) HidD_GetPreparsedData;
  decltype(&::HidD_FreePreparsedData) HidD_FreePreparsedData;
  decltype(&::HidP_GetCaps) HidP_GetCaps;
  bool loaded = false;  // every entry is hid.dll's own
};

// The table, filled at the first call.
const HidApi& Hid();

}  // namespace zeltra::win32
