#include "ui/win32/dlg_base_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/open_dialog_table.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

constexpr RECT kNoRect{-1, -1, -1, -1};

bool PointIn(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

OpenDialogTable::Handle TableHandle(HWND hwnd) { return reinterpret_cast<OpenDialogTable::Handle>(hwnd); }

}  // namespace

CDlgBase::CDlgBase(UINT templateId, HWND parent) : CDialog(templateId, parent) {
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_APP_ICON));
}

CDlgBase::~CDlgBase() {
  Unregister();
  hovered_ = nullptr;
  for (auto& list : groups_) list.clear();
}

void CDlgBase::Unregister() {
  if (registered_ != nullptr) OpenDialogs().Unregister(TableHandle(registered_));
  registered_ = nullptr;
}

BOOL CDlgBase::OnInitDialog() {
  CDialog::OnInitDialog();
  if (icon_ != nullptr) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  SetWindowTextW(hwnd_, L"Zeltra");
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, width_, height_, SWP_NOMOVE | SWP_SHOWWINDOW);
  RECT client{};
  GetClientRect(hwnd_, &client);
  EnsureControlsCreated(client);
  CenterOverOwner();
  if (registersOpenDialog_ && registered_ == nullptr && OpenDialogs().Register(TableHandle(hwnd_))) registered_ = hwnd_;
  return TRUE;
}

void CDlgBase::EnsureControlsCreated(const RECT& client) {
  if (controlsCreated_) return;
  controlsCreated_ = true;
  CreateControls(client);
}

void CDlgBase::CenterOverOwner() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT centre = work;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &centre);
  int left = centre.left + (centre.right - centre.left - w) / 2;
  int top = centre.top + (centre.bottom - centre.top - h) / 2;
  // Keep the dialog on the screen even when its owner is near an edge.
  if (left + w > work.right) left = work.right - w;
  if (top + h > work.bottom) top = work.bottom - h;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- painting --------------------------------------------------------------

void CDlgBase::DrawControls(HDC dc, const RECT& area) {
  // Controls outside the part being painted are skipped.
  RECT clip = area;
  RECT box{};
  const int kind = GetClipBox(dc, &box);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) IntersectRect(&clip, &area, &box);
  ForEachActiveControl([&](CControlBase& control) {
    RECT r = control.GetRect();
    RECT visible{};
    if (IntersectRect(&visible, &r, &clip)) control.Draw(dc, area);
  });
}

namespace {

// Every dialog paints through one buffer of about this many bytes, a band of
// rows at a time: a whole window's buffer would be 13 MB at scale 2.0.
constexpr int kBandBytes = 1 << 20;
constexpr int kMinBandRows = 32;

int BandRows(int width) { return std::max(kMinBandRows, kBandBytes / (std::max(width, 1) * 4)); }

// The buffer of every dialog's paint, made at the first paint and grown to
// the widest window painted; painting happens on the user-interface thread
// only, and a paint inside a paint (none is known) takes a buffer of its own.
struct PaintBuffer {
  BackBuffer buffer{BackBuffer::Format::TopDown32};
  bool busy = false;
};
PaintBuffer& SharedPaintBuffer() {
  static PaintBuffer shared;
  return shared;
}

}  // namespace

void CDlgBase::PaintClient(HDC target, const RECT* update) {
  if (IsIconic(hwnd_)) {
    SetPixel(target, 10, 10, RGB(255, 255, 255));
    return;
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (w <= 0 || h <= 0) return;
  RECT area = client;
  // A part of the window (the battery's tick every second, a hovered
  // button) is drawn and copied alone.
  if (update != nullptr && !IntersectRect(&area, update, &client)) return;

  PreparePaint(client);
  PaintBuffer& shared = SharedPaintBuffer();
  BackBuffer own{BackBuffer::Format::TopDown32};
  BackBuffer& buffer = shared.busy ? own : shared.buffer;
  const int rows = std::min(BandRows(w), static_cast<int>(area.bottom - area.top));
  if (buffer.width() < w || buffer.height() < rows) {
    if (!buffer.Prepare(target, std::max(w, buffer.width()), std::max(rows, buffer.height()))) return;
  }
  const bool wasBusy = shared.busy;
  shared.busy = true;
  HDC dc = buffer.dc();
  // Each band is drawn whole before it is copied, so nothing half drawn ever
  // reaches the screen; the band's rows are mapped to the buffer's top.
  for (int top = area.top; top < area.bottom; top += rows) {
    const int bottom = std::min(static_cast<int>(area.bottom), top + rows);
    SetViewportOrgEx(dc, 0, -top, nullptr);
    IntersectClipRect(dc, area.left, top, area.right, bottom);
    DrawBackground(dc, client);
    SelectClipRgn(dc, nullptr);
    BitBlt(target, area.left, top, area.right - area.left, bottom - top, dc, area.left, top, SRCCOPY);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  shared.busy = wasBusy;
}

void CDlgBase::OnPaint() {
  PaintDc paint(hwnd_);
  if (paint) PaintClient(paint.get(), &paint.area());
}

void CDlgBase::InvalidateArea(const RECT& rect) const {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, &rect, TRUE);
}

// --- background colour -----------------------------------------------------

void CDlgBase::SetBackgroundBitmap(UINT resourceId) {
  const UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof(info), &info);
  const WindowDc dc(hwnd_);
  if (auto colour = AverageColour(dc.get(), bitmap.get(), info.bmWidth, info.bmHeight)) background_ = *colour;
}

