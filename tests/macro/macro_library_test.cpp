#include "macro/macro_library.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

using L = MacroLocation;

L Add(MacroLibrary& lib, std::u16string_view name, L parent = L::None(), bool folder = false) {
  L at = parent;
  const AddItemResult r = folder ? lib.AddFolder(name, at) : lib.AddMacro(name, at);
  EXPECT_EQ(r, AddItemResult::kAdded) << "adding item";
  return at;
}
L AddFolder(MacroLibrary& lib, std::u16string_view name, L parent = L::None()) { return Add(lib, name, parent, true); }

std::u16string NameAt(const MacroLibrary& lib, L at) {
  const MacroItem* item = lib.ItemAt(at);
  return item ? item->name : u"<free>";
}

TEST(MacroLibrary, AddTargetsTheSelectedFolderElseTheTopLevel) {
  MacroLibrary lib;
  const L games = AddFolder(lib, u"Games");
  const L shooter = AddFolder(lib, u"Shooter", games);
  EXPECT_EQ(shooter, L::At(0, 0));
  const L jump = Add(lib, u"Jump", shooter);
  EXPECT_EQ(jump, L::At(0, 0, 0));

  // A macro (at any stage), a free position or nothing: the top level.
  char16_t suffix = u'a';
  for (L start : {jump, L::None(), L::At(7), L{5, 0, 0, 0}}) {
    L at = start;
    ASSERT_EQ(lib.AddMacro(std::u16string(u"m") + suffix++, at), AddItemResult::kAdded);
    EXPECT_EQ(at.stage, 0);
  }
  // Folders exist at stages 0 and 1 only.
  L at = shooter;
  EXPECT_EQ(lib.AddFolder(u"Deeper", at), AddItemResult::kNotAllowed);
  EXPECT_EQ(at, shooter);
  at = games;
  EXPECT_EQ(lib.AddFolder(u"Racing", at), AddItemResult::kAdded);
  EXPECT_EQ(at, L::At(0, 1));
  at = L::None();
  EXPECT_EQ(lib.AddMacro(u"", at), AddItemResult::kNotAllowed);
}

TEST(MacroLibrary, FullLevelAndNameClash) {
  MacroLibrary lib;
  const L folder = AddFolder(lib, u"F");
  for (int i = 0; i < kMacroLevelCapacity; ++i)
    Add(lib, u"m" + std::u16string(1, static_cast<char16_t>(0x100 + i)), folder);
  const std::uint32_t next = lib.nextMacroKeyIndex;

  L at = folder;
  EXPECT_EQ(lib.AddMacro(u"sixty-first", at), AddItemResult::kLevelFull);
  EXPECT_EQ(at, folder);
  EXPECT_EQ(lib.nextMacroKeyIndex, next);
  // A clash is reported before the level is found full.
  EXPECT_EQ(lib.AddMacro(u"m\u0100", at), AddItemResult::kNameExists);
  EXPECT_EQ(lib.AddFolder(u"F", at = L::None()), AddItemResult::kNameExists);
  // Names are exact: another case is another name, and other levels do not clash.
  EXPECT_EQ(lib.AddMacro(u"f", at = L::None()), AddItemResult::kAdded);
  EXPECT_EQ(lib.AddMacro(u"m\u0100", at = L::None()), AddItemResult::kAdded);
  EXPECT_EQ(lib.ItemsOfLevel(folder).size(), 60u);
}

