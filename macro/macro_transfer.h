// Moving macros between machines: a ".mkf" file names one macro, a ".mbf"
// file a branch of the library (or all of it). Both are whole library files
// whose selected location says what to take.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "macro/macro_library.h"

namespace zeltra {

// File dialogs of the four operations (flags 0x1801, 260-character path).
inline constexpr unsigned kMacroFileDialogFlags = 0x1801;
inline constexpr std::u16string_view kMacroFileFilter = u"mkf file(*.mkf)|*.mkf||";
inline constexpr std::u16string_view kMacroFileExtension = u"mkf";
inline constexpr std::u16string_view kLibraryFileFilter = u"mbf file(*.mbf)|*.mbf||";
inline constexpr std::u16string_view kLibraryFileExtension = u"mbf";
inline constexpr std::u16string_view kMacroImportInitialName = u".mkf";
inline constexpr std::u16string_view kLibraryImportInitialName = u".mbf";
inline constexpr int kExportMacroTitle = 253;
inline constexpr int kImportMacroTitle = 254;
inline constexpr int kExportLibraryTitle = 255;
inline constexpr int kImportLibraryTitle = 256;

// Names the save dialogs propose: "<item>.mkf"; "<item>.mbf" or "AllMacroKey.mbf".
std::u16string DefaultMacroExportName(const MacroLibrary& library);
std::u16string DefaultLibraryExportName(const MacroLibrary& library);

// Write the whole library with its selected location (for ".mkf" only when a
// macro is selected). 1 on success.
int ExportMacro(const MacroLibrary& library, const std::filesystem::path& path);
int ExportLibrary(const MacroLibrary& library, const std::filesystem::path& path);

struct ImportOutcome {
  int message = 0;  // kNameExistsMessage when a name clash refused the import
  int macrosAdded = 0;
  int foldersAdded = 0;
  bool treeChanged = false;  // refresh the tree and the current macro, repaint
};

// Imports the macro the file's selected location names at the selected
// location of `library` (inside a selected folder, else the top level) with
// a fresh MacroKeyIndex; the new macro becomes the selection.
ImportOutcome ImportMacro(MacroLibrary& library, const std::filesystem::path& path);

// Imports the item at the file's selected location and its following
// siblings (from the top of the file when nothing was selected) into the
// selected folder, or the top level. Refused as a whole on a name clash.
// Folders bring the macros directly inside them. A folder that cannot be
// created (no room, or a stage 1 target) is skipped with everything in it.
// Existing items never change.
ImportOutcome ImportLibrary(MacroLibrary& library, const std::filesystem::path& path);

}  // namespace zeltra
