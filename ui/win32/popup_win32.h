// The drop-down popup window: a topmost tool window that paints its items
// as an opaque layered window, hands the mouse to its portable rules and
// reports to its owner with window messages. It deletes itself when its
// window is gone; the owner only ever asks it to close (WM_CLOSE).
//
// An owner opens a popup into one of its slots and reads the choice while
// handling the result message:
//   OpenPopup(*this, slot, std::move(popup), topLeft, kResultMessage, ownerValue);
//   ... case kResultMessage: if (wParam != 0) { const PopupResult* chosen = PopupResultOf(lParam); ... }
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "ui/popup_logic.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/window_win32.h"

namespace zeltra::win32 {

class CDlgBase;

// Item backgrounds: normal, mouse over, marked, marked and mouse over.
struct PopupImages {
  std::filesystem::path normal;
  std::filesystem::path over;
  std::filesystem::path marked;
  std::filesystem::path markedOver;
};
// The menu backgrounds every owner gives ("skins\menu_nr.png",
// "skins\menu_ov.png", and the submenu pair for marked entries).
PopupImages MenuImages();

// The result record of a result message (lParam), valid while it is handled.
inline const PopupResult* PopupResultOf(LPARAM lParam) { return reinterpret_cast<const PopupResult*>(lParam); }

class CWndPopup : public CWnd {
 public:
  static constexpr wchar_t kWindowClass[] = L"ZeltraPopup";
  static constexpr UINT kHoverTimeMs = 50;
  static constexpr COLORREF kSeparatorColour = RGB(53, 160, 222);

  ~CWndPopup() override;

  // Builds the items, sizes itself to them and shows itself topmost with its
  // top-left corner at the rectangle's (screen coordinates). It reports to
  // `parent`. On success the object owns itself; on failure the caller
  // still owns it.
  bool Create(HWND parent, const RECT& screenRect, UINT resultMessage, std::intptr_t ownerValue);

  // The popup is about to be closed: losing activation from now on is no
  // dismissal (its owner may already have put another popup in its place).
  void StopDismissals() { closing_ = true; }

  const PopupLogic& logic() const { return *logic_; }
  // The item's rectangle in client coordinates (empty outside the list).
  RECT ItemRect(int index) const;

 protected:
  CWndPopup(std::unique_ptr<PopupMenu> menu, const PopupImages& images);

  // Draws every item into `dc` (black already fills the client area).
  virtual void DrawItems(HDC dc, const RECT& client);
  // Adds the class's items; runs once, when the window is created.
  virtual void BuildItems();

  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

  const PopupModel& model() const { return logic_->model(); }
  HFONT font() const { return font_.get(); }
  HWND owner() const { return owner_; }

 private:
  MessageResult Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnMouseMove(int x, int y);
  // Sends what the rules ask for; true when the popup must be repainted.
  bool Perform(const PopupReaction& reaction);
  void Send(const PopupSend& send);
  POINT CursorInClient() const;
  // Composes the items and puts them on the screen.
  void Paint();
  void Compose(HDC dc, const RECT& client);

  std::unique_ptr<PopupMenu> menu_;  // until the window is made: then the logic's
  std::optional<PopupLogic> logic_;
  std::array<SkinImage, 4> images_;
  UniqueFont font_;
  BackBuffer picture_{BackBuffer::Format::TopDown32};
  HWND owner_ = nullptr;
  POINT position_{};

  bool tracking_ = false;
  bool captureHeld_ = false;
  bool active_ = false;   // the last activation change made the popup active
  bool closing_ = false;  // being closed: no dismissal from the window's last activation changes
  bool closed_ = false;   // WM_CLOSE came
  bool layered_ = false;

  // The object deletes itself with its window, but never while one of its
  // own handlers still runs (an owner may destroy the window from inside a
  // message the popup sent).
  bool selfOwned_ = false;
  int depth_ = 0;
  bool deleteWhenDone_ = false;
};

// Closes whatever popup the owner's slot holds, creates `popup` at
// `topLeft` (screen coordinates) and keeps it in the slot. Returns the
// popup, or null (and nothing is kept) when its window could not be made.
CWndPopup* OpenPopup(CDlgBase& owner, int slot, std::unique_ptr<CWndPopup> popup, POINT topLeft, UINT resultMessage,
                     std::intptr_t ownerValue);

}  // namespace zeltra::win32
