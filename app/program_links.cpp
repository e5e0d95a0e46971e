#include "app/program_links.h"

#include <algorithm>

#include "settings/settings_store.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

// One letter of a file name as Windows compares names that differ in case
// only: the Latin, Greek and Cyrillic capitals of the basic plane to their
// small letters.
char16_t FoldCase(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x178) return 0xFF;
    // Capitals at even code points, except in the two runs that start odd.
    const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 0) != oddRun ? static_cast<char16_t>(c + 1) : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

char16_t Comparable(char16_t c) { return c == u'/' ? u'\\' : FoldCase(c); }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Comparable(x) == Comparable(y); });
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Spaces a hand edit may leave around the value.
std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

std::u16string_view FileNamePart(std::u16string_view path) {
  const auto slash = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  return path.substr(static_cast<std::size_t>(path.rend() - slash));
}

bool HasFolder(std::u16string_view link) { return std::any_of(link.begin(), link.end(), IsSeparator); }

bool IsAbsolute(std::u16string_view link) {
  const bool drive = link.size() >= 3 && ((link[0] | 0x20) >= u'a' && (link[0] | 0x20) <= u'z') && link[1] == u':' &&
                     IsSeparator(link[2]);
  const bool share = link.size() >= 3 && IsSeparator(link[0]) && IsSeparator(link[1]) && !IsSeparator(link[2]);
  return drive || share;
}

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

bool ProgramMatchesLink(std::u16string_view imagePath, std::u16string_view link) {
  link = Trimmed(link);
  if (link.empty()) return false;
  if (HasFolder(link)) return SameName(imagePath, link);
  return SameName(FileNamePart(imagePath), link);
}

int LinkedProfileOf(const SettingsStore& settings, std::u16string_view imagePath) {
  if (imagePath.empty()) return -1;
  for (int position = 0; position < settings.ProfileShowCount(); ++position) {
    const int profile = settings.ProfileShowList(position);
    if (profile < 0 || profile >= kProfileCount) continue;
    for (ProfileSetting slot : kProgramLinkSettings) {
      if (ProgramMatchesLink(imagePath, settings.Profile(profile).Setting(slot))) return profile;
    }
  }
  return -1;
}

std::u16string ProgramFileName(std::u16string_view link) { return std::u16string(FileNamePart(Trimmed(link))); }

std::optional<LinkProblem> CheckProgramLink(std::u16string_view link) {
  link = Trimmed(link);
  if (link.empty()) return LinkProblem::kEmpty;
  if (std::any_of(link.begin(), link.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; }))
    return LinkProblem::kControlCharacter;
  if (HasFolder(link) && !IsAbsolute(link)) return LinkProblem::kRelativePath;
  if (FileNamePart(link).empty()) return LinkProblem::kEmpty;
  return std::nullopt;
}

std::array<std::u16string, kProgramLinkCount> ProgramLinksOf(const ProfileRecord& profile) {
  std::array<std::u16string, kProgramLinkCount> links;
  for (std::size_t i = 0; i < links.size(); ++i) links[i] = profile.Setting(kProgramLinkSettings[i]);
  return links;
}

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
  return row >= 0 && row < kProgramLinkCount && !Trimmed(links_[static_cast<std::size_t>(row)]).empty();
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
    if (!other.empty() && SameName(Trimmed(other), link)) other.clear();
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
