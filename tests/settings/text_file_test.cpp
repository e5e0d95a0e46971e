#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <optional>
#include <utility>

#include "settings/text_file.h"
#include "settings/text_format.h"
#include "settings_fixture.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using test::Bytes;
using test::ReadBytes;
using test::TempDir;
using test::TestData;

std::vector<std::u16string> ReadAllLines(const std::filesystem::path& path) {
  CStdioFileEx file;
  EXPECT_TRUE(file.Open(path, CStdioFileEx::kReadFlags));
  std::vector<std::u16string> lines;
  std::u16string line;
  while (file.ReadString(line)) lines.push_back(line);
  EXPECT_FALSE(file.Failed());
  return lines;
}

TEST(TextFile, TwoWriteStringCallsGiveExactlyMarkLinesAndLineFeeds) {
  TempDir dir;
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(dir / "out.txt", CStdioFileEx::kWriteFlags));
  EXPECT_TRUE(file.WriteString(u"ab\n"));
  EXPECT_TRUE(file.WriteString(u"\u4E2D\n"));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes(dir / "out.txt"), ReadBytes(TestData("textfile/two_lines.bin")));
}

TEST(TextFile, CreateTruncatesAnExistingFile) {
  TempDir dir;
  test::WriteBytes(dir / "f.txt", Bytes(100, 0x41));
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(dir / "f.txt", CStdioFileEx::kWriteFlags));
  file.WriteString(u"x");
  file.Close();
  EXPECT_EQ(ReadBytes(dir / "f.txt"), (Bytes{0xFF, 0xFE, 'x', 0}));
}

struct GoldenCase {
  const char* file;
  std::vector<std::u16string> lines;
};

class TextFileGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(TextFileGolden, ReadsTheLinesOfTheFile) {
  EXPECT_EQ(ReadAllLines(TestData(std::string("textfile/") + GetParam().file)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    ByteRules, TextFileGolden,
    testing::Values(
        GoldenCase{"two_lines.bin", {u"ab", u"\u4E2D"}},
        // Whatever the first two bytes are, they are skipped as the mark.
        GoldenCase{"no_mark.bin", {u"Set"}},
        GoldenCase{"crlf.bin", {u"a\r", u"b\r"}},
        // An empty line is the one-unit text "\n" and does not end the reading.
        GoldenCase{"empty_line.bin", {u"a", u"\n", u"b"}},
        GoldenCase{"long_line.bin", {std::u16string(300, u'x'), u"end"}},
        GoldenCase{"surrogate.bin", {u"\U0001F600"}},
        GoldenCase{"odd_tail.bin", {u"a"}}),
    [](const testing::TestParamInfo<GoldenCase>& p) {
      std::string name = p.param.file;
      return name.substr(0, name.find('.'));
    });

TEST(TextFile, WrittenLinesReadBackUnchanged) {
  TempDir dir;
  const std::vector<std::u16string> lines = {u"[Setting]", u"\tKey=\u5B8B\u4F53", std::u16string(5000, u'z'),
                                             u"tail\r", u"\U0001F600"};
  {
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(dir / "r.txt", CStdioFileEx::kWriteFlags));
    for (const auto& l : lines) ASSERT_TRUE(file.WriteString(l + u"\n"));
  }
  EXPECT_EQ(ReadAllLines(dir / "r.txt"), lines);
}

// Why a file did not open decides whether it may be replaced by defaults.
TEST(TextFile, OpeningSaysWhyAFileCannotBeUsed) {
  struct Case {
    const char* name;
    bool exists, readOnly;
    int busyTimes;  // injected: the file is held for that many attempts (-1: throughout)
    unsigned flags;
    bool opens;
    FileStatus status;
  };
  const unsigned readWrite = CTextFile::modeReadWrite | CStdioFileEx::UnicodeMode;
  const Case cases[] = {
      {"missing", false, false, 0, CStdioFileEx::kReadFlags, false, FileStatus::kMissing},
      {"read-only file is read", true, true, 0, CStdioFileEx::kReadFlags, true, FileStatus::kOk},
      {"read-only file is not updated", true, true, 0, readWrite, false, FileStatus::kDenied},
      {"read-only file is not truncated", true, true, 0, CStdioFileEx::kWriteFlags, false, FileStatus::kDenied},
      {"held for a moment", true, false, 2, CStdioFileEx::kReadFlags, true, FileStatus::kOk},
      {"held throughout", true, false, -1, CStdioFileEx::kReadFlags, false, FileStatus::kBusy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto path = dir / "f.ini";
    if (c.exists) test::WriteUtf16File(path, "[Setting]\n");
    std::optional<test::ReadOnlyFile> readOnly;
    if (c.readOnly) readOnly.emplace(path);
    test::RecordedPauses pauses;
    if (c.busyTimes) InjectFileBusy(path, c.busyTimes);
    CStdioFileEx file;
    EXPECT_EQ(file.Open(path, c.flags), c.opens);
    EXPECT_EQ(file.OpenStatus(), c.status);
    std::u16string line;
    EXPECT_EQ(file.ReadString(line), c.opens);
    if (c.busyTimes < 0) {
      EXPECT_EQ(pauses.Total(), kReadBusyBudgetMs);
    }
    file.Close();
  }
}

// Where a file of the program should be, anything but a regular file of a
// sane size is refused at once: a pipe would hold the open until something
// writes to it, a device like /dev/zero would be read without end.
TEST(TextFile, OnlyRegularFilesOfASaneSizeAreOpened) {
  TempDir dir;
  std::filesystem::create_directories(dir / "folder");
  for (const auto& [name, size] : {std::pair{"largest", kMaxFileBytes}, std::pair{"huge", kMaxFileBytes + 1}}) {
    test::WriteBytes(dir / name, Bytes{0xFF, 0xFE});
    std::filesystem::resize_file(dir / name, size);  // sparse: no disk space taken
  }
  struct Case {
    const char* name;
    std::filesystem::path path;
    FileStatus status;
    FileRead read;
  };
  std::vector<Case> cases = {
      {"a folder", dir / "folder", FileStatus::kNotAFile, FileRead::kNotAFile},
      {"above the largest size", dir / "huge", FileStatus::kTooLarge, FileRead::kTooLarge},
      {"the largest size", dir / "largest", FileStatus::kOk, FileRead::kRead},
#ifdef _WIN32
      {"a device name", "\\\\.\\NUL", FileStatus::kNotAFile, FileRead::kNotAFile},
#else
      {"a pipe nobody writes to", dir / "pipe", FileStatus::kNotAFile, FileRead::kNotAFile},
      {"an endless device", "/dev/zero", FileStatus::kNotAFile, FileRead::kNotAFile},
#endif
  };
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (unsigned flags : {CStdioFileEx::kReadFlags, static_cast<unsigned>(CTextFile::modeReadWrite)}) {
      CStdioFileEx file;
      EXPECT_EQ(file.Open(c.path, flags), c.status == FileStatus::kOk);
      EXPECT_EQ(file.OpenStatus(), c.status);
    }
    CStdioFileEx file;
    FileRead read = FileRead::kRead;
    EXPECT_EQ(OpenForReading(file, c.path, read), c.read == FileRead::kRead);
    EXPECT_EQ(read, c.read);
  }
}

TEST(TextFile, TextModeSniffsTheByteOrderMark) {
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(TestData("textfile/two_lines.bin"), CTextFile::modeRead | CTextFile::typeText));
  EXPECT_TRUE(file.IsUnicode());
  std::u16string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, u"ab");
}

TEST(TextFile, NarrowTextModeWritesAndStripsCarriageReturnLineFeed) {
  TempDir dir;
  {
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(dir / "n.txt", CTextFile::modeCreate | CTextFile::modeWrite | CTextFile::typeText));
    EXPECT_FALSE(file.IsUnicode());
    file.WriteString(u"one\ntwo\n");
  }
  EXPECT_EQ(ReadBytes(dir / "n.txt"), (Bytes{'o', 'n', 'e', '\r', '\n', 't', 'w', 'o', '\r', '\n'}));
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(dir / "n.txt", CTextFile::modeRead | CTextFile::typeText));
  EXPECT_FALSE(file.IsUnicode());
  std::u16string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, u"one");
}

