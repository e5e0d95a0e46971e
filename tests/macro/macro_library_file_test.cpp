#include "macro/macro_library_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "settings/damaged_files.h"
#include "settings/text_file.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using L = MacroLocation;
using test::Bytes;
using test::ReadBytes;
using test::TempDir;
using test::TestData;

std::unique_ptr<Macro> MakeMacro(std::u16string name, std::uint32_t index, std::uint8_t type, std::uint8_t count,
                                 std::uint8_t events, std::initializer_list<MacroAction> actions) {
  auto m = std::make_unique<Macro>(std::move(name));
  m->MacroKeyIndex = index;
  m->MacroKeyLoopType = type;
  m->MacroKeyLoopNum = count;
  for (const MacroAction& a : actions) m->InsertAction(kMaxMacroActions, a);
  m->MacroCommandActionNum = events;
  return m;
}

// The library that tests/data/macro/library.mlf describes.
void BuildGoldenLibrary(MacroLibrary& lib) {
  lib.nextMacroKeyIndex = 7;
  ASSERT_EQ(lib.PutFolderItem(u"Games", L::At(0), true), 1);
  ASSERT_EQ(lib.PutMacroItem(
                u"Copy", L::At(1),
                MakeMacro(u"Copy", 1, 2, 1, 3,
                          {MacroAction::Event(0x41, false), MacroAction::Delay(50), MacroAction::Event(0x41, true),
                           MacroAction::Delay(15300000), MacroAction::Event(0xE7, false, 0xFF)})),
            1);
  ASSERT_EQ(lib.PutFolderItem(u"Shooter", L::At(0, 0), false), 1);
  ASSERT_EQ(lib.PutMacroItem(
                u"Jump \u5B8F", L::At(0, 1),
                MakeMacro(u"Jump \u5B8F", 5, 4, 255, 1, {MacroAction::Event(0x20, false), MacroAction::Delay(0xFFFF)})),
            1);
  ASSERT_EQ(lib.PutMacroItem(u"Reload", L::At(0, 0, 0), MakeMacro(u"Reload", 6, 1, 3, 0, {})), 1);
}

std::vector<std::u16string> ReadLines(const std::filesystem::path& path) {
  CStdioFileEx file;
  EXPECT_TRUE(file.Open(path, CStdioFileEx::kReadFlags));
  std::vector<std::u16string> lines;
  std::u16string line;
  while (file.ReadString(line)) lines.push_back(line);
  return lines;
}

void WriteLines(const std::filesystem::path& path, const std::vector<std::u16string>& lines) {
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(path, CStdioFileEx::kWriteFlags));
  for (const std::u16string& line : lines) file.WriteString(line + u"\n");
}

std::vector<std::u16string> Names(const MacroLibrary& lib) {
  std::vector<std::u16string> names;
  lib.ForEachItem([&](const L&, const MacroItem& item) { names.push_back(item.name); });
  return names;
}

const std::vector<std::u16string> kAllNames{u"Games", u"Copy", u"Shooter", u"Jump \u5B8F", u"Reload"};

// Line numbers (0-based) in the golden file.
constexpr std::size_t kShooterLocationLine = 18;
constexpr std::size_t kJumpLocationLine = 22;
constexpr std::size_t kJumpIndexLine = 25;
constexpr std::size_t kJumpActionNumLine = 28;
constexpr std::size_t kJumpEventsLine = 29;
constexpr std::size_t kJumpActionsLine = 30;

TEST(MacroLibraryFile, WritesTheHandMadeGoldenBytes) {
  TempDir dir;
  MacroLibrary lib;
  BuildGoldenLibrary(lib);
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "out.mlf", L::At(0, 1)), 1);
  EXPECT_EQ(test::Hex(ReadBytes(dir / "out.mlf")), test::Hex(ReadBytes(TestData("macro/library.mlf"))));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mlf.tmp"));
}

