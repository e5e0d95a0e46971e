#include "app/startup_shortcut.h"

#include "app/start_options.h"

namespace zeltra {

namespace {

// Upper case for the letters of Latin-1 and the ASCII range, where nearly
// every path letter is; the rest compare as they are.
char16_t Folded(char16_t c) {
  if (c == u'/') return u'\\';
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - (u'a' - u'A'));
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  return c;
}

}  // namespace

StartupShortcut StartupShortcutFor(const std::filesystem::path& startupFolder, const std::filesystem::path& program) {
  StartupShortcut shortcut;
  // Without the folder there is no place for it (never one beside the program).
  if (!startupFolder.empty()) shortcut.file = startupFolder / kStartupShortcutName;
  shortcut.target = program;
  shortcut.arguments = kStartInTraySwitch;
  shortcut.workingFolder = program.parent_path();
  shortcut.description = u"Zeltra";
  return shortcut;
}

bool StartsThisProgram(const std::optional<ShortcutContents>& found, const std::filesystem::path& program) {
  return found && !program.empty() && SameWindowsPath(found->target.u16string(), program.u16string());
}

bool SameWindowsPath(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return true;
}

}  // namespace zeltra
