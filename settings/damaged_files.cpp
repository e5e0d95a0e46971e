#include "settings/damaged_files.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <utility>

#include "settings/file_system.h"

namespace zeltra {

namespace {

std::mutex g_mutex;
std::vector<std::filesystem::path> g_damaged;
std::vector<std::filesystem::path> g_kept;

// One file, however it was named (relative or not, with "." or "..").
std::filesystem::path Key(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  return (ec ? file : absolute).lexically_normal();
}

enum class Copy { kMade, kEmpty, kFailed };

// Copies `file` to a new file of a free name beside it, on the disk before
// it counts as made.
Copy CopyBeside(const std::filesystem::path& file, std::filesystem::path& copy) {
  FileStatus status = FileStatus::kOk;
  std::FILE* in = nullptr;
  RetryWhileBusy(kReadBusyBudgetMs, [&] {
    in = OpenFileStream(file, FileAccess::kRead, status);
    return status;
  });
  if (!in) return status == FileStatus::kMissing ? Copy::kEmpty : Copy::kFailed;
  if (std::fgetc(in) == EOF) {
    const bool empty = !std::ferror(in);
    std::fclose(in);
    return empty ? Copy::kEmpty : Copy::kFailed;
  }
  std::rewind(in);
  const std::tm now = LocalTime(std::time(nullptr));
  std::FILE* out = nullptr;
  for (int attempt = 1; attempt <= 100 && !out; ++attempt) {
    copy = KeptCopyName(file, now, attempt);
    out = OpenFileStream(copy, FileAccess::kCreateNew, status);
    if (!out && status != FileStatus::kExists) break;
  }
  bool ok = out != nullptr && CopyStream(in, out) && FlushToDisk(out);
  std::fclose(in);
  if (!out) return Copy::kFailed;
  ok = std::fclose(out) == 0 && ok;
  if (ok) return Copy::kMade;
  RemoveFile(copy);
  return Copy::kFailed;
}

}  // namespace

void NoteFileRead(const std::filesystem::path& file, FileRead outcome) {
  const std::filesystem::path key = Key(file);
  std::lock_guard lock(g_mutex);
  std::erase(g_damaged, key);
  if (outcome != FileRead::kRead && outcome != FileRead::kMissing) g_damaged.push_back(key);
}

bool IsDamagedFile(const std::filesystem::path& file) {
  const std::filesystem::path key = Key(file);
  std::lock_guard lock(g_mutex);
  return std::find(g_damaged.begin(), g_damaged.end(), key) != g_damaged.end();
}

bool KeepDamagedOriginal(const std::filesystem::path& file) {
  const std::filesystem::path key = Key(file);
  std::lock_guard lock(g_mutex);
  const auto at = std::find(g_damaged.begin(), g_damaged.end(), key);
  if (at == g_damaged.end()) return true;
  std::filesystem::path copy;
  switch (CopyBeside(file, copy)) {
    case Copy::kFailed: return false;
    case Copy::kMade: g_kept.push_back(copy); break;
    case Copy::kEmpty: break;
  }
  g_damaged.erase(at);
  return true;
}

std::vector<std::filesystem::path> TakeKeptCopies() {
  std::lock_guard lock(g_mutex);
  return std::exchange(g_kept, {});
}

void ForgetDamagedFiles() {
  std::lock_guard lock(g_mutex);
  g_damaged.clear();
  g_kept.clear();
}

std::filesystem::path KeptCopyName(const std::filesystem::path& file, const std::tm& when, int attempt) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, ".unreadable-%04d%02d%02d-%02d%02d", when.tm_year + 1900, when.tm_mon + 1,
                when.tm_mday, when.tm_hour, when.tm_min);
  std::filesystem::path name = file.filename();
  name += stamp;
  if (attempt > 1) name += "-" + std::to_string(attempt);
  return file.parent_path() / name;
}

std::u16string KeptCopyNotice(const LanguageTable& language) {
  const std::u16string& text = language.String(kStringKeptCopy);
  return text.empty() ? u"A damaged file was replaced; a copy is kept." : text;
}

}  // namespace zeltra
