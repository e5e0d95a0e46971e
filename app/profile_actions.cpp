#include "app/profile_actions.h"

namespace zeltra {

ProfileActionDecision DecideProfileAction(int action, int profile, const SettingsStore& settings) {
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
      if (profile == settings.CurrentProfileIndex()) return {Kind::Attention, profile, 152};
      return {Kind::RemoveFromShown, profile, 0};
    case ProfileAction::Add: {
      const int hidden = settings.FirstHiddenProfile();
      return hidden < 0 ? ProfileActionDecision{} : ProfileActionDecision{Kind::AddDialog, hidden, 0};
    }
    case ProfileAction::Notice:
      return {Kind::Attention, -1, 145};
    case ProfileAction::Programs:
      return validProfile ? ProfileActionDecision{Kind::ProgramsDialog, profile, 0} : ProfileActionDecision{};
  }
  return {};
}

}  // namespace zeltra
