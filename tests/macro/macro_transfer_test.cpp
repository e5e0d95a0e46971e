#include "macro/macro_transfer.h"

#include <gtest/gtest.h>

#include "macro/macro_library_file.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using L = MacroLocation;
using test::TempDir;

L Add(MacroLibrary& lib, std::u16string_view name, L parent = L::None(), bool folder = false) {
  L at = parent;
  EXPECT_EQ(folder ? lib.AddFolder(name, at) : lib.AddMacro(name, at), AddItemResult::kAdded);
  return at;
}

std::vector<std::u16string> Names(const MacroLibrary& lib) {
  std::vector<std::u16string> names;
  lib.ForEachItem([&](const L&, const MacroItem& item) { names.push_back(item.name); });
  return names;
}

// Every macro's identity and content, to prove that an import changed none.
std::vector<std::tuple<std::u16string, std::uint32_t, std::uint32_t>> Fingerprint(const MacroLibrary& lib) {
  std::vector<std::tuple<std::u16string, std::uint32_t, std::uint32_t>> out;
  lib.ForEachItem([&](const L&, const MacroItem& item) {
    if (item.macro) out.emplace_back(item.name, item.macro->MacroKeyIndex, item.macro->MacroActionNum);
  });
  return out;
}

struct Transfer : testing::Test {
  TempDir dir;
  MacroLibrary source;  // the exporting machine

  std::filesystem::path Export(L selected, const char* file) {
    source.selectedLocation = selected;
    const auto path = dir / file;
    EXPECT_EQ(ExportLibrary(source, path), 1);
    return path;
  }
};

