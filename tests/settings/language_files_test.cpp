// The language files the program ships, in the UTF-16 form the build makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "settings/damaged_files.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "settings/text_file.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using test::TempDir;

const std::filesystem::path kShipped = ZELTRA_LANG_DIST_DIR;

std::vector<int> Range(int first, int last) {
  std::vector<int> out;
  for (int i = first; i <= last; ++i) out.push_back(i);
  return out;
}

// Every language string the program reads, and no other.
const std::set<int>& IndexesRead() {
  static const std::set<int> indexes = [] {
    std::vector<std::vector<int>> groups = {
        {0},                       // language name (chooses the font)
        {1, 2},                    // tray menu; 1 is also the profile picker
        {3, 4, 5, 7, 8},           // version label, OK, Cancel, factory reset, macro manager
        {9, 10, 15, 265},          // headers of the left-hand groups; 10 heads the profile list
        {11, 12, 13, 14, 19, 272}, // section headers
        {16, 17, 18},              // battery legend
        Range(20, 34),             // main assignment menu (20..24 are also default names)
        {36},                      // DPI-lock entry and name prefix
        {40, 41, 42},              // DPI submenu
        Range(45, 54),             // multimedia submenu
        Range(60, 68),             // office submenu
        Range(75, 80),             // Windows submenu
        Range(85, 89),             // default profile names
        Range(90, 93),             // profile context menu
        {100, 101, 102, 103, 105, 106, 108, 109, 110, 111},  // lighting mode names
        Range(120, 123),           // lighting labels
        Range(140, 147),           // reset question, profile dialogs, progress
        Range(150, 157),           // attention title, main-window warnings, copies of damaged files
        Range(170, 176),           // fire-key dialog
        {180},                     // key-combination dialog
        Range(190, 206),           // macro prefix, macro manager and chooser
        {220, 221},                // delay and key dialogs
        Range(232, 239),           // macro manager messages and name dialogs
        {241, 242, 243},           // name messages, folder name dialog
        Range(245, 257),           // context menu, file dialog titles, in-use message
        Range(260, 264),           // mouse properties, report-rate texts
        {266, 267, 268, 270, 271, 274},  // power saving, lift-off
        {280, 281},                // titles of the DPI value and colour palette dialogs
        Range(300, 306),           // the linked programs: popup entry, dialog, file dialog
        Range(320, 324),           // tray menu and tip, low battery, startup shortcut, unreadable library
    };
    std::set<int> all;
    for (const auto& group : groups) all.insert(group.begin(), group.end());
    return all;
  }();
  return indexes;
}

struct Shipped {
  const char* file;
  const char* selector;  // the code that picks it
  bool chinese;
};

void PrintTo(const Shipped& shipped, std::ostream* os) { *os << shipped.file; }

class ShippedLanguage : public testing::TestWithParam<Shipped> {
 protected:
  // Installs the shipped files into a fresh config folder, as start-up does,
  // selects this language and loads it.
  void Load(float scale = 1.0f) {
    ASSERT_EQ(InstallDefaultLanguageFiles(kShipped, config_.path()), 3) << kShipped;
    test::WriteUtf16File(config_ / "LanSetting.ini", std::string("[ChangeLanguage]\nLanguage=") + GetParam().selector + "\n");
    ASSERT_EQ(LoadLanguage(config_.path(), scale, table_), 1);
  }

  TempDir config_;
  LanguageTable table_;
};

TEST_P(ShippedLanguage, LoadsWithItsFont) {
  ASSERT_NO_FATAL_FAILURE(Load(1.5f));
  if (GetParam().chinese) {
    EXPECT_EQ(table_.String(0), u"中文");
    EXPECT_EQ(table_.font.face, u"宋体");
    EXPECT_EQ(table_.font.height, 18);
    EXPECT_EQ(table_.font.charset, 134);
  } else {
    EXPECT_EQ(table_.String(0), u"English");
    EXPECT_EQ(table_.font.face, u"Tahoma");
    EXPECT_EQ(table_.font.height, 24);
    EXPECT_EQ(table_.font.charset, 1);
  }
}

TEST_P(ShippedLanguage, DefinesExactlyTheStringsTheProgramReads) {
  ASSERT_NO_FATAL_FAILURE(Load());
  std::vector<int> missing, stray;
  for (int i = 0; i < kLanguageStringCount; ++i) {
    const bool read = IndexesRead().count(i) != 0;
    if (read && !table_.Given(i)) missing.push_back(i);
    if (!read && table_.Given(i)) stray.push_back(i);
  }
  EXPECT_EQ(missing, std::vector<int>{});
  EXPECT_EQ(stray, std::vector<int>{});
}

