// zeltra-journey-probe: what the journeys and the monkey run ask the
// program's own code instead of copying its numbers.
//
//   layout [OPTIONS]            every control: "id instance left top right bottom drawn"
//   rect ID [INSTANCE] [OPTIONS]  one control: "left top right bottom drawn"
//       --scale S               1.0 (default), 1.5 or 2.0
//       --open LIST             open sections, comma separated, of
//                               dpi,lighting,rate,liftoff,debounce,pointer
//                               (default: the window's start, dpi,lighting)
//       --headers LIST          section headers clicked since, in order
//       --lift-off              the sensor offers the lift-off section
//       --data DIR              the page of DIR's current profile (the
//                               lighting mode decides which controls show)
//       --lighting-mode M       the page shows mode M (the window has it
//                               before the delayed save writes it)
//   picker-row ROW [OPTIONS]    row ROW (0 the header, 1..5 the shown profiles)
//                               of the profile picker's popup, as rect prints
//   slider-at ID POS [OPTIONS]  position POS of slider ID, as rect prints
//   popup-item lighting|profile-tab N [--scale S]
//                               entry N (0 the first) of the popup, in its
//                               own client pixels, as rect prints
//   dialog common|attention|palette PART [--scale S]
//                               ok, cancel, close (palette: also field,
//                               swatches) in the dialog's client pixels
//   osd W H [--scale S]         the on-screen display on a W x H work area
//   dpi-step DIR DPI            "index dpi device" of a DPI typed into the
//                               value dialog, for DIR's sensor
//   pixel BMP X Y               RRGGBB of a pixel of a 24-bit bitmap
//   check DIR                   every file of DIR's config loads as it is:
//                               nothing is reset or rewritten by loading it
//   expect DIR STATE            the mouse state dumped to STATE is what the
//                               current profile of DIR encodes
//   library DIR N               writes a library of N full macros into DIR
//   macros FILE                 the items of a macro library file (.mlf, .mkf,
//                               .mbf), one a line (MacroLibraryText)
//   menu-at CLASS COMBO TOP     top-left "x y" of an assignment popup (combo,
//                               dpi, multimedia, office, windows, dpilock)
//                               opened for button combo COMBO, the window's
//                               screen top at TOP, in the window's client pixels
//   popup-item CLASS ENTRY      entry ENTRY (1 the first) of a popup (the
//                               above, insert, macrolist) in its own pixels
//       --context K             the macro tree's popup for 1 a macro, 2 a folder
//   dialog-size NAME            "width height" of a dialog (manager, select,
//                               firekey, shortcut, key, delay, name, folder, rename,
//                               attention, links)
//   dialog-rect NAME ID [INSTANCE]  a control of the dialog in its client pixels
//   list-row NAME LIST ROW      shown row ROW of list LIST (2015, 2020) of a dialog
//   encode DIR                  the state of a fresh mouse sent the whole
//                               current profile of DIR (defaults: no files)
//
// Rectangles are in client pixels of the main window. Exit status 0 yes /
// done, 1 no (the reason on standard error), 2 usage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "journey_checks.h"
#include "journey_dialogs.h"

