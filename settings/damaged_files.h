// Files the program found but could not read to their end: damaged ones
// (a malformed line, carriage returns, a read error), and ones it could not
// open at all. The program may still replace such a file (a damaged profile
// starts again from its defaults and is saved), but never without a copy:
// the first save that replaces it first keeps the original beside it as
// "<name>.unreadable-<yyyymmdd>-<hhmm>", so what was in it is never gone,
// and the user is told once. Process-wide, as the files are.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/language.h"
#include "settings/text_file.h"

namespace zeltra {

// What reading `file` came to: a file read to its end, or missing, is
// forgotten; any other is remembered until a copy of it is kept.
void NoteFileRead(const std::filesystem::path& file, FileRead outcome);
bool IsDamagedFile(const std::filesystem::path& file);

// Called before `file` is replaced. A remembered file is copied beside
// itself first (an empty one has nothing to keep) and then forgotten. False
// when the copy could not be made (the file still cannot be read, the disk
// is full): the file must not be replaced then.
bool KeepDamagedOriginal(const std::filesystem::path& file);

// The copies kept since the last call, in the order they were made: what
// the user is to be told about.
std::vector<std::filesystem::path> TakeKeptCopies();

// Forgets every remembered file and every untold copy (tests).
void ForgetDamagedFiles();

// The name of the copy of `file` made at local time `when`; `attempt` 2 and
// more add "-2", "-3" for a second copy in the same minute.
std::filesystem::path KeptCopyName(const std::filesystem::path& file, const std::tm& when, int attempt);

// What the user is told once copies were kept: language string 157, or its
// English text when the language file has none (language files of an older
// installation are never replaced).
std::u16string KeptCopyNotice(const LanguageTable& language = Language());

inline constexpr int kStringKeptCopy = 157;

}  // namespace zeltra
