#include "journey_checks.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <system_error>

#include "app/colour_palette.h"
#include "app/osd.h"
#include "app/page_state.h"
#include "app/profile_picker.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "cli/headless_host.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_control.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "settings/config_file.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "macro/popup_menus.h"
#include "ui/popup_model.h"
#include "ui/slider_model.h"
#include "ui/small_dialogs.h"
#include "ui/ui_context.h"

namespace zeltra::test {

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch copy of a data folder, removed again; loading writes only there.
class ScratchCopy {
 public:
  explicit ScratchCopy(const fs::path& dataFolder) {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("zeltra-probe-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    fs::create_directories(path_);
    std::error_code ec;
    if (fs::is_directory(dataFolder / "config", ec))
      fs::copy(dataFolder / "config", path_ / "config", fs::copy_options::recursive, ec);
    else
      fs::create_directories(path_ / "config");
    PointProfilesHere();
  }
  ~ScratchCopy() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  // The configuration names each profile's working file by its full path,
  // which is the original folder's (and a Windows path when the program made
  // it): the copy's configuration names the copy's files of the same names.
  void PointProfilesHere() {
    const fs::path config = path_ / "config" / "config.ini";
    GlobalSettings globals;
    if (!ReadConfigurationFile(config, globals)) return;  // loading it shows what is wrong
    const std::u16string here = SettingsStore(path_).DataFolderStored();
    for (int i = 0; i < kProfileCount; ++i) {
      const std::u16string& stored = globals.Value(kProfileSlot0URL + i);
      const std::size_t cut = stored.find_last_of(u"\\/");
      const std::u16string name = cut == std::u16string::npos ? stored : stored.substr(cut + 1);
      globals.SetValue(kProfileSlot0URL + i, name.empty() ? u"" : here + u"config\\" + name);
    }
    WriteConfigurationFile(config, globals);
  }

  fs::path path_;
};

// Every file under config, by its name, with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dataFolder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(dataFolder / "config", ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) files[fs::relative(it->path(), dataFolder, ec).generic_string()] = ReadAll(it->path());
  }
  return files;
}

void LoadLanguageOf(const fs::path& dataFolder) {
  Language().Clear();
  LoadLanguage(dataFolder / "config", 1.0f);
}

// The lines of `after` that differ from `before`, as "field: was -> now".
std::string Differences(const VirtualMouseState& before, const VirtualMouseState& after) {
  std::istringstream a(VirtualMouseStateText(before));
  std::istringstream b(VirtualMouseStateText(after));
  std::string out;
  for (std::string la, lb; std::getline(a, la) && std::getline(b, lb);) {
    if (la != lb) out += "  mouse: " + la + "\n  profile: " + lb + "\n";
  }
  return out;
}

}  // namespace

void LoadLanguageFrom(const fs::path& dataFolder) {
  ScratchCopy copy(dataFolder.empty() ? fs::path("/nonexistent-zeltra-folder") : dataFolder);
  LoadLanguageOf(copy.path());
}

std::vector<ControlView> WholeLayout(const LayoutQuery& query) {
  const SectionState sections = SectionState::WithExpanded(query.expanded, query.liftOffOffered);
  PageState page;
  if (!query.dataFolder.empty()) {
    ScratchCopy copy(query.dataFolder);
    LoadLanguageOf(copy.path());
    SettingsStore settings(copy.path());
    settings.LoadConfiguration();
    page = RefreshPage(settings);
  }
  if (query.lightingMode >= 0) page.lightingMode = query.lightingMode;
  std::vector<ControlView> views;
  for (const ControlSpec& desc : MainWindowControls()) {
    if (auto view = WhereIs(desc.id, sections, page, query.scale, desc.instance)) views.push_back(*view);
  }
  return views;
}

std::optional<ControlView> Locate(const LayoutQuery& query, int id, int instance) {
  for (const ControlView& view : WholeLayout(query)) {
    if (view.desc->id == id && view.desc->instance == instance) return view;
  }
  return std::nullopt;
}