TEST(MacroLibraryFile, ReadsTheGoldenFileIntoTheModel) {
  MacroLibrary lib;
  lib.PutFolderItem(u"left over", L::At(30), false);
  L selected;
  ASSERT_EQ(LoadMacroLibrary(lib, TestData("macro/library.mlf"), &selected), 1);
  EXPECT_EQ(selected, L::At(0, 1));
  EXPECT_EQ(lib.nextMacroKeyIndex, 7u);
  EXPECT_EQ(Names(lib), kAllNames);
  EXPECT_TRUE(lib.ItemAt(L::At(0))->IsOpen());
  EXPECT_FALSE(lib.ItemAt(L::At(0, 0))->IsOpen());

  const Macro& copy = *lib.MacroAt(L::At(1));
  EXPECT_EQ(copy.name, u"Copy");
  EXPECT_EQ(copy.MacroKeyIndex, 1u);
  EXPECT_EQ(copy.MacroActionNum, 5u);
  EXPECT_EQ(copy.MacroCommandActionNum, 3);
  EXPECT_EQ(copy.AllAction[3], (MacroAction{{0x03, 0xE9, 0x75, 0xA0}}));
  EXPECT_EQ(copy.AllAction[4], (MacroAction{{0xE7, 0x00, 0x00, 0xFF}}));
  EXPECT_EQ(copy.AllAction[5], MacroAction{});
  const Macro& jump = *lib.MacroAt(L::At(0, 1));
  EXPECT_EQ(jump.MacroKeyLoopType, 4);
  EXPECT_EQ(jump.MacroKeyLoopNum, 255);
  EXPECT_EQ(lib.MacroAt(L::At(0, 0, 0))->MacroKeyIndex, 6u);
}

TEST(MacroLibraryFile, KeysAreNotChecked) {
  TempDir dir;
  MacroLibrary lib;
  L selected;
  ASSERT_EQ(LoadMacroLibrary(lib, TestData("macro/other_keys.mlf"), &selected), 1);
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "out.mlf", selected), 1);
  EXPECT_EQ(ReadBytes(dir / "out.mlf"), ReadBytes(TestData("macro/library.mlf")));
}

TEST(MacroLibraryFile, CarriageReturnLineEndsFailAtTheFirstLine) {
  MacroLibrary lib;
  lib.PutFolderItem(u"before", L::At(0), false);
  EXPECT_EQ(LoadMacroLibrary(lib, TestData("macro/crlf.mlf")), 0);
  EXPECT_EQ(lib.ItemCount(), 0);
}

TEST(MacroLibraryFile, AMissingFileLeavesTheLibraryAlone) {
  TempDir dir;
  MacroLibrary lib;
  lib.PutFolderItem(u"kept", L::At(0), false);
  lib.nextMacroKeyIndex = 12;
  L selected = L::At(4);
  EXPECT_EQ(LoadMacroLibrary(lib, dir / "none.mlf", &selected), 0);
  EXPECT_EQ(Names(lib), std::vector<std::u16string>{u"kept"});
  EXPECT_FALSE(lib.Unavailable());
  EXPECT_EQ(lib.nextMacroKeyIndex, 12u);
  EXPECT_EQ(selected, L::At(4));
}

struct Damage {
  const char* what;
  std::size_t line;
  std::u16string text;  // replaces the line; empty removes the rest of the file from it
  int result;
  std::vector<std::u16string> names;
};

class MacroLibraryFileDamage : public testing::TestWithParam<Damage> {};

TEST_P(MacroLibraryFileDamage, KeepsWhatWasReadAndStoresNothingOutsideTheModel) {
  TempDir dir;
  std::vector<std::u16string> lines = ReadLines(TestData("macro/library.mlf"));
  ASSERT_EQ(lines.size(), 41u);
  const Damage& d = GetParam();
  if (d.text.empty())
    lines.resize(d.line);
  else
    lines[d.line] = d.text;
  WriteLines(dir / "d.mlf", lines);
  MacroLibrary lib;
  EXPECT_EQ(LoadMacroLibrary(lib, dir / "d.mlf"), d.result);
  EXPECT_EQ(Names(lib), d.names);
}

std::u16string ActionsOfLength(std::size_t n) { return u"\tAllAction=" + std::u16string(n, u'0'); }

