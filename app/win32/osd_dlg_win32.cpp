#include "app/win32/osd_dlg_win32.h"

#include "ui/win32/draw_win32.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// The toolkit's face when the language names none.
constexpr char16_t kDefaultFace[] = u"Tahoma";

UniqueFont CreateOsdFont(const OsdFont& font, const std::u16string& face) {
  return UniqueFont(CreateFontW(font.height, font.width, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                static_cast<DWORD>(font.pitchAndFamily),
                                Wide(face.empty() ? std::u16string(kDefaultFace) : face)));
}

void DrawAt(HDC dc, const UniqueFont& font, const std::u16string& text, OsdPoint at) {
  const SelectionScope selected(dc, font.get());
  TextOutW(dc, at.x, at.y, Wide(text), static_cast<int>(text.size()));
}

}  // namespace

COSDDialog::COSDDialog(HWND parent) : CDialog(IDD_OSD, parent) {}

COSDDialog::~COSDDialog() { Destroy(); }

bool COSDDialog::CreateWindowOnce() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) return true;
  if (!Create()) return false;
  const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if ((ex & WS_EX_LAYERED) == 0) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd_, 0, static_cast<BYTE>(kOsdAlpha), LWA_ALPHA);
  return true;
}

void COSDDialog::Place() {
  const UiRect& r = view_.window;
  // Never takes the focus from the window the user works in.
  SetWindowPos(hwnd_, HWND_TOPMOST, r.left, r.top, r.width(), r.height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void COSDDialog::Show(const OsdView& view, bool create) {
  view_ = view;
  const bool existed = hwnd_ != nullptr && IsWindow(hwnd_);
  if (!existed || create) {
    if (!CreateWindowOnce()) return;
    Place();
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void COSDDialog::Destroy() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void COSDDialog::PaintInto(HDC target) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int w = client.right;
  const int h = client.bottom;
  if (w <= 0 || h <= 0 || !picture_.Prepare(target, w, h)) return;
  HDC memory = picture_.dc();
  FillSolid(memory, client, static_cast<COLORREF>(kOsdBackground));
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, static_cast<COLORREF>(kOsdText));
  const UniqueFont small = CreateOsdFont(view_.smallFont, view_.face);
  const UniqueFont large = CreateOsdFont(view_.largeFont, view_.face);
  DrawAt(memory, small, view_.texts.stage, view_.stageAt);
  DrawAt(memory, large, view_.texts.value, view_.valueAt);
  DrawAt(memory, small, view_.texts.rate, view_.rateAt);
  picture_.CopyTo(target);
}

MessageResult COSDDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      const PaintDc paint(hwnd_);
      if (paint) PaintInto(paint.get());
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_CLOSE:
      // Only its owner's timer ends the display.
      return 0;
    default:
      return CDialog::OnMessage(message, wParam, lParam);
  }
}

}  // namespace zeltra::win32
