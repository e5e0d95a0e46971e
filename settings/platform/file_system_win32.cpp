// The file operations on Windows: CreateFileW with the access a use needs and
// generous sharing, MoveFileExW for the replacement, and the extended-length
// form for paths at or beyond MAX_PATH.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/win32/unique_handle_win32.h"
#include "settings/file_system.h"
#include "settings/text_format.h"

namespace zeltra::platform {

namespace {

FileStatus StatusOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return FileStatus::kMissing;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileStatus::kExists;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileStatus::kBusy;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileStatus::kDenied;
    default:
      return FileStatus::kFailed;
  }
}

// Paths of MAX_PATH characters or more only work in the "\\?\" form, which
// takes a full path with backslashes.
std::wstring Win32Path(const std::filesystem::path& path) {
  const std::wstring& text = path.native();
  if (text.size() < MAX_PATH - 12 || text.rfind(L"\\\\?\\", 0) == 0) return text;
  const DWORD size = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
  if (size == 0) return text;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(text.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return text;
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool IsReadOnly(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::FILE* OpenFileStream(const std::filesystem::path& path, FileAccess access, FileStatus& status) {
  DWORD desired = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  int crtFlags = _O_RDONLY;
  const char* mode = "rb";
  switch (access) {
    case FileAccess::kRead: break;
    case FileAccess::kUpdate:
      desired = GENERIC_READ | GENERIC_WRITE, crtFlags = _O_RDWR, mode = "r+b";
      break;
    case FileAccess::kCreate:
      desired = GENERIC_WRITE, disposition = CREATE_ALWAYS, crtFlags = _O_WRONLY, mode = "wb";
      break;
    case FileAccess::kCreateUpdate:
      desired = GENERIC_READ | GENERIC_WRITE, disposition = CREATE_ALWAYS, crtFlags = _O_RDWR, mode = "w+b";
      break;
    case FileAccess::kCreateNew:
      desired = GENERIC_WRITE, disposition = CREATE_NEW, crtFlags = _O_WRONLY, mode = "wb";
      break;
  }
  // The read-only attribute refuses writing also where the file system
  // underneath would not (Wine run by a privileged user).
  const std::wstring name = Win32Path(path);
  if (access != FileAccess::kRead && access != FileAccess::kCreateNew && IsReadOnly(name)) {
    status = FileStatus::kDenied;
    return nullptr;
  }
  // A reader lets others go on reading, writing and renaming; a writer lets
  // others read. A temporary file of our own is shared with nobody.
  DWORD share = FILE_SHARE_READ;
  if (access == FileAccess::kRead) share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  if (access == FileAccess::kCreateNew) share = 0;
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    status = FileStatus::kNotAFile;
    return nullptr;
  }
  win32::UniqueKernelHandle handle(
      CreateFileW(name.c_str(), desired, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) {
    status = StatusOf(GetLastError());
    return nullptr;
  }
  // A device name ("NUL", "COM1") or a pipe opens as one: refused, never read.
  status = FileStatus::kOk;
  LARGE_INTEGER size{};
  if (GetFileType(handle.get()) != FILE_TYPE_DISK)
    status = FileStatus::kNotAFile;
  else if (!GetFileSizeEx(handle.get(), &size))
    status = FileStatus::kFailed;
  else if ((access == FileAccess::kRead || access == FileAccess::kUpdate) &&
           static_cast<std::uint64_t>(size.QuadPart) > kMaxFileBytes)
    status = FileStatus::kTooLarge;
  if (status != FileStatus::kOk) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), crtFlags | _O_BINARY);
  if (fd < 0) {
    status = FileStatus::kFailed;
    return nullptr;
  }
  (void)handle.release();  // the descriptor owns it now
  std::FILE* file = _fdopen(fd, mode);
  if (!file) {
    _close(fd);  // also closes the handle
    status = FileStatus::kFailed;
    return nullptr;
  }
  status = FileStatus::kOk;
  return file;
}

FileStatus MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target) {
  const std::wstring to = Win32Path(target);
  if (IsReadOnly(to)) return FileStatus::kDenied;
  if (MoveFileExW(Win32Path(source).c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return FileStatus::kOk;
  const DWORD error = GetLastError();
  // A target another program has open refuses with either code; a
  // read-only one was ruled out above.
  if (error == ERROR_ACCESS_DENIED && GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
      (GetFileAttributesW(to.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return FileStatus::kBusy;
  return StatusOf(error);
}

bool RemoveFile(const std::filesystem::path& path) {
  const std::wstring file = Win32Path(path);
  return DeleteFileW(file.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace zeltra::platform

namespace zeltra {

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

std::FILE* OpenAppendStream(const std::filesystem::path& path) { return _wfopen(path.c_str(), L"ab"); }

bool SamePathText(std::u16string_view a, std::u16string_view b) {
  const auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

std::filesystem::path PathFromStored(std::u16string_view stored) {
  return std::filesystem::path(std::wstring(stored.begin(), stored.end()));
}

std::u16string PathToStored(const std::filesystem::path& path) {
  const std::wstring& w = path.native();
  return std::u16string(w.begin(), w.end());
}

}  // namespace zeltra