INSTANTIATE_TEST_SUITE_P(
    Lines, MacroLibraryFileDamage,
    testing::Values(Damage{"2687 action digits stop at that macro",
                           kJumpActionsLine,
                           ActionsOfLength(2687),
                           0,
                           {u"Games", u"Copy", u"Shooter"}},
                    Damage{"2689 action digits stop at that macro",
                           kJumpActionsLine,
                           ActionsOfLength(2689),
                           0,
                           {u"Games", u"Copy", u"Shooter"}},
                    Damage{"a line without =", kJumpIndexLine, u"\tMacroKeyIndex5", 0, {u"Games", u"Copy", u"Shooter"}},
                    Damage{"a location without its last ;",
                           kJumpLocationLine,
                           u"\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=1;stage2Index=0",
                           0,
                           {u"Games", u"Copy", u"Shooter"}},
                    Damage{"the file ends inside a block", kJumpEventsLine, u"", 0, {u"Games", u"Copy", u"Shooter"}},
                    Damage{"the file ends after line 3", 3, u"", 1, {}},
                    Damage{"a bad header", 0, u"[MacroLibrary] ", 0, {}},
                    Damage{"an index beyond 59 is skipped",
                           kJumpLocationLine,
                           u"\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=60;stage2Index=0;",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"stage 3 is read, not stored",
                           kJumpLocationLine,
                           u"\tMacroItemLocation:stage=3;stage0Index=0;stage1Index=1;stage2Index=0;",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"no parent folder: the macro is skipped",
                           kJumpLocationLine,
                           u"\tMacroItemLocation:stage=1;stage0Index=1;stage1Index=1;stage2Index=0;",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"no parent folder: the folder and what it holds are skipped",
                           kShooterLocationLine,
                           u"\tMacroItemLocation:stage=1;stage0Index=5;stage1Index=0;stage2Index=0;",
                           1,
                           {u"Games", u"Copy", u"Jump \u5B8F"}},
                    Damage{"337 actions are skipped",
                           kJumpActionNumLine,
                           u"\tMacroActionNum=337",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"336 actions fit", kJumpActionNumLine, u"\tMacroActionNum=336", 1, kAllNames},
                    Damage{"169 events are skipped",
                           kJumpEventsLine,
                           u"\tMacroCommandActionNum=169",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"a repeat type beyond a byte is skipped",
                           kJumpIndexLine + 1,
                           u"\tMacroKeyLoopType=256",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}},
                    Damage{"an index beyond 32 bits is skipped",
                           kJumpIndexLine,
                           u"\tMacroKeyIndex=4294967296",
                           1,
                           {u"Games", u"Copy", u"Shooter", u"Reload"}}),
    [](const testing::TestParamInfo<Damage>& param) {
      std::string name;
      for (const char* c = param.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(MacroLibraryFile, ATrailingEmptyLineEndsTheReadingEarly) {
  TempDir dir;
  std::vector<std::u16string> lines = ReadLines(TestData("macro/library.mlf"));
  lines.push_back(u"");
  WriteLines(dir / "d.mlf", lines);
  MacroLibrary lib;
  EXPECT_EQ(LoadMacroLibrary(lib, dir / "d.mlf"), 0);
  EXPECT_EQ(Names(lib), kAllNames);
}

TEST(MacroLibraryFile, IndicesSurviveSaveAndLoadAndTheNextContinues) {
  TempDir dir;
  MacroLibrary lib;  // never saw a file
  L a, b;
  lib.AddMacro(u"a", a);
  lib.AddMacro(u"b", b);
  EXPECT_EQ(lib.MacroAt(a)->MacroKeyIndex, 1u);
  EXPECT_EQ(lib.MacroAt(b)->MacroKeyIndex, 2u);
  lib.DeleteItem(b);  // an index once handed out is never handed out again
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 1);

  MacroLibrary reloaded;
  ASSERT_EQ(LoadMacroLibrary(reloaded, dir / "lib.mlf"), 1);
  EXPECT_EQ(reloaded.MacroAt(L::At(0))->MacroKeyIndex, 1u);
  L c;
  reloaded.AddMacro(u"c", c);
  EXPECT_EQ(reloaded.MacroAt(c)->MacroKeyIndex, 3u);
}

// A pasted line break in a name must not shift the lines that follow it.
TEST(MacroLibraryFile, ALineBreakInANameKeepsTheFileLoadable) {
  TempDir dir;
  MacroLibrary lib;
  L a, b;
  lib.AddMacro(u"two\nlines", a);
  lib.AddMacro(u"after", b);
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 1);
  MacroLibrary reloaded;
  ASSERT_EQ(LoadMacroLibrary(reloaded, dir / "lib.mlf"), 1);
  EXPECT_EQ(reloaded.ItemAt(L::At(0))->name, u"two lines");
  EXPECT_EQ(reloaded.ItemAt(L::At(1))->name, u"after");
}

