#include "app/program_links_dialog.h"

#include "settings/text_format.h"

namespace zeltra {

namespace {

struct FallbackText {
  int string;
  std::u16string_view english;
};
constexpr std::array<FallbackText, 7> kFallbacks{{
    {kStringLinkPrograms, u"Link Programs"},
    {kStringLinksTitle, u"Programs that switch to"},
    {kStringBrowse, u"Browse\u2026"},
    {kStringRemoveLink, u"Remove"},
    {kStringNoProgram, u"(no program)"},
    {kStringChooseProgram, u"Choose a Program"},
    {kStringProgramsFilter, u"Programs (*.exe)"},
}};

constexpr int kRowTop = 31;
constexpr int kRowPitch = 25;
constexpr int kRowHeight = 22;
constexpr DesignRect RowPart(int row, int left, int right) {
  return DesignRect::FromEdges(left, kRowTop + row * kRowPitch, right, kRowTop + row * kRowPitch + kRowHeight);
}
constexpr DialogControl NameText(int row) {
  return LabelControl(kProgramNameFirstId + row, RowPart(row, 20, 250), u"");
}
constexpr DialogControl BrowseButton(int row) {
  return PushButtonControl(kProgramBrowseFirstId + row, RowPart(row, 258, 335), 0);
}
constexpr DialogControl RemoveButton(int row) {
  return PushButtonControl(kProgramRemoveFirstId + row, RowPart(row, 345, 415), 0);
}

}  // namespace

// The texts are set by the dialog from ProgramLinksDialog (with the
// fallbacks), so the table names none.
const std::array<DialogControl, 13> kProgramLinksDialogControls{{
    LabelControl(kProgramLinksTitleId, DesignRect::FromEdges(20, 2, 380, 26), u""),
    CloseCrossControl(DesignRect::FromEdges(405, 4, 420, 19)),
    NameText(0), BrowseButton(0), RemoveButton(0),
    NameText(1), BrowseButton(1), RemoveButton(1),
    NameText(2), BrowseButton(2), RemoveButton(2),
    PushButtonControl(kIdOk, DesignRect::FromEdges(270, 108, 335, 131), kOkText),
    PushButtonControl(kIdCancel, DesignRect::FromEdges(350, 108, 415, 131), kCancelText),
}};

std::u16string ProgramLinksText(int string, const LanguageTable& language) {
  for (const FallbackText& fallback : kFallbacks)
    if (fallback.string == string) return LanguageStringOr(string, fallback.english, language);
  return language.String(string);
}

// ---------------------------------------------------------------------------

ProgramLinksDialog::ProgramLinksDialog(const ProfileRecord& profile, const LanguageTable& language)
    : language_(language), links_(ProgramLinksOf(profile)) {
  title_ = ProgramLinksText(kStringLinksTitle, language) + u" " + profile.Setting(kProfileName);
}

bool ProgramLinksDialog::RowUsed(int row) const {
  return row >= 0 && row < kProgramLinkCount &&
         links_[static_cast<std::size_t>(row)].find_first_not_of(u' ') != std::u16string::npos;
}

std::u16string ProgramLinksDialog::RowText(int row) const {
  if (!RowUsed(row)) return ProgramLinksText(kStringNoProgram, language_);
  return ProgramFileName(links_[static_cast<std::size_t>(row)]);
}

std::u16string ProgramLinksDialog::RowTip(int row) const {
  return RowUsed(row) ? links_[static_cast<std::size_t>(row)] : std::u16string();
}

FileDialogRequest ProgramLinksDialog::BrowseRequest() const {
  FileDialogRequest request;
  request.title = ProgramLinksText(kStringChooseProgram, language_);
  request.filter = ProgramLinksText(kStringProgramsFilter, language_) + u"|*.exe||";
  request.defaultExtension = u"exe";
  request.flags = kFileDialogPathMustExist | kFileDialogFileMustExist;
  // Long program paths exist: the chosen one must fit.
  request.bufferChars = 32768;
  return request;
}

bool ProgramLinksDialog::Browsed(int row, const std::filesystem::path& file) {
  if (row < 0 || row >= kProgramLinkCount) return false;
  const std::u16string link = PathToStored(file);
  if (CheckProgramLink(link)) return false;
  for (std::u16string& other : links_) {
    if (!other.empty() && SameProgramLink(other, link)) other.clear();
  }
  links_[static_cast<std::size_t>(row)] = link;
  return true;
}

void ProgramLinksDialog::Remove(int row) {
  if (row >= 0 && row < kProgramLinkCount) links_[static_cast<std::size_t>(row)].clear();
}

std::optional<ProgramLinksDialog::RowButton> ProgramLinksDialog::RowButtonOf(int id) {
  if (id >= kProgramBrowseFirstId && id < kProgramBrowseFirstId + kProgramLinkCount)
    return RowButton{RowButton::Kind::Browse, id - kProgramBrowseFirstId};
  if (id >= kProgramRemoveFirstId && id < kProgramRemoveFirstId + kProgramLinkCount)
    return RowButton{RowButton::Kind::Remove, id - kProgramRemoveFirstId};
  return std::nullopt;
}

bool ProgramLinksDialog::Confirm(ProfileRecord& profile) const {
  bool changed = false;
  for (std::size_t i = 0; i < links_.size(); ++i) {
    if (profile.Setting(kProgramLinkSettings[i]) == links_[i]) continue;
    profile.SetSetting(kProgramLinkSettings[i], links_[i]);
    changed = true;
  }
  return changed;
}

}  // namespace zeltra
