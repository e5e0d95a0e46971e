// The standard file dialogs of the macro manager's four file operations, as
// the data the platform's open and save dialogs are given.
#pragma once

#include <string>
#include <string_view>

#include "macro/macro_manager.h"
#include "ui/file_dialog.h"

namespace zeltra {

struct MacroFileDialog {
  bool save = false;           // a save dialog, else an open dialog
  std::u16string_view filter;  // "description|pattern||" form
  std::u16string_view defaultExtension;
  std::u16string fileName;  // the name the dialog proposes
  int title = 0;            // language string
  unsigned flags = 0;       // read-only box ticked, path and file must exist
  int pathChars = 0;        // the path buffer
  // The dialog opens on the process's current folder.
};

// The dialog of operation kExportMacro, kImportMacro, kImportLibrary or
// kExportLibrary, with the default names taken from the library's
// selection; a dialog with an empty filter for any other operation.
MacroFileDialog MacroFileDialogFor(ManagerOperation operation, const MacroLibrary& library);

// What the platform's dialog is given for it, the title from the language table.
FileDialogRequest MacroFileDialogRequest(const MacroFileDialog& dialog);

}  // namespace zeltra
