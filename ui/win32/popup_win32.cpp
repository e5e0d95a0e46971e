#include "ui/win32/popup_win32.h"

#include <windowsx.h>

#include <cstdint>

#include "settings/language.h"
#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

namespace {

enum ImageSlot : std::size_t { kNormal, kOver, kMarked, kMarkedOver };

constexpr UINT kItemTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
constexpr int kTextInset = 2;  // window pixels on each side

// The part of an item background that is stretched to the item.
Area ItemSource(PopupLayout layout) {
  return layout == PopupLayout::kActionInsert ? Area{30, 0, 116, 22} : Area{0, 0, 190, 22};
}

bool RegisterPopupClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = CWndPopup::kWindowClass;
    return CWnd::RegisterWindowClass(wc);
  }();
  return registered;
}

}  // namespace

PopupImages MenuImages() {
  return {SkinPath(L"skins\\menu_nr.png"), SkinPath(L"skins\\menu_ov.png"), SkinPath(L"skins\\menusub_nr.png"),
          SkinPath(L"skins\\menusub_ov.png")};
}

CWndPopup::CWndPopup(std::unique_ptr<PopupMenu> menu, const PopupImages& images)
    : menu_(std::move(menu)), font_(CreateControlFont(Language().font)) {
  const std::filesystem::path* files[] = {&images.normal, &images.over, &images.marked, &images.markedOver};
  for (std::size_t i = 0; i < images_.size(); ++i) {
    if (!files[i]->empty()) SetSkinFile(*files[i], images_[i]);
  }
}

CWndPopup::~CWndPopup() = default;

bool CWndPopup::Create(HWND parent, const RECT& screenRect, UINT resultMessage, std::intptr_t ownerValue) {
  if (hwnd_ != nullptr || !RegisterPopupClass()) return false;
  if (menu_) {
    logic_.emplace(std::move(menu_), Ui().scale, resultMessage, ownerValue);
  } else if (!logic_) {
    return false;
  }
  owner_ = parent;
  position_ = POINT{screenRect.left, screenRect.top};
  const RECT start{screenRect.left, screenRect.top, screenRect.left + 1, screenRect.top + 1};
  if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, start, parent)) return false;
  selfOwned_ = hwnd_ != nullptr;
  return selfOwned_;
}

RECT CWndPopup::ItemRect(int index) const {
  const PopupItem* item = logic_ ? logic_->model().item(index) : nullptr;
  return item != nullptr ? ToRect(item->rect) : RECT{};
}

void CWndPopup::BuildItems() { logic_->BuildItems(); }

void CWndPopup::PostNcDestroy() {
  if (!selfOwned_) return;  // a failed creation: the creator still owns the object
  if (depth_ > 0) {
    deleteWhenDone_ = true;
  } else {
    delete this;
  }
}

MessageResult CWndPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ++depth_;
  MessageResult result = Handle(message, wParam, lParam);
  --depth_;
  if (depth_ == 0 && deleteWhenDone_) delete this;
  return result;
}

void CWndPopup::OnCreate() {
  BuildItems();
  const UiSize size = logic_->model().size();
  SetWindowPos(hwnd_, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Paint();
  SetWindowPos(hwnd_, HWND_TOPMOST, position_.x, position_.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

POINT CWndPopup::CursorInClient() const {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  return p;
}

void CWndPopup::OnMouseMove(int x, int y) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd_;
    track.dwHoverTime = kHoverTimeMs;
    tracking_ = TrackMouseEvent(&track) != 0;
  }
  if (Perform(logic_->MouseMove(x, y))) Paint();
}

void CWndPopup::Send(const PopupSend& send) {
  if (send.message == 0 || owner_ == nullptr || !IsWindow(owner_)) return;
  const LPARAM lParam = send.carriesResult ? reinterpret_cast<LPARAM>(&logic_->result()) : send.lParam;
  SendMessageW(owner_, send.message, static_cast<WPARAM>(send.wParam), lParam);
}

bool CWndPopup::Perform(const PopupReaction& reaction) {
  if (reaction.send) Send(*reaction.send);
  // The owner may have closed the window while handling the message.
  return reaction.changed && hwnd_ != nullptr;
}

MessageResult CWndPopup::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!logic_) return std::nullopt;
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_NCCALCSIZE:
      return 0;  // the client area is the whole window
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT: {
      const PaintDc paint(hwnd_);
      if (paint && !layered_) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        Compose(paint.get(), client);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(x, y);
      return 0;
    case WM_MOUSEHOVER: {
      const POINT p = CursorInClient();
      if (Perform(logic_->MouseHover(p.x, p.y))) Paint();
      return 0;
    }
    case WM_MOUSELEAVE: {
      tracking_ = false;
      const POINT p = CursorInClient();
      if (Perform(logic_->MouseLeave(p.x, p.y))) Paint();
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetCapture(hwnd_);
      captureHeld_ = true;
      if (Perform(logic_->ButtonDown(x, y))) {
        Paint();
        return 0;
      }
      return std::nullopt;
    case WM_LBUTTONUP:
      if (captureHeld_) {
        captureHeld_ = false;  // before ReleaseCapture, whose notification comes at once
        ReleaseCapture();
      }
      if (Perform(logic_->ButtonUp(x, y))) Paint();
      return std::nullopt;
    case WM_RBUTTONUP:
      if (Perform(logic_->RightButtonUp(x, y))) Paint();
      return std::nullopt;
    case WM_CAPTURECHANGED:
      if (captureHeld_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
        captureHeld_ = false;
        logic_->CaptureLost();
      }
      return std::nullopt;
    case WM_NCACTIVATE: {
      const bool wasActive = active_;
      active_ = wParam != FALSE;
      // Once, when the popup stops being active; not while it is closing,
      // when the owner may already have another popup in the same place.
      if (wasActive && !active_ && !closing_) {
        if (auto dismissal = logic_->Dismissal()) Send(*dismissal);
      }
      return TRUE;
    }
    case WM_CLOSE:
      if (!closed_) {
        closed_ = true;
        closing_ = true;
        Send(logic_->Closed());
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
      }
      return 0;
    default:
      return std::nullopt;
  }
}

