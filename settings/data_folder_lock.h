// The one-writer rule of the data folder, shared by the window and the
// command line. Both rewrite whole files from what they hold in memory, so a
// second program writing between one's load and its save would have its
// changes overwritten. The window holds this lock for its whole life (it
// keeps the settings in memory all that time); zeltra-cli holds it for one
// command. The lock is the system's lock on the file "zeltra.lock" in the
// data folder: the system drops it when its holder ends, even by a crash, so
// it is never left behind. The file's text names the holder, for messages.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zeltra {

inline constexpr std::string_view kLockHolderWindow = "Zeltra";
inline constexpr std::string_view kLockHolderCli = "zeltra-cli";

class DataFolderLock {
 public:
  virtual ~DataFolderLock() = default;  // releases it
};

struct LockAttempt {
  std::unique_ptr<DataFolderLock> lock;  // nothing: not taken
  // When not taken: the holder's name as its lock file says it (may be empty
  // for a moment while a new holder writes it), or nothing when the lock
  // file could not be created at all (`failed`).
  std::string holder;
  bool failed = false;
};

// Takes the lock of `dataFolder` (creating the folder when missing) for
// `who`, without waiting.
LockAttempt TryLockDataFolder(const std::filesystem::path& dataFolder, std::string_view who);

// Who holds the lock of `dataFolder` now, found without taking the lock and
// without creating or writing anything (the commands that only read never
// write the data folder); nothing when nobody does.
std::optional<std::string> DataFolderLockHolder(const std::filesystem::path& dataFolder);

inline std::filesystem::path DataFolderLockPath(const std::filesystem::path& dataFolder) {
  return dataFolder / "zeltra.lock";
}

// "<who> <process id>", the text a holder leaves in the lock file.
std::string LockFileText(std::string_view who);
// The holder's name from that text (everything before the last space).
inline std::string LockHolderOf(std::string_view text) {
  const std::size_t end = text.find('\n');
  if (end != std::string_view::npos) text = text.substr(0, end);
  const std::size_t space = text.rfind(' ');
  return std::string(space == std::string_view::npos ? text : text.substr(0, space));
}

}  // namespace zeltra
