// The system's standard open and save dialogs for a portable request.
#pragma once

#include <windows.h>

#include "ui/file_dialog.h"

namespace zeltra::win32 {

// Runs the dialog modally over `owner`; nothing when the user cancelled or
// the chosen path does not fit the request's buffer.
std::optional<std::filesystem::path> RunStandardFileDialog(HWND owner, const FileDialogRequest& request);

// Installs the standard dialogs as the process's file-dialog runner, owned
// by the window that is active when a dialog opens.
void InstallStandardFileDialogs();

}  // namespace zeltra::win32