std::optional<UiRect> PickerRowRect(const LayoutQuery& query, int row) {
  const auto picker = Locate(query, 3502);
  if (!picker || row < 0 || row >= 7) return std::nullopt;
  ScratchCopy copy(query.dataFolder.empty() ? fs::path("/nonexistent-zeltra-folder") : query.dataFolder);
  LoadLanguageOf(copy.path());
  SettingsStore settings(copy.path());
  settings.LoadConfiguration();
  const PickerPopupSpec desc = BuildPickerPopup(settings, picker->rect, query.scale);
  // The popup's own item builder, as the window's popup runs it.
  PopupOptions options;
  options.profileRows = desc.rows;
  PopupLogic popup = MakePopupLogic(PopupClass::kComboProfile, query.scale, desc.resultMessage, 0, options);
  popup.BuildItems();
  const PopupItem* item = popup.model().item(row);
  if (!item) return std::nullopt;
  UiRect rect = item->rect;
  rect.left += desc.topLeft.x;
  rect.right += desc.topLeft.x;
  rect.top += desc.topLeft.y;
  rect.bottom += desc.topLeft.y;
  return rect;
}

std::optional<UiRect> PopupItemRect(PopupClass popupClass, float scale, int index) {
  PopupLogic popup = MakePopupLogic(popupClass, scale, 0, 0);
  popup.BuildItems();
  const PopupItem* item = popup.model().item(index);
  if (!item) return std::nullopt;
  return item->rect;
}

std::optional<UiRect> DialogPartRect(std::string_view dialog, std::string_view part, float scale) {
  std::optional<DesignRect> place;
  if (dialog == "common") {
    if (part == "ok") place = kCommonOkButton;
    if (part == "cancel") place = kCommonCancelButton;
    if (part == "close") place = kCommonCloseButton;
  } else if (dialog == "attention") {
    if (part == "ok") place = kAttentionOkButton;
    if (part == "close") place = kAttentionCloseButton;
  } else if (dialog == "palette") {
    if (part == "ok") place = ColourPalette::kOkPlace;
    if (part == "close") place = ColourPalette::kClosePlace;
    if (part == "field") place = ColourPalette::kField;
    if (part == "swatches") place = ColourPalette::kSwatches;
  }
  if (!place) return std::nullopt;
  return ScaleEdges(*place, scale);
}

std::optional<ControlView> SliderPosition(const LayoutQuery& query, int id, int position) {
  const auto view = Locate(query, id);
  if (!view || view->desc->cls != ControlClass::SliderControl) return std::nullopt;
  const int extent = Scaled(kSliderThumbExtent, query.scale);
  const SliderModel slider(id, view->rect, view->desc->param > 1 ? view->desc->param : 2, extent, extent);
  if (position < 0 || position >= static_cast<int>(slider.positions().size())) return std::nullopt;
  const int x = slider.positions()[static_cast<std::size_t>(position)];
  const int y = (view->rect.top + view->rect.bottom) / 2;
  ControlView at = *view;
  at.rect = {x, y, x + 1, y + 1};
  return at;
}

UiRect OsdScreenRect(int width, int height, float scale) { return OsdWindowRect({0, 0, width, height}, scale); }

std::optional<Colour> BitmapPixel(const fs::path& file, int x, int y) {
  const std::string bytes = ReadAll(file);
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return v;
  };
  if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return std::nullopt;
  const std::uint32_t offset = u32(10);
  const auto width = static_cast<std::int32_t>(u32(18));
  const auto height = static_cast<std::int32_t>(u32(22));
  const unsigned bits = static_cast<unsigned>(static_cast<unsigned char>(bytes[28])) |
                        static_cast<unsigned>(static_cast<unsigned char>(bytes[29])) << 8;
  if (bits != 24 || u32(30) != 0 || width <= 0 || height == 0) return std::nullopt;
  const int rows = height < 0 ? -height : height;
  if (x < 0 || y < 0 || x >= width || y >= rows) return std::nullopt;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t row = static_cast<std::size_t>(height < 0 ? y : rows - 1 - y);  // bottom-up unless negative
  const std::size_t at = offset + row * stride + static_cast<std::size_t>(x) * 3;
  if (at + 3 > bytes.size()) return std::nullopt;
  const auto channel = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[at + i]); };
  return Rgb(channel(2), channel(1), channel(0));
}

DpiStep TypedDpiStep(const fs::path& dataFolder, int typed) {
  ScratchCopy copy(dataFolder);
  LoadLanguageOf(copy.path());
  SettingsStore settings(copy.path());
  settings.LoadConfiguration();
  const int index = DpiIndexForTyped(settings.Dpi(), typed);
  return {index, settings.Dpi().DpiOf(index), settings.Dpi().DeviceValueOf(index)};
}

