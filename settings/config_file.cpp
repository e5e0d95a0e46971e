#include "settings/config_file.h"

#include "settings/damaged_files.h"
#include "settings/text_file.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::u16string_view kHeader = u"[Setting]";

bool ReadPairs(CStdioFileEx& file, GlobalSettings& globals) {
  std::u16string line;
  if (!file.ReadString(line) || line != kHeader) return false;
  GlobalSettings read = globals;
  std::size_t n = 0;
  while (file.ReadString(line)) {
    if (n >= read.pairs.size()) return false;
    const std::size_t eq = line.find(u'=');
    if (eq == std::u16string::npos || eq == 0 || eq + 1 == line.size()) return false;
    read.pairs[n].key = line.substr(0, eq);
    read.pairs[n].value = line.substr(eq + 1);
    ++n;
  }
  // A read error is not the end of the file: half a configuration is no configuration.
  if (file.Failed()) return false;
  globals = std::move(read);
  return true;
}

}  // namespace

bool ReadConfigurationFile(const std::filesystem::path& path, GlobalSettings& globals, FileRead* outcome) {
  FileRead result = FileRead::kInvalid;
  CStdioFileEx file;
  if (OpenForReading(file, path, result) && ReadPairs(file, globals)) result = FileRead::kRead;
  NoteFileRead(path, result);
  if (outcome) *outcome = result;
  return result == FileRead::kRead;
}

bool WriteConfigurationFile(const std::filesystem::path& path, const GlobalSettings& globals) {
  return SaveTextFileAtomically(path, [&](CStdioFileEx& file) {
    if (!file.WriteString(std::u16string(kHeader) + u"\n")) return false;
    for (const SettingPair& pair : globals.pairs) {
      if (!file.WriteString(OneLine(pair.key) + u"=" + OneLine(pair.value) + u"\n")) return false;
    }
    return true;
  });
}

}  // namespace zeltra
