#include "device/profile_actions.h"

#include <array>

#include "settings/text_format.h"

namespace zeltra {

namespace {

int ShowCount(const GlobalSettings& globals) { return ParseDecimal(globals.Value(kProfileShowCount)); }

}  // namespace

ProfileActionDecision DecideProfileAction(int action, int profile, const GlobalSettings& globals) {
  using Kind = ProfileActionDecision::Kind;
  const bool validProfile = profile >= 0 && profile < kProfileCount;
  switch (static_cast<ProfileAction>(action)) {
    case ProfileAction::Import:
      return validProfile ? ProfileActionDecision{Kind::ImportDialog, profile, 0} : ProfileActionDecision{};
    case ProfileAction::Export:
      return validProfile ? ProfileActionDecision{Kind::ExportDialog, profile, 0} : ProfileActionDecision{};
    case ProfileAction::Edit:
      return validProfile ? ProfileActionDecision{Kind::EditDialog, profile, 0} : ProfileActionDecision{};
    case ProfileAction::Delete:
      if (!validProfile) return {};
      if (profile == ParseDecimal(globals.Value(kCurrentProfile))) return {Kind::Attention, profile, 152};
      return {Kind::RemoveFromShown, profile, 0};
    case ProfileAction::Add: {
      const int count = ShowCount(globals);
      if (count < 0 || count >= kProfileCount) return {};
      const int hidden = ParseDecimal(globals.Value(kProfileShowList0 + count));
      if (hidden < 0 || hidden >= kProfileCount) return {};
      return {Kind::AddDialog, hidden, 0};
    }
    case ProfileAction::Notice:
      return {Kind::Attention, -1, 145};
  }
  return {};
}

bool RemoveFromShownList(GlobalSettings& globals, int profile) {
  std::array<int, kProfileCount> list{};
  int position = -1;
  for (int i = 0; i < kProfileCount; ++i) {
    list[static_cast<std::size_t>(i)] = ParseDecimal(globals.Value(kProfileShowList0 + i));
    if (position < 0 && list[static_cast<std::size_t>(i)] == profile) position = i;
  }
  const int count = ShowCount(globals);
  // Only an offered profile can be removed, and one must stay offered.
  if (position < 0 || position >= count || count <= 1) return false;
  for (int i = position; i + 1 < kProfileCount; ++i) list[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i + 1)];
  list[kProfileCount - 1] = profile;
  globals.SetValue(kProfileShowCount, Dec(count - 1));
  for (int i = 0; i < kProfileCount; ++i) globals.SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
  return true;
}

}  // namespace zeltra
