// Shared set-up of the settings tests: a scratch data folder reached through a
// relative path (so stored profile paths read the same natively and under
// Wine), known texts for the language strings the defaults use, and line
// helpers for hand-made files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/damaged_files.h"
#include "settings/file_system.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra::test {

inline void SetDefaultTexts(LanguageTable& language) {
  language.Set(20, u"Left");
  language.Set(21, u"Right");
  language.Set(22, u"Middle");
  language.Set(23, u"Forward");
  language.Set(24, u"Back");
  language.Set(42, u"DPI Loop");
  language.Set(85, u"\u914D\u7F6E1");
  language.Set(86, u"\u914D\u7F6E2");
  language.Set(87, u"\u914D\u7F6E3");
  language.Set(88, u"Profil \u00C44");
  language.Set(89, u"Profil \U0001F6005");
  language.Set(100, u"Wellen");
}

// Lines of a UTF-16 file (mark skipped), split at line feeds, as UTF-8.
inline std::vector<std::string> FileLines(const std::filesystem::path& file) {
  Bytes bytes = ReadBytes(file);
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t lf; (lf = text.find(u'\n', start)) != std::u16string::npos; start = lf + 1)
    lines.push_back(ToUtf8(text.substr(start, lf - start)));
  if (start < text.size()) lines.push_back(ToUtf8(text.substr(start)));
  return lines;
}

inline void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                       const std::string& eol = "\n", bool withMark = true) {
  std::string text;
  for (const auto& line : lines) text += line + eol;
  WriteUtf16File(file, text, withMark);
}

// Marks a file read-only (no write permission; the read-only attribute on
// Windows) for the life of the object.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::filesystem::path file) : file_(std::move(file)) { Set(true); }
  ~ReadOnlyFile() { Set(false); }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

 private:
  void Set(bool readOnly) {
    using std::filesystem::perms;
    std::filesystem::permissions(file_, perms::owner_write | perms::group_write | perms::others_write,
                                 readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
  }
  std::filesystem::path file_;
};

// Records the pauses between attempts on a held file instead of sleeping,
// and forgets every injected held file at the end.
class RecordedPauses {
 public:
  RecordedPauses() {
    Pauses().clear();
    SetFileRetryPause([](int ms) { Pauses().push_back(ms); });
  }
  ~RecordedPauses() {
    SetFileRetryPause(nullptr);
    ClearInjectedFileBusy();
  }
  RecordedPauses(const RecordedPauses&) = delete;
  RecordedPauses& operator=(const RecordedPauses&) = delete;

  static std::vector<int>& Pauses() {
    static std::vector<int> pauses;
    return pauses;
  }
  static int Total() {
    int total = 0;
    for (int ms : Pauses()) total += ms;
    return total;
  }
};

class DataFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    std::filesystem::create_directories(ConfigDir());
    SetDefaultTexts(language_);
    ForgetDamagedFiles();
  }
  void TearDown() override {
    ForgetDamagedFiles();
    std::filesystem::current_path(previous_);
  }

  static std::filesystem::path DataFolder() { return "ZeltraData"; }
  static std::filesystem::path ConfigDir() { return DataFolder() / "config"; }
  static std::filesystem::path ConfigFile() { return ConfigDir() / "config.ini"; }
  static std::filesystem::path WorkingFile(int i) { return ConfigDir() / ("default" + std::to_string(i) + ".psf"); }

  TempDir dir_;
  LanguageTable language_;
  std::filesystem::path previous_;
};

}  // namespace zeltra::test
