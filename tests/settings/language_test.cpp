#include <gtest/gtest.h>

#include "settings/language.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using test::TempDir;
using test::WriteUtf16File;

constexpr const char* kEnglish = "[Setting]\n0=English\n1=Show\n2=Exit\n";
constexpr const char* kChinese = "[Setting]\n0=中文\n1=显示\n";

struct SelectorCase {
  const char* name;
  const char* selector;  // nullptr: no selector file
  const char* expectedZero;
};

class LanguageSelector : public testing::TestWithParam<SelectorCase> {};

TEST_P(LanguageSelector, ChoosesTheLanguageFile) {
  TempDir dir;
  WriteUtf16File(dir / "Lan_EN.txt", kEnglish);
  WriteUtf16File(dir / "Lan.txt", kChinese);
  if (GetParam().selector) WriteUtf16File(dir / "LanSetting.ini", GetParam().selector);
  LanguageTable table;
  EXPECT_EQ(LoadLanguage(dir.path(), 1.0f, table), 1);
  EXPECT_EQ(table.String(0), FromUtf8(GetParam().expectedZero));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, LanguageSelector,
    testing::Values(SelectorCase{"SectionAndEN", "[ChangeLanguage]\nAnyKey=EN\n", "English"},
                    SelectorCase{"LowerCaseEn", "[ChangeLanguage]\nLanguage=en\n", "中文"},
                    SelectorCase{"OnlyEN", "EN\n", "English"},
                    SelectorCase{"SecondLineWithoutEquals", "[ChangeLanguage]\nEN\n", "English"},
                    SelectorCase{"EqualsLast", "[ChangeLanguage]\nEN=\n", "中文"},
                    SelectorCase{"Missing", nullptr, "中文"}),
    [](const testing::TestParamInfo<SelectorCase>& p) { return std::string(p.param.name); });

TEST(LanguageLoad, EnglishFontScalesWithTheUiFactor) {
  for (auto [scale, height] : {std::pair{1.0f, 16}, {1.5f, 24}, {2.0f, 32}}) {
    TempDir dir;
    WriteUtf16File(dir / "LanSetting.ini", "[ChangeLanguage]\nLanguage=EN\n");
    WriteUtf16File(dir / "Lan_EN.txt", kEnglish);
    LanguageTable table;
    ASSERT_EQ(LoadLanguage(dir.path(), scale, table), 1);
    EXPECT_EQ(table.font.face, u"Tahoma");
    EXPECT_EQ(table.font.height, height);
    EXPECT_EQ(table.font.charset, 1);
  }
}

TEST(LanguageLoad, ChineseFontScalesWithTheUiFactor) {
  for (auto [scale, height] : {std::pair{1.0f, 12}, {1.5f, 18}, {2.0f, 24}}) {
    TempDir dir;
    WriteUtf16File(dir / "Lan.txt", kChinese);
    LanguageTable table;
    ASSERT_EQ(LoadLanguage(dir.path(), scale, table), 1);
    EXPECT_EQ(table.font.face, u"宋体");
    EXPECT_EQ(table.font.height, height);
    EXPECT_EQ(table.font.charset, 134);
  }
}

TEST(LanguageLoad, LineRules) {
  struct Case {
    const char* name;
    const char* file;
    int result;
    std::vector<std::pair<int, const char16_t*>> expected;
  };
  const Case cases[] = {
      {"later index wins", "[Setting]\n5=first\n5=second\n", 1, {{5, u"second"}}},
      {"text may hold '='", "[Setting]\n7=a=b\n", 1, {{7, u"a=b"}}},
      {"no text stops the load", "[Setting]\n3=kept\n4=\n5=lost\n", 0, {{3, u"kept"}, {4, u""}, {5, u""}}},
      {"malformed line in the middle", "[Setting]\n3=kept\nno equals\n5=lost\n", 0, {{3, u"kept"}, {5, u""}}},
      {"empty line stops", "[Setting]\n3=kept\n\n5=lost\n", 0, {{3, u"kept"}, {5, u""}}},
      {"index that is no number is 0", "[Setting]\nabc=zero\n", 1, {{0, u"zero"}}},
      {"indexes outside the table are ignored", "[Setting]\n500=x\n-1=y\n99999999999=z\n499=last\n", 1,
       {{499, u"last"}, {0, u""}}},
      {"CRLF fails at the first line", "[Setting]\r\n1=a\r\n", 0, {{1, u""}}},
      {"wrong first line", "[Settings]\n1=a\n", 0, {{1, u""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteUtf16File(dir / "Lan.txt", c.file);
    LanguageTable table;
    EXPECT_EQ(LoadLanguage(dir.path(), 1.0f, table), c.result);
    for (auto [index, text] : c.expected) EXPECT_EQ(table.String(index), text) << index;
    if (c.result == 0) {
      // A failed load keeps the initial font.
      EXPECT_EQ(table.font.face, u"宋体");
      EXPECT_EQ(table.font.height, 12);
    }
  }
}

TEST(LanguageLoad, MissingLanguageFileKeepsEverythingEmpty) {
  TempDir dir;
  LanguageTable table;
  EXPECT_EQ(LoadLanguage(dir.path(), 1.5f, table), 0);
  EXPECT_EQ(table.String(0), u"");
  EXPECT_EQ(table.font.charset, 134);
  EXPECT_EQ(table.String(-1), u"");
  EXPECT_EQ(table.String(500), u"");
}

TEST(DefaultLanguageFiles, CopiedOnlyWhenMissing) {
  TempDir shipped, config;
  WriteUtf16File(shipped / "Lan_EN.txt", kEnglish);
  WriteUtf16File(shipped / "Lan.txt", kChinese);
  WriteUtf16File(shipped / "LanSetting.ini", "[ChangeLanguage]\nLanguage=EN\n");
  WriteUtf16File(config / "Lan.txt", "[Setting]\n0=user's own\n");

  EXPECT_EQ(InstallDefaultLanguageFiles(shipped.path(), config.path()), 2);
  EXPECT_EQ(test::ReadBytes(config / "Lan.txt"), test::Utf16("[Setting]\n0=user's own\n"));
  EXPECT_EQ(test::ReadBytes(config / "Lan_EN.txt"), test::Utf16(kEnglish));
  EXPECT_EQ(InstallDefaultLanguageFiles(shipped.path(), config.path()), 0);

  LanguageTable table;
  EXPECT_EQ(LoadLanguage(config.path(), 1.0f, table), 1);
  EXPECT_EQ(table.String(2), u"Exit");
}

}  // namespace
}  // namespace zeltra