// A failure after the file was opened is returned to the caller, never thrown.
TEST(TextFile, WriteErrorIsReportedAndSticky) {
  TempDir dir;
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(dir / "w.txt", CStdioFileEx::kWriteFlags));
  InjectTextFileWriteFault(10);
  EXPECT_TRUE(file.WriteString(u"abc"));      // mark + 6 bytes fit the budget
  EXPECT_FALSE(file.WriteString(u"defgh"));   // crosses it
  EXPECT_TRUE(file.Failed());
  EXPECT_FALSE(file.WriteString(u"i"));
  EXPECT_FALSE(file.Close());
  InjectTextFileWriteFault(-1);
}

TEST(TextFile, ReadErrorEndsTheReadAsAFailure) {
  TempDir dir;
  CStdioFileEx file;
  std::filesystem::copy_file(TestData("textfile/long_line.bin"), dir / "l.bin");
  ASSERT_TRUE(file.Open(dir / "l.bin", CStdioFileEx::kReadFlags));
  InjectTextFileReadFault(0);
  std::u16string line;
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_TRUE(file.Failed());
  EXPECT_TRUE(line.empty());
  InjectTextFileReadFault(-1);
}

TEST(AtomicSave, ReplacesTheTargetWithTheNewContent) {
  TempDir dir;
  auto target = dir / "config.ini";
  for (std::u16string word : {u"first", u"second"}) {
    ASSERT_TRUE(SaveTextFileAtomically(target, [&](CStdioFileEx& f) { return f.WriteString(word + u"\n"); }));
    EXPECT_EQ(ReadAllLines(target), std::vector<std::u16string>{word});
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

// The target, what else is in its folder, and whether the save went through.
TEST(AtomicSave, TemporaryNamesHeldTargetsAndReadOnlyTargets) {
  struct Case {
    const char* name;
    std::string file;  // the target's name
    int busyTimes;     // injected: the target is held for that many replace attempts (-1: throughout)
    bool readOnly;
    bool saved;
    std::vector<int> pauses;  // between the attempts
  };
  const std::vector<int> twoSeconds{10, 20, 40, 80, 160, 320, 640, 730};
  const Case cases[] = {
      // A user's own file of the name the save used to write first survives.
      {"a user's .tmp file", "p.psf", 0, false, true, {}},
      // A name of 255 characters, the most a folder takes: no room for a suffix.
      {"the longest name", std::string(251, 'n') + ".psf", 0, false, true, {}},
      {"held for three attempts", "p.psf", 3, false, true, {10, 20, 40}},
      {"held throughout", "p.psf", -1, false, false, twoSeconds},
      {"read-only", "p.psf", 0, true, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto target = dir / c.file;
    ASSERT_TRUE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"old\n"); }));
    const auto userFile = dir / "p.psf.tmp";
    test::WriteBytes(userFile, Bytes{'m', 'i', 'n', 'e'});
    std::optional<test::ReadOnlyFile> readOnly;
    if (c.readOnly) readOnly.emplace(target);
    test::RecordedPauses pauses;
    if (c.busyTimes) InjectFileBusy(target, c.busyTimes);

    EXPECT_EQ(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"new\n"); }), c.saved);
    EXPECT_EQ(pauses.Pauses(), c.pauses);
    ClearInjectedFileBusy();
    EXPECT_EQ(ReadAllLines(target), std::vector<std::u16string>{c.saved ? u"new" : u"old"});
    EXPECT_TRUE(std::filesystem::exists(userFile) && ReadBytes(userFile) == Bytes({'m', 'i', 'n', 'e'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "a temporary file is left";
  }
}

#ifdef _WIN32
HANDLE g_holder = INVALID_HANDLE_VALUE;

// A real holder: another program's handle of the file.
TEST(AtomicSave, AFileHeldByAnotherProgramIsWaitedForAndNeverReplacedWhileHeld) {
  TempDir dir;
  const auto target = dir / "config.ini";
  ASSERT_TRUE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"old\n"); }));
  {
    // Without any sharing: neither read nor replaced, after waiting for it.
    test::RecordedPauses pauses;
    HANDLE holder = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    CStdioFileEx reader;
    EXPECT_FALSE(reader.Open(target, CStdioFileEx::kReadFlags));
    EXPECT_EQ(reader.OpenStatus(), FileStatus::kBusy);
    EXPECT_FALSE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"new\n"); }));
    CloseHandle(holder);
    EXPECT_EQ(pauses.Total(), kReadBusyBudgetMs + kReplaceBusyBudgetMs);
    EXPECT_EQ(ReadAllLines(target), std::vector<std::u16string>{u"old"});
  }
  // A backup tool that shares everything: it does not keep us from reading,
  // and the replacement goes through once it lets go (here at the third pause).
  g_holder = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(g_holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAllLines(target), std::vector<std::u16string>{u"old"});
  static int pauses = 0;
  SetFileRetryPause([](int) {
    if (++pauses == 3) CloseHandle(std::exchange(g_holder, INVALID_HANDLE_VALUE));
  });
  EXPECT_TRUE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"new\n"); }));
  SetFileRetryPause(nullptr);
  if (g_holder != INVALID_HANDLE_VALUE) CloseHandle(g_holder);
  EXPECT_LE(pauses, 3);
  EXPECT_EQ(ReadAllLines(target), std::vector<std::u16string>{u"new"});
}
#endif

