// The checks the journeys and the monkey run make outside the program.
#include "journey_checks.h"
#include "journey_dialogs.h"

#include <gtest/gtest.h>

#include "app/lighting_page.h"
#include "device/virtual_mouse_control.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "macro/macro_lists.h"
#include "settings/settings_store.h"
#include "ui/slider_model.h"
#include "ui/ui_context.h"
#include "support/test_support.h"

namespace zeltra::test {
namespace {

// A data folder as the program leaves it: every file saved once.
void SaveFreshFolder(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "config");
  SettingsStore settings(folder);
  settings.LoadConfiguration();
  ASSERT_EQ(settings.SaveAll(), 1);
  MacroLibrary library;
  ASSERT_EQ(SaveMacroLibrary(library, MacroLibraryPath(folder), MacroLocation{}), 1);
}

TEST(CheckDataFolderLoads, PassesASavedFolderAndNamesADamagedFile) {
  TempDir dir;
  SaveFreshFolder(dir.path());
  EXPECT_EQ(CheckDataFolderLoads(dir.path()), "");
  const auto before = ReadBytes(dir.path() / "config" / "default2.psf");

  WriteBytes(dir.path() / "config" / "default2.psf", Bytes{0xFF, 0xFE, '[', 0});
  const std::string problem = CheckDataFolderLoads(dir.path());
  EXPECT_NE(problem.find("default2.psf"), std::string::npos) << problem;
  EXPECT_EQ(ReadBytes(dir.path() / "config" / "default2.psf"), (Bytes{0xFF, 0xFE, '[', 0}))
      << "the check loads a copy, never the folder itself";

  WriteBytes(dir.path() / "config" / "default2.psf", before);
  const auto library = MacroLibraryPath(dir.path());
  Bytes cut = ReadBytes(library);
  cut.resize(cut.size() / 2 + 1);
  WriteBytes(library, cut);
  EXPECT_NE(CheckDataFolderLoads(dir.path()), "");
  std::filesystem::remove(library);
  EXPECT_EQ(CheckDataFolderLoads(dir.path()), "") << "no library yet is an empty one";
  EXPECT_NE(CheckDataFolderLoads(dir / "nothing"), "");
}

TEST(CheckMouseHoldsCurrentProfile, ComparesTheMouseWithTheStoredCurrentProfile) {
  TempDir dir;
  SaveFreshFolder(dir.path());
  const std::string sent = EncodedState(dir.path());
  EXPECT_NE(sent.find("\nrate 01\n"), std::string::npos) << "1000 Hz: every millisecond\n" << sent;
  EXPECT_EQ(CheckMouseHoldsCurrentProfile(dir.path(), sent), "");
  EXPECT_NE(VirtualMouseStateText(VirtualMouseState{}), sent) << "the profile differs from a fresh mouse somewhere";
  EXPECT_NE(CheckMouseHoldsCurrentProfile(dir.path(), VirtualMouseStateText(VirtualMouseState{})), "");

  // The user picked 500 Hz, the mouse was never told.
  {
    SettingsStore settings(dir.path());
    settings.LoadConfiguration();
    settings.CurrentProfile().PollingRateValue[0] = 2;
    ASSERT_EQ(settings.SaveAll(), 1);
  }
  const std::string problem = CheckMouseHoldsCurrentProfile(dir.path(), sent);
  EXPECT_NE(problem.find("rate"), std::string::npos) << problem;
  const std::string told = EncodedState(dir.path());
  EXPECT_NE(told.find("\nrate 02\n"), std::string::npos) << told;
  EXPECT_EQ(CheckMouseHoldsCurrentProfile(dir.path(), told), "");
  EXPECT_EQ(CheckMouseHoldsCurrentProfile(dir.path(), "rate 01\n"), "the mouse state is missing or malformed");
}

TEST(Locate, FollowsTheSectionsAsked) {
  LayoutQuery open;
  open.expanded = SectionState().expanded();
  const auto stage = Locate(open, 3260);
  ASSERT_TRUE(stage.has_value());
  EXPECT_TRUE(stage->drawn());
  LayoutQuery closed = open;
  closed.expanded[static_cast<std::size_t>(Section::Dpi)] = false;
  EXPECT_FALSE(Locate(closed, 3260)->drawn());
  LayoutQuery twice = open;
  twice.scale = 2.0f;
  const auto exit1 = Locate(open, 2001);
  const auto exit2 = Locate(twice, 2001);
  ASSERT_TRUE(exit1 && exit2);
  EXPECT_GT(exit2->rect.left, exit1->rect.left);
  EXPECT_FALSE(Locate(open, 1).has_value());
}

}  // namespace
}  // namespace zeltra::test

