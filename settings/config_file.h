// The configuration file: "[Setting]" and the 17 global pairs, read by position.
#pragma once

#include <filesystem>

#include "settings/profile.h"
#include "settings/text_file.h"

namespace zeltra {

// Reads the pairs of a configuration file into `globals`. The n-th pair line
// fills pair n, key and value, whatever its key says; pairs the file does not
// reach keep their content. False, with `globals` untouched, when the file
// cannot be opened or read, its first line is not exactly "[Setting]", it has
// more than 17 pair lines, or a line has no "=" with text on both sides.
// `outcome` (when given) receives why.
bool ReadConfigurationFile(const std::filesystem::path& path, GlobalSettings& globals, FileRead* outcome = nullptr);

// Writes "[Setting]" and the 17 pairs as key=value lines, replacing `path`
// only once the whole file is on the disk. False when nothing was replaced.
bool WriteConfigurationFile(const std::filesystem::path& path, const GlobalSettings& globals);

}  // namespace zeltra
