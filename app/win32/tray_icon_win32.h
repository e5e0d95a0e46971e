// The main window's icon in the notification area: added once, its tip and
// its balloon notice changed in place, its menu shown at the pointer, and
// removed when its owner goes.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/tray.h"

namespace zeltra::win32 {

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Icon kTrayIconId of `owner`, whose window gets kWmTrayNotify.
  bool Add(HWND owner, HICON icon, const std::u16string& tip);
  void Remove();
  void SetTip(const std::u16string& tip);
  // The balloon beside the icon (a warning); true when the shell took it.
  bool ShowBalloon(const TrayBalloon& balloon);
  // The menu at the pointer, tracked for the owner, which gets the chosen
  // item's id as a WM_COMMAND.
  void ShowMenu(const std::vector<TrayMenuItem>& items) const;

  bool added() const { return added_; }
  const NOTIFYICONDATAW& data() const { return data_; }
  const std::optional<TrayBalloon>& lastBalloon() const { return lastBalloon_; }
  int balloonsShown() const { return balloonsShown_; }

 private:
  NOTIFYICONDATAW data_{};
  bool added_ = false;
  std::optional<TrayBalloon> lastBalloon_;
  int balloonsShown_ = 0;
};

}  // namespace zeltra::win32
