#include "macro/macro_transfer.h"

#include <vector>

#include "macro/macro_library_file.h"
#include "macro/macro_manager.h"

namespace zeltra {

namespace {

// What an imported macro takes from its source; it keeps its own fresh index.
void CopyImportedMacro(Macro& target, const Macro& source) {
  target.MacroCommandActionNum = source.MacroCommandActionNum;
  target.MacroKeyLoopNum = source.MacroKeyLoopNum;
  target.MacroKeyLoopType = source.MacroKeyLoopType;
  target.name = source.name;
  target.MacroActionNum = source.MacroActionNum;
  target.AllAction = source.AllAction;
}

// The used positions of a level from `first` on, up to the first free one.
std::vector<MacroLocation> RunOfSiblings(const MacroLibrary& library, const MacroLocation& first) {
  std::vector<MacroLocation> run;
  if (!first.IsValid()) return run;
  MacroLocation at = first.Normalised();
  for (int position = at.Position(); position < kMacroLevelCapacity; ++position) {
    switch (at.stage) {
      case 0: at.stage0Index = position; break;
      case 1: at.stage1Index = position; break;
      default: at.stage2Index = position; break;
    }
    if (!library.ItemAt(at)) break;
    run.push_back(at);
  }
  return run;
}

// Adds a copy of `source` (a macro item) at `target`; true when added.
bool AddImportedMacro(MacroLibrary& library, const MacroItem& source, const MacroLocation& target,
                      MacroLocation* added = nullptr) {
  MacroLocation location = target;
  if (library.AddMacro(source.name, location) != AddItemResult::kAdded) return false;
  if (source.macro && !source.IsFolder()) CopyImportedMacro(*library.MacroAt(location), *source.macro);
  if (added) *added = location;
  return true;
}

void OpenFolder(MacroLibrary& library, const MacroLocation& location) {
  MacroItem* item = library.ItemAt(location);
  if (item && item->IsFolder()) item->MacroItemFolderIsOpen = 1;
}

// The selected folder, or the top level.
MacroLocation ImportTarget(const MacroLibrary& library) {
  return library.IsFolderAt(library.selectedLocation) ? library.selectedLocation.Normalised() : MacroLocation::None();
}

}  // namespace

std::u16string DefaultMacroExportName(const MacroLibrary& library) {
  const MacroItem* item = library.ItemAt(library.selectedLocation);
  return (item ? item->name : std::u16string()) + u".mkf";
}

std::u16string DefaultLibraryExportName(const MacroLibrary& library) {
  const MacroItem* item = library.ItemAt(library.selectedLocation);
  return item ? item->name + u".mbf" : std::u16string(u"AllMacroKey.mbf");
}

int ExportMacro(const MacroLibrary& library, const std::filesystem::path& path) {
  if (!library.MacroAt(library.selectedLocation)) return 0;
  return SaveMacroLibrary(library, path, library.selectedLocation);
}

int ExportLibrary(const MacroLibrary& library, const std::filesystem::path& path) {
  return SaveMacroLibrary(library, path, library.selectedLocation);
}

ImportOutcome ImportMacro(MacroLibrary& library, const std::filesystem::path& path) {
  MacroLibrary source;
  MacroLocation fileSelection = MacroLocation::None();
  LoadMacroLibrary(source, path, &fileSelection);
  ImportOutcome outcome;
  const MacroItem* item = source.ItemAt(fileSelection);
  if (!item) return outcome;

  const MacroLocation target = ImportTarget(library);
  if (library.NameExists(item->name, target)) {
    outcome.message = kNameExistsMessage;
    return outcome;
  }
  OpenFolder(library, target);
  MacroLocation added;
  if (AddImportedMacro(library, *item, target, &added)) {
    library.selectedLocation = added;
    outcome.macrosAdded = 1;
  }
  outcome.treeChanged = true;
  return outcome;
}

ImportOutcome ImportLibrary(MacroLibrary& library, const std::filesystem::path& path) {
  MacroLibrary source;
  MacroLocation fileSelection = MacroLocation::None();
  LoadMacroLibrary(source, path, &fileSelection);
  ImportOutcome outcome;

  const bool wholeFile = fileSelection.stage == -1;
  const std::vector<MacroLocation> items = RunOfSiblings(source, wholeFile ? MacroLocation::At(0) : fileSelection);
  if (items.empty()) return outcome;

  const MacroLocation target = ImportTarget(library);
  // All or nothing: a selected folder is checked by its own name, anything
  // else by the names of every item to import.
  const MacroItem* first = source.ItemAt(items.front());
  const bool folderSelected = !wholeFile && first->IsFolder();
  for (const MacroLocation& at : items) {
    if (library.NameExists(source.ItemAt(at)->name, target)) {
      outcome.message = kNameExistsMessage;
      return outcome;
    }
    if (folderSelected) break;
  }

  OpenFolder(library, target);
  for (const MacroLocation& at : items) {
    const MacroItem& item = *source.ItemAt(at);
    if (!item.IsFolder()) {
      if (AddImportedMacro(library, item, target)) ++outcome.macrosAdded;
      continue;
    }
    // A folder that cannot be made here is skipped with its macros, so that
    // they never end up scattered among the target's own items.
    MacroLocation folder = target;
    if (library.AddFolder(item.name, folder) != AddItemResult::kAdded) continue;
    ++outcome.foldersAdded;
    // Only the macros directly inside; folders below it are not imported.
    const std::vector<MacroLocation> children =
        RunOfSiblings(source, at.stage == 0 ? MacroLocation::At(at.stage0Index, 0)
                                            : MacroLocation::At(at.stage0Index, at.stage1Index, 0));
    for (const MacroLocation& child : children) {
      const MacroItem& childItem = *source.ItemAt(child);
      if (!childItem.IsFolder() && AddImportedMacro(library, childItem, folder)) ++outcome.macrosAdded;
    }
  }
  outcome.treeChanged = true;
  return outcome;
}

}  // namespace zeltra