TEST(MacroLibrary, DeletingAFolderMovesLaterSiblingsWithAllTheyHold) {
  MacroLibrary lib;
  AddFolder(lib, u"One");
  const L two = AddFolder(lib, u"Two");
  Add(lib, u"two-child", two);
  const L three = AddFolder(lib, u"Three");
  const L sub = AddFolder(lib, u"Sub", three);
  const L deep = Add(lib, u"Deep", sub);
  const std::uint32_t deepIndex = lib.MacroAt(deep)->MacroKeyIndex;
  Add(lib, u"Tail");

  ASSERT_EQ(lib.DeleteItem(two), 1);
  EXPECT_EQ(NameAt(lib, L::At(1)), u"Three");
  EXPECT_EQ(NameAt(lib, L::At(1, 0)), u"Sub");
  EXPECT_EQ(NameAt(lib, L::At(1, 0, 0)), u"Deep");
  EXPECT_EQ(lib.MacroAt(L::At(1, 0, 0))->MacroKeyIndex, deepIndex);
  EXPECT_EQ(NameAt(lib, L::At(2)), u"Tail");
  EXPECT_EQ(NameAt(lib, L::At(3)), u"<free>");
  EXPECT_EQ(NameAt(lib, L::At(2, 0)), u"<free>");  // nothing left behind under the old position
  EXPECT_EQ(lib.ItemCount(), 5);
  EXPECT_EQ(lib.FindMacroByKeyIndex(deepIndex), lib.MacroAt(L::At(1, 0, 0)));

  EXPECT_EQ(lib.DeleteItem(L::At(9)), 0);
  EXPECT_EQ(lib.DeleteItem(L::None()), 0);
  lib.Clear();
  EXPECT_EQ(lib.ItemCount(), 0);
}

TEST(MacroLibrary, PutStoresOnlyInsideTheModel) {
  MacroLibrary lib;
  ASSERT_EQ(lib.PutFolderItem(u"F", L::At(3), true), 1);
  EXPECT_EQ(lib.PutMacroItem(u"orphan", L::At(2, 0), std::make_unique<Macro>(u"orphan")), 0);  // no folder at 2
  EXPECT_EQ(lib.PutMacroItem(u"x", L::At(60), std::make_unique<Macro>(u"x")), 0);
  EXPECT_EQ(lib.PutMacroItem(u"x", L{3, 0, 0, 0}, std::make_unique<Macro>(u"x")), 0);
  EXPECT_EQ(lib.PutMacroItem(u"x", L::At(3, -1), std::make_unique<Macro>(u"x")), 0);
  EXPECT_EQ(lib.PutMacroItem(u"", L::At(4), std::make_unique<Macro>()), 0);
  ASSERT_EQ(lib.PutFolderItem(u"Sub", L::At(3, 59), false), 1);
  EXPECT_EQ(lib.PutFolderItem(u"TooDeep", L::At(3, 59, 0), false), 0);
  ASSERT_EQ(lib.PutMacroItem(u"m", L::At(3, 59, 59), std::make_unique<Macro>(u"m")), 1);
  EXPECT_EQ(lib.ItemCount(), 3);

  // Replacing the folder by a macro drops what it held.
  ASSERT_EQ(lib.PutMacroItem(u"now a macro", L::At(3), std::make_unique<Macro>(u"now a macro")), 1);
  EXPECT_EQ(lib.ItemCount(), 1);
  EXPECT_FALSE(lib.IsFolderAt(L::At(3)));
}

TEST(MacroLibrary, GapsLeftByAFileAreFilledFirstAndSkippedByRows) {
  MacroLibrary lib;
  ASSERT_EQ(lib.PutMacroItem(u"five", L::At(5), std::make_unique<Macro>(u"five")), 1);
  EXPECT_EQ(lib.VisibleRowCount(), 1);
  EXPECT_EQ(lib.RowToLocation(0), L::At(5));
  L at;
  ASSERT_EQ(lib.AddMacro(u"new", at), AddItemResult::kAdded);
  EXPECT_EQ(at, L::At(0));
  EXPECT_EQ(lib.DeleteItem(L::At(0)), 1);
  EXPECT_EQ(NameAt(lib, L::At(4)), u"five");
}

