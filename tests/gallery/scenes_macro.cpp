// Scenes of the macro manager and its small dialogs.
#include "gallery.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "macro/macro_tree_view.h"
#include "macro/win32/macro_edit_dlgs_win32.h"
#include "macro/win32/macro_manager_dlg_win32.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"

namespace zeltra::gallery {
namespace {

// A test tool: the library and profile live until the process ends.
MacroLibrary& Library() {
  static MacroLibrary* library = [] {
    auto* made = new MacroLibrary;
    MacroLocation games = MacroLocation::None();
    made->AddFolder(u"Games", games);
    for (const char16_t* name : {u"Reload", u"Dash jump"}) {
      MacroLocation at = games;
      made->AddMacro(name, at);
    }
    MacroLocation office = MacroLocation::None();
    made->AddFolder(u"Office", office);
    MacroLocation fire = MacroLocation::None();
    made->AddMacro(u"Fire burst", fire);
    Macro& macro = *made->MacroAt(fire);
    const std::uint8_t keys[] = {'A', 'B', 0xE0};
    for (std::uint8_t key : keys) {
      for (bool release : {false, true}) {
        if (macro.MacroActionNum > 0) macro.InsertAction(static_cast<int>(macro.MacroActionNum), MacroAction::Delay(85));
        macro.InsertAction(static_cast<int>(macro.MacroActionNum), MacroAction::Event(key, release));
        ++macro.MacroCommandActionNum;
      }
    }
    macro.MacroKeyLoopType = 2;
    macro.MacroKeyLoopNum = 3;
    return made;
  }();
  return *library;
}

ProfileRecord& Profile() {
  static auto* profile = new ProfileRecord;
  return *profile;
}

// The manager with the Games folder open and the recorded macro selected.
win32::CMacroManagerDlg* OpenManager(SceneContext& context) {
  MacroLibrary& library = Library();
  auto owned = std::make_unique<win32::CMacroManagerDlg>(library, Profile(),
                                                         MacroLibraryPath(Ui().dataFolder), nullptr);
  win32::CMacroManagerDlg* manager = owned.get();
  HWND hwnd = OpenModeless(std::move(owned));
  context.windows.push_back(hwnd);
  library.ItemAt(MacroLocation::At(0))->MacroItemFolderIsOpen = 1;
  library.selectedLocation = MacroLocation::At(2);
  SendMessageW(hwnd, kTreeListId, 0, kCodeClicked);
  return manager;
}

}  // namespace

ZELTRA_GALLERY_SCENE(macro_manager) { OpenManager(context); }

// The context popup of a macro row, opened where the right button went up.
ZELTRA_GALLERY_SCENE(macro_manager_popup) {
  win32::CMacroManagerDlg* manager = OpenManager(context);
  const UiPoint at{Scaled(90), Scaled(54 + 4 * 20 + 10)};
  manager->rules().OnTreeNotify(kCodeRightReleased, at);
  if (win32::CWnd* popup = manager->Popup(PopupSlotOf(PopupClass::kMacroList))) context.windows.push_back(popup->GetSafeHwnd());
}

ZELTRA_GALLERY_SCENE(macro_key) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CActionKeyModifyDlg>('A', nullptr)));
}

ZELTRA_GALLERY_SCENE(macro_delay) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CActionTimeModifyDlg>(u"85", nullptr)));
}

ZELTRA_GALLERY_SCENE(macro_name) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CMacroKeyOrFolderNameDlg>(false, nullptr)));
}

ZELTRA_GALLERY_SCENE(macro_rename) {
  context.windows.push_back(OpenModeless(std::make_unique<win32::CMacroKeyRenameDlg>(u"Fire burst", nullptr)));
}

}  // namespace zeltra::gallery
