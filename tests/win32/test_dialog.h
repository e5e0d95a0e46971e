// A small skinned dialog whose controls and notifications a test chooses.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/win32/dlg_base_win32.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::test {

struct Notification {
  UINT message;
  WPARAM wParam;
  LPARAM code;
};

struct ControlPlace {
  int id;
  RECT rect;
  int group = 0;
};

// An image button that also counts the calls a plain one ignores.
class RecordingButton : public win32::CImageButton {
 public:
  using CImageButton::CImageButton;
  int OnRButtonUp(UINT flags, int x, int y) override {
    ++rightReleases;
    return CImageButton::OnRButtonUp(flags, x, y);
  }
  int OnLButtonDblClk(UINT flags, int x, int y) override {
    ++doubleClicks;
    return CImageButton::OnLButtonDblClk(flags, x, y);
  }
  int rightReleases = 0;
  int doubleClicks = 0;
};

class TestDialog : public win32::CDlgBase {
 public:
  explicit TestDialog(std::vector<ControlPlace> places, int width = 300, int height = 200, HWND parent = nullptr)
      : CDlgBase(IDD_SMALL_DIALOG, parent), places_(std::move(places)) {
    width_ = width;
    height_ = height;
  }

  // Shows the dialog without a loop of its own, above everything, so that
  // the real cursor can rest on it.
  bool Open() {
    SetCursorPos(0, 0);  // away from where the dialog appears
    if (!Create()) return false;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(hwnd_);
    return true;
  }
  HWND hwnd() const { return hwnd_; }
  RecordingButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

  std::vector<Notification> notifications;
  int paints = 0;
  // The ids whose click repaints the whole window; none when empty.
  std::function<bool(int)> clickRepaintsWindow;

 protected:
  void CreateControls(const RECT&) override {
    for (const auto& place : places_) {
      buttons_.push_back(AddControl(place.group, std::make_unique<RecordingButton>(hwnd_, place.id, place.rect, u"")));
    }
  }
  bool ClickRepaintsWindow(int id) const override { return clickRepaintsWindow && clickRepaintsWindow(id); }
  void DrawBackground(HDC dc, const RECT& client) override {
    ++paints;
    win32::FillSolid(dc, client, background_);
    DrawControls(dc, client);
  }
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= 2001 && message <= 3999) {
      notifications.push_back({message, wParam, lParam});
      return 0;
    }
    return CDlgBase::OnMessage(message, wParam, lParam);
  }

 private:
  std::vector<ControlPlace> places_;
  std::vector<RecordingButton*> buttons_;
};

}  // namespace zeltra::test
