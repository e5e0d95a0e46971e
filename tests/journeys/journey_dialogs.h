// Where the journeys click in the assignment menus and the macro dialogs,
// from the program's own placement and layout code, and what a macro
// library file holds, as text to compare.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "journey_checks.h"
#include "ui/popup_classes.h"
#include "ui/ui_geometry.h"

namespace zeltra::test {

// A popup class by the probe's name for it: combo, dpi, multimedia, office,
// windows, dpilock, insert, macrolist.
std::optional<PopupClass> PopupNamed(std::string_view name);

// Where an assignment popup opened for the button combo `comboId` has its
// top-left corner, in client pixels of the main window (the window's screen
// top `windowTop`; the full-screen height is the one the window was centred
// in). Nothing for a class that is not an assignment popup.
std::optional<UiPoint> AssignmentPopupAt(const LayoutQuery& query, PopupClass popup, int comboId, int windowTop);

// Item `index` (0 the first) of a popup, in the popup's own client pixels,
// with the language of the query's data folder. `macroListContext` as the
// macro tree's context popup is opened (1 macro, 2 folder, 0 nothing).
std::optional<UiRect> PopupItemRect(const LayoutQuery& query, PopupClass popup, int index, int macroListContext);

// A dialog by the probe's name: manager, select, firekey, shortcut, key,
// delay, name, folder, rename, attention, links. Its client size in pixels.
std::optional<UiSize> DialogSize(std::string_view dialog, float scale);
// Control `id` (the `instance`th of that id) of a dialog, in its client pixels.
std::optional<UiRect> DialogControlRect(std::string_view dialog, int id, int instance, float scale);
// Shown row `row` (0 the first visible) of list `listId` (the tree 2015 or
// the action list 2020) of a dialog, in its client pixels.
std::optional<UiRect> DialogListRow(std::string_view dialog, int listId, int row, float scale);

// Every used item of a macro library file (.mlf, .mkf, .mbf), one a line:
//   PATH folder NAME
//   PATH macro NAME index=N loop=TYPE/COUNT events=E actions=HEX,HEX,...
// PATH the item's indices at each stage ("0", "2/1"), then "selected PATH"
// (or "selected none") for the file's selected location. Nothing when the
// file does not load to its end.
std::optional<std::string> MacroLibraryText(const std::filesystem::path& file);

}  // namespace zeltra::test