TEST_P(ShippedLanguage, LinesAreInIndexOrderWithoutRepeats) {
  // A repeated index would silently replace the earlier text.
  CStdioFileEx file;
  ASSERT_TRUE(file.Open(kShipped / GetParam().file, CStdioFileEx::kReadFlags));
  std::u16string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, u"[Setting]");
  int previous = -1;
  while (file.ReadString(line)) {
    const auto eq = line.find(u'=');
    ASSERT_NE(eq, std::u16string::npos) << ToUtf8(line);
    const std::u16string index = line.substr(0, eq);
    ASSERT_FALSE(index.empty());
    EXPECT_TRUE(std::all_of(index.begin(), index.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        << ToUtf8(line);
    EXPECT_TRUE(index == u"0" || index[0] != u'0') << ToUtf8(line);
    const int n = ParseDecimal(index);
    EXPECT_GT(n, previous) << ToUtf8(line);
    previous = n;
  }
  EXPECT_FALSE(file.Failed());
  const auto bytes = test::ReadBytes(kShipped / GetParam().file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
}

TEST_P(ShippedLanguage, TextsAreTidy) {
  ASSERT_NO_FATAL_FAILURE(Load());
  auto untidy = [](const std::u16string& s) {
    const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; };
    return s.empty() || isSpace(s.front()) || isSpace(s.back()) || s.find(u"  ") != std::u16string::npos ||
           s.find_first_of(u"\r\n\t") != std::u16string::npos;
  };
  for (int i : IndexesRead()) {
    if (i == 266 || i == 267) continue;  // joined around the sleep time below
    EXPECT_FALSE(untidy(table_.String(i))) << i << ": [" << ToUtf8(table_.String(i)) << "]";
  }
  const std::u16string sleep = table_.String(266) + u"5" + table_.String(267);
  EXPECT_FALSE(untidy(sleep)) << ToUtf8(sleep);
  // Separators the program adds itself must not be doubled.
  for (int i : {3, 26, 36}) ASSERT_FALSE(table_.String(i).empty()) << i;
  EXPECT_NE(table_.String(36).back(), u'-');
  EXPECT_NE(table_.String(3).back(), u':');
  std::u16string fireKey = table_.String(26);
  if (fireKey.back() == u'+') fireKey.pop_back();
  EXPECT_FALSE(untidy(fireKey));
}

TEST_P(ShippedLanguage, ButtonNamesFitTheComboButtons) {
  // Names shown on the assignment combos (about 150 px): at most 18 Tahoma
  // characters, or 12 Song characters in the Chinese font.
  ASSERT_NO_FATAL_FAILURE(Load());
  std::vector<int> names = {20, 21, 22, 23, 24, 26, 27, 33, 34, 40, 41, 42};
  for (int group : {45, 60, 75}) {
    for (int i = group; i <= group + 9; ++i)
      if (IndexesRead().count(i)) names.push_back(i);
  }
  const std::size_t limit = GetParam().chinese ? 12 : 18;
  for (int i : names) EXPECT_LE(table_.String(i).size(), limit) << i << ": " << ToUtf8(table_.String(i));
  EXPECT_LE((table_.String(36) + u"-1200").size(), limit);
  EXPECT_LE(table_.String(190).size(), 6u) << "leaves room for the macro's name";
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage,
                         testing::Values(Shipped{"Lan_EN.txt", "EN", false}, Shipped{"Lan.txt", "CN", true}),
                         [](const testing::TestParamInfo<Shipped>& p) {
                           return std::string(p.param.chinese ? "Chinese" : "English");
                         });

// Language files of an older installation stay as they were (they are
// copied only when missing): texts added later fall back to English.
TEST(ShippedLanguage, BuiltInTextsAreTheShippedEnglishOnes) {
  TempDir config;
  ASSERT_EQ(InstallDefaultLanguageFiles(kShipped, config.path()), 3);
  LanguageTable english;
  ASSERT_EQ(LoadLanguage(config.path(), 1.0f, english), 1);
  const LanguageTable none;
  EXPECT_EQ(KeptCopyNotice(none), english.String(kStringKeptCopy));
  int builtIn = 0;
  for (int i = 0; i < kLanguageStringCount; ++i) {
    if (BuiltInText(i).empty()) continue;
    ++builtIn;
    EXPECT_TRUE(IndexesRead().count(i)) << i;
    EXPECT_EQ(none.String(i), english.String(i)) << i;
    // A file that has the text wins over the built-in one.
    LanguageTable own;
    own.Set(i, u"own");
    EXPECT_EQ(own.String(i), u"own");
  }
  EXPECT_EQ(builtIn, 5);
  for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(DefaultProfileName(i, none), english.String(85 + i));
}

TEST(ShippedLanguage, SelectorChoosesEnglish) {
  TempDir config;
  ASSERT_EQ(InstallDefaultLanguageFiles(kShipped, config.path()), 3);
  LanguageTable table;
  ASSERT_EQ(LoadLanguage(config.path(), 1.0f, table), 1);
  EXPECT_EQ(table.String(0), u"English");
}

}  // namespace
}  // namespace zeltra
