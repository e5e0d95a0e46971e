#include "macro/macro_file_dialogs.h"

#include "macro/macro_transfer.h"
#include "settings/language.h"

namespace zeltra {

namespace {

constexpr int kPathChars = 260;

MacroFileDialog Dialog(bool save, bool library, std::u16string fileName, int title) {
  MacroFileDialog dialog;
  dialog.save = save;
  dialog.filter = library ? kLibraryFileFilter : kMacroFileFilter;
  dialog.defaultExtension = library ? kLibraryFileExtension : kMacroFileExtension;
  dialog.fileName = std::move(fileName);
  dialog.title = title;
  dialog.flags = kMacroFileDialogFlags;
  dialog.pathChars = kPathChars;
  return dialog;
}

}  // namespace

MacroFileDialog MacroFileDialogFor(ManagerOperation operation, const MacroLibrary& library) {
  switch (operation) {
    case ManagerOperation::kExportMacro: return Dialog(true, false, DefaultMacroExportName(library), kExportMacroTitle);
    case ManagerOperation::kImportMacro:
      return Dialog(false, false, std::u16string(kMacroImportInitialName), kImportMacroTitle);
    case ManagerOperation::kImportLibrary:
      return Dialog(false, true, std::u16string(kLibraryImportInitialName), kImportLibraryTitle);
    case ManagerOperation::kExportLibrary:
      return Dialog(true, true, DefaultLibraryExportName(library), kExportLibraryTitle);
    default: return {};
  }
}

FileDialogRequest MacroFileDialogRequest(const MacroFileDialog& dialog) {
  FileDialogRequest request;
  request.save = dialog.save;
  request.title = dialog.title != 0 ? LanguageString(dialog.title) : std::u16string();
  request.filter = std::u16string(dialog.filter);
  request.defaultExtension = std::u16string(dialog.defaultExtension);
  request.initialName = dialog.fileName;
  request.flags = dialog.flags;
  // An export names a file that need not exist yet: "file must exist" is
  // not a flag for a save dialog (the platform may refuse every new name).
  // One chosen over an existing file asks first, as a profile export does.
  if (dialog.save) request.flags = (request.flags & ~kFileDialogFileMustExist) | kFileDialogOverwritePrompt;
  request.bufferChars = dialog.pathChars > 0 ? dialog.pathChars : request.bufferChars;
  return request;
}

}  // namespace zeltra
