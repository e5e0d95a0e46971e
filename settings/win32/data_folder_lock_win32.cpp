// The data folder's lock on Windows: LockFileEx on one byte far beyond the
// lock file's text, so others can still read who holds it. The system drops
// the lock when its holder's handle closes, also when the process ends.
#include <windows.h>

#include <array>
#include <system_error>
#include <utility>

#include "base/win32/unique_handle_win32.h"

#include "settings/data_folder_lock.h"

namespace zeltra {

namespace {

constexpr DWORD kLockedOffsetHigh = 1;  // byte 4 GiB of the file: never text

class FileRangeLock final : public DataFolderLock {
 public:
  explicit FileRangeLock(win32::UniqueKernelHandle file) : file_(std::move(file)) {}

 private:
  win32::UniqueKernelHandle file_;
};

std::string ReadHolder(HANDLE file) {
  std::array<char, 128> text{};
  DWORD got = 0;
  OVERLAPPED at{};
  if (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, &at) || got == 0) return {};
  return LockHolderOf(std::string_view(text.data(), got));
}

}  // namespace

std::string LockFileText(std::string_view who) {
  return std::string(who) + " " + std::to_string(GetCurrentProcessId()) + "\n";
}

LockAttempt TryLockDataFolder(const std::filesystem::path& dataFolder, std::string_view who) {
  LockAttempt attempt;
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  win32::UniqueKernelHandle owner(CreateFileW(DataFolderLockPath(dataFolder).c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const HANDLE file = owner.get();
  if (!owner) {
    attempt.failed = true;
    return attempt;
  }
  OVERLAPPED range{};
  range.OffsetHigh = kLockedOffsetHigh;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range)) {
    attempt.holder = ReadHolder(file);
    return attempt;
  }
  // The name only serves messages; a failure to write it changes nothing.
  const std::string text = LockFileText(who);
  DWORD written = 0;
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file))
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  attempt.lock = std::make_unique<FileRangeLock>(std::move(owner));
  return attempt;
}

std::optional<std::string> DataFolderLockHolder(const std::filesystem::path& dataFolder) {
  const win32::UniqueKernelHandle owner(CreateFileW(DataFolderLockPath(dataFolder).c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!owner) return std::nullopt;
  const HANDLE file = owner.get();
  // A shared lock is refused only while a holder has the lock itself; it is
  // let go at once.
  std::optional<std::string> holder;
  OVERLAPPED range{};
  range.OffsetHigh = kLockedOffsetHigh;
  if (LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range))
    UnlockFileEx(file, 0, 1, 0, &range);
  else
    holder = ReadHolder(file);
  return holder;
}

}  // namespace zeltra
