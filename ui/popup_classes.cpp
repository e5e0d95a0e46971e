#include "ui/popup_classes.h"

#include <span>

#include "settings/key_tables.h"
#include "settings/language.h"
#include "settings/lighting.h"
#include "settings/settings_store.h"

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

struct Dismissal {
  int kind;
  std::uint32_t message;
};
constexpr std::array<Dismissal, 11> kDismissals{{
    {0, kComboPopupDismissed},
    {2, kDpiPopupDismissed},
    {3, kMultimediaPopupDismissed},
    {7, kComboProfilePopupDismissed},
    {9, kComboLightingPopupDismissed},
    {10, kDpiLockPopupDismissed},
    {11, kWindowsManagePopupDismissed},
    {12, kOfficePopupDismissed},
    {13, kProfileRKeyPopupDismissed},
    {14, kActionInsertPopupDismissed},
    {15, kMacroListPopupDismissed},
}};

// The profile actions (import, export, rename, delete, the linked programs)
// and the macro actions to insert (left, right, middle click, delay, key).
constexpr std::array<int, 5> kProfileActionLabels{90, 91, 92, 93, 300};
constexpr std::u16string_view kLinkProgramsFallback = u"Link Programs";
constexpr std::array<int, 5> kActionInsertLabels{20, 21, 22, 205, 206};

// The macro tree's context menu: entry k is language string 244 + k, shown
// for the selection contexts whose bit is set (1 nothing, 2 macro, 4 folder).
constexpr int kMacroListFirstLabel = 245;
constexpr std::array<int, 8> kMacroListContexts{7, 7, 2, 7, 6, 6, 7, 7};

constexpr int kProfileHeaderLabel = 10;
constexpr int kProfileAddLabel = 200;
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

std::uint32_t DismissalMessage(int kind) {
  for (const Dismissal& d : kDismissals)
    if (d.kind == kind) return d.message;
  return 0;
}

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

ProfilePopupRows ProfileRowsOf(const SettingsStore& settings, const LanguageTable& language) {
  ProfilePopupRows rows;
  rows.header = language.String(kProfileHeaderLabel);
  rows.last = language.String(kProfileAddLabel);
  rows.currentRow = -1;
  const int count = settings.ProfileShowCount();
  const auto list = settings.ProfileShowList();
  const int current = settings.CurrentProfileIndex();
  for (int position = 0; position < count && position < static_cast<int>(rows.names.size()); ++position) {
    const int profile = list[static_cast<std::size_t>(position)];
    std::u16string name = settings.Profile(profile).Setting(kProfileName);
    if (name.empty()) name = DefaultProfileName(profile, language);
    rows.names[static_cast<std::size_t>(position)] = std::move(name);
    if (profile == current) rows.currentRow = position + 1;
  }
  return rows;
}

// ---------------------------------------------------------------------------

PopupLogic::PopupLogic(PopupClass popupClass, float scale, std::uint32_t resultMessage, std::intptr_t ownerValue)
    : class_(ValidClass(popupClass)),
      resultMessage_(resultMessage),
      ownerValue_(ownerValue),
      model_(PopupLayoutOf(class_), scale) {}

