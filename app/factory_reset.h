// The factory reset of the mouse and of the current profile.
#pragma once

#include "device/device_link.h"
#include "settings/settings_store.h"

namespace zeltra {

inline constexpr int kStringProgress = 146;  // the progress dialog's text, after a reset and every apply that sent

// After the user confirmed CFirmwareResetDlg: the reset report (sent once,
// whether or not the window is active), the current profile back to its
// defaults with its name kept and its working file written, then the link
// reloads its caches, refreshes the window, zeroes the watchdog and shows
// the progress dialog.
void RunFactoryReset(DeviceLink& link, SettingsStore& settings);

}  // namespace zeltra