void CDlgBase::SetBackgroundImage(const std::filesystem::path& file) {
  FrameBitmap frame;
  if (!LoadFrameBitmap(file, frame)) return;
  const WindowDc dc(hwnd_);
  if (auto colour = AverageColour(dc.get(), frame.handle(), frame.width(), frame.height())) background_ = *colour;
}

// --- controls and popups ---------------------------------------------------

CControlBase* CDlgBase::FindControl(int id) const {
  for (const auto& list : groups_) {
    for (const auto& control : list) {
      if (control && control->id() == id) return control.get();
    }
  }
  return nullptr;
}

void CDlgBase::ReleaseControlImages() {
  for (const auto& list : groups_) {
    for (const auto& control : list) {
      if (control) control->ReleaseImages();
    }
  }
}

void CDlgBase::SetPopup(int slot, CWnd* popup) {
  if (slot < 0 || slot >= kPopupSlotCount) return;
  popups_[static_cast<std::size_t>(slot)] = PopupSlot{popup, popup != nullptr ? popup->GetSafeHwnd() : nullptr};
}

CWnd* CDlgBase::Popup(int slot) const {
  if (slot < 0 || slot >= kPopupSlotCount) return nullptr;
  const PopupSlot& s = popups_[static_cast<std::size_t>(slot)];
  // A popup deletes itself with its window: only a live window proves the
  // object is still there.
  if (s.hwnd == nullptr || !IsWindow(s.hwnd) || CWnd::FromHandle(s.hwnd) != s.popup) return nullptr;
  return s.popup;
}

void CDlgBase::ClosePopup(int slot) {
  if (slot < 0 || slot >= kPopupSlotCount) return;
  if (Popup(slot) != nullptr) PostMessageW(popups_[static_cast<std::size_t>(slot)].hwnd, WM_CLOSE, 0, 0);
  popups_[static_cast<std::size_t>(slot)] = PopupSlot{};
}

// --- mouse routing ---------------------------------------------------------

POINT CDlgBase::CursorInClient() const {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  return p;
}

void CDlgBase::OnMouseMove(UINT flags, int x, int y) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd_;
    track.dwHoverTime = 1;
    tracking_ = TrackMouseEvent(&track) != 0;
  }
  // A control hidden while hovered loses the mouse like any hidden control.
  if (hovered_ != nullptr && !hovered_->IsActive() && !buttonHeld_) hovered_ = nullptr;
  if (hovered_ != nullptr && hovered_->Contains(x, y) && tracking_) {
    lastMouse_ = POINT{x, y};
    CControlBase* control = hovered_;
    if (control->OnMouseMove(flags, x, y) != 0) InvalidateArea(control->GetRect());
    return;
  }
  // While the button is held only the pressed control takes moves.
  if (buttonHeld_) return;

  lastMouse_ = POINT{x, y};
  CControlBase* old = hovered_;
  CControlBase* found = nullptr;
  if (tracking_) {
    ForEachActiveControl([&](CControlBase& control) {
      control.OnMouseMove(flags, x, y);
      if (control.Contains(x, y)) found = &control;  // the last one wins
    });
  }
  if (old != nullptr) InvalidateArea(old->GetRect());
  hovered_ = found;
  if (found != nullptr) InvalidateArea(found->GetRect());
}

void CDlgBase::OnMouseLeave() {
  tracking_ = false;
  if (buttonHeld_) return;
  if (hovered_ != nullptr) {
    const POINT cursor = CursorInClient();
    if (IsZoomed(hwnd_) && hovered_->Contains(cursor.x, cursor.y)) {
      lastMouse_ = cursor;
    } else {
      lastMouse_ = POINT{-1, -1};
    }
    CControlBase* control = hovered_;
    control->OnMouseMove(0, lastMouse_.x, lastMouse_.y);
    InvalidateArea(control->GetRect());
  }
  hovered_ = nullptr;
}

