// The few file operations the text files need from the platform. They keep
// apart why a file could not be opened: a missing file may be created, but a
// file that exists and is held, protected or unreadable must never be
// replaced by defaults.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string_view>

namespace zeltra {

enum class FileStatus {
  kOk,
  kMissing,  // no such file or folder
  kExists,   // a new file was asked for and the name is taken
  kBusy,     // held by another program without sharing; may work in a moment
  kDenied,    // exists but may not be used this way (read-only, no permission)
  kNotAFile,  // a folder, device or pipe where a file should be: never waited on
  kTooLarge,  // an existing file far larger than any the program writes
  kFailed,    // anything else
};

// No file of the program comes near this (a profile is 40 KB, a library of
// 10,000 macros about 60 MB): a larger one is refused unread instead of
// being read into memory.
inline constexpr std::uint64_t kMaxFileBytes = 64ull << 20;

enum class FileAccess {
  kRead,          // an existing file, read only; others may go on reading and writing it
  kUpdate,        // an existing file, read and written
  kCreate,        // created or truncated, written
  kCreateUpdate,  // created or truncated, read and written
  kCreateNew,     // created, written; kExists when the name is taken
};

// Opens a binary stdio stream; nullptr with the reason in `status`. A file
// without any write permission counts as read-only on every platform: only
// kRead opens it. Only regular files open (a pipe or device is refused at
// once, without blocking), and an existing file is read only up to
// kMaxFileBytes.
std::FILE* OpenFileStream(const std::filesystem::path& path, FileAccess access, FileStatus& status);

// Replaces `target` by `source` (a file of the same folder) in one step and
// makes the change durable: MoveFileExW with write-through on Windows, rename
// plus a flush of the folder elsewhere. A read-only target is kDenied.
FileStatus MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target);

// Creates a new file for writing under a free name in the folder of
// `target` ("~zeltra-<hex>.tmp": short, so a long target name never makes
// it too long, and never the name of a file that is there), for a file that
// replaces `target` once complete. nullptr when none could be made.
std::FILE* CreateTemporaryFile(const std::filesystem::path& target, std::filesystem::path& temp);

// Removes a file; false when it is still there.
bool RemoveFile(const std::filesystem::path& path);

// Writes buffered bytes and asks the system to put them on the disk.
bool FlushToDisk(std::FILE* file);
// A plain binary stream appending to `path` (created when missing), for
// logs: none of OpenFileStream's rules. nullptr when it cannot be opened.
std::FILE* OpenAppendStream(const std::filesystem::path& path);
// Whether the system takes two path texts for one path: on Windows case
// does not count (ASCII letters; the file names the program compares).
bool SamePathText(std::u16string_view a, std::u16string_view b);
// The local calendar time of `time`.
std::tm LocalTime(std::time_t time);
// Copies the rest of `in` to `out`; false on a read or write error.
bool CopyStream(std::FILE* in, std::FILE* out);

// The file a save of `path` replaces: `path` itself, or the file a symbolic
// link there leads to (through any chain of links), so that the link stays.
// Empty for a loop of links.
std::filesystem::path ResolveLinks(const std::filesystem::path& path);

// Runs `attempt` until it returns something other than kBusy or the pauses
// between attempts (10 ms, doubling) have added up to `budgetMs`.
FileStatus RetryWhileBusy(int budgetMs, const std::function<FileStatus()>& attempt);

// How long a held file is waited for: briefly when reading at start-up,
// about two seconds when a save replaces its target.
inline constexpr int kReadBusyBudgetMs = 500;
inline constexpr int kReplaceBusyBudgetMs = 2000;

// Test seams, process-wide. The pause function replaces the real sleep
// (nullptr restores it). A busy path answers kBusy to the next `times`
// opens or replaces that touch it (0 clears, -1 for ever).
void SetFileRetryPause(void (*pause)(int ms));
void InjectFileBusy(const std::filesystem::path& path, int times);
void ClearInjectedFileBusy();

// FlushToDisk, OpenAppendStream, SamePathText and LocalTime, like
// PathFromStored and PathToStored (text_format.h), are the platform's own
// (file_system_posix.cpp, file_system_win32.cpp).
namespace platform {
// The platform's own implementations behind the test seams above.
std::FILE* OpenFileStream(const std::filesystem::path& path, FileAccess access, FileStatus& status);
FileStatus MoveFileOver(const std::filesystem::path& source, const std::filesystem::path& target);
bool RemoveFile(const std::filesystem::path& path);
}  // namespace platform

}  // namespace zeltra
