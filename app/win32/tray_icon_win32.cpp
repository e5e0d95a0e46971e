#include "app/win32/tray_icon_win32.h"

#include "app/main_window_ids.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// Copies a text into a fixed field of the icon's record, cut to fit.
template <std::size_t N>
void CopyInto(wchar_t (&field)[N], const std::u16string& text) {
  const std::size_t n = text.copy(reinterpret_cast<char16_t*>(field), N - 1);
  field[n] = L'\0';
}

}  // namespace

bool TrayIcon::Add(HWND owner, HICON icon, const std::u16string& tip) {
  Remove();
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof(NOTIFYICONDATAW);
  data_.hWnd = owner;
  data_.uID = kTrayIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kWmTrayNotify;
  data_.hIcon = icon;
  CopyInto(data_.szTip, tip);
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return added_;
}

void TrayIcon::Remove() {
  if (data_.hWnd == nullptr) return;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  data_.hWnd = nullptr;
  added_ = false;
}

void TrayIcon::SetTip(const std::u16string& tip) {
  CopyInto(data_.szTip, tip);
  if (!added_) return;
  NOTIFYICONDATAW change = data_;
  change.uFlags = NIF_TIP;
  Shell_NotifyIconW(NIM_MODIFY, &change);
}

bool TrayIcon::ShowBalloon(const TrayBalloon& balloon) {
  if (!added_) return false;
  NOTIFYICONDATAW change = data_;
  change.uFlags = NIF_INFO;
  CopyInto(change.szInfoTitle, balloon.title);
  CopyInto(change.szInfo, balloon.text);
  change.dwInfoFlags = NIIF_WARNING;
  if (Shell_NotifyIconW(NIM_MODIFY, &change) == FALSE) return false;
  lastBalloon_ = balloon;
  ++balloonsShown_;
  return true;
}

void TrayIcon::ShowMenu(const std::vector<TrayMenuItem>& items) const {
  HWND owner = data_.hWnd;
  if (owner == nullptr) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  for (const TrayMenuItem& item : items) {
    if (item.command == 0) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0u) | (item.enabled ? 0u : MF_GRAYED);
    AppendMenuW(menu.get(), flags, item.command, Wide(item.text));
  }
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the empty message lets it go at once afterwards.
  SetForegroundWindow(owner);
  TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace zeltra::win32
