#include "macro/popup_menus.h"

#include <span>
#include <utility>

#include "settings/key_tables.h"
#include "settings/language.h"
#include "settings/lighting.h"

namespace zeltra {

namespace {

struct ClassInfo {
  int kind;
  PopupLayout layout;
};
constexpr std::array<ClassInfo, kPopupClassCount> kClasses{{
    {0, PopupLayout::kStandard},
    {2, PopupLayout::kStandard},
    {3, PopupLayout::kStandard},
    {7, PopupLayout::kProfileCombo},
    {9, PopupLayout::kLighting},
    {10, PopupLayout::kStandard},
    {11, PopupLayout::kStandard},
    {12, PopupLayout::kStandard},
    {13, PopupLayout::kStandard},
    {14, PopupLayout::kActionInsert},
    {15, PopupLayout::kStandard},
}};

// A number that names no class is taken as the first class.
PopupClass ValidClass(PopupClass popupClass) {
  const int index = static_cast<int>(popupClass);
  return index >= 0 && index < kPopupClassCount ? popupClass : PopupClass::kCombo;
}

const ClassInfo& InfoOf(PopupClass popupClass) { return kClasses[static_cast<std::size_t>(ValidClass(popupClass))]; }

// The profile actions (import, export, rename, delete, the linked programs)
// and the macro actions to insert (left, right, middle click, delay, key).
constexpr std::array<int, 5> kProfileActionLabels{90, 91, 92, 93, 300};
constexpr std::u16string_view kLinkProgramsFallback = u"Link Programs";
constexpr std::array<int, 5> kActionInsertLabels{20, 21, 22, 205, 206};

// The macro tree's context menu: entry k is language string 244 + k, shown
// for the selection contexts whose bit is set (1 nothing, 2 macro, 4 folder).
constexpr int kMacroListFirstLabel = 245;
constexpr std::array<int, 8> kMacroListContexts{7, 7, 2, 7, 6, 6, 7, 7};

constexpr int kProfileHeaderValue = 1;
constexpr int kProfileLastValue = 7;

const MainMenuEntry* MainEntry(int value) {
  if (value < 1 || value > static_cast<int>(kMainAssignmentMenu.size())) return nullptr;
  return &kMainAssignmentMenu[static_cast<std::size_t>(value - 1)];
}

bool OpensSubmenu(MenuChoice choice) { return FindSubmenu(choice) != nullptr; }

// Entry `value` (1..n) of a table; null outside it.
template <class T>
const T* EntryOf(std::span<const T> table, int value) {
  if (value < 1 || value > static_cast<int>(table.size())) return nullptr;
  return &table[static_cast<std::size_t>(value - 1)];
}

// Operation k - 1 for entry k of a list of `count` entries.
std::optional<ButtonFunctionCode> OperationCode(int value, std::size_t count) {
  if (value < 1 || value > static_cast<int>(count)) return std::nullopt;
  return ButtonFunctionCode{static_cast<std::uint8_t>(value - 1), 0, 0};
}

}  // namespace

int PopupKind(PopupClass popupClass) { return InfoOf(popupClass).kind; }

PopupLayout PopupLayoutOf(PopupClass popupClass) { return InfoOf(popupClass).layout; }

std::optional<MenuChoice> SubmenuChoice(PopupClass popupClass) {
  switch (popupClass) {
    case PopupClass::kDpi:
      return MenuChoice::kDpiFunctionMenu;
    case PopupClass::kMultimedia:
      return MenuChoice::kMultimediaMenu;
    case PopupClass::kOffice:
      return MenuChoice::kOfficeMenu;
    case PopupClass::kWindowsManage:
      return MenuChoice::kWindowsMenu;
    case PopupClass::kDpiLock:
      return MenuChoice::kDpiLockMenu;
    default:
      return std::nullopt;
  }
}

std::optional<PopupClass> SubmenuPopupClass(MenuChoice menu) {
  for (PopupClass c : {PopupClass::kDpi, PopupClass::kMultimedia, PopupClass::kOffice, PopupClass::kWindowsManage,
                       PopupClass::kDpiLock}) {
    if (SubmenuChoice(c) == menu) return c;
  }
  return std::nullopt;
}

namespace {

PopupMenu::Choice Result(std::u16string label, ButtonFunctionCode code) {
  return {PopupResult{std::move(label), code.bytes}, std::nullopt};
}

PopupMenu::Choice Send(PopupSend send) { return {std::nullopt, send}; }

// The menu of one class: its items and what they do, by the class's tables.
class ClassMenu final : public PopupMenu {
 public:
  ClassMenu(PopupClass popupClass, PopupOptions options) : class_(ValidClass(popupClass)), options_(std::move(options)) {}

