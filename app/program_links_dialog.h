// The dialog that edits a profile's linked programs (CProgramLinksDlg):
// three rows with the program's file name (its full path as the row's tip),
// "Browse…" and "Remove".
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "macro/dialog_layout.h"
#include "settings/language.h"
#include "settings/program_links.h"
#include "ui/file_dialog.h"

namespace zeltra {

// Language strings, each with the English text the program shows when the
// user's language file (never replaced by a newer program) has none.
inline constexpr int kStringLinkPrograms = 300;       // the profile-tab popup's entry
inline constexpr int kStringLinksTitle = 301;         // the dialog's title line
inline constexpr int kStringBrowse = 302;             // a row's button that picks a program
inline constexpr int kStringRemoveLink = 303;         // a row's button that empties it
inline constexpr int kStringNoProgram = 304;          // an empty row
inline constexpr int kStringChooseProgram = 305;      // the file dialog's title
inline constexpr int kStringProgramsFilter = 306;     // the file dialog's filter description
std::u16string ProgramLinksText(int string, const LanguageTable& language = Language());

inline constexpr int kProgramLinksDialogWidth = 429;  // on "skins\Frame_common.bmp"
inline constexpr int kProgramLinksDialogHeight = 140;
inline constexpr int kProgramLinksTitleId = 2012;
// Row k (0..2): its program's name, "Browse…" and "Remove".
inline constexpr int kProgramNameFirstId = 2020;
inline constexpr int kProgramBrowseFirstId = 2030;
inline constexpr int kProgramRemoveFirstId = 2040;
extern const std::array<DialogControl, 13> kProgramLinksDialogControls;

class ProgramLinksDialog {
 public:
  explicit ProgramLinksDialog(const ProfileRecord& profile, const LanguageTable& language = Language());

  const std::array<std::u16string, kProgramLinkCount>& links() const { return links_; }
  // The title line: string 301 and the profile's name.
  const std::u16string& title() const { return title_; }
  // What row k shows (the program's file name, or string 304) and its tip
  // (the full path as stored; empty for an empty row).
  std::u16string RowText(int row) const;
  std::u16string RowTip(int row) const;
  bool RowUsed(int row) const;

  // The standard open dialog of "Browse…": programs (*.exe) only.
  FileDialogRequest BrowseRequest() const;
  // The chosen file goes into the row (a file another row links already
  // only moves there, so no program is linked twice); false when the path
  // cannot be stored (CheckProgramLink).
  bool Browsed(int row, const std::filesystem::path& file);
  void Remove(int row);

  // A control's click: which row's Browse or Remove it is, or nothing.
  struct RowButton {
    enum class Kind { Browse, Remove } kind;
    int row;
  };
  static std::optional<RowButton> RowButtonOf(int id);

  // OK: the links into the profile; true when anything changed.
  bool Confirm(ProfileRecord& profile) const;

 private:
  const LanguageTable& language_;
  std::array<std::u16string, kProgramLinkCount> links_;
  std::u16string title_;
};

}  // namespace zeltra
