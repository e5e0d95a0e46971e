#include "macro/macro_manager.h"

#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::uint8_t kMacroCategory = 0x90;

ManagerOutcome Show(int message) {
  ManagerOutcome outcome;
  outcome.message = message;
  return outcome;
}

void OpenSelectedFolder(MacroLibrary& library) {
  MacroItem* item = library.ItemAt(library.selectedLocation);
  if (item && item->IsFolder()) item->MacroItemFolderIsOpen = 1;
}

ManagerOutcome AddNamed(MacroLibrary& library, std::u16string_view name, bool folder) {
  if (name.empty()) return Show(kEmptyNameMessage);
  MacroLocation location = library.selectedLocation;
  const AddItemResult result = folder ? library.AddFolder(name, location) : library.AddMacro(name, location);
  if (result == AddItemResult::kNameExists) return Show(kNameExistsMessage);
  OpenSelectedFolder(library);
  if (result == AddItemResult::kAdded) library.selectedLocation = location;
  ManagerOutcome outcome;
  outcome.treeChanged = true;
  return outcome;
}

}  // namespace

Macro* CurrentMacro(MacroLibrary& library) { return library.MacroAt(library.selectedLocation); }

int ContextPopupKind(const MacroLibrary& library) {
  const MacroItem* item = library.ItemAt(library.selectedLocation);
  if (!item) return 0;
  return item->IsFolder() ? 2 : 1;
}

ManagerOutcome NewMacro(MacroLibrary& library, std::u16string_view name) { return AddNamed(library, name, false); }

ManagerOutcome NewFolder(MacroLibrary& library, std::u16string_view name) { return AddNamed(library, name, true); }

std::u16string SelectedItemName(const MacroLibrary& library) {
  const MacroItem* item = library.ItemAt(library.selectedLocation);
  return item ? item->name : std::u16string();
}

ManagerOutcome RenameSelectedItem(MacroLibrary& library, std::u16string_view newName) {
  const MacroLocation selected = library.selectedLocation.Normalised();
  MacroItem* item = library.ItemAt(selected);
  if (!item) return {};
  if (newName.empty()) return Show(kEmptyNameMessage);
  if (newName == item->name) return {};
  for (const MacroLocation& sibling : library.ItemsOfLevel(selected.Parent()))
    if (sibling != selected && library.ItemAt(sibling)->name == newName) return Show(kNameExistsMessage);
  item->name.assign(newName);
  // The file keeps the item's name only; keep the macro's own copy in step.
  if (item->macro) item->macro->name.assign(newName);
  ManagerOutcome outcome;
  outcome.treeChanged = true;
  return outcome;
}

int DeleteQuestion(const MacroLibrary& library) {
  return library.ItemAt(library.selectedLocation) ? kDeleteConfirmMessage : kNothingSelectedMessage;
}

bool ProfileUsesLibraryItem(const ProfileRecord& profile, const MacroLibrary& library, const MacroLocation& location) {
  for (const KeySlot& slot : profile.Key)
    if (slot.Value[0] == kMacroCategory && library.UsesMacroKeyIndex(slot.MacroKeyIndex, location)) return true;
  return false;
}

ManagerOutcome DeleteSelectedItem(MacroLibrary& library, const ProfileRecord& currentProfile) {
  const MacroLocation selected = library.selectedLocation;
  if (!library.ItemAt(selected)) return Show(kNothingSelectedMessage);
  if (ProfileUsesLibraryItem(currentProfile, library, selected)) return Show(kItemInUseMessage);
  library.DeleteItem(selected);
  library.selectedLocation = MacroLocation::None();
  ManagerOutcome outcome;
  outcome.treeChanged = true;
  return outcome;
}

int RepeatRuleControl(const Macro* macro) {
  if (!macro) return 0;
  switch (macro->MacroKeyLoopType) {
    case 1: return kRepeatRuleControl1;
    case 4: return kRepeatRuleControl4;
    case 2: return kRepeatRuleControl2;
    default: return 0;
  }
}

bool ChooseRepeatRule(Macro* macro, int control) {
  std::uint8_t type = 0;
  switch (control) {
    case kRepeatRuleControl1: type = 1; break;
    case kRepeatRuleControl4: type = 4; break;
    case kRepeatRuleControl2: type = 2; break;
    default: return false;
  }
  if (macro) macro->MacroKeyLoopType = type;
  return type == 2;
}

RepeatCount NormaliseRepeatCount(std::u16string_view text) {
  const int value = ParseDecimal(text);
  RepeatCount count;
  if (value >= 256) {
    count.value = 255;
    count.replacement = u"255";
  } else if (value <= 0) {
    count.value = 1;
    count.replacement = u"1";
  } else {
    count.value = static_cast<std::uint8_t>(value);
  }
  return count;
}

std::optional<RepeatCount> ApplyRepeatCountText(Macro* macro, std::u16string_view text) {
  if (!macro || macro->MacroKeyLoopType != 2) return std::nullopt;
  RepeatCount count = NormaliseRepeatCount(text);
  macro->MacroKeyLoopNum = count.value;
  return count;
}

}  // namespace zeltra