TEST(AtomicSave, AFailureAtAnyStepLeavesTheOldFileIntact) {
  TempDir dir;
  auto target = dir / "p.psf";
  ASSERT_TRUE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"old\n"); }));
  const Bytes old = ReadBytes(target);

  // The writer gives up half-way (a crash between lines looks the same on disk).
  EXPECT_FALSE(SaveTextFileAtomically(target, [](CStdioFileEx& f) {
    f.WriteString(u"new line 1\n");
    return false;
  }));
  EXPECT_EQ(ReadBytes(target), old);

  // The disk fills up in the middle of a line.
  InjectTextFileWriteFault(8);
  EXPECT_FALSE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"a much longer line\n"); }));
  InjectTextFileWriteFault(-1);
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left

  // The folder is gone: nothing can be created.
  EXPECT_FALSE(SaveTextFileAtomically(dir / "nowhere" / "x.psf", [](CStdioFileEx& f) { return f.WriteString(u"x\n"); }));
}

TEST(AtomicSave, ATargetThatCannotBeReplacedKeepsItsContent) {
  TempDir dir;
  auto target = dir / "held";
  std::filesystem::create_directories(target / "child");  // a directory cannot be replaced by a file
  EXPECT_FALSE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"x\n"); }));
  EXPECT_TRUE(std::filesystem::is_directory(target / "child"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

#ifndef _WIN32
// A data folder kept in a synced or dotfiles folder through links: a save
// replaces the file a link leads to (atomically, its temporary file beside
// that file) and the link stays.
TEST(AtomicSave, ALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // in "config": name, what it leads to
    bool fileThere;  // store/p.psf exists before the save
    bool saved;
  };
  const Case cases[] = {
      {"a link to a file elsewhere", {{"p.psf", "../store/p.psf"}}, true, true},
      {"a chain of links", {{"p.psf", "q.psf"}, {"q.psf", "../store/p.psf"}}, true, true},
      {"a link to a file not made yet", {{"p.psf", "../store/p.psf"}}, false, true},
      {"a link to a folder", {{"p.psf", "../store"}}, true, false},
      {"a loop of links", {{"p.psf", "q.psf"}, {"q.psf", "p.psf"}}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::filesystem::create_directories(dir / "config");
    std::filesystem::create_directories(dir / "store");
    if (c.fileThere) test::WriteUtf16File(dir / "store/p.psf", "old\n");
    for (const auto& [name, to] : c.links) std::filesystem::create_symlink(to, dir / "config" / name);
    const auto link = dir / "config/p.psf";
    EXPECT_EQ(SaveTextFileAtomically(link, [](CStdioFileEx& f) { return f.WriteString(u"new\n"); }), c.saved);
    for (const auto& [name, to] : c.links) {
      EXPECT_TRUE(std::filesystem::is_symlink(dir / "config" / name));
      EXPECT_EQ(std::filesystem::read_symlink(dir / "config" / name), to);
    }
    if (c.saved || c.fileThere) {
      EXPECT_EQ(ReadAllLines(dir / "store/p.psf"), std::vector<std::u16string>{c.saved ? u"new" : u"old"});
    }
    // No temporary file left anywhere.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "config"), {}),
              static_cast<std::ptrdiff_t>(c.links.size()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "store"), {}),
              c.fileThere || c.saved ? 1 : 0);
  }
}
#endif

