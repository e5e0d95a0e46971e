// Language files: any bytes load without harm, and a loaded table written
// back as a language file reloads to the same table.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "settings/language.h"
#include "settings/text_file.h"
#include "settings/text_format.h"

namespace {

namespace fs = std::filesystem;

// One scratch folder per process, with a folder for the input and one for
// the written-back file.
class Scratch {
 public:
  Scratch() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (unsigned n = 0;; ++n) {
      root_ = fs::temp_directory_path() / ("zeltra-language-fuzz-" + std::to_string(stamp) + "-" + std::to_string(n));
      std::error_code ec;
      if (fs::create_directories(root_, ec)) break;
      if (ec && n > 100) std::abort();
    }
    fs::create_directories(root_ / "in");
    fs::create_directories(root_ / "out");
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path in() const { return root_ / "in"; }
  fs::path out() const { return root_ / "out"; }

 private:
  fs::path root_;
};

bool WriteBack(const zeltra::LanguageTable& table, const fs::path& file) {
  zeltra::CStdioFileEx out;
  if (!out.Open(file, zeltra::CStdioFileEx::kWriteFlags)) return false;
  bool ok = out.WriteString(u"[Setting]\n");
  for (int i = 0; i < zeltra::kLanguageStringCount && ok; ++i) {
    const auto& text = table.String(i);
    if (!text.empty()) ok = out.WriteString(zeltra::Dec(i) + u"=" + text + u"\n");
  }
  return out.Close() && ok;
}

void Fail(const char* what, int index) {
  std::fprintf(stderr, "language round trip: %s (index %d)\n", what, index);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Scratch scratch;
  {
    std::ofstream file(scratch.in() / "Lan.txt", std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file) return 0;
  }
  // No selector file: the loader reads Lan.txt.
  zeltra::LanguageTable first;
  const int firstResult = zeltra::LoadLanguage(scratch.in(), 1.5f, first);

  if (!WriteBack(first, scratch.out() / "Lan.txt")) return 0;  // disk trouble, not a finding
  zeltra::LanguageTable second;
  if (zeltra::LoadLanguage(scratch.out(), 1.5f, second) != 1) Fail("written file does not load", -1);

  for (int i = 0; i < zeltra::kLanguageStringCount; ++i) {
    if (first.String(i) != second.String(i)) Fail("text differs", i);
  }
  // A failed first load keeps the initial font; a complete one must agree.
  if (firstResult == 1) {
    if (first.font.face != second.font.face || first.font.height != second.font.height ||
        first.font.charset != second.font.charset) {
      Fail("font differs", 0);
    }
  }
  return 0;
}
