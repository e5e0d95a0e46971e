// Where the program and its per-user data live on this machine: the same
// answer for the window and the command line.
#pragma once

#include <filesystem>

namespace zeltra {

// The running executable's full path; empty when the system cannot name it.
std::filesystem::path ExecutablePath();
// Folder of the running executable (skins and shipped files are read from
// it); empty when the system cannot name it.
std::filesystem::path ExecutableFolder();
// The user's own data folder: on Windows the roaming application-data folder
// + "VelmoraData20241016A", on Linux $XDG_CONFIG_HOME/zeltra (or
// ~/.config/zeltra); empty when the system cannot name it.
std::filesystem::path UserDataFolder();

}  // namespace zeltra
