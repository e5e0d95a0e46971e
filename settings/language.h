// The 500-entry language table and the UI font chosen with it.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace zeltra {

inline constexpr int kLanguageStringCount = 500;

// Face, pixel height and character set of every skinned control's text.
struct UiFont {
  std::u16string face = u"\u5B8B\u4F53";  // 宋体 until a language file was read
  int height = 12;
  int charset = 134;
};

class LanguageTable {
 public:
  // Entry `index`; an index outside 0..499 gives an empty text.
  const std::u16string& String(int index) const;
  // Stores a text; an index outside 0..499 is ignored.
  void Set(int index, std::u16string text);
  void Clear();

  UiFont font;

 private:
  std::array<std::u16string, kLanguageStringCount> strings_;
};

// The program's table: loaded once at start-up, read everywhere.
LanguageTable& Language();
const std::u16string& LanguageString(int index);
// Entry `index`, or `fallback` when the table has none: the language files
// of an earlier installation are never replaced, so they lack the texts of
// newer features.
std::u16string LanguageStringOr(int index, std::u16string_view fallback, const LanguageTable& table = Language());

// Reads "LanSetting.ini" and then "Lan_EN.txt" (code exactly "EN") or
// "Lan.txt" from `configDir` into `table`, and chooses the UI font for
// `uiScale`. Returns 1 when the language file was read to its end, else 0;
// texts read before a malformed line stay.
int LoadLanguage(const std::filesystem::path& configDir, float uiScale, LanguageTable& table = Language());

// Copies the language files shipped with the program (Lan_EN.txt, Lan.txt and
// a selector choosing English) from `shippedDir` into `configDir`, each only
// when it is missing there, so a new user sees real texts and a user's own
// choice or edits are never overwritten. Returns the number of files copied.
int InstallDefaultLanguageFiles(const std::filesystem::path& shippedDir, const std::filesystem::path& configDir);

}  // namespace zeltra
