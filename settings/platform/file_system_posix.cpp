// The file operations on POSIX systems (native builds and their tests).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "settings/file_system.h"
#include "settings/text_format.h"

namespace zeltra::platform {

namespace {

FileStatus StatusOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return FileStatus::kMissing;
    case EEXIST: return FileStatus::kExists;
    case EACCES:
    case EPERM:
    case EROFS: return FileStatus::kDenied;
    case EISDIR:
    case ENXIO:  // a pipe without a reader, a device without its hardware
      return FileStatus::kNotAFile;
    default: return FileStatus::kFailed;
  }
}

// A file without any write permission is read-only, also for a privileged
// user, as the read-only attribute is on Windows.
bool IsReadOnly(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

std::FILE* OpenFileStream(const std::filesystem::path& path, FileAccess access, FileStatus& status) {
  int flags = O_RDONLY;
  const char* mode = "rb";
  switch (access) {
    case FileAccess::kRead: break;
    case FileAccess::kUpdate: flags = O_RDWR, mode = "r+b"; break;
    case FileAccess::kCreate: flags = O_WRONLY | O_CREAT | O_TRUNC, mode = "wb"; break;
    case FileAccess::kCreateUpdate: flags = O_RDWR | O_CREAT | O_TRUNC, mode = "w+b"; break;
    case FileAccess::kCreateNew: flags = O_WRONLY | O_CREAT | O_EXCL, mode = "wb"; break;
  }
  if (access != FileAccess::kRead && access != FileAccess::kCreateNew && IsReadOnly(path)) {
    status = FileStatus::kDenied;
    return nullptr;
  }
  // Without O_NONBLOCK opening a pipe waits for its other end: for ever.
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) {
    status = StatusOf(errno);
    return nullptr;
  }
  struct stat st {};
  status = FileStatus::kOk;
  if (::fstat(fd, &st) != 0)
    status = FileStatus::kFailed;
  else if (!S_ISREG(st.st_mode))
    status = FileStatus::kNotAFile;
  else if ((access == FileAccess::kRead || access == FileAccess::kUpdate) &&
           static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes)
    status = FileStatus::kTooLarge;
  else if (const int fl = ::fcntl(fd, F_GETFL); fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
    status = FileStatus::kFailed;
  if (status != FileStatus::kOk) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) {
    ::close(fd);
    status = FileStatus::kFailed;
    return nullptr;
  }
  status = FileStatus::kOk;
  return file;
}

FileStatus MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target) {
  if (IsReadOnly(target)) return FileStatus::kDenied;
  if (::rename(source.c_str(), target.c_str()) != 0) return StatusOf(errno);
  // The new name is only durable once the folder's entry is on the disk.
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return FileStatus::kOk;
}

bool RemoveFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

}  // namespace zeltra::platform

namespace zeltra {

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(fileno(file)) == 0; }

std::FILE* OpenAppendStream(const std::filesystem::path& path) { return std::fopen(path.c_str(), "ab"); }

bool SamePathText(std::u16string_view a, std::u16string_view b) { return a == b; }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

std::filesystem::path PathFromStored(std::u16string_view stored) {
  std::u16string unix(stored);
  for (auto& c : unix)
    if (c == u'\\') c = u'/';
  return std::filesystem::path(ToUtf8(unix));
}

std::u16string PathToStored(const std::filesystem::path& path) { return FromUtf8(path.native()); }

}  // namespace zeltra
