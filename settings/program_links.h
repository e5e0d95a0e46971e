// A profile links up to three programs in its GameFile0..GameFile2 values
// (the executables' full paths, or a file name alone; empty = unused): the
// window switches to the profile while one of them is in front. Which
// profile a running program belongs to, and what a link may be.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/profile.h"

namespace zeltra {

class SettingsStore;

inline constexpr int kProgramLinkCount = 3;
inline constexpr std::array<ProfileSetting, kProgramLinkCount> kProgramLinkSettings{kGameFile0, kGameFile1, kGameFile2};

// Whether the program at `imagePath` is the one a link names: a link with a
// folder names that file exactly, a file name alone names a file of that
// name in any folder. Compared without regard to case, '/' taken as '\'.
// An empty link names nothing.
bool ProgramMatchesLink(std::u16string_view imagePath, std::u16string_view link);

// Whether two links name the same program in the same way (case and the
// kind of slash aside).
bool SameProgramLink(std::u16string_view a, std::u16string_view b);

// The first shown profile (in the picker's order) that links the program,
// or -1. Profiles not shown (deleted from the picker) switch nothing.
int LinkedProfileOf(const SettingsStore& settings, std::u16string_view imagePath);

// The file name of a link (what follows its last '\' or '/').
std::u16string ProgramFileName(std::u16string_view link);

// Why a text cannot be stored as a link; nothing when it can. A link lives
// on one line of the profile file: no line breaks or other control
// characters. A folder part must make the path absolute ("C:\..." or a
// "\\server\share\..." path): a relative one would name no program.
enum class LinkProblem { kEmpty, kControlCharacter, kRelativePath };
std::optional<LinkProblem> CheckProgramLink(std::u16string_view link);

// The profile's links in slot order, empty slots included.
std::array<std::u16string, kProgramLinkCount> ProgramLinksOf(const ProfileRecord& profile);
// `link` into the profile's first empty slot, unless a slot links the same
// program already. False when all three are taken by others.
bool AddProgramLink(ProfileRecord& profile, std::u16string_view link);

}  // namespace zeltra
