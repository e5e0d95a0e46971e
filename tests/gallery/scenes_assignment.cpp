// Scenes of the button assignment: the main menu opened by a combo with a
// submenu, and the fire-key, key-combination and macro-chooser dialogs.
#include <windowsx.h>

#include "app/main_window_ids.h"
#include "app/win32/assignment_unit_win32.h"
#include "gallery.h"
#include "macro/macro_library.h"
#include "macro/win32/fire_key_dlg_win32.h"
#include "macro/win32/macro_select_dlg_win32.h"
#include "macro/win32/shortcut_dlg_win32.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "ui/control_codes.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/popup_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::gallery {
namespace {

// A strip with one button combo, served by the window's assignment unit.
class ComboStrip : public win32::CDlgBase, public win32::AssignmentWindow {
 public:
  ComboStrip() : CDlgBase(IDD_SMALL_DIALOG, nullptr), unit_(*this) {
    width_ = Scaled(270);
    height_ = Scaled(46);
    registersOpenDialog_ = false;
  }
  CDlgBase& Dialog() override { return *this; }
  ProfileRecord& AssignedProfile() override { return profile_; }
  MacroLibrary& AssignedLibrary() override { return library_; }
  void HighlightPictureButton(int) override {}
  void ApplyChangedButtons() override {}
  win32::AssignmentUnit& unit() { return unit_; }

 protected:
  void CreateControls(const RECT&) override {
    auto combo = std::make_unique<win32::CComboButton>(hwnd_, 2014, RECT{Scaled(34), Scaled(10), Scaled(256), Scaled(36)},
                                                       LanguageString(21), kButtonComboMessage);
    combo->SetNormalImage(win32::SkinPath(L"skins\\combo2_nr.png"));
    combo->SetOverImage(win32::SkinPath(L"skins\\combo2_ov.png"));
    combo->SetPadding(Scaled(10), Scaled(28));
    AddControl(0, std::move(combo));
  }
  void DrawBackground(HDC dc, const RECT& client) override {
    win32::FillSolid(dc, client, RGB(20, 20, 20));
    DrawControls(dc, client);
  }
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (unit_.OnMessage(message, wParam, lParam, result)) return result;
    return CDlgBase::OnMessage(message, wParam, lParam);
  }

 private:
  ProfileRecord profile_;
  MacroLibrary library_;
  win32::AssignmentUnit unit_;
};

MacroLibrary& GalleryLibrary() {
  // A test tool: the library lives until the process ends.
  static MacroLibrary* library = [] {
    auto* made = new MacroLibrary;
    for (const char16_t* folderName : {u"FPS", u"Office"}) {
      MacroLocation folder = MacroLocation::None();
      made->AddFolder(folderName, folder);
      for (const char16_t* name : {u"Burst fire", u"Reload"}) {
        MacroLocation inside = folder;
        made->AddMacro(name, inside);
      }
    }
    for (const char16_t* name : {u"Copy and paste", u"Greeting"}) {
      MacroLocation top = MacroLocation::None();
      made->AddMacro(name, top);
    }
    return made;
  }();
  return *library;
}

void ClickAt(HWND dialog, int x, int y) {
  SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
void ClickControl(win32::CDlgBase& dialog, int id) {
  if (const win32::CControlBase* control = dialog.FindControl(id)) {
    const RECT r = control->GetRect();
    ClickAt(dialog.GetSafeHwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
}

}  // namespace

// The main menu at its place beside the combo, the pointer on the
// multimedia entry and that submenu open.
ZELTRA_GALLERY_SCENE(assign_menu) {
  auto strip = std::make_unique<ComboStrip>();
  ComboStrip* raw = strip.get();
  HWND hwnd = OpenModeless(std::move(strip));
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  context.windows.push_back(hwnd);
  SendMessageW(hwnd, kButtonComboMessage, 2014, kCodeClicked);
  win32::CWndPopup* menu = raw->unit().OpenMenu(PopupClass::kCombo);
  if (menu == nullptr) return;
  const RECT r = menu->ItemRect(10);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT cursor = p;
  ClientToScreen(menu->GetSafeHwnd(), &cursor);
  SetCursorPos(cursor.x, cursor.y);
  SendMessageW(menu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  context.windows.push_back(menu->GetSafeHwnd());
  if (win32::CWndPopup* sub = raw->unit().OpenMenu(PopupClass::kMultimedia)) context.windows.push_back(sub->GetSafeHwnd());
}

ZELTRA_GALLERY_SCENE(fire_key) { context.windows.push_back(OpenModeless(std::make_unique<win32::CFireKeyDlg>(nullptr))); }

// Ctrl ticked and the A key pressed.
ZELTRA_GALLERY_SCENE(shortcut) {
  auto dialog = std::make_unique<win32::CShortcutDlg>(nullptr);
  win32::CShortcutDlg* raw = dialog.get();
  HWND hwnd = OpenModeless(std::move(dialog));
  context.windows.push_back(hwnd);
  ClickControl(*raw, kShortcutCtrlBox);
  SendMessageW(hwnd, kKeyHookMessage, 0x41, 0);
  SetCursorPos(0, 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
}

// The library collapsed, one macro selected.
ZELTRA_GALLERY_SCENE(macro_select) {
  auto dialog = std::make_unique<win32::CMacroSelectDlg>(GalleryLibrary(), nullptr);
  win32::CMacroSelectDlg* raw = dialog.get();
  HWND hwnd = OpenModeless(std::move(dialog));
  context.windows.push_back(hwnd);
  if (const win32::CControlBase* tree = raw->FindControl(2015)) {
    const RECT r = tree->GetRect();
    ClickAt(hwnd, r.left + Scaled(60), r.top + Scaled(50));  // the third row
  }
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
}

}  // namespace zeltra::gallery
