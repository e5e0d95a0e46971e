// The shortcut in the user's Startup folder, through the shell's own link
// object (IShellLinkW): written, read back and removed.
#pragma once

#include <filesystem>
#include <optional>

#include "app/startup_shortcut.h"

namespace zeltra::win32 {

// The user's Startup folder (CSIDL_STARTUP), made when it is missing; empty
// when the shell cannot name it.
std::filesystem::path StartupFolder();

// Writes the shortcut, replacing one of the same name; true when it was saved.
bool WriteShortcut(const StartupShortcut& shortcut);
// What the shortcut file holds; nothing when there is none or it is no shortcut.
std::optional<ShortcutContents> ReadShortcut(const std::filesystem::path& file);
// True when no shortcut file is left there.
bool RemoveShortcut(const std::filesystem::path& file);

}  // namespace zeltra::win32
