// Starting with Windows: a shortcut to the program in the user's Startup
// folder that starts it hidden in the tray (no registry). The tray menu's
// entry shows a check mark while the shortcut there starts this program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zeltra {

inline constexpr char16_t kStartupShortcutName[] = u"Zeltra.lnk";

struct StartupShortcut {
  std::filesystem::path file;           // the Startup folder's Zeltra.lnk; empty without the folder
  std::filesystem::path target;         // the program
  std::u16string arguments;             // kStartInTraySwitch
  std::filesystem::path workingFolder;  // the program's folder
  std::u16string description;
  friend bool operator==(const StartupShortcut&, const StartupShortcut&) = default;
};
StartupShortcut StartupShortcutFor(const std::filesystem::path& startupFolder, const std::filesystem::path& program);

// What a shortcut file holds.
struct ShortcutContents {
  std::filesystem::path target;
  std::u16string arguments;
};

// The check mark: a shortcut is there and its target is this program (the
// same Windows path in any letter case). One left behind by a copy of the
// program in another folder does not count: choosing the entry then writes
// this program's own.
bool StartsThisProgram(const std::optional<ShortcutContents>& found, const std::filesystem::path& program);

// Two Windows paths name the same file: backslashes and slashes alike, and
// letters compared without case (the system's file names are case-blind).
bool SameWindowsPath(std::u16string_view a, std::u16string_view b);

}  // namespace zeltra
