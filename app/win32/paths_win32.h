// Where the program and its per-user data live on this machine.
#pragma once

#include <filesystem>

namespace zeltra::win32 {

// The running executable's full path; empty when the system cannot say.
std::filesystem::path ExecutablePath();
// Folder of the running executable (skins and shipped files are read from it).
std::filesystem::path ExecutableFolder();
// The user's roaming application-data folder + "VelmoraData20241016A"; empty
// when the shell cannot name it.
std::filesystem::path DataFolder();

}  // namespace zeltra::win32