TEST(MacroLibraryFile, IndicesAboveTheSignedRangeRoundTrip) {
  TempDir dir;
  MacroLibrary lib;
  lib.PutMacroItem(u"big", L::At(0), MakeMacro(u"big", 3000000000u, 2, 1, 0, {}));
  lib.nextMacroKeyIndex = 3000000001u;
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 1);
  const std::vector<std::u16string> lines = ReadLines(dir / "lib.mlf");
  EXPECT_EQ(lines[1], u"MacroKeyIndex=-1294967295");  // "%d"
  EXPECT_EQ(lines[7], u"MacroKeyIndex=3000000000");   // "%u"
  MacroLibrary reloaded;
  ASSERT_EQ(LoadMacroLibrary(reloaded, dir / "lib.mlf"), 1);
  EXPECT_EQ(reloaded.MacroAt(L::At(0))->MacroKeyIndex, 3000000000u);
  EXPECT_EQ(reloaded.nextMacroKeyIndex, 3000000001u);
}

TEST(MacroLibraryFile, ADamagedCounterNeverHandsOutAnIndexInUse) {
  TempDir dir;
  std::vector<std::u16string> lines = ReadLines(TestData("macro/library.mlf"));
  lines[1] = u"MacroKeyIndex=2";
  WriteLines(dir / "d.mlf", lines);
  MacroLibrary lib;
  ASSERT_EQ(LoadMacroLibrary(lib, dir / "d.mlf"), 1);
  EXPECT_EQ(lib.nextMacroKeyIndex, 7u);
}

// Whatever the file holds in its counter and its items, a new macro never
// gets an index in use (nor 0), even where counting on would wrap around.
TEST(MacroLibraryFile, TheNextIndexNeverEqualsOneInUse) {
  struct Case {
    const char* headerLine;  // line 2 of the file
    std::vector<std::uint32_t> items;
  };
  const Case cases[] = {
      {"MacroKeyIndex=5", {1, 4294967295u}},
      {"MacroKeyIndex=-1", {1, 2}},
      {"MacroKeyIndex=4294967295", {1, 2, 3}},
      {"MacroKeyIndex=-2", {4294967295u, 1}},
      {"MacroKeyIndex=0", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.headerLine);
    TempDir dir;
    MacroLibrary lib;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
      const std::u16string name = u"m" + Dec(static_cast<long long>(i));
      lib.PutMacroItem(name, L::At(static_cast<int>(i)), MakeMacro(name, c.items[i], 2, 1, 0, {}));
    }
    ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 1);
    std::vector<std::u16string> lines = ReadLines(dir / "lib.mlf");
    lines[1] = FromUtf8(c.headerLine);
    WriteLines(dir / "lib.mlf", lines);
    MacroLibrary loaded;
    ASSERT_EQ(LoadMacroLibrary(loaded, dir / "lib.mlf"), 1);
    std::vector<std::uint32_t> used = c.items;
    for (int n = 0; n < 4; ++n) {
      L where = L::None();
      ASSERT_EQ(loaded.AddMacro(u"new" + Dec(n), where), AddItemResult::kAdded);
      const std::uint32_t index = loaded.MacroAt(where)->MacroKeyIndex;
      EXPECT_NE(index, 0u);
      EXPECT_EQ(std::count(used.begin(), used.end(), index), 0) << index;
      used.push_back(index);
    }
  }
}

// A library file that is there but cannot be read is never written over, and
// nothing is added to what the program holds instead; once it can be read,
// the next load (the manager closing) takes it.
TEST(MacroLibraryFile, AFileThatCannotBeReadIsNeverWrittenOver) {
  const std::function<void(const std::filesystem::path&)> blocks[] = {
      [](const std::filesystem::path& p) { InjectFileBusy(p, -1); },        // held by another program
      [](const std::filesystem::path&) { InjectTextFileReadFault(5000); },  // a read error half-way
  };
  SetFileRetryPause([](int) {});
  for (const auto& block : blocks) {
    TempDir dir;
    std::filesystem::copy_file(TestData("macro/library.mlf"), dir / "lib.mlf");
    MacroLibrary lib;
    block(dir / "lib.mlf");
    EXPECT_EQ(LoadMacroLibrary(lib, dir / "lib.mlf"), 0);
    ClearInjectedFileBusy();
    InjectTextFileReadFault(-1);
    L at = L::None();
    EXPECT_EQ(lib.AddMacro(u"New", at), AddItemResult::kNotAllowed);
    EXPECT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 0);
    EXPECT_EQ(ReadBytes(dir / "lib.mlf"), ReadBytes(TestData("macro/library.mlf")));
    ASSERT_EQ(LoadMacroLibrary(lib, dir / "lib.mlf"), 1);
    EXPECT_FALSE(lib.Unavailable());
  }
  SetFileRetryPause(nullptr);
}