namespace {

using namespace zeltra;

int Usage() {
  std::cerr << "usage: zeltra-journey-probe layout|rect ID [INSTANCE] [--scale S] [--open LIST] [--lift-off] "
               "[--data DIR] | check DIR | expect DIR STATE | encode DIR | library DIR N\n";
  return 2;
}

std::optional<Section> SectionNamed(std::string_view name) {
  if (name == "dpi") return Section::Dpi;
  if (name == "lighting") return Section::Lighting;
  if (name == "rate") return Section::ReportRate;
  if (name == "liftoff") return Section::LiftOff;
  if (name == "debounce") return Section::Debounce;
  if (name == "pointer") return Section::Pointer;
  return std::nullopt;
}

void PrintRect(const UiRect& r) { std::cout << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << " 1\n"; }

// --scale S at args[from] if given.
float ScaleOption(const std::vector<std::string>& args, std::size_t from) {
  if (args.size() == from + 2 && args[from] == "--scale") return std::stof(args[from + 1]);
  return 1.0f;
}

void Print(const ControlView& view) {
  std::cout << view.rect.left << ' ' << view.rect.top << ' ' << view.rect.right << ' ' << view.rect.bottom << ' '
            << (view.drawn() ? 1 : 0) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string command = args[0];

  if (command == "check" && args.size() == 2) {
    const std::string problem = test::CheckDataFolderLoads(args[1]);
    if (problem.empty()) return 0;
    std::cerr << problem << '\n';
    return 1;
  }
  if (command == "expect" && args.size() == 3) {
    std::ifstream in(args[2], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string problem = test::CheckMouseHoldsCurrentProfile(args[1], text.str());
    if (problem.empty()) return 0;
    std::cerr << problem << '\n';
    return 1;
  }
  if (command == "library" && args.size() == 3) {
    if (test::WriteBigMacroLibrary(args[1], std::stoi(args[2]))) return 0;
    std::cerr << "cannot write the library\n";
    return 1;
  }
  if (command == "encode" && args.size() == 2) {
    std::cout << test::EncodedState(args[1]);
    return 0;
  }
  if (command == "dpi-step" && args.size() == 3) {
    const test::DpiStep step = test::TypedDpiStep(args[1], std::stoi(args[2]));
    std::cout << step.index << ' ' << step.dpi << ' ' << step.device << '\n';
    return 0;
  }
  if (command == "pixel" && args.size() == 4) {
    const auto colour = test::BitmapPixel(args[1], std::stoi(args[2]), std::stoi(args[3]));
    if (!colour) {
      std::cerr << "no such pixel in a 24-bit bitmap\n";
      return 1;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", RedOf(*colour), GreenOf(*colour), BlueOf(*colour));
    std::cout << text << '\n';
    return 0;
  }
  if (command == "popup-item" && (args.size() == 3 || args.size() == 5)) {
    const std::optional<PopupClass> popup = args[1] == "lighting"      ? std::optional(PopupClass::kComboLighting)
                                            : args[1] == "profile-tab" ? std::optional(PopupClass::kProfileRKey)
                                                                       : std::nullopt;
    // The other popups are the layout commands' (below).
    if (popup) {
      const auto rect = test::PopupItemRect(*popup, ScaleOption(args, 3), std::stoi(args[2]));
      if (!rect) return Usage();
      PrintRect(*rect);
      return 0;
    }
  }
  if (command == "dialog" && (args.size() == 3 || args.size() == 5)) {
    const auto rect = test::DialogPartRect(args[1], args[2], ScaleOption(args, 3));
    if (!rect) return Usage();
    PrintRect(*rect);
    return 0;
  }
  if (command == "osd" && (args.size() == 3 || args.size() == 5)) {
    PrintRect(test::OsdScreenRect(std::stoi(args[1]), std::stoi(args[2]), ScaleOption(args, 3)));
    return 0;
  }
  if (command == "macros" && args.size() == 2) {
    const auto text = test::MacroLibraryText(args[1]);
    if (!text) {
      std::cerr << "the macro library file does not load to its end\n";
      return 1;
    }
    std::cout << *text;
    return 0;
  }
  static const std::vector<std::string> kLayoutCommands{"layout",      "rect",        "picker-row", "menu-at",
                                                        "popup-item",  "dialog-size", "dialog-rect", "list-row",    "slider-at"};
  if (std::find(kLayoutCommands.begin(), kLayoutCommands.end(), command) == kLayoutCommands.end()) return Usage();

  std::vector<std::string> positional;
  test::LayoutQuery query;
  bool openGiven = false;
  int context = 0;
  std::vector<int> headers;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--scale" && i + 1 < args.size()) {
      query.scale = std::stof(args[++i]);
    } else if (a == "--open" && i + 1 < args.size()) {
      openGiven = true;
      std::stringstream list(args[++i]);
      for (std::string name; std::getline(list, name, ',');) {
        if (name.empty()) continue;
        const auto section = SectionNamed(name);
        if (!section) return Usage();
        query.expanded[static_cast<std::size_t>(*section)] = true;
      }
    } else if (a == "--headers" && i + 1 < args.size()) {
      std::stringstream list(args[++i]);
      for (std::string id; std::getline(list, id, ',');)
        if (!id.empty()) headers.push_back(std::stoi(id));
    } else if (a == "--context" && i + 1 < args.size()) {
      context = std::stoi(args[++i]);
    } else if (a == "--lighting-mode" && i + 1 < args.size()) {
      query.lightingMode = std::stoi(args[++i]);
    } else if (a == "--lift-off") {
      query.liftOffOffered = true;
    } else if (a == "--data" && i + 1 < args.size()) {
      query.dataFolder = args[++i];
    } else if (!a.empty() && a[0] != '-') {
      positional.push_back(a);
    } else {
      return Usage();
    }
  }
  if (!openGiven) query.expanded = SectionState(query.liftOffOffered).expanded();
  // The headers clicked since, each toggling its section by the window's own
  // rule (opening one may close others).
  SectionState sections = SectionState::WithExpanded(query.expanded, query.liftOffOffered);
  for (int header : headers) {
    const SectionInfo* info = SectionOfHeader(header);
    if (!info) return Usage();
    sections.OnHeaderClicked(header, !sections.Expanded(info->section));
  }
  query.expanded = sections.expanded();

  if (command == "layout") {
    if (!positional.empty()) return Usage();
    for (const ControlView& view : test::WholeLayout(query)) {
      std::cout << view.desc->id << ' ' << view.desc->instance << ' ';
      Print(view);
    }
    return 0;
  }
  const auto number = [&](std::size_t i) { return std::stoi(positional[i]); };
  if (command == "menu-at") {
    if (positional.size() != 3) return Usage();
    const auto popup = test::PopupNamed(positional[0]);
    if (!popup) return Usage();
    const auto at = test::AssignmentPopupAt(query, *popup, number(1), number(2));
    if (!at) return Usage();
    std::cout << at->x << ' ' << at->y << '\n';
    return 0;
  }
  if (command == "popup-item") {
    if (positional.size() != 2) return Usage();
    const auto popup = test::PopupNamed(positional[0]);
    if (!popup) return Usage();
    const auto rect = test::PopupItemRect(query, *popup, number(1), context);
    if (!rect) return Usage();
    PrintRect(*rect);
    return 0;
  }
  if (command == "dialog-size") {
    if (positional.size() != 1) return Usage();
    const auto size = test::DialogSize(positional[0], query.scale);
    if (!size) return Usage();
    std::cout << size->width << ' ' << size->height << '\n';
    return 0;
  }
  if (command == "dialog-rect") {
    if (positional.size() != 2 && positional.size() != 3) return Usage();
    const auto rect =
        test::DialogControlRect(positional[0], number(1), positional.size() == 3 ? number(2) : 0, query.scale);
    if (!rect) return Usage();
    PrintRect(*rect);
    return 0;
  }
  if (command == "list-row") {
    if (positional.size() != 3) return Usage();
    const auto rect = test::DialogListRow(positional[0], number(1), number(2), query.scale);
    if (!rect) return Usage();
    PrintRect(*rect);
    return 0;
  }
  if (command == "picker-row") {
    if (positional.size() != 1) return Usage();
    const auto rect = test::PickerRowRect(query, std::stoi(positional[0]));
    if (!rect) return Usage();
    std::cout << rect->left << ' ' << rect->top << ' ' << rect->right << ' ' << rect->bottom << " 1\n";
    return 0;
  }
  if (command == "slider-at") {
    if (positional.size() != 2) return Usage();
    const auto view = test::SliderPosition(query, std::stoi(positional[0]), std::stoi(positional[1]));
    if (!view) return Usage();
    Print(*view);
    return 0;
  }
  if (positional.empty() || positional.size() > 2) return Usage();
  const int id = std::stoi(positional[0]);
  const int instance = positional.size() == 2 ? std::stoi(positional[1]) : 0;
  const auto view = test::Locate(query, id, instance);
  if (!view) {
    std::cerr << "the main window has no control " << id << '\n';
    return 1;
  }
  Print(*view);
  return 0;
}