TEST(MacroLibrary, TreeRowsShowTheChildrenOfOpenFoldersOnly) {
  MacroLibrary lib;
  const L a = AddFolder(lib, u"A");
  const L a1 = AddFolder(lib, u"A1", a);
  Add(lib, u"A1x", a1);
  Add(lib, u"A2", a);
  Add(lib, u"B");
  EXPECT_EQ(lib.VisibleRowCount(), 2);
  EXPECT_EQ(lib.LocationToRow(a1), -1);

  lib.ItemAt(a)->MacroItemFolderIsOpen = 1;
  EXPECT_EQ(lib.VisibleRowCount(), 4);
  lib.ItemAt(a1)->MacroItemFolderIsOpen = 1;
  const std::vector<L> expected{a, a1, L::At(0, 0, 0), L::At(0, 1), L::At(1)};
  ASSERT_EQ(lib.VisibleRowCount(), 5);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(lib.RowToLocation(row), expected[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(lib.LocationToRow(expected[static_cast<std::size_t>(row)]), row);
  }
  EXPECT_EQ(lib.VisibleRows(1, 3), (std::vector<L>{a1, L::At(0, 0, 0), L::At(0, 1)}));
  EXPECT_EQ(lib.VisibleRows(4, 10), (std::vector<L>{L::At(1)}));
  EXPECT_EQ(lib.RowToLocation(5).stage, -1);
  EXPECT_EQ(lib.RowToLocation(-1).stage, -1);
  EXPECT_EQ(lib.LocationToRow(L::At(2)), -1);
  EXPECT_EQ(lib.LocationToRow(L{0, 1, 9, 9}), 4);  // unused indices do not matter

  lib.CloseAllFolders();
  EXPECT_EQ(lib.VisibleRowCount(), 2);
  lib.ItemAt(a)->MacroItemFolderIsOpen = 1;
  EXPECT_EQ(lib.VisibleRowCount(), 4);  // A1 was closed too
}

TEST(MacroLibrary, FindByKeyIndexSearchesLevelByLevelAndSkipsFolders) {
  MacroLibrary lib;
  const L f = AddFolder(lib, u"F");
  const L g = AddFolder(lib, u"G", f);
  const L deep = Add(lib, u"deep", g);
  const L mid = Add(lib, u"mid", f);
  const L top = Add(lib, u"top");
  // Indices as a hand-edited file might hold them: the same one at three levels.
  lib.MacroAt(deep)->MacroKeyIndex = 42;
  lib.MacroAt(mid)->MacroKeyIndex = 42;
  EXPECT_EQ(lib.FindMacroByKeyIndex(42), lib.MacroAt(mid));
  lib.MacroAt(top)->MacroKeyIndex = 42;
  EXPECT_EQ(lib.FindMacroByKeyIndex(42), lib.MacroAt(top));
  lib.MacroAt(top)->MacroKeyIndex = 1;
  lib.MacroAt(mid)->MacroKeyIndex = 2;
  EXPECT_EQ(lib.FindMacroByKeyIndex(42), lib.MacroAt(deep));
  lib.MacroAt(top)->MacroKeyIndex = 0;
  EXPECT_EQ(lib.FindMacroByKeyIndex(0), nullptr);
  EXPECT_EQ(lib.FindMacroByKeyIndex(7), nullptr);
}

TEST(MacroLibrary, UsesMacroKeyIndexLooksTwoLevelsIntoAFolder) {
  MacroLibrary lib;
  const L f = AddFolder(lib, u"F");
  const L g = AddFolder(lib, u"G", f);
  const L deep = Add(lib, u"deep", g);
  const L other = Add(lib, u"other");
  const std::uint32_t index = lib.MacroAt(deep)->MacroKeyIndex;
  EXPECT_TRUE(lib.UsesMacroKeyIndex(index, f));
  EXPECT_TRUE(lib.UsesMacroKeyIndex(index, g));
  EXPECT_TRUE(lib.UsesMacroKeyIndex(index, deep));
  EXPECT_FALSE(lib.UsesMacroKeyIndex(index, other));
  EXPECT_FALSE(lib.UsesMacroKeyIndex(index, L::None()));
  lib.MacroAt(other)->MacroKeyIndex = 0;
  EXPECT_FALSE(lib.UsesMacroKeyIndex(0, other));  // 0 names no macro
}

}  // namespace
}  // namespace zeltra
