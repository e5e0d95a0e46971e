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

FileDialogRequest ToFileDialogRequest(const ProfileFileRequest& request, const LanguageTable& language) {
  FileDialogRequest out;
  out.save = request.save;
  out.title = language.String(request.titleString);
  out.filter = std::u16string(request.filter);
  out.defaultExtension = std::u16string(request.defaultExtension);
  out.initialName = std::u16string(request.initialName);
  if (request.readOnly) out.flags |= kFileDialogReadOnly;
  if (request.pathMustExist) out.flags |= kFileDialogPathMustExist;
  if (request.fileMustExist) out.flags |= kFileDialogFileMustExist;
  // An export chosen over an existing file would replace it without a word.
  if (request.save) out.flags |= kFileDialogOverwritePrompt;
  out.bufferChars = request.bufferChars;
  return out;
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
    case Kind::ProgramsDialog: {
      ProgramLinksDialog dialog(settings.Profile(decision.profile));
      if (!dialogs.RunProgramLinksDialog(dialog) || !dialog.Confirm(settings.Profile(decision.profile))) return false;
      // The links work from now on; the pages show nothing of them.
      settings.SaveAll();
      return false;
    }
  }
  return false;
}

}  // namespace zeltra
