// The data folder's lock on Linux: flock() on the lock file, which the
// kernel drops with the last descriptor of its holder.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <system_error>

#include "settings/data_folder_lock.h"

namespace zeltra {

namespace {

class FlockLock final : public DataFolderLock {
 public:
  explicit FlockLock(int fd) : fd_(fd) {}
  ~FlockLock() override { ::close(fd_); }

 private:
  int fd_;
};

std::string ReadHolder(int fd) {
  std::array<char, 128> text{};
  const ssize_t got = ::pread(fd, text.data(), text.size(), 0);
  return got > 0 ? LockHolderOf(std::string_view(text.data(), static_cast<std::size_t>(got))) : std::string();
}

}  // namespace

std::string LockFileText(std::string_view who) { return std::string(who) + " " + std::to_string(::getpid()) + "\n"; }

LockAttempt TryLockDataFolder(const std::filesystem::path& dataFolder, std::string_view who) {
  LockAttempt attempt;
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  const int fd = ::open(DataFolderLockPath(dataFolder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    attempt.failed = true;
    return attempt;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    attempt.holder = ReadHolder(fd);
    ::close(fd);
    return attempt;
  }
  const std::string text = LockFileText(who);
  // The name only serves messages; a failure to write it changes nothing.
  if (::ftruncate(fd, 0) == 0) [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  attempt.lock = std::make_unique<FlockLock>(fd);
  return attempt;
}

std::optional<std::string> DataFolderLockHolder(const std::filesystem::path& dataFolder) {
  const int fd = ::open(DataFolderLockPath(dataFolder).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  // A shared lock is refused only while a holder has the lock itself; it is
  // let go at once.
  std::optional<std::string> holder;
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) holder = ReadHolder(fd);
  ::close(fd);
  return holder;
}

}  // namespace zeltra
