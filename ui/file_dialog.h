// The standard open and save dialogs, as a request the portable code makes
// and a runner the program (or a test) answers it with.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zeltra {

// The platform's option bits the requests use (their Windows values).
inline constexpr unsigned kFileDialogReadOnly = 0x00000001;         // the read-only box ticked
inline constexpr unsigned kFileDialogOverwritePrompt = 0x00000002;  // ask before replacing a file
inline constexpr unsigned kFileDialogPathMustExist = 0x00000800;
inline constexpr unsigned kFileDialogFileMustExist = 0x00001000;

struct FileDialogRequest {
  bool save = false;           // a save dialog, else an open dialog
  std::u16string title;        // empty: the platform's own title
  std::u16string filter;       // "description|pattern|...||"
  std::u16string defaultExtension;  // without the dot; added to a name typed without one
  std::u16string initialName;       // the name the dialog proposes
  unsigned flags = 0;               // kFileDialog* bits
  int bufferChars = 260;            // a chosen path must fit, with its terminator
  friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// The filter as the platform wants it: every '|' becomes a NUL, and it ends
// with two NULs whatever the text ends with.
std::u16string PlatformFilter(std::u16string_view filter);

// Answers a request: the chosen file, or nothing when the user cancelled.
using FileDialogRunner = std::function<std::optional<std::filesystem::path>(const FileDialogRequest&)>;

// The runner every RunFileDialog call uses (the program installs the real
// dialogs at start-up, tests their own answers). Returns the previous one.
FileDialogRunner SetFileDialogRunner(FileDialogRunner runner);
// Nothing when no runner is installed.
std::optional<std::filesystem::path> RunFileDialog(const FileDialogRequest& request);

}  // namespace zeltra
