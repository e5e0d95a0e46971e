#include "journey_dialogs.h"

#include <cstdio>
#include <span>
#include <vector>

#include "app/program_links_dialog.h"
#include "app/window_placement.h"
#include "macro/assignment_menu.h"
#include "macro/fire_key_dialog.h"
#include "macro/macro_edit_dialogs.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "macro/macro_manager_layout.h"
#include "macro/macro_select_dialog.h"
#include "macro/shortcut_dialog.h"
#include "settings/text_format.h"
#include "ui/control_codes.h"
#include "ui/list_models.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"

namespace zeltra::test {

namespace {

struct DialogTable {
  std::span<const DialogControl> controls;
  int width = 0;
  int height = 0;
};

std::optional<MacroEditDialog> EditDialogNamed(std::string_view name) {
  if (name == "key") return MacroEditDialog::kKey;
  if (name == "delay") return MacroEditDialog::kDelay;
  if (name == "name") return MacroEditDialog::kMacroName;
  if (name == "folder") return MacroEditDialog::kFolderName;
  if (name == "rename") return MacroEditDialog::kRename;
  return std::nullopt;
}

std::optional<DialogTable> TableOf(std::string_view name) {
  if (name == "manager") return DialogTable{kMacroManagerControls, kMacroManagerWidth, kMacroManagerHeight};
  if (name == "select")
    return DialogTable{kMacroSelectDialogControls, kMacroSelectDialogWidth, kMacroSelectDialogHeight};
  if (name == "firekey") return DialogTable{kFireKeyDialogControls, kFireKeyDialogWidth, kFireKeyDialogHeight};
  if (name == "shortcut") return DialogTable{kShortcutDialogControls, kShortcutDialogWidth, kShortcutDialogHeight};
  if (name == "links")
    return DialogTable{kProgramLinksDialogControls, kProgramLinksDialogWidth, kProgramLinksDialogHeight};
  if (const auto edit = EditDialogNamed(name)) {
    // The small dialogs' tables are made by a function: kept here for the span.
    static const std::array<std::array<DialogControl, 5>, 5> kTables{
        MacroEditDialogControls(MacroEditDialog::kKey), MacroEditDialogControls(MacroEditDialog::kDelay),
        MacroEditDialogControls(MacroEditDialog::kMacroName), MacroEditDialogControls(MacroEditDialog::kFolderName),
        MacroEditDialogControls(MacroEditDialog::kRename)};
    return DialogTable{kTables[static_cast<std::size_t>(*edit)], kMacroEditDialogWidth, kMacroEditDialogHeight};
  }
  return std::nullopt;
}

// A list's rows as the list control places them, whatever it holds.
class RowPlaces final : public ListModel {
 public:
  RowPlaces(int id, const UiRect& rect, float scale) : ListModel(id, rect, scale) {}
  int ItemCount() const override { return kMaxRow; }
  UiRect Row(int r) const { return RowRect(r, Scaled(2, scale_)); }
};

std::string PathText(const MacroLocation& at) {
  std::string text = std::to_string(at.stage0Index);
  if (at.stage >= 1) text += "/" + std::to_string(at.stage1Index);
  if (at.stage >= 2) text += "/" + std::to_string(at.stage2Index);
  return text;
}

void ItemLine(const MacroLibrary& library, const MacroLocation& at, std::string& out) {
  const MacroItem* item = library.ItemAt(at);
  if (item == nullptr || item->name.empty()) return;
  out += PathText(at) + (item->IsFolder() ? " folder " : " macro ") + ToUtf8(item->name);
  if (const Macro* macro = item->macro.get(); macro != nullptr && !item->IsFolder()) {
    out += " index=" + std::to_string(macro->MacroKeyIndex) + " loop=" + std::to_string(macro->MacroKeyLoopType) +
           "/" + std::to_string(macro->MacroKeyLoopNum) + " events=" + std::to_string(macro->MacroCommandActionNum) +
           " actions=";
    for (std::uint32_t i = 0; i < macro->MacroActionNum && i < kMaxMacroActions; ++i) {
      char hex[12];
      const auto& b = macro->AllAction[i].bytes;
      std::snprintf(hex, sizeof hex, "%s%02X%02X%02X%02X", i ? "," : "", b[0], b[1], b[2], b[3]);
      out += hex;
    }
  }
  out += '\n';
}

}  // namespace

std::optional<PopupClass> PopupNamed(std::string_view name) {
  if (name == "combo") return PopupClass::kCombo;
  if (name == "dpi") return PopupClass::kDpi;
  if (name == "multimedia") return PopupClass::kMultimedia;
  if (name == "office") return PopupClass::kOffice;
  if (name == "windows") return PopupClass::kWindowsManage;
  if (name == "dpilock") return PopupClass::kDpiLock;
  if (name == "insert") return PopupClass::kActionInsert;
  if (name == "macrolist") return PopupClass::kMacroList;
  return std::nullopt;
}

std::optional<UiPoint> AssignmentPopupAt(const LayoutQuery& query, PopupClass popup, int comboId, int windowTop) {
  if (!IsAssignmentPopup(popup)) return std::nullopt;
  const auto combo = Locate(query, comboId);
  if (!combo) return std::nullopt;
  // The full-screen height the window was centred in: the one that puts
  // its top where it is.
  const int height = MainWindowPlacement(0, 0, query.scale).height;
  int fullHeight = 2 * windowTop + height;
  for (int h = fullHeight - 1; h <= fullHeight + 2; ++h) {
    if (MainWindowPlacement(0, h, query.scale).top == windowTop) {
      fullHeight = h;
      break;
    }
  }
  const MenuScreen screen{query.scale, fullHeight, windowTop};
  if (popup == PopupClass::kCombo) return MainMenuPlacement(combo->rect, screen).topLeft;
  return SubmenuPlacement(popup, combo->rect, screen);
}

std::optional<UiRect> PopupItemRect(const LayoutQuery& query, PopupClass popup, int value, int macroListContext) {
  LoadLanguageFrom(query.dataFolder);
  PopupLogic logic(popup, query.scale, 0, 0);
  PopupOptions options;
  options.macroListContext = macroListContext;
  logic.BuildItems(options);
  for (int i = 0; const PopupItem* item = logic.model().item(i); ++i) {
    if (!item->separator && item->value == value) return item->rect;
  }
  return std::nullopt;
}

std::optional<UiSize> DialogSize(std::string_view dialog, float scale) {
  if (dialog == "attention") return UiSize{Scaled(kAttentionDialogWidth, scale), Scaled(kAttentionDialogHeight, scale)};
  const auto table = TableOf(dialog);
  if (!table) return std::nullopt;
  return UiSize{Scaled(table->width, scale), Scaled(table->height, scale)};
}

std::optional<UiRect> DialogControlRect(std::string_view dialog, int id, int instance, float scale) {
  if (dialog == "attention" && instance == 0) {
    if (id == kIdOk) return ScaleEdges(kAttentionOkButton, scale);
    if (id == kIdClose) return ScaleEdges(kAttentionCloseButton, scale);
    return std::nullopt;
  }
  const auto table = TableOf(dialog);
  if (!table) return std::nullopt;
  for (const DialogControl& control : table->controls) {
    if (control.id == id && instance-- == 0) return ScaleOriginAndSize(control.rect, scale);
  }
  return std::nullopt;
}

std::optional<UiRect> DialogListRow(std::string_view dialog, int listId, int row, float scale) {
  const auto list = DialogControlRect(dialog, listId, 0, scale);
  if (!list || row < 0) return std::nullopt;
  const RowPlaces places(listId, *list, scale);
  if (row >= places.visibleRows()) return std::nullopt;
  return places.Row(row);
}

std::optional<std::string> MacroLibraryText(const std::filesystem::path& file) {
  MacroLibrary library;
  MacroLocation selected = MacroLocation::None();
  if (LoadMacroLibrary(library, file, &selected) != 1) return std::nullopt;
  std::string out;
  const auto isFolder = [&](const MacroLocation& at) {
    const MacroItem* item = library.ItemAt(at);
    return item != nullptr && item->IsFolder();
  };
  for (int a = 0; a < kMacroLevelCapacity; ++a) {
    ItemLine(library, MacroLocation::At(a), out);
    if (!isFolder(MacroLocation::At(a))) continue;
    for (int b = 0; b < kMacroLevelCapacity; ++b) {
      ItemLine(library, MacroLocation::At(a, b), out);
      if (!isFolder(MacroLocation::At(a, b))) continue;
      for (int c = 0; c < kMacroLevelCapacity; ++c) ItemLine(library, MacroLocation::At(a, b, c), out);
    }
  }
  out += "selected " + (selected.stage < 0 ? std::string("none") : PathText(selected)) + "\n";
  return out;
}

}  // namespace zeltra::test
