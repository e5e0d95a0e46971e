// Profile files (".psf"): one ProfileRecord as 93 lines, read by position.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "settings/text_file.h"

namespace zeltra {

inline constexpr int kProfileFileLineCount = 93;
inline constexpr std::size_t kAllActionDigits = 4 * 2 * kMaxMacroActions;  // 2688

// The lines of the file for `record`, in order, without their line feeds.
std::vector<std::u16string> ProfileFileLines(const ProfileRecord& record);

// Writes `record` to `path`, replacing it only once the whole file is on the
// disk. False when nothing was replaced.
bool WriteProfileRecord(const std::filesystem::path& path, const ProfileRecord& record);

// Reads a profile file into `record`. Values are taken by line position and,
// on the fixed-width lines, by character position after the first "="; key
// names are never compared. On success every field the file carries is
// replaced, the slot macros' event counts are recomputed, and the macros'
// repeat settings (not part of the file) are kept. On any failure (no file, a
// missing line, a bad first line, an "=" that breaks its line's rule, an
// action list of another length, a read error) `record` is left untouched;
// `outcome` (when given) receives why.
bool ReadProfileRecord(const std::filesystem::path& path, ProfileRecord& record, FileRead* outcome = nullptr);

// Sets each slot macro's MacroCommandActionNum to the number of events among
// its first MacroActionNum actions (at most the mouse's 168), since the file
// carries no event count.
void RecountMacroEvents(ProfileRecord& record);

}  // namespace zeltra
