#include "settings/file_system.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <system_error>
#include <vector>

namespace zeltra {

namespace {

struct BusyPath {
  std::filesystem::path path;
  int times;  // -1: for ever
};

std::mutex g_seamMutex;
std::vector<BusyPath> g_busy;
void (*g_pause)(int ms) = nullptr;

// True when a test declared `path` held for this call.
bool InjectedBusy(const std::filesystem::path& path) {
  std::lock_guard lock(g_seamMutex);
  for (auto it = g_busy.begin(); it != g_busy.end(); ++it) {
    if (it->path != path.lexically_normal()) continue;
    if (it->times > 0 && --it->times == 0) g_busy.erase(it);
    return true;
  }
  return false;
}

void Pause(int ms) {
  void (*pause)(int) = nullptr;
  {
    std::lock_guard lock(g_seamMutex);
    pause = g_pause;
  }
  if (pause)
    pause(ms);
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

std::FILE* OpenFileStream(const std::filesystem::path& path, FileAccess access, FileStatus& status) {
  if (InjectedBusy(path)) {
    status = FileStatus::kBusy;
    return nullptr;
  }
  return platform::OpenFileStream(path, access, status);
}

FileStatus MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target) {
  if (InjectedBusy(target)) return FileStatus::kBusy;
  return platform::MoveFileOver(source, target);
}

bool RemoveFile(const std::filesystem::path& path) { return platform::RemoveFile(path); }

bool CopyStream(std::FILE* in, std::FILE* out) {
  char buffer[4096];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
    if (got > 0 && std::fwrite(buffer, 1, got, out) != got) return false;
    if (got < sizeof buffer) return !std::ferror(in);
  }
}

std::filesystem::path ResolveLinks(const std::filesystem::path& path) {
  std::filesystem::path at = path;
  // As many links as the system itself follows before it calls it a loop.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(at, ec)) return at;
    const std::filesystem::path next = std::filesystem::read_symlink(at, ec);
    if (ec) return at;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return {};
}

std::FILE* CreateTemporaryFile(const std::filesystem::path& target, std::filesystem::path& temp) {
  static std::atomic<std::uint32_t> counter{0};
  const auto stamp = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::uint32_t tag = stamp ^ (counter.fetch_add(1) * 0x9E3779B9u);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = "~zeltra-";
    for (int shift = 28; shift >= 0; shift -= 4) name.push_back(kDigits[(tag >> shift) & 0xF]);
    name += ".tmp";
    temp = target.parent_path() / name;
    FileStatus status = FileStatus::kOk;
    if (std::FILE* file = OpenFileStream(temp, FileAccess::kCreateNew, status)) return file;
    if (status != FileStatus::kExists) return nullptr;
  }
  return nullptr;
}

FileStatus RetryWhileBusy(int budgetMs, const std::function<FileStatus()>& attempt) {
  int waited = 0;
  for (int pause = 10;; pause *= 2) {
    const FileStatus status = attempt();
    if (status != FileStatus::kBusy || waited >= budgetMs) return status;
    const int step = std::min(pause, budgetMs - waited);
    Pause(step);
    waited += step;
  }
}

void SetFileRetryPause(void (*pause)(int ms)) {
  std::lock_guard lock(g_seamMutex);
  g_pause = pause;
}

void InjectFileBusy(const std::filesystem::path& path, int times) {
  std::lock_guard lock(g_seamMutex);
  const std::filesystem::path key = path.lexically_normal();
  std::erase_if(g_busy, [&](const BusyPath& b) { return b.path == key; });
  if (times != 0) g_busy.push_back({key, times});
}

void ClearInjectedFileBusy() {
  std::lock_guard lock(g_seamMutex);
  g_busy.clear();
}

}  // namespace zeltra