TEST_F(Transfer, AnExportedMacroImportsWithAFreshIndex) {
  for (int i = 0; i < 4; ++i) Add(source, u"filler" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
  const L m = Add(source, u"Combo");
  Macro& macro = *source.MacroAt(m);
  macro.InsertAction(0, MacroAction::Event(0x41, false));
  macro.InsertAction(1, MacroAction::Delay(1234));
  macro.MacroCommandActionNum = 1;
  macro.MacroKeyLoopType = 4;
  macro.MacroKeyLoopNum = 9;
  source.selectedLocation = m;
  EXPECT_EQ(DefaultMacroExportName(source), u"Combo.mkf");
  ASSERT_EQ(ExportMacro(source, dir / "combo.mkf"), 1);

  MacroLibrary lib;  // has never held a macro
  const ImportOutcome out = ImportMacro(lib, dir / "combo.mkf");
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(out.macrosAdded, 1);
  ASSERT_EQ(Names(lib), std::vector<std::u16string>{u"Combo"});
  const Macro& imported = *lib.MacroAt(L::At(0));
  EXPECT_EQ(imported.MacroKeyIndex, 1u);
  EXPECT_EQ(imported.name, u"Combo");
  EXPECT_EQ(imported.MacroActionNum, 2u);
  EXPECT_EQ(imported.AllAction, macro.AllAction);
  EXPECT_EQ(imported.MacroCommandActionNum, 1);
  EXPECT_EQ(imported.MacroKeyLoopType, 4);
  EXPECT_EQ(imported.MacroKeyLoopNum, 9);
  EXPECT_EQ(lib.selectedLocation, L::At(0));
  L next;
  lib.AddMacro(u"next", next);
  EXPECT_EQ(lib.MacroAt(next)->MacroKeyIndex, 2u);

  // The same file again at the same level clashes; inside a folder it does not.
  EXPECT_EQ(ImportMacro(lib, dir / "combo.mkf").message, 241);
  const L folder = Add(lib, u"F", L::None(), true);
  lib.selectedLocation = folder;
  EXPECT_EQ(ImportMacro(lib, dir / "combo.mkf").macrosAdded, 1);
  EXPECT_EQ(lib.ItemAt(L::At(2, 0))->name, u"Combo");
  EXPECT_TRUE(lib.ItemAt(folder)->IsOpen());
  EXPECT_EQ(lib.selectedLocation, L::At(2, 0));
}

TEST_F(Transfer, MacroExportNeedsASelectedMacro) {
  const L f = Add(source, u"F", L::None(), true);
  source.selectedLocation = f;
  EXPECT_EQ(ExportMacro(source, dir / "x.mkf"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.mkf"));
  EXPECT_EQ(DefaultLibraryExportName(source), u"F.mbf");
  source.selectedLocation = L::None();
  EXPECT_EQ(DefaultLibraryExportName(source), u"AllMacroKey.mbf");

  MacroLibrary lib;
  const ImportOutcome out = ImportMacro(lib, dir / "missing.mkf");
  EXPECT_EQ(out.macrosAdded, 0);
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(lib.ItemCount(), 0);
}

TEST_F(Transfer, LibraryExportWithNothingSelectedClashesAsAWhole) {
  Add(source, u"a");
  Add(source, u"b");
  Add(source, u"c");
  const auto path = Export(L::None(), "all.mbf");

  MacroLibrary lib;
  Add(lib, u"b");
  const auto before = Fingerprint(lib);
  EXPECT_EQ(ImportLibrary(lib, path).message, 241);
  EXPECT_EQ(Fingerprint(lib), before);

  MacroLibrary empty;
  const ImportOutcome out = ImportLibrary(empty, path);
  EXPECT_EQ(out.macrosAdded, 3);
  EXPECT_EQ(Names(empty), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_EQ(empty.MacroAt(L::At(2))->MacroKeyIndex, 3u);
}

TEST_F(Transfer, LibraryImportStartsAtTheExportedSelection) {
  Add(source, u"first");
  const L second = Add(source, u"second");
  Add(source, u"third");
  const auto path = Export(second, "branch.mbf");
  MacroLibrary lib;
  ImportLibrary(lib, path);
  EXPECT_EQ(Names(lib), (std::vector<std::u16string>{u"second", u"third"}));
}

TEST_F(Transfer, AFolderBringsTheMacrosDirectlyInsideIt) {
  const L f = Add(source, u"F", L::None(), true);
  Add(source, u"m1", f);
  const L g = Add(source, u"G", f, true);
  Add(source, u"deep", g);
  Add(source, u"m2", f);
  Add(source, u"after");
  const auto path = Export(f, "folder.mbf");

  MacroLibrary lib;
  Add(lib, u"mine");
  const L existing = Add(lib, u"m1");  // a clash inside the folder is not checked
  lib.selectedLocation = existing;     // not a folder: top level
  const ImportOutcome out = ImportLibrary(lib, path);
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(out.foldersAdded, 1);
  EXPECT_EQ(out.macrosAdded, 3);
  EXPECT_EQ(Names(lib), (std::vector<std::u16string>{u"mine", u"m1", u"F", u"after", u"m1", u"m2"}));
  EXPECT_EQ(lib.MacroAt(L::At(2, 0))->MacroKeyIndex, 3u);
  EXPECT_EQ(lib.MacroAt(L::At(3))->MacroKeyIndex, 5u);
}

TEST_F(Transfer, AFolderSelectionChecksOnlyItsOwnName) {
  const L f = Add(source, u"F", L::None(), true);
  Add(source, u"inside", f);
  Add(source, u"taken");
  Add(source, u"free");
  const auto path = Export(f, "folder.mbf");

  MacroLibrary lib;
  Add(lib, u"taken");
  const auto before = Fingerprint(lib);
  const ImportOutcome out = ImportLibrary(lib, path);
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(Names(lib), (std::vector<std::u16string>{u"taken", u"F", u"free", u"inside"}));
  EXPECT_EQ(std::get<1>(Fingerprint(lib)[0]), std::get<1>(before[0]));

  MacroLibrary clash;
  Add(clash, u"F");
  EXPECT_EQ(ImportLibrary(clash, path).message, 241);
  EXPECT_EQ(clash.ItemCount(), 1);
}

TEST_F(Transfer, NoFolderIsCreatedInsideAStage1Folder) {
  const L f = Add(source, u"F", L::None(), true);
  Add(source, u"inside", f);
  Add(source, u"loose");
  const auto path = Export(f, "folder.mbf");

  MacroLibrary lib;
  const L outer = Add(lib, u"Outer", L::None(), true);
  const L inner = Add(lib, u"Inner", outer, true);
  lib.selectedLocation = inner;
  const ImportOutcome out = ImportLibrary(lib, path);
  EXPECT_EQ(out.foldersAdded, 0);
  EXPECT_EQ(Names(lib), (std::vector<std::u16string>{u"Outer", u"Inner", u"loose"}));
  EXPECT_TRUE(lib.ItemAt(inner)->IsOpen());
}

TEST_F(Transfer, AFolderWithoutRoomIsSkippedWithItsMacros) {
  const L f = Add(source, u"F", L::None(), true);
  Add(source, u"inside", f);
  const auto path = Export(f, "folder.mbf");

  MacroLibrary lib;
  const L target = Add(lib, u"Target", L::None(), true);
  for (int i = 0; i < kMacroLevelCapacity; ++i) Add(lib, std::u16string(1, static_cast<char16_t>(0x100 + i)), target);
  const auto before = Fingerprint(lib);
  lib.selectedLocation = target;
  const ImportOutcome out = ImportLibrary(lib, path);
  EXPECT_EQ(out.message, 0);
  EXPECT_EQ(out.foldersAdded + out.macrosAdded, 0);
  EXPECT_EQ(Fingerprint(lib), before);
  EXPECT_FALSE(lib.NameExists(u"inside", L::None()));
}

TEST_F(Transfer, ASelectionOfAFreePositionImportsNothing) {
  Add(source, u"a");
  const auto path = Export(L::At(5), "free.mbf");
  MacroLibrary lib;
  EXPECT_EQ(ImportLibrary(lib, path).macrosAdded, 0);
  EXPECT_EQ(ImportMacro(lib, path).macrosAdded, 0);
  EXPECT_EQ(lib.ItemCount(), 0);
}

}  // namespace
}  // namespace zeltra
