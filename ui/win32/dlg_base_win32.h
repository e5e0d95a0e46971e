// The skinned dialog: windowless controls in seven groups, painted double
// buffered from skin images and driven by the dialog's own mouse routing.
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "ui/win32/controls_win32.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/window_win32.h"

namespace zeltra::win32 {

class CDlgBase : public CDialog {
 public:
  static constexpr int kGroupCount = 7;
  static constexpr int kPopupSlotCount = 11;

  CDlgBase(UINT templateId, HWND parent);
  ~CDlgBase() override;

  // Paints background and frame into `dc`, ending with DrawControls.
  virtual void DrawBackground(HDC dc, const RECT& client) = 0;
  virtual void DrawControls(HDC dc, const RECT& clip);
  // Runs once at the start of every paint, before the picture is drawn (in
  // bands, each through DrawBackground).
  virtual void PreparePaint(const RECT& client) { (void)client; }
  // Creates the controls for the client rectangle (runs once).
  virtual void CreateControls(const RECT& client) = 0;
  // Whether a click that changed the control repaints the whole window
  // rather than the control (a control that moves others); none by default.
  virtual bool ClickRepaintsWindow(int /*id*/) const { return false; }

  // Background colour = the average colour of a bitmap resource or an image
  // file; unchanged when the image cannot be loaded.
  void SetBackgroundBitmap(UINT resourceId);
  void SetBackgroundImage(const std::filesystem::path& file);
  COLORREF backgroundColour() const { return background_; }

  CControlBase* FindControl(int id) const;
  void ReleaseControlImages();

  // Takes ownership of a control and appends it to group 0..6.
  template <class T>
  T* AddControl(int group, std::unique_ptr<T> control) {
    T* raw = control.get();
    groups_.at(static_cast<std::size_t>(group)).push_back(std::move(control));
    return raw;
  }
  const std::vector<std::unique_ptr<CControlBase>>& group(int index) const {
    return groups_.at(static_cast<std::size_t>(index));
  }

  // Popup slots: at most one open popup per slot; the popup owns itself.
  void SetPopup(int slot, CWnd* popup);
  CWnd* Popup(int slot) const;
  // Asks the slot's popup to close (when its window still exists) and
  // empties the slot.
  void ClosePopup(int slot);

  // Paints the client area as WM_PAINT does, into any device context; with
  // `update`, only that part of it. The picture is composed off screen in
  // bands of rows, through one buffer that every dialog shares.
  void PaintClient(HDC target, const RECT* update = nullptr);

  // Mouse routing state, for owners and tests.
  CControlBase* hoveredControl() const { return hovered_; }
  POINT lastMousePosition() const { return lastMouse_; }
  RECT pressedRect() const { return pressed_; }
  bool buttonHeld() const { return buttonHeld_; }
  int width() const { return width_; }
  int height() const { return height_; }

 protected:
  BOOL OnInitDialog() override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Builds the controls now if they are not built yet (for dialogs that need
  // them before the base initialisation).
  void EnsureControlsCreated(const RECT& client);
  void InvalidateArea(const RECT& rect) const;
  // Centres the window over its owner, or on the work area without one.
  void CenterOverOwner();

  int width_ = 2254;
  int height_ = 1480;
  COLORREF background_ = RGB(186, 226, 239);
  // The frame image of dialogs drawn on a frame file, decoded at the first paint.
  FrameFile frameFile_;
  HICON icon_ = nullptr;
  bool controlsCreated_ = false;
  // Small dialogs list themselves in the open-dialog table while they exist.
  bool registersOpenDialog_ = true;
  std::array<std::vector<std::unique_ptr<CControlBase>>, kGroupCount> groups_;

 private:
  template <class F>
  void ForEachActiveControl(F&& f) const {
    for (const auto& list : groups_) {
      for (const auto& control : list) {
        if (control && control->IsActive()) f(*control);
      }
    }
  }
  void Unregister();

  void OnPaint();
  void OnMouseMove(UINT flags, int x, int y);
  void OnMouseLeave();
  void OnMouseHover();
  bool OnLButtonDown(UINT flags, int x, int y);
  void OnLButtonUp(UINT flags, int x, int y);
  bool OnLButtonDblClk(UINT flags, int x, int y);
  bool OnRButtonUp(UINT flags, int x, int y);
  void OnCaptureLost();
  POINT CursorInClient() const;

  bool tracking_ = false;
  bool buttonHeld_ = false;
  RECT pressed_{-1, -1, -1, -1};
  bool captureHeld_ = false;
  POINT lastMouse_{-1, -1};
  CControlBase* hovered_ = nullptr;

  struct PopupSlot {
    CWnd* popup = nullptr;
    HWND hwnd = nullptr;
  };
  std::array<PopupSlot, kPopupSlotCount> popups_{};
  HWND registered_ = nullptr;
};

}  // namespace zeltra::win32
