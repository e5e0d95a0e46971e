// What the journeys and the monkey run check outside the running program,
// computed by the program's own code: where a control of the main window is,
// whether the data folder's files load as they are, and whether the virtual
// mouse holds what the current profile encodes.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_layout.h"
#include "app/sections.h"
#include "macro/popup_menus.h"

namespace zeltra::test {

struct LayoutQuery {
  float scale = 1.0f;
  std::array<bool, kSectionCount> expanded{};
  bool liftOffOffered = false;
  // The page of this folder's current profile; empty: a default page.
  std::filesystem::path dataFolder;
  // The lighting mode of the page instead of the folder's; -1 the folder's.
  int lightingMode = -1;
};

// The language of `dataFolder` (a scratch copy of it is loaded, so nothing
// is written there); the shipped defaults when it is empty or has none.
void LoadLanguageFrom(const std::filesystem::path& dataFolder);

std::vector<ControlView> WholeLayout(const LayoutQuery& query);
std::optional<ControlView> Locate(const LayoutQuery& query, int id, int instance = 0);

// Row `row` (0 the header, 1..5 the shown profiles in list order) of the
// profile picker's popup in client pixels of the main window.
std::optional<UiRect> PickerRowRect(const LayoutQuery& query, int row);

// Item `index` (0 the first, in list order) of a popup that lists fixed
// entries (the lighting modes, the profile-tab actions), in client pixels of
// the popup window.
std::optional<UiRect> PopupItemRect(PopupClass popupClass, float scale, int index);

// A part of a small dialog in its client pixels: dialog "common" (the
// profile, reset and DPI value dialogs), "attention" or "palette"; part "ok",
// "cancel", "close", and for the palette "field" and "swatches".
std::optional<UiRect> DialogPartRect(std::string_view dialog, std::string_view part, float scale);

// Slider `id` of the main window with a one-pixel rectangle where it stands
// at `position`, at the middle of its height.
std::optional<ControlView> SliderPosition(const LayoutQuery& query, int id, int position);

// The on-screen display on a work area of `width` x `height` screen pixels.
UiRect OsdScreenRect(int width, int height, float scale);

// Colour (0x00BBGGRR) of pixel (x, y), counted from the top-left corner, of
// an uncompressed 24-bit bitmap file; nothing when it is not one or the
// pixel is outside.
std::optional<Colour> BitmapPixel(const std::filesystem::path& file, int x, int y);

// The step a DPI typed into the value dialog comes to for the sensor of
// `dataFolder`: its index, its DPI and the device value the mouse receives.
struct DpiStep {
  int index = 0;
  int dpi = 0;
  int device = 0;
};
DpiStep TypedDpiStep(const std::filesystem::path& dataFolder, int typed);

// Empty when the configuration, the five profiles and the macro library of
// `dataFolder` load without a reset: loading a copy of them rewrites no file
// and makes none. Otherwise what was wrong.
std::string CheckDataFolderLoads(const std::filesystem::path& dataFolder);

// What a mouse holds once it was sent the whole current profile of
// `dataFolder` (the defaults when the folder has no files yet), starting from
// the virtual mouse's fresh state. As text (VirtualMouseStateText).
std::string EncodedState(const std::filesystem::path& dataFolder);

// Empty when a mouse in the state `stateText` (VirtualMouseStateText) already
// holds everything the current profile of `dataFolder` encodes: sending the
// whole profile to such a mouse changes nothing. Otherwise the differences.
std::string CheckMouseHoldsCurrentProfile(const std::filesystem::path& dataFolder, std::string_view stateText);

// Writes a macro library of `count` macros of 336 actions each (folders of
// up to 60 at the top level) into `dataFolder`; false when it cannot.
bool WriteBigMacroLibrary(const std::filesystem::path& dataFolder, int count);

}  // namespace zeltra::test