TEST(TextFormat, PrintfFormatsOfTheFileFormats) {
  EXPECT_EQ(Dec(-12), u"-12");
  EXPECT_EQ(Udec(4294967295u), u"4294967295");
  EXPECT_EQ(Hex2(0x7), u"07");
  EXPECT_EQ(Hex2(0x1AB), u"1AB");
  EXPECT_EQ(Hex4(0x3F), u"003F");
  EXPECT_EQ(HexSpacePadded4(0xCCEE), u"0xCCEE");
  EXPECT_EQ(HexSpacePadded4(0x0ABC), u"0x ABC");
}

TEST(TextFormat, NumberReadingFollowsTheCLibrary) {
  EXPECT_EQ(ParseDecimal(u"12ab"), 12);
  EXPECT_EQ(ParseDecimal(u"  -7"), -7);
  EXPECT_EQ(ParseDecimal(u"x1"), 0);
  EXPECT_EQ(ParseDecimal(u""), 0);
  EXPECT_EQ(ParseDecimal(u"99999999999"), 2147483647);
  EXPECT_EQ(ParseHex(u"0x3311"), 0x3311u);
  EXPECT_EQ(ParseHex(u"CCEE"), 0xCCEEu);
  EXPECT_EQ(ParseHex(u"0x"), 0u);
  EXPECT_EQ(ParseHex(u"zz"), 0u);
  EXPECT_EQ(ParseHexField(u"0007", 0, 4), 7u);
  EXPECT_EQ(ParseHexField(u"7", 0, 4), 7u);
  EXPECT_EQ(ParseHexField(u"FA46FF", 2, 2), 0x46u);
  EXPECT_EQ(ParseHexField(u"AB", 5, 2), 0u);
}

// "0x%4X" pads a value below 0x1000 with spaces; reading it back must not give 0.
TEST(TextFormat, SpacePaddedHexReadsBackWhatWasWritten) {
  struct Case {
    std::u16string text;
    std::uint32_t value;
  };
  for (const Case& c : {Case{HexSpacePadded4(0x0ABC), 0x0ABC}, Case{HexSpacePadded4(0x7), 0x7},
                        Case{u"0xCCEE", 0xCCEE}, Case{u" 0X 1f", 0x1F}, Case{u"12", 0x12}, Case{u"0x  ", 0}}) {
    EXPECT_EQ(ParseSpacePaddedHex(c.text), c.value) << ToUtf8(c.text);
  }
}

TEST(TextFormat, StoredWindowsPathsMapToThisPlatform) {
#ifdef _WIN32
  EXPECT_EQ(PathFromStored(u"C:\\Data\\config\\default0.psf").wstring(), L"C:\\Data\\config\\default0.psf");
#else
  EXPECT_EQ(PathFromStored(u"/home/u/data/config\\default0.psf").string(), "/home/u/data/config/default0.psf");
#endif
  EXPECT_EQ(PathFromStored(PathToStored(std::filesystem::path("a") / "b")), std::filesystem::path("a") / "b");
}

TEST(TextFormat, Utf8RoundTripIncludingSurrogatesAndBadBytes) {
  EXPECT_EQ(FromUtf8("\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"\u4E2D\U0001F600");
  EXPECT_EQ(ToUtf8(u"\u4E2D\U0001F600"), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(FromUtf8("\xFF" "a"), u"\uFFFDa");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zeltra
