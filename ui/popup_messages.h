// What a popup tells its owner besides its result message (which the owner
// chooses): that it lost the activation, under a number its class fixes,
// and that it is being closed.
#pragma once

#include <cstdint>

namespace zeltra {

// Sent (wParam 0, lParam 0) when the popup receives WM_CLOSE, before its
// window goes.
inline constexpr std::uint32_t kPopupClosedMessage = 0x401;

// Sent on losing the activation (wParam the owner value, lParam the kind).
inline constexpr std::uint32_t kComboPopupDismissed = 0x405;          // CComboPopup, kind 0
inline constexpr std::uint32_t kDpiPopupDismissed = 0x412;            // CDPIPopup, kind 2
inline constexpr std::uint32_t kMultimediaPopupDismissed = 0x415;     // CMultimediaPopup, kind 3
inline constexpr std::uint32_t kComboProfilePopupDismissed = 0x466;   // CComboProfilePopup, kind 7
inline constexpr std::uint32_t kComboLightingPopupDismissed = 0x47A;  // CComboLightingPopup, kind 9
inline constexpr std::uint32_t kDpiLockPopupDismissed = 0x484;        // CDPILockPopup, kind 10
inline constexpr std::uint32_t kWindowsManagePopupDismissed = 0x487;  // CWindowsManagePopup, kind 11
inline constexpr std::uint32_t kOfficePopupDismissed = 0x48A;         // COfficePopup, kind 12
inline constexpr std::uint32_t kProfileRKeyPopupDismissed = 0x48D;    // CProfileRKeyPopup, kind 13
inline constexpr std::uint32_t kActionInsertPopupDismissed = 0x490;   // CComboActionInsertPopup, kind 14
inline constexpr std::uint32_t kMacroListPopupDismissed = 0x492;      // CMacroListPopup, kind 15

}  // namespace zeltra
