// The four small dialogs of the macro manager, which share one layout:
// CActionKeyModifyDlg (the key of an action), CActionTimeModifyDlg (a delay),
// CMacroKeyOrFolderNameDlg (a new macro's or folder's name) and
// CMacroKeyRenameDlg.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macro/dialog_layout.h"

namespace zeltra {

enum class MacroEditDialog {
  kKey,         // CActionKeyModifyDlg
  kDelay,       // CActionTimeModifyDlg
  kMacroName,   // CMacroKeyOrFolderNameDlg naming a macro
  kFolderName,  // CMacroKeyOrFolderNameDlg naming a folder
  kRename,      // CMacroKeyRenameDlg
};

inline constexpr int kMacroEditDialogWidth = 319;  // design units
inline constexpr int kMacroEditDialogHeight = 102;
// The key and delay dialogs draw this frame stretched to the client area and
// fill kMacroEditFieldBackground white behind the field.
inline constexpr std::u16string_view kMacroEditDialogFrame = u"skins\\Frame_warning.bmp";
inline constexpr std::array<int, 4> kMacroEditFieldBackground{11, 40, 306, 62};
inline constexpr int kMacroEditKeyField = 2012;  // static text (key dialog)
inline constexpr int kMacroEditBox = kIdTextEntry;  // native edit box, black on white (the others)

// Caption language string of each dialog.
int MacroEditDialogCaption(MacroEditDialog dialog);
bool MacroEditDialogDrawsFrame(MacroEditDialog dialog);
// Caption, close cross, the key field or the edit box, OK and Cancel.
std::array<DialogControl, 5> MacroEditDialogControls(MacroEditDialog dialog);
// The key dialog leaves Enter and Esc to the platform (ending it without
// taking the key); the others run OK on Enter and swallow Esc.
DialogKeys MacroEditDialogKeys(MacroEditDialog dialog);

// The key dialog: every key event from the hook replaces the code.
class KeyDialogState {
 public:
  explicit KeyDialogState(std::uint8_t code) : code_(code) {}
  // True when the code (and so the field's text) changed.
  bool OnKey(std::uint8_t virtualKey);
  std::uint8_t code() const { return code_; }
  const std::u16string& name() const;

 private:
  std::uint8_t code_;
};

// The rename dialog ends with OK only for a changed name, else as Cancel.
constexpr bool RenameDialogAccepts(std::u16string_view current, std::u16string_view typed) { return typed != current; }

}  // namespace zeltra
