// Scenes of the dialogs the shell already has.
#include "gallery.h"
#include "settings/damaged_files.h"
#include "settings/language.h"
#include "ui/win32/attention_dlg_win32.h"

namespace zeltra::gallery {

ZELTRA_GALLERY_SCENE(attention) {
  auto dialog = std::make_unique<win32::CAttentionDlg>(LanguageString(150), LanguageString(147), nullptr);
  context.windows.push_back(OpenModeless(std::move(dialog)));
}

// What the window says once it kept a copy of a damaged file.
ZELTRA_GALLERY_SCENE(attention_kept_copy) {
  auto dialog = std::make_unique<win32::CAttentionDlg>(LanguageString(150), KeptCopyNotice(), nullptr);
  context.windows.push_back(OpenModeless(std::move(dialog)));
}

// The Startup folder's shortcut could not be written or removed.
ZELTRA_GALLERY_SCENE(attention_shortcut_failed) {
  auto dialog =
      std::make_unique<win32::CAttentionDlg>(LanguageString(150), LanguageString(kStringShortcutFailed), nullptr);
  context.windows.push_back(OpenModeless(std::move(dialog)));
}

// New macro, New folder or import while the macro library cannot be read.
ZELTRA_GALLERY_SCENE(attention_library_unavailable) {
  auto dialog =
      std::make_unique<win32::CAttentionDlg>(LanguageString(150), LanguageString(kStringLibraryUnavailable), nullptr);
  context.windows.push_back(OpenModeless(std::move(dialog)));
}

}  // namespace zeltra::gallery