std::string CheckDataFolderLoads(const fs::path& dataFolder) {
  std::error_code ec;
  if (!fs::is_directory(dataFolder / "config", ec)) return "no config folder in " + dataFolder.string();
  ScratchCopy copy(dataFolder);
  const auto before = Snapshot(copy.path());
  std::string problems;
  LoadLanguageOf(copy.path());
  {
    SettingsStore settings(copy.path());
    if (settings.LoadConfiguration() != 1) problems += "the configuration did not load\n";
  }
  const fs::path libraryFile = MacroLibraryPath(copy.path());
  if (fs::exists(libraryFile, ec)) {
    MacroLibrary library;
    if (LoadMacroLibrary(library, libraryFile) != 1) problems += "the macro library did not load to its end\n";
  }
  const auto after = Snapshot(copy.path());
  for (const auto& [name, bytes] : after) {
    const auto was = before.find(name);
    if (was == before.end())
      problems += name + " was missing and made anew\n";
    else if (was->second != bytes)
      problems += name + " was rewritten by loading it (reset or repaired)\n";
  }
  return problems;
}

namespace {

// Sends the whole current profile of `dataFolder` to a virtual mouse that
// holds `state`; what it holds afterwards.
VirtualMouseState SendWholeProfile(const fs::path& dataFolder, const VirtualMouseState& state, int* profile) {
  ScratchCopy copy(dataFolder);
  LoadLanguageOf(copy.path());
  SettingsStore settings(copy.path());
  settings.LoadConfiguration();
  MacroLibrary library;
  LoadMacroLibrary(library, MacroLibraryPath(copy.path()));

  VirtualClock clock;
  const std::shared_ptr<VirtualMouse> mouse = MakeDemoVirtualMouse(clock);
  mouse->SetState(state);
  HeadlessLinkHost host(settings, &library);
  {
    DeviceLink link(mouse, clock, host, host, host);
    link.InitStandby(0);
    // Whatever the caches would say, every group goes out.
    link.MarkCachesUnknown();
    link.ScanDevices();
    link.RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
    link.ApplyPendingChanges();
    link.Close();
  }
  if (profile) *profile = settings.CurrentProfileIndex() + 1;
  return mouse->State();
}

}  // namespace

std::string EncodedState(const fs::path& dataFolder) {
  return VirtualMouseStateText(SendWholeProfile(dataFolder, VirtualMouseState{}, nullptr));
}

std::string CheckMouseHoldsCurrentProfile(const fs::path& dataFolder, std::string_view stateText) {
  const std::optional<VirtualMouseState> state = ParseVirtualMouseStateText(stateText);
  if (!state) return "the mouse state is missing or malformed";
  int profile = 0;
  const std::string differences = Differences(*state, SendWholeProfile(dataFolder, *state, &profile));
  if (differences.empty()) return {};
  return "the mouse does not hold the current profile " + std::to_string(profile) + ":\n" + differences;
}

bool WriteBigMacroLibrary(const fs::path& dataFolder, int count) {
  const auto name = [](int i) {
    const std::string s = "macro " + std::to_string(i);
    return std::u16string(s.begin(), s.end());
  };
  MacroLibrary library;
  for (int i = 0; i < count; ++i) {
    MacroLocation folder = MacroLocation::At(i / 60);
    if (i % 60 == 0) library.PutFolderItem(name(-i), folder, true);
    MacroLocation at = folder;
    if (library.AddMacro(name(i), at) != AddItemResult::kAdded) return false;
    Macro& macro = *library.MacroAt(at);
    for (int a = 0; a < kMaxMacroActions; ++a)
      macro.InsertAction(a, a % 2 ? MacroAction::Delay(static_cast<std::uint32_t>(a * 7))
                                  : MacroAction::Event(0x41, a % 4 == 2));
    macro.MacroCommandActionNum = kMaxMacroEvents;
  }
  std::error_code ec;
  fs::create_directories(dataFolder / "config", ec);
  return SaveMacroLibrary(library, MacroLibraryPath(dataFolder), MacroLocation::None()) == 1;
}

}  // namespace zeltra::test