  int Kind() const override { return PopupKind(class_); }
  PopupLayout Layout() const override { return PopupLayoutOf(class_); }
  int AddItems(PopupModel& model) const override;
  Choice Chosen(const PopupItem& item, const PopupTarget& target) const override;
  std::optional<PopupSend> Entered(const PopupItem& item, const PopupTarget& target) const override;
  std::optional<PopupSend> Pressed(const PopupItem& item, const PopupTarget& target) const override;
  std::optional<PopupSend> RightClicked(const PopupItem& item, const PopupTarget& target) const override;

 private:
  PopupClass class_;
  PopupOptions options_;
};

int ClassMenu::AddItems(PopupModel& model) const {
  switch (class_) {
    case PopupClass::kCombo:
      for (std::size_t i = 0; i < kMainAssignmentMenu.size(); ++i) {
        const MainMenuEntry& e = kMainAssignmentMenu[i];
        model.AddItem(static_cast<int>(i) + 1, LanguageString(e.label), OpensSubmenu(e.choice));
      }
      break;
    case PopupClass::kDpiLock:
      for (int level = 1; level <= kDpiLockLevels; ++level) model.AddItem(level, DpiLockLabel(level));
      break;
    case PopupClass::kDpi:
    case PopupClass::kMultimedia:
    case PopupClass::kOffice:
    case PopupClass::kWindowsManage: {
      const std::span<const SubmenuEntry> entries = SubmenuEntries(*SubmenuChoice(class_));
      for (std::size_t i = 0; i < entries.size(); ++i)
        model.AddItem(static_cast<int>(i) + 1, LanguageString(entries[i].label));
      break;
    }
    case PopupClass::kComboLighting:
      for (int item : kLightingMenuItems) {
        if (auto mode = LightingModeForMenuItem(item))
          model.AddItem(item, LanguageString(LightingMode(*mode).nameString));
      }
      break;
    case PopupClass::kProfileRKey:
      for (std::size_t i = 0; i < kProfileActionLabels.size(); ++i) {
        const int label = kProfileActionLabels[i];
        model.AddItem(static_cast<int>(i) + 1,
                      label == kProfileActionLabels.back() ? LanguageStringOr(label, kLinkProgramsFallback)
                                                           : LanguageString(label));
      }
      break;
    case PopupClass::kActionInsert:
      for (std::size_t i = 0; i < kActionInsertLabels.size(); ++i)
        model.AddItem(static_cast<int>(i) + 1, LanguageString(kActionInsertLabels[i]));
      break;
    case PopupClass::kMacroList: {
      const int context = options_.macroListContext >= 0 && options_.macroListContext <= 2 ? options_.macroListContext : 0;
      for (std::size_t i = 0; i < kMacroListContexts.size(); ++i) {
        if ((kMacroListContexts[i] & (1 << context)) == 0) continue;
        model.AddItem(static_cast<int>(i) + 1, LanguageString(kMacroListFirstLabel + static_cast<int>(i)));
      }
      break;
    }
    case PopupClass::kComboProfile: {
      const ProfilePopupRows& rows = options_.profileRows;
      model.AddItem(kProfileHeaderValue, rows.header);
      for (std::size_t i = 0; i < rows.names.size(); ++i) {
        // A named row opens the profile actions on a right click: it carries the mark.
        model.AddItem(static_cast<int>(i) + 2, rows.names[i], !rows.names[i].empty());
      }
      model.AddItem(kProfileLastValue, rows.last);
      // Only a profile row can be the current one.
      return rows.currentRow >= 1 && rows.currentRow <= static_cast<int>(rows.names.size()) ? rows.currentRow : -1;
    }
  }
  return -1;
}

// Moving onto an entry of the main menu opens its submenu, or closes any
// open one for an entry without.
std::optional<PopupSend> ClassMenu::Entered(const PopupItem& item, const PopupTarget& target) const {
  if (class_ != PopupClass::kCombo) return std::nullopt;
  const MainMenuEntry* entry = MainEntry(item.value);
  const SubmenuInfo* submenu = entry != nullptr ? FindSubmenu(entry->choice) : nullptr;
  return PopupSend{submenu != nullptr ? submenu->openMessage : kCloseSubmenusMessage, target.ownerValue, item.value,
                   false};
}

// A press on one of the main menu's mouse buttons asks the owner to bring
// its popups to the front.
std::optional<PopupSend> ClassMenu::Pressed(const PopupItem& item, const PopupTarget& target) const {
  if (class_ != PopupClass::kCombo || item.value > 4) return std::nullopt;
  return PopupSend{target.resultMessage, 0, 0, false};
}

// A right click on a profile row opens that profile's actions.
std::optional<PopupSend> ClassMenu::RightClicked(const PopupItem& item, const PopupTarget& target) const {
  if (class_ != PopupClass::kComboProfile || item.value == kProfileHeaderValue || item.value == kProfileLastValue ||
      item.text.empty())
    return std::nullopt;
  return PopupSend{target.resultMessage, kProfileRowRightClicked, item.value, false};
}

PopupMenu::Choice ClassMenu::Chosen(const PopupItem& item, const PopupTarget& target) const {
  const int value = item.value;
  switch (class_) {
    case PopupClass::kCombo: {
      const MainMenuEntry* entry = MainEntry(value);
      if (entry == nullptr || OpensSubmenu(entry->choice)) return {};
      if (entry->choice == MenuChoice::kAssign) return Result(item.text, entry->code);
      const DialogMessages dialog = MenuDialogMessages(entry->choice);
      if (dialog.request == 0) return {};
      return Send(PopupSend{dialog.request, target.ownerValue, 0, false});
    }
    case PopupClass::kDpiLock: {
      ButtonAssignment lock = DpiLockAssignment(value);
      if (lock.name.empty()) return {};
      return Result(std::move(lock.name), lock.code);
    }
    case PopupClass::kDpi:
    case PopupClass::kMultimedia:
    case PopupClass::kOffice:
    case PopupClass::kWindowsManage: {
      const SubmenuEntry* entry = EntryOf(SubmenuEntries(*SubmenuChoice(class_)), value);
      if (entry == nullptr) return {};
      ButtonFunctionCode code = entry->code;
      if (class_ == PopupClass::kDpi) code.bytes[2] = 0;  // the DPI functions carry two bytes only
      return Result(item.text, code);
    }
    case PopupClass::kComboLighting: {
      const std::optional<int> mode = LightingModeForMenuItem(value);
      if (!mode) return {};
      return Result(item.text, ButtonFunctionCode{static_cast<std::uint8_t>(*mode), 0, 0});
    }
    case PopupClass::kProfileRKey:
    case PopupClass::kActionInsert:
    case PopupClass::kMacroList: {
      const std::size_t count = class_ == PopupClass::kProfileRKey    ? kProfileActionLabels.size()
                                : class_ == PopupClass::kActionInsert ? kActionInsertLabels.size()
                                                                      : kMacroListContexts.size();
      const std::optional<ButtonFunctionCode> code = OperationCode(value, count);
      if (!code) return {};
      return Result(class_ == PopupClass::kMacroList ? std::u16string() : item.text, *code);
    }
    case PopupClass::kComboProfile:
      if (value == kProfileHeaderValue || item.text.empty()) return {};
      return Send(PopupSend{target.resultMessage, kProfileRowChosen, value, false});
  }
  return {};
}

}  // namespace

std::unique_ptr<PopupMenu> MakePopupMenu(PopupClass popupClass, PopupOptions options) {
  return std::make_unique<ClassMenu>(popupClass, std::move(options));
}

}  // namespace zeltra
