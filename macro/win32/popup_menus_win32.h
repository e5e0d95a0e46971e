// The eleven popups. Each lists its own items (macro/popup_menus.h says
// which and what choosing them sends); all draw the standard items except
// the profile picker, which draws its own rows.
#pragma once

#include "macro/popup_menus.h"
#include "ui/win32/popup_win32.h"

namespace zeltra::win32 {

// The popups that list a fixed table of items with the standard look.
template <PopupClass kClass>
class CListPopup : public CWndPopup {
 public:
  explicit CListPopup(const PopupImages& images = MenuImages()) : CWndPopup(MakePopupMenu(kClass), images) {}
};

using CComboPopup = CListPopup<PopupClass::kCombo>;                     // kind 0: the main assignment menu
using CDPIPopup = CListPopup<PopupClass::kDpi>;                         // kind 2: the DPI functions
using CMultimediaPopup = CListPopup<PopupClass::kMultimedia>;           // kind 3: the multimedia keys
using CComboLightingPopup = CListPopup<PopupClass::kComboLighting>;     // kind 9: the lighting modes
using CDPILockPopup = CListPopup<PopupClass::kDpiLock>;                 // kind 10: the DPI-lock resolutions
using CWindowsManagePopup = CListPopup<PopupClass::kWindowsManage>;     // kind 11: the Windows functions
using COfficePopup = CListPopup<PopupClass::kOffice>;                   // kind 12: the office functions
using CProfileRKeyPopup = CListPopup<PopupClass::kProfileRKey>;         // kind 13: a profile row's actions
using CComboActionInsertPopup = CListPopup<PopupClass::kActionInsert>;  // kind 14: macro actions to insert

// Kind 15: the macro tree's context menu for a selection context (1 macro,
// 2 folder, 0 anything else).
class CMacroListPopup : public CWndPopup {
 public:
  explicit CMacroListPopup(int context, const PopupImages& images = MenuImages())
      : CWndPopup(MakePopupMenu(PopupClass::kMacroList, PopupOptions{context, {}}), images) {}
};

// Kind 7: the profile picker, with its header image (its rows are filled
// rectangles, not images).
class CComboProfilePopup : public CWndPopup {
 public:
  static constexpr COLORREF kCurrentRow = RGB(120, 0, 0);
  static constexpr COLORREF kHoveredRow = RGB(55, 55, 55);
  static constexpr COLORREF kRow = RGB(31, 31, 31);
  static constexpr COLORREF kLastRow = RGB(73, 0, 0);
  static constexpr COLORREF kRowMark = RGB(144, 156, 14);

  CComboProfilePopup(ProfilePopupRows rows, const std::filesystem::path& headerImage);

 protected:
  void DrawItems(HDC dc, const RECT& client) override;

 private:
  SkinImage header_;
};

// A small right-pointing triangle at the row's right end, in unscaled pixels.
void DrawRowMark(HDC dc, const RECT& row, COLORREF colour);

}  // namespace zeltra::win32