namespace zeltra::test {
namespace {

TEST(WriteBigMacroLibrary, WritesALibraryThatLoadsWhole) {
  TempDir dir;
  ASSERT_TRUE(WriteBigMacroLibrary(dir.path(), 130));
  MacroLibrary library;
  ASSERT_EQ(LoadMacroLibrary(library, MacroLibraryPath(dir.path())), 1);
  EXPECT_EQ(library.ItemCount(), 130 + 3) << "130 macros in three folders";
}

TEST(MacroLibraryText, ListsFoldersMacrosTheirActionsAndTheSelection) {
  TempDir dir;
  MacroLibrary library;
  MacroLocation folder = MacroLocation::None();
  ASSERT_EQ(library.AddFolder(u"Keys", folder), AddItemResult::kAdded);
  MacroLocation inside = folder;
  ASSERT_EQ(library.AddMacro(u"Combo", inside), AddItemResult::kAdded);
  Macro& macro = *library.MacroAt(inside);
  macro.InsertAction(0, MacroAction::Event(0x41, false));
  macro.InsertAction(1, MacroAction::Delay(250));
  macro.MacroCommandActionNum = 1;
  macro.MacroKeyLoopType = 4;
  const auto file = dir.path() / "out.mkf";
  ASSERT_EQ(SaveMacroLibrary(library, file, inside), 1);
  EXPECT_EQ(MacroLibraryText(file).value_or("unreadable"),
            "0 folder Keys\n0/0 macro Combo index=1 loop=4/1 events=1 actions=41000000,030000FA\nselected 0/0\n");

  Bytes cut = ReadBytes(file);
  cut.resize(cut.size() / 2);
  WriteBytes(file, cut);
  EXPECT_FALSE(MacroLibraryText(file)) << "a library cut short is not listed as if whole";
}

TEST(DialogPlaces, RowsAndPopupEntriesAreWhereTheProgramsOwnModelsFindThem) {
  for (const float scale : {1.0f, 1.5f}) {
    const auto tree = DialogControlRect("manager", 2015, 0, scale);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->left, static_cast<int>(25 * scale));
    // Row 3's middle is row 3 to the tree's own hit test.
    const auto row = DialogListRow("manager", 2015, 3, scale);
    ASSERT_TRUE(row);
    TreeListModel model(2015, *tree, scale, nullptr);
    MacroLibrary library;
    for (int i = 0; i < 5; ++i) {
      MacroLocation at = MacroLocation::None();
      ASSERT_EQ(library.AddMacro(std::u16string(1, static_cast<char16_t>(u'a' + i)), at), AddItemResult::kAdded);
    }
    model.SetLibrary(&library);
    EXPECT_EQ(model.ItemRowAt((row->top + row->bottom) / 2), 3);
    EXPECT_FALSE(DialogListRow("manager", 2015, 99, scale)) << "past the shown rows";
    EXPECT_EQ(DialogControlRect("manager", 2026, 1, scale)->top, static_cast<int>(230 * scale))
        << "the second control of an id";
  }
  EXPECT_FALSE(DialogSize("nonsense", 1.0f));
  // The export entry shows for a macro only; the entries below it move up without it.
  const LayoutQuery query;
  EXPECT_FALSE(PopupItemRect(query, PopupClass::kMacroList, 3, 0));
  const auto exportEntry = PopupItemRect(query, PopupClass::kMacroList, 3, 1);
  const auto importAfterIt = PopupItemRect(query, PopupClass::kMacroList, 4, 1);
  const auto importAlone = PopupItemRect(query, PopupClass::kMacroList, 4, 0);
  ASSERT_TRUE(exportEntry && importAfterIt && importAlone);
  EXPECT_EQ(importAfterIt->top, exportEntry->bottom);
  EXPECT_LT(importAlone->top, importAfterIt->top);
}

// The palette picture's colours decide what a journey expects a click to pick.
TEST(BitmapPixel, ReadsBottomUpRowsWithTheirPaddingAndRefusesOtherFiles) {
  TempDir dir;
  // 3 x 2 pixels, 24 bits: rows of 9 bytes padded to 12, the bottom row first.
  Bytes file{'B', 'M'};
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  u32(54 + 24);
  u32(0);
  u32(54);
  u32(40);
  u32(3);
  u32(2);
  file.insert(file.end(), {1, 0, 24, 0});
  for (int i = 0; i < 6; ++i) u32(0);
  const Bytes bottom{0x30, 0x20, 0x10, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE, 0xEE};
  const Bytes top{0, 0, 0, 0, 0, 0, 0x03, 0x02, 0x01, 0xEE, 0xEE, 0xEE};
  file.insert(file.end(), bottom.begin(), bottom.end());
  file.insert(file.end(), top.begin(), top.end());
  WriteBytes(dir.path() / "p.bmp", file);

  EXPECT_EQ(BitmapPixel(dir.path() / "p.bmp", 0, 1), Rgb(0x10, 0x20, 0x30));
  EXPECT_EQ(BitmapPixel(dir.path() / "p.bmp", 2, 0), Rgb(0x01, 0x02, 0x03));
  EXPECT_EQ(BitmapPixel(dir.path() / "p.bmp", 3, 0), std::nullopt);
  file[28] = 32;
  WriteBytes(dir.path() / "q.bmp", file);
  EXPECT_EQ(BitmapPixel(dir.path() / "q.bmp", 0, 0), std::nullopt);
  file.resize(60);
  file[28] = 24;
  WriteBytes(dir.path() / "r.bmp", file);
  EXPECT_EQ(BitmapPixel(dir.path() / "r.bmp", 2, 0), std::nullopt) << "a cut file";
}

// A click where the probe says a slider stands lands on that step.
TEST(SliderPosition, EveryStepSnapsBackToItselfAndHidesWithTheMode) {
  LayoutQuery query;
  query.expanded = SectionState(false).expanded();
  query.lightingMode = 1;
  for (int step = 0; step < kSpeedSliderPositions; ++step) {
    const auto view = SliderPosition(query, kIdSpeedSlider, step);
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->drawn());
    const int extent = Scaled(kSliderThumbExtent, 1.0f);
    const SliderModel slider(kIdSpeedSlider, Locate(query, kIdSpeedSlider)->rect, kSpeedSliderPositions, extent,
                             extent);
    EXPECT_EQ(slider.Snap(view->rect.left), step);
  }
  EXPECT_FALSE(SliderPosition(query, kIdSpeedSlider, kSpeedSliderPositions));
  query.lightingMode = 0;
  EXPECT_FALSE(SliderPosition(query, kIdSpeedSlider, 0)->drawn());
}

}  // namespace
}  // namespace zeltra::test
