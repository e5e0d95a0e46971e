// The macro library file (".mlf"), also used for macro exports (".mkf",
// ".mbf"): UTF-16LE lines read by position.
#pragma once

#include <cstdint>
#include <filesystem>

#include "macro/macro_library.h"

namespace zeltra {

// Number of characters after "AllAction=": 336 actions of 8 hex digits.
inline constexpr int kAllActionChars = kMaxMacroActions * 8;

// "config/MacroLibraryFile.mlf" under the data folder.
std::filesystem::path MacroLibraryPath(const std::filesystem::path& dataFolder);

// Clears `library` and reads the file into it; the file's next index becomes
// the library's and `selected` (when given) receives the file's selected
// location. Returns 1 when the file was read to its end at a block boundary,
// 0 when it could not be opened (the library is then untouched) or reading
// stopped at a malformed line or a read error (the items read before it
// stay). Items outside the model (stage, index, missing parent folder,
// counts above 336 actions or 168 events, repeat values above 255) are read
// but not stored.
//
// A file that exists but cannot be opened (held by another program after
// the retries, no permission) or read to its end makes a library without
// items, or the one read in part, unavailable (MacroLibrary::Unavailable);
// a file that opens, or is missing, makes it available again. Nothing in
// the program replaces an unavailable library's file: the user makes it
// readable again (ends the program holding it, restores its permission) or
// removes it, and the next load (when the macro manager closes, or the next
// start) reads it or starts an empty library. A file read only up to a
// malformed line keeps the library available, but the first save over it
// keeps the original beside it first (damaged_files.h).
int LoadMacroLibrary(MacroLibrary& library, const std::filesystem::path& path, MacroLocation* selected = nullptr);

// Writes the whole library with `selected` as its selected location, through
// a temporary file that replaces the target only when complete. 1 on
// success; 0, writing nothing, when `path` is the file an unavailable
// library could not read.
int SaveMacroLibrary(const MacroLibrary& library, const std::filesystem::path& path, const MacroLocation& selected);

// A 64-bit hash of the file SaveMacroLibrary would write with no selected
// location: it changes with every edit that changes the file.
std::uint64_t MacroLibraryFingerprint(const MacroLibrary& library);

}  // namespace zeltra
