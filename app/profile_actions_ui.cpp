#include "app/profile_actions_ui.h"

namespace zeltra {

ProfileFileRequest ImportFileRequest() {
  ProfileFileRequest request;
  request.titleString = ProfileFileDialog::kImportTitleString;
  return request;
}

ProfileFileRequest ExportFileRequest() {
  ProfileFileRequest request;
  request.save = true;
  request.titleString = ProfileFileDialog::kExportTitleString;
  request.fileMustExist = false;
  return request;
}

bool RunProfileAction(int action, int profile, SettingsStore& settings, ProfileActionDialogs& dialogs) {
  using Kind = ProfileActionDecision::Kind;
  const ProfileActionDecision decision = DecideProfileAction(action, profile, settings);
  switch (decision.kind) {
    case Kind::Nothing:
      return false;
    case Kind::ImportDialog: {
      const auto file = dialogs.RunProfileFileDialog(ImportFileRequest());
      // A file that does not load changes nothing (the store keeps the
      // profile and every file as they were).
      return file && settings.ImportProfile(decision.profile, *file).Loaded();
    }
    case Kind::ExportDialog:
      if (const auto file = dialogs.RunProfileFileDialog(ExportFileRequest()))
        settings.ExportProfile(decision.profile, *file);
      return false;
    case Kind::EditDialog:
      if (!dialogs.RunEditProfileDialog(settings.Profile(decision.profile))) return false;
      settings.SaveAll();
      return true;
    case Kind::Attention:
      dialogs.ShowAttention(decision.message);
      return false;
    case Kind::RemoveFromShown:
      if (settings.RemoveShownProfile(decision.profile) != RemoveProfileResult::kRemoved) return false;
      settings.SaveAll();
      return true;
    case Kind::AddDialog:
      if (!dialogs.RunAddProfileDialog(settings, decision.profile)) return false;
      settings.SaveAll();
      return true;
  }
  return false;
}

}  // namespace zeltra
