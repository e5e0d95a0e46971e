#include "settings/program_links.h"

#include <algorithm>

#include "settings/settings_store.h"

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

}  // namespace

bool SameProgramLink(std::u16string_view a, std::u16string_view b) { return SameName(Trimmed(a), Trimmed(b)); }

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

bool AddProgramLink(ProfileRecord& profile, std::u16string_view link) {
  for (ProfileSetting slot : kProgramLinkSettings)
    if (SameProgramLink(profile.Setting(slot), link)) return true;
  for (ProfileSetting slot : kProgramLinkSettings) {
    if (!Trimmed(profile.Setting(slot)).empty()) continue;
    profile.SetSetting(slot, std::u16string(Trimmed(link)));
    return true;
  }
  return false;
}

}  // namespace zeltra