// A file read only up to a damaged line keeps the library usable, but every
// macro after that line, or with carriage returns every macro, exists only
// in the file: the first save keeps it beside the new one.
TEST(MacroLibraryFile, AFileReadOnlyInPartIsKeptBesideTheFirstSave) {
  const auto golden = ReadLines(TestData("macro/library.mlf"));
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> damage;
    std::size_t itemsRead;
  };
  const auto edited = [&](std::size_t line, std::u16string text) {
    return [&golden, line, text](const std::filesystem::path& p) {
      auto lines = golden;
      lines[line] = text;
      WriteLines(p, lines);
    };
  };
  const Case cases[] = {
      {"carriage returns",
       [](const std::filesystem::path& p) {
         test::WriteBytes(p, test::WithCarriageReturns(ReadBytes(TestData("macro/library.mlf"))));
       },
       0},
      {"a malformed line", edited(kJumpLocationLine, u"MacroItemLocation"), 3},
      {"2687 action digits", edited(kJumpActionsLine, golden[kJumpActionsLine].substr(0, kAllActionChars + 10)), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ForgetDamagedFiles();
    TempDir dir;
    const auto path = dir / "MacroLibraryFile.mlf";
    c.damage(path);
    const Bytes damaged = ReadBytes(path);
    MacroLibrary lib;
    EXPECT_EQ(LoadMacroLibrary(lib, path), 0);
    EXPECT_EQ(lib.ItemCount(), static_cast<int>(c.itemsRead));
    L at = L::None();
    ASSERT_EQ(lib.AddMacro(u"New", at), AddItemResult::kAdded);
    ASSERT_EQ(SaveMacroLibrary(lib, path, L::None()), 1);

    const auto told = TakeKeptCopies();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].parent_path(), dir.path());
    EXPECT_EQ(told[0].filename().string().rfind("MacroLibraryFile.mlf.unreadable-", 0), 0u);
    EXPECT_EQ(ReadBytes(told[0]), damaged);
    MacroLibrary reread;
    EXPECT_EQ(LoadMacroLibrary(reread, path), 1);
    EXPECT_EQ(reread.ItemCount(), static_cast<int>(c.itemsRead) + 1);
    // Kept once: later saves replace the file the program wrote itself.
    ASSERT_EQ(SaveMacroLibrary(reread, path, L::None()), 1);
    EXPECT_TRUE(TakeKeptCopies().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  }
}

TEST(MacroLibraryFile, CountsBeyondTheModelAreNeverWritten) {
  TempDir dir;
  MacroLibrary lib;
  auto m = std::make_unique<Macro>(u"m");
  m->MacroActionNum = 400;
  m->MacroCommandActionNum = 200;
  lib.PutMacroItem(u"m", L::At(0), std::move(m));
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 1);
  MacroLibrary reloaded;
  ASSERT_EQ(LoadMacroLibrary(reloaded, dir / "lib.mlf"), 1);
  EXPECT_EQ(reloaded.MacroAt(L::At(0))->MacroActionNum, 336u);
  EXPECT_EQ(reloaded.MacroAt(L::At(0))->MacroCommandActionNum, 168);
}

TEST(MacroLibraryFile, AFailedSaveLeavesTheOldFile) {
  TempDir dir;
  MacroLibrary lib;
  BuildGoldenLibrary(lib);
  ASSERT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::At(0, 1)), 1);
  const Bytes before = ReadBytes(dir / "lib.mlf");
  lib.nextMacroKeyIndex = 8;
  for (long long after : {0LL, 100LL, 5000LL}) {
    InjectTextFileWriteFault(after);
    EXPECT_EQ(SaveMacroLibrary(lib, dir / "lib.mlf", L::None()), 0);
    InjectTextFileWriteFault(-1);
    EXPECT_EQ(ReadBytes(dir / "lib.mlf"), before);
  }
  EXPECT_EQ(SaveMacroLibrary(lib, dir / "missing" / "lib.mlf", L::None()), 0);
}

}  // namespace
}  // namespace zeltra
