// Scenes of the drop-down popups, each with one item under the mouse.
#include "gallery.h"
#include "settings/language.h"
#include "ui/ui_context.h"
#include "macro/win32/popup_menus_win32.h"

namespace zeltra::gallery {
namespace {

constexpr UINT kResultMessage = 0x7F00;  // the host swallows it
// Below the host dialog (320 x 200 design units), so that only popups show.
constexpr POINT kTopLeft{20, 220};

// Opens the popup at the design point and puts the mouse on item `hovered`.
win32::CWndPopup* Show(SceneContext& context, PopupClass slotOf, std::unique_ptr<win32::CWndPopup> popup, POINT at,
                       int hovered) {
  const POINT screen{Scaled(at.x), Scaled(at.y)};
  win32::CWndPopup* shown =
      win32::OpenPopup(context.host, PopupSlotOf(slotOf), std::move(popup), screen, kResultMessage, 0);
  if (shown == nullptr) return nullptr;
  HWND hwnd = shown->GetSafeHwnd();
  if (hovered >= 0) {
    const RECT r = shown->ItemRect(hovered);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT cursor = p;
    ClientToScreen(hwnd, &cursor);
    SetCursorPos(cursor.x, cursor.y);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  }
  context.windows.push_back(hwnd);
  return shown;
}

template <class Popup>
void ShowOne(SceneContext& context, PopupClass popupClass, int hovered) {
  Show(context, popupClass, std::make_unique<Popup>(), kTopLeft, hovered);
}

}  // namespace

// The main menu with the pointer on its multimedia entry, and that submenu.
ZELTRA_GALLERY_SCENE(popup_combo) {
  Show(context, PopupClass::kCombo, std::make_unique<win32::CComboPopup>(), kTopLeft, 10);
  Show(context, PopupClass::kMultimedia, std::make_unique<win32::CMultimediaPopup>(),
       POINT{kTopLeft.x + 162, kTopLeft.y + 1 + 10 * 22}, -1);
}

ZELTRA_GALLERY_SCENE(popup_dpi) { ShowOne<win32::CDPIPopup>(context, PopupClass::kDpi, 1); }
ZELTRA_GALLERY_SCENE(popup_multimedia) { ShowOne<win32::CMultimediaPopup>(context, PopupClass::kMultimedia, 4); }
ZELTRA_GALLERY_SCENE(popup_lighting) { ShowOne<win32::CComboLightingPopup>(context, PopupClass::kComboLighting, 2); }
ZELTRA_GALLERY_SCENE(popup_dpi_lock) { ShowOne<win32::CDPILockPopup>(context, PopupClass::kDpiLock, 5); }
ZELTRA_GALLERY_SCENE(popup_windows) { ShowOne<win32::CWindowsManagePopup>(context, PopupClass::kWindowsManage, 1); }
ZELTRA_GALLERY_SCENE(popup_office) { ShowOne<win32::COfficePopup>(context, PopupClass::kOffice, 0); }
ZELTRA_GALLERY_SCENE(popup_profile_actions) { ShowOne<win32::CProfileRKeyPopup>(context, PopupClass::kProfileRKey, 2); }
ZELTRA_GALLERY_SCENE(popup_action_insert) {
  ShowOne<win32::CComboActionInsertPopup>(context, PopupClass::kActionInsert, 3);
}

ZELTRA_GALLERY_SCENE(popup_macro_list) {
  Show(context, PopupClass::kMacroList, std::make_unique<win32::CMacroListPopup>(1), kTopLeft, 4);
}

// Three shown profiles, the first current, the pointer on the second.
ZELTRA_GALLERY_SCENE(popup_profiles) {
  ProfilePopupRows rows;
  rows.header = LanguageString(10);
  rows.names = {LanguageString(85), LanguageString(86), LanguageString(87), u"", u""};
  rows.last = LanguageString(200);
  rows.currentRow = 1;
  Show(context, PopupClass::kComboProfile,
       std::make_unique<win32::CComboProfilePopup>(rows, win32::SkinPath(L"skins\\header2_nr.png")), kTopLeft, 2);
}

}  // namespace zeltra::gallery
