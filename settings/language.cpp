#include "settings/language.h"

#include <cstdio>
#include <system_error>

#include "settings/file_system.h"
#include "settings/text_file.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

const std::u16string kEmpty;

struct LaterText {
  int index;
  const char16_t* english;
};
constexpr LaterText kLaterTexts[] = {
    {kStringStartWithWindows, u"Start with Windows"},
    {kStringCharging, u"charging"},
    {kStringBatteryLow, u"The mouse's battery is low. Please charge it soon."},
    // The attention box shows one line: these stay short.
    {kStringShortcutFailed, u"The Startup shortcut could not be changed."},
    {kStringLibraryUnavailable, u"The macro library file cannot be read."},
};

std::u16string ReadLanguageCode(const std::filesystem::path& selector) {
  CStdioFileEx file;
  if (!file.Open(selector, CStdioFileEx::kReadFlags)) return {};
  std::u16string first;
  if (!file.ReadString(first)) return {};
  if (first != u"[ChangeLanguage]") return first;
  std::u16string second;
  file.ReadString(second);
  std::size_t eq = second.find(u'=');
  if (eq != std::u16string::npos && eq != 0 && eq + 1 != second.size()) return second.substr(eq + 1);
  return second;
}

}  // namespace

const std::u16string& BuiltInText(int index) {
  static const auto texts = [] {
    std::array<std::u16string, kLanguageStringCount> all;
    for (const LaterText& text : kLaterTexts) all[static_cast<std::size_t>(text.index)] = text.english;
    return all;
  }();
  if (index < 0 || index >= kLanguageStringCount) return kEmpty;
  return texts[static_cast<std::size_t>(index)];
}

const std::u16string& LanguageTable::String(int index) const {
  if (index < 0 || index >= kLanguageStringCount) return kEmpty;
  const std::u16string& text = strings_[static_cast<std::size_t>(index)];
  return text.empty() ? BuiltInText(index) : text;
}

bool LanguageTable::Given(int index) const {
  return index >= 0 && index < kLanguageStringCount && !strings_[static_cast<std::size_t>(index)].empty();
}

void LanguageTable::Set(int index, std::u16string text) {
  if (index < 0 || index >= kLanguageStringCount) return;
  strings_[static_cast<std::size_t>(index)] = std::move(text);
}

void LanguageTable::Clear() {
  for (auto& s : strings_) s.clear();
  font = UiFont{};
}

LanguageTable& Language() {
  static LanguageTable table;
  return table;
}

const std::u16string& LanguageString(int index) { return Language().String(index); }

std::u16string LanguageStringOr(int index, std::u16string_view fallback, const LanguageTable& table) {
  const std::u16string& text = table.String(index);
  return text.empty() ? std::u16string(fallback) : text;
}

int LoadLanguage(const std::filesystem::path& configDir, float uiScale, LanguageTable& table) {
  const std::u16string code = ReadLanguageCode(configDir / "LanSetting.ini");
  const char* name = code == u"EN" ? "Lan_EN.txt" : "Lan.txt";

  CStdioFileEx file;
  if (!file.Open(configDir / name, CStdioFileEx::kReadFlags)) return 0;
  std::u16string line;
  if (!file.ReadString(line) || line != u"[Setting]") return 0;
  while (file.ReadString(line)) {
    std::size_t eq = line.find(u'=');
    if (eq == std::u16string::npos || eq == 0 || eq + 1 == line.size()) return 0;
    table.Set(ParseDecimal(std::u16string_view(line).substr(0, eq)), line.substr(eq + 1));
  }
  if (file.Failed()) return 0;

  if (table.String(0) == u"\u4E2D\u6587") {  // 中文
    table.font = UiFont{u"\u5B8B\u4F53", static_cast<int>(12 * uiScale), 134};
  } else {
    table.font = UiFont{u"Tahoma", static_cast<int>(16 * uiScale), 1};
  }
  return 1;
}

namespace {

// Copies through a temporary file of its own name, so that a half-copied file
// never looks complete and no file of the user's is touched.
bool CopyThroughTemporaryFile(const std::filesystem::path& source, const std::filesystem::path& target) {
  FileStatus status = FileStatus::kOk;
  std::FILE* in = OpenFileStream(source, FileAccess::kRead, status);
  if (!in) return false;
  std::filesystem::path temp;
  std::FILE* out = CreateTemporaryFile(target, temp);
  bool ok = out != nullptr && CopyStream(in, out);
  std::fclose(in);
  if (!out) return false;
  ok = std::fclose(out) == 0 && ok;
  if (ok && MoveFileOver(temp, target) == FileStatus::kOk) return true;
  RemoveFile(temp);
  return false;
}

}  // namespace

int InstallDefaultLanguageFiles(const std::filesystem::path& shippedDir, const std::filesystem::path& configDir) {
  int copied = 0;
  for (const char* name : {"Lan_EN.txt", "Lan.txt", "LanSetting.ini"}) {
    std::error_code ec;
    const auto target = configDir / name;
    if (std::filesystem::exists(target, ec) || ec) continue;
    const auto source = shippedDir / name;
    if (!std::filesystem::is_regular_file(source, ec)) continue;
    if (CopyThroughTemporaryFile(source, target)) ++copied;
  }
  return copied;
}

}  // namespace zeltra
