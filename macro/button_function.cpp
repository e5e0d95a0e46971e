#include "macro/button_function.h"

#include "macro/macro_library.h"
#include "settings/key_tables.h"
#include "settings/language.h"

namespace zeltra {

namespace {

constexpr int kDpiLockNameLabel = 36;
constexpr int kMacroNameLabel = 190;
constexpr int kNothingChosenLabel = 34;
constexpr int kFireKeyLabel = 26;

void DropTrailingPlus(std::u16string& name) {
  if (!name.empty() && name.back() == u'+') name.pop_back();
}

}  // namespace

const SubmenuInfo* FindSubmenu(MenuChoice menu) {
  for (const SubmenuInfo& info : kSubmenus)
    if (info.menu == menu) return &info;
  return nullptr;
}

std::span<const SubmenuEntry> SubmenuEntries(MenuChoice menu) {
  switch (menu) {
    case MenuChoice::kDpiFunctionMenu: return kDpiFunctionMenu;
    case MenuChoice::kMultimediaMenu: return kMultimediaMenu;
    case MenuChoice::kOfficeMenu: return kOfficeMenu;
    case MenuChoice::kWindowsMenu: return kWindowsManagementMenu;
    default: return {};
  }
}

DialogMessages MenuDialogMessages(MenuChoice dialog) {
  switch (dialog) {
    case MenuChoice::kFireKeyDialog: return {kFireKeyDialogRequest, kFireKeyDialogOpen};
    case MenuChoice::kMacroChooser: return {kMacroChooserRequest, kMacroChooserOpen};
    case MenuChoice::kKeyCombinationDialog: return {kKeyCombinationDialogRequest, kKeyCombinationDialogOpen};
    default: return {0, 0};
  }
}

ButtonAssignment MainMenuAssignment(int entry) {
  if (entry < 1 || entry > static_cast<int>(kMainAssignmentMenu.size())) return {};
  const MainMenuEntry& e = kMainAssignmentMenu[static_cast<std::size_t>(entry - 1)];
  if (e.choice != MenuChoice::kAssign) return {};
  return {LanguageString(e.label), e.code};
}

ButtonAssignment SubmenuAssignment(MenuChoice menu, int entry) {
  if (menu == MenuChoice::kDpiLockMenu) return DpiLockAssignment(entry);
  const std::span<const SubmenuEntry> entries = SubmenuEntries(menu);
  if (entry < 1 || entry > static_cast<int>(entries.size())) return {};
  const SubmenuEntry& e = entries[static_cast<std::size_t>(entry - 1)];
  return {LanguageString(e.label), e.code};
}

ButtonAssignment DpiLockAssignment(int level) {
  if (level < 1 || level > kDpiLockLevels) return {};
  return {LanguageString(kDpiLockNameLabel) + u"-" + DpiLockLabel(level),
          {kCategoryDpiLock, static_cast<std::uint8_t>(level), 0}};
}

std::u16string FireKeyName() {
  std::u16string name = LanguageString(kFireKeyLabel);
  DropTrailingPlus(name);
  return name;
}

ButtonFunctionCode FireKeyCode(std::uint8_t first, std::uint8_t second) { return {kCategoryFireKey, first, second}; }

std::u16string KeyCombinationName(std::uint8_t modifiers, std::u16string_view keyName) {
  std::u16string name;
  if (modifiers & kModifierCtrl) name += u"Ctrl+";
  if (modifiers & kModifierShift) name += u"Shift+";
  if (modifiers & kModifierAlt) name += u"Alt+";
  if (modifiers & kModifierWin) name += u"Win+";
  name += keyName;
  DropTrailingPlus(name);
  return name;
}

ButtonFunctionCode KeyCombinationCode(std::uint8_t modifiers, std::uint8_t deviceKey) {
  return {kCategoryKeyCombination, modifiers, deviceKey};
}

std::u16string MacroAssignmentName(std::u16string_view itemName) {
  return LanguageString(kMacroNameLabel) + std::u16string(itemName);
}

ButtonAssignment ChosenMacroAssignment(const MacroLibrary& library) {
  const MacroItem* item = library.ItemAt(library.selectedLocation);
  if (item && !item->IsFolder() && item->macro)
    return {MacroAssignmentName(item->name), kAssignedMacroCode, item->macro.get()};
  return {LanguageString(kNothingChosenLabel), kDisabledCode};
}

void NameDisabledButton(ProfileRecord& profile, int position) {
  if (position < 0 || position >= static_cast<int>(profile.Key.size())) return;
  profile.Key[static_cast<std::size_t>(position)].Name = LanguageString(kNothingChosenLabel);
}

int SlotOfCombo(int comboId) {
  const int slot = comboId - kFirstButtonCombo;
  return slot >= 0 && slot < kKeySlotCount ? slot : -1;
}

bool AssignButtonFunction(ProfileRecord& profile, int comboId, std::u16string_view name, const ButtonFunctionCode& code,
                          const Macro* macro) {
  const int slot = SlotOfCombo(comboId);
  if (slot < 0) return false;
  KeySlot& key = profile.Key[static_cast<std::size_t>(slot)];
  key.Name.assign(name);
  for (std::size_t i = 0; i < code.bytes.size(); ++i) key.Value[i] = code.bytes[i];
  if (macro) {
    key.macro.CopyFrom(*macro);
    key.MacroKeyIndex = macro->MacroKeyIndex;
  } else {
    // Name, settings and index stay: only the actions go.
    key.macro.MacroActionNum = 0;
  }
  return true;
}

int CountLeftClickSlots(const ProfileRecord& profile) {
  int count = 0;
  for (const KeySlot& key : profile.Key)
    if (key.Value[0] == kCategoryMouseButton && key.Value[1] == kLeftButtonMask) ++count;
  return count;
}

LeftClickDecision EnsureLeftClick(ProfileRecord& profile, int comboId) {
  LeftClickDecision decision;
  if (CountLeftClickSlots(profile) > 0) return decision;
  decision.action = LeftClickDecision::Action::kRestoredLeftClick;
  decision.comboText = LanguageString(kLeftClickName);
  AssignButtonFunction(profile, comboId, decision.comboText, kLeftClickCode, nullptr);
  return decision;
}

}  // namespace zeltra
