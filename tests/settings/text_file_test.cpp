#include <gtest/gtest.h>

#include "settings/text_file.h"
#include "settings/text_format.h"
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

TEST(TextFile, MissingFileDoesNotOpenAndReadOnlyAccessIsNotUsedForReading) {
  TempDir dir;
  CStdioFileEx file;
  EXPECT_FALSE(file.Open(dir / "missing.txt", CStdioFileEx::kReadFlags));
  std::u16string line;
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_FALSE(file.WriteString(u"x"));
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
  EXPECT_FALSE(std::filesystem::exists(dir / "config.ini.tmp"));
}

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
  EXPECT_FALSE(std::filesystem::exists(dir / "p.psf.tmp"));

  // The folder is gone: nothing can be created.
  EXPECT_FALSE(SaveTextFileAtomically(dir / "nowhere" / "x.psf", [](CStdioFileEx& f) { return f.WriteString(u"x\n"); }));
}

TEST(AtomicSave, ATargetThatCannotBeReplacedKeepsItsContent) {
  TempDir dir;
  auto target = dir / "held";
  std::filesystem::create_directories(target / "child");  // a directory cannot be replaced by a file
  EXPECT_FALSE(SaveTextFileAtomically(target, [](CStdioFileEx& f) { return f.WriteString(u"x\n"); }));
  EXPECT_TRUE(std::filesystem::is_directory(target / "child"));
  EXPECT_FALSE(std::filesystem::exists(dir / "held.tmp"));
}

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
