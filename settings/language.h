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

// Texts added after the first language files went out. The language files
// of an older installation are never replaced, so where one lacks such a
// text the table gives its English one (BuiltInText).
inline constexpr int kStringStartWithWindows = 320;    // the tray menu's Startup-folder entry
inline constexpr int kStringCharging = 321;            // the tray tip while the mouse charges
inline constexpr int kStringBatteryLow = 322;          // the low-battery notice
inline constexpr int kStringShortcutFailed = 323;      // the Startup-folder shortcut could not be changed
inline constexpr int kStringLibraryUnavailable = 324;  // the macro manager cannot add to an unreadable library

// The English text of such a string; empty for every other index.
const std::u16string& BuiltInText(int index);

class LanguageTable {
 public:
  // Entry `index`, or its built-in text when the file gave none; an index
  // outside 0..499 gives an empty text.
  const std::u16string& String(int index) const;
  // Whether entry `index` holds a text of its own (a built-in one aside).
  bool Given(int index) const;
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