// --- painting --------------------------------------------------------------

void CWndPopup::Compose(HDC dc, const RECT& client) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  FillSolid(dc, client, RGB(0, 0, 0));
  DrawItems(dc, client);
  SetBkMode(dc, oldMode);
}

void CWndPopup::Paint() {
  if (hwnd_ == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (w <= 0 || h <= 0) return;
  const WindowDc screen(nullptr);
  if (!picture_.Prepare(screen.get(), w, h)) return;
  Compose(picture_.dc(), client);
  // GDI leaves the alpha bytes of what it draws at 0; some systems read
  // them even for an opaque layered window, so every pixel is made opaque.
  GdiFlush();
  std::uint32_t* pixels = picture_.pixels();
  const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  for (std::size_t i = 0; i < count; ++i) pixels[i] |= 0xFF000000u;
  POINT destination{0, 0};
  ClientToScreen(hwnd_, &destination);
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if ((style & WS_EX_LAYERED) == 0) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style | WS_EX_LAYERED);
  SIZE size{w, h};
  POINT source{0, 0};
  layered_ =
      UpdateLayeredWindow(hwnd_, screen.get(), &destination, &size, picture_.dc(), &source, 0, nullptr, ULW_OPAQUE) != 0;
  if (!layered_) {
    // Without layered windows the same picture comes through WM_PAINT.
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

void CWndPopup::DrawItems(HDC dc, const RECT&) {
  const PopupModel& items = model();
  const Area source = ItemSource(items.layout());
  for (std::size_t i = 0; i < items.items().size(); ++i) {
    const PopupItem& item = items.items()[i];
    const RECT rect = ToRect(item.rect);
    if (item.separator) {
      FillSolid(dc, rect, kSeparatorColour);
      continue;
    }
    const bool hovered = static_cast<int>(i) == items.hovered();
    const ImageSlot slot = hovered ? (item.marked ? kMarkedOver : kOver) : (item.marked ? kMarked : kNormal);
    DrawImageScaled(dc, images_[slot], AreaOf(rect), source);
    const RECT text{rect.left + kTextInset, rect.top, rect.right - kTextInset, rect.bottom};
    DrawControlText(dc, font_.get(), item.text, text, hovered ? kTextHover : kTextNormal, kItemTextFlags);
  }
}

// ---------------------------------------------------------------------------

CWndPopup* OpenPopup(CDlgBase& owner, int slot, std::unique_ptr<CWndPopup> popup, POINT topLeft, UINT resultMessage,
                     std::intptr_t ownerValue) {
  if (!popup) return nullptr;
  if (auto* previous = dynamic_cast<CWndPopup*>(owner.Popup(slot))) previous->StopDismissals();
  owner.ClosePopup(slot);
  const RECT at{topLeft.x, topLeft.y, topLeft.x, topLeft.y};
  if (!popup->Create(owner.GetSafeHwnd(), at, resultMessage, ownerValue)) return nullptr;
  CWndPopup* raw = popup.release();  // it owns itself now
  owner.SetPopup(slot, raw);
  return raw;
}

}  // namespace zeltra::win32