void CDlgBase::OnMouseHover() {
  // The hover has come: at most the leave is still wanted, to drop a
  // control's hover look. Asked for alone it does not keep the hover's 1 ms
  // pace, at which Wine would look at the pointer a hundred times a second
  // for as long as it rests on the window; over no control nothing is
  // wanted until the next move asks again.
  if (tracking_) {
    const bool keepLeave = hovered_ != nullptr || buttonHeld_;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = keepLeave ? TME_LEAVE : TME_CANCEL | TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd_;
    const bool done = TrackMouseEvent(&track) != 0;
    tracking_ = keepLeave && done;
  }
  if (hovered_ == nullptr) return;
  const POINT cursor = CursorInClient();
  if (!hovered_->Contains(cursor.x, cursor.y)) return;
  lastMouse_ = cursor;
  InvalidateArea(hovered_->GetRect());
}

bool CDlgBase::OnLButtonDown(UINT flags, int x, int y) {
  if (hovered_ != nullptr && hovered_->IsActive() && hovered_->Contains(x, y)) {
    CControlBase* control = hovered_;
    buttonHeld_ = true;
    pressed_ = control->GetRect();
    if (control->OnLButtonDown(flags, x, y) != 0) InvalidateArea(control->GetRect());
    if (!captureHeld_) {
      SetCapture(hwnd_);
      captureHeld_ = true;
      return true;
    }
  }
  // The background (or a press while the capture is somehow still held)
  // drags the window: the window manager moves it as if by its caption.
  pressed_ = kNoRect;
  PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
  return false;
}

void CDlgBase::OnLButtonUp(UINT flags, int x, int y) {
  if (captureHeld_) {
    captureHeld_ = false;  // before ReleaseCapture, whose notification comes at once
    ReleaseCapture();
  }
  buttonHeld_ = false;
  if (CControlBase* control = hovered_) {
    const RECT rect = control->GetRect();
    if (control->OnLButtonUp(flags, x, y) != 0) {
      if (ClickRepaintsWindow(control->id())) {
        InvalidateRect(hwnd_, nullptr, TRUE);
      } else {
        InvalidateArea(rect);
      }
    }
    if (PointIn(pressed_, x, y) || PointIn(rect, x, y)) {
      lastMouse_ = POINT{x, y};
    } else {
      lastMouse_ = POINT{-1, -1};
      hovered_ = nullptr;
    }
  }
  pressed_ = kNoRect;
}

void CDlgBase::OnCaptureLost() {
  // Another window took the mouse in the middle of a press (a dialog opened
  // from the press, a system menu): no button-up will come, so end the press
  // as a release outside, which clicks nothing.
  if (!captureHeld_) return;
  captureHeld_ = false;
  buttonHeld_ = false;
  if (CControlBase* control = hovered_) {
    if (control->OnLButtonUp(0, -1, -1) != 0) InvalidateArea(control->GetRect());
  }
  hovered_ = nullptr;
  lastMouse_ = POINT{-1, -1};
  pressed_ = kNoRect;
}

bool CDlgBase::OnLButtonDblClk(UINT flags, int x, int y) {
  for (const auto& list : groups_) {
    for (const auto& control : list) {
      if (hovered_ == nullptr) return false;
      if (!control || !control->IsActive() || !control->Contains(x, y)) continue;
      CControlBase* target = hovered_;
      if (target->OnLButtonDblClk(flags, x, y) != 0) InvalidateArea(target->GetRect());
      pressed_ = control->GetRect();
      return true;
    }
  }
  return false;
}

bool CDlgBase::OnRButtonUp(UINT flags, int x, int y) {
  for (const auto& control : groups_[0]) {
    if (!control || !control->IsActive() || !control->Contains(x, y)) continue;
    if (CControlBase* target = hovered_) {
      if (target->OnRButtonUp(flags, x, y) != 0) InvalidateArea(target->GetRect());
    }
    return true;
  }
  return false;
}

MessageResult CDlgBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT flags = static_cast<UINT>(wParam);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // the paint covers everything
    case WM_MOUSEMOVE:
      OnMouseMove(flags, x, y);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_MOUSEHOVER:
      OnMouseHover();
      return 0;
    case WM_LBUTTONDOWN:
      if (OnLButtonDown(flags, x, y)) return 0;
      return std::nullopt;
    case WM_LBUTTONUP:
      OnLButtonUp(flags, x, y);
      return std::nullopt;
    case WM_LBUTTONDBLCLK:
      if (OnLButtonDblClk(flags, x, y)) return 0;
      return std::nullopt;
    case WM_RBUTTONUP:
      if (OnRButtonUp(flags, x, y)) return 0;
      return std::nullopt;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) OnCaptureLost();
      return std::nullopt;
    case WM_CLOSE:
      // Closing is cancelling, at once: a quit closes the small dialogs
      // synchronously before the main window ends.
      OnCancel();
      return 0;
    case WM_DESTROY:
      Unregister();
      return std::nullopt;
    default:
      return CDialog::OnMessage(message, wParam, lParam);
  }
}

}  // namespace zeltra::win32