void PopupLogic::BuildItems(const PopupOptions& options) {
  switch (class_) {
    case PopupClass::kCombo:
      for (std::size_t i = 0; i < kMainAssignmentMenu.size(); ++i) {
        const MainMenuEntry& e = kMainAssignmentMenu[i];
        model_.AddItem(static_cast<int>(i) + 1, LanguageString(e.label), OpensSubmenu(e.choice));
      }
      break;
    case PopupClass::kDpiLock:
      for (int level = 1; level <= kDpiLockLevels; ++level) model_.AddItem(level, DpiLockLabel(level));
      break;
    case PopupClass::kDpi:
    case PopupClass::kMultimedia:
    case PopupClass::kOffice:
    case PopupClass::kWindowsManage: {
      const std::span<const SubmenuEntry> entries = SubmenuEntries(*SubmenuChoice(class_));
      for (std::size_t i = 0; i < entries.size(); ++i)
        model_.AddItem(static_cast<int>(i) + 1, LanguageString(entries[i].label));
      break;
    }
    case PopupClass::kComboLighting:
      for (int item : kLightingMenuItems) {
        if (auto mode = LightingModeForMenuItem(item))
          model_.AddItem(item, LanguageString(LightingMode(*mode).nameString));
      }
      break;
    case PopupClass::kProfileRKey:
      for (std::size_t i = 0; i < kProfileActionLabels.size(); ++i) {
        const int label = kProfileActionLabels[i];
        model_.AddItem(static_cast<int>(i) + 1,
                       label == kProfileActionLabels.back() ? LanguageStringOr(label, kLinkProgramsFallback)
                                                            : LanguageString(label));
      }
      break;
    case PopupClass::kActionInsert:
      for (std::size_t i = 0; i < kActionInsertLabels.size(); ++i)
        model_.AddItem(static_cast<int>(i) + 1, LanguageString(kActionInsertLabels[i]));
      break;
    case PopupClass::kMacroList: {
      const int context = options.macroListContext >= 0 && options.macroListContext <= 2 ? options.macroListContext : 0;
      for (std::size_t i = 0; i < kMacroListContexts.size(); ++i) {
        if ((kMacroListContexts[i] & (1 << context)) == 0) continue;
        model_.AddItem(static_cast<int>(i) + 1, LanguageString(kMacroListFirstLabel + static_cast<int>(i)));
      }
      break;
    }
    case PopupClass::kComboProfile: {
      const ProfilePopupRows& rows = options.profileRows;
      model_.AddItem(kProfileHeaderValue, rows.header);
      for (std::size_t i = 0; i < rows.names.size(); ++i) {
        // A named row opens the profile actions on a right click: it carries the mark.
        model_.AddItem(static_cast<int>(i) + 2, rows.names[i], !rows.names[i].empty());
      }
      model_.AddItem(kProfileLastValue, rows.last);
      // Only a profile row can be the current one.
      currentRow_ =
          rows.currentRow >= 1 && rows.currentRow <= static_cast<int>(rows.names.size()) ? rows.currentRow : -1;
      break;
    }
  }
}

PopupReaction PopupLogic::Hover(int x, int y) {
  PopupReaction reaction;
  reaction.changed = model_.HoverAt(x, y);
  if (reaction.changed) {
    if (const PopupItem* item = model_.hoveredItem()) reaction.send = Entered(*item);
  }
  return reaction;
}

