// The eleven popups. Each lists its own items (ui/popup_classes.h says
// which and what choosing them sends); all draw the standard items except
// the profile picker, which draws its own rows.
#pragma once

#include "ui/win32/popup_win32.h"

namespace zeltra::win32 {

// Kind 0: the main assignment menu of a button combo.
class CComboPopup : public CWndPopup {
 public:
  explicit CComboPopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kCombo, images) {}
};

// Kind 2: the DPI functions.
class CDPIPopup : public CWndPopup {
 public:
  explicit CDPIPopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kDpi, images) {}
};

// Kind 3: the multimedia keys.
class CMultimediaPopup : public CWndPopup {
 public:
  explicit CMultimediaPopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kMultimedia, images) {}
};

// Kind 9: the lighting modes.
class CComboLightingPopup : public CWndPopup {
 public:
  explicit CComboLightingPopup(const PopupImages& images = MenuImages())
      : CWndPopup(PopupClass::kComboLighting, images) {}
};

// Kind 10: the eleven DPI-lock resolutions.
class CDPILockPopup : public CWndPopup {
 public:
  explicit CDPILockPopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kDpiLock, images) {}
};

// Kind 11: the Windows functions.
class CWindowsManagePopup : public CWndPopup {
 public:
  explicit CWindowsManagePopup(const PopupImages& images = MenuImages())
      : CWndPopup(PopupClass::kWindowsManage, images) {}
};

// Kind 12: the office functions.
class COfficePopup : public CWndPopup {
 public:
  explicit COfficePopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kOffice, images) {}
};

// Kind 13: import, export, rename and delete of a profile row.
class CProfileRKeyPopup : public CWndPopup {
 public:
  explicit CProfileRKeyPopup(const PopupImages& images = MenuImages()) : CWndPopup(PopupClass::kProfileRKey, images) {}
};

// Kind 14: the macro actions to insert.
class CComboActionInsertPopup : public CWndPopup {
 public:
  explicit CComboActionInsertPopup(const PopupImages& images = MenuImages())
      : CWndPopup(PopupClass::kActionInsert, images) {}
};

// Kind 15: the macro tree's context menu for a selection context (1 macro,
// 2 folder, 0 anything else).
class CMacroListPopup : public CWndPopup {
 public:
  explicit CMacroListPopup(int context, const PopupImages& images = MenuImages())
      : CWndPopup(PopupClass::kMacroList, images, PopupOptions{context, {}}) {}
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