PopupReaction PopupLogic::MouseMove(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

// The hover notification comes 50 ms after the mouse rested; with the button
// held it must not move the hovered item either, or a release elsewhere
// would choose the item it was moved to.
PopupReaction PopupLogic::MouseHover(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

PopupReaction PopupLogic::MouseLeave(int x, int y) { return held_ ? PopupReaction{} : Hover(x, y); }

PopupReaction PopupLogic::ButtonDown(int x, int y) {
  held_ = true;
  PopupReaction reaction;
  reaction.changed = model_.PressAt(x, y);
  if (const PopupItem* item = model_.hoveredItem()) reaction.send = Pressed(*item);
  return reaction;
}

PopupReaction PopupLogic::ButtonUp(int x, int y) {
  held_ = false;
  const PopupModel::Release release = model_.ReleaseAt(x, y);
  PopupReaction reaction;
  reaction.changed = release.changed;
  if (const PopupItem* item = model_.item(release.chosen)) reaction.send = Chosen(*item);
  return reaction;
}

PopupReaction PopupLogic::RightButtonUp(int x, int y) {
  PopupReaction reaction;
  if (class_ != PopupClass::kComboProfile) return reaction;
  const PopupItem* item = model_.item(model_.ItemAt(x, y));
  if (item != nullptr && item->value != kProfileHeaderValue && item->value != kProfileLastValue &&
      !item->text.empty()) {
    reaction.send = PopupSend{resultMessage_, kProfileRowRightClicked, item->value, false};
  }
  return reaction;
}

std::optional<PopupSend> PopupLogic::Dismissal() const {
  const std::uint32_t message = DismissalMessage(kind());
  if (message == 0) return std::nullopt;
  return PopupSend{message, ownerValue_, kind(), false};
}

// Moving onto an entry of the main menu opens its submenu, or closes any
// open one for an entry without.
std::optional<PopupSend> PopupLogic::Entered(const PopupItem& item) const {
  if (class_ != PopupClass::kCombo) return std::nullopt;
  const MainMenuEntry* entry = MainEntry(item.value);
  const SubmenuInfo* submenu = entry != nullptr ? FindSubmenu(entry->choice) : nullptr;
  return PopupSend{submenu != nullptr ? submenu->openMessage : kCloseSubmenusMessage,
                   ownerValue_,
                   item.value, false};
}

// A press on one of the main menu's mouse buttons asks the owner to bring
// its popups to the front.
std::optional<PopupSend> PopupLogic::Pressed(const PopupItem& item) const {
  if (class_ != PopupClass::kCombo || item.value > 4) return std::nullopt;
  return PopupSend{resultMessage_, 0, 0, false};
}

PopupSend PopupLogic::ResultSend(std::u16string label, ButtonFunctionCode code) {
  result_ = PopupResult{std::move(label), code};
  return PopupSend{resultMessage_, ownerValue_, 0, true};
}

std::optional<PopupSend> PopupLogic::Chosen(const PopupItem& item) {
  const int value = item.value;
  switch (class_) {
    case PopupClass::kCombo: {
      const MainMenuEntry* entry = MainEntry(value);
      if (entry == nullptr || OpensSubmenu(entry->choice)) return std::nullopt;
      if (entry->choice == MenuChoice::kAssign) return ResultSend(item.text, entry->code);
      const DialogMessages dialog = MenuDialogMessages(entry->choice);
      if (dialog.request == 0) return std::nullopt;
      return PopupSend{dialog.request, ownerValue_, 0, false};
    }
    case PopupClass::kDpiLock: {
      ButtonAssignment lock = DpiLockAssignment(value);
      if (lock.name.empty()) return std::nullopt;
      return ResultSend(std::move(lock.name), lock.code);
    }
    case PopupClass::kDpi:
    case PopupClass::kMultimedia:
    case PopupClass::kOffice:
    case PopupClass::kWindowsManage: {
      const SubmenuEntry* entry = EntryOf(SubmenuEntries(*SubmenuChoice(class_)), value);
      if (entry == nullptr) return std::nullopt;
      ButtonFunctionCode code = entry->code;
      if (class_ == PopupClass::kDpi) code.bytes[2] = 0;  // the DPI functions carry two bytes only
      return ResultSend(item.text, code);
    }
    case PopupClass::kComboLighting: {
      const std::optional<int> mode = LightingModeForMenuItem(value);
      if (!mode) return std::nullopt;
      return ResultSend(item.text, ButtonFunctionCode{static_cast<std::uint8_t>(*mode), 0, 0});
    }
    case PopupClass::kProfileRKey:
    case PopupClass::kActionInsert:
    case PopupClass::kMacroList: {
      const std::size_t count = class_ == PopupClass::kProfileRKey    ? kProfileActionLabels.size()
                                : class_ == PopupClass::kActionInsert ? kActionInsertLabels.size()
                                                                      : kMacroListContexts.size();
      const std::optional<ButtonFunctionCode> code = OperationCode(value, count);
      if (!code) return std::nullopt;
      return ResultSend(class_ == PopupClass::kMacroList ? std::u16string() : item.text, *code);
    }
    case PopupClass::kComboProfile:
      if (value == kProfileHeaderValue || item.text.empty()) return std::nullopt;
      return PopupSend{resultMessage_, kProfileRowChosen, value, false};
  }
  return std::nullopt;
}

}  // namespace zeltra
