#include "ui/win32/control_base_win32.h"

namespace zeltra::win32 {

CControlBase::CControlBase(HWND parent, std::u16string text, bool visible, bool shown)
    : visible_(visible ? 1 : 0),
      shown_(shown ? 1 : 0),
      text_(std::move(text)),
      parent_(parent),
      font_(CreateControlFont(Language().font)) {}

CControlBase::~CControlBase() = default;

void CControlBase::SetRect(int left, int top, int right, int bottom) {
  model().SetRect(UiRect{left, top, right, bottom});
}

void CControlBase::SetVisible(int visible) {
  const bool wasActive = IsActive();
  visible_ = visible;
  if (wasActive && !IsActive()) UnloadImages();
}

void CControlBase::SetShown(int shown) {
  const bool wasActive = IsActive();
  shown_ = shown;
  if (wasActive && !IsActive()) UnloadImages();
}

void CControlBase::ReleaseImages() {
  ForEachImage([](SkinImage& image) { image.Reset(); });
}

void CControlBase::UnloadImages() {
  ForEachImage([](SkinImage& image) { image.Unload(); });
}

void CControlBase::SetText(std::u16string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

int CControlBase::OnMouseMove(UINT, int x, int y) { return model().OnMouseMove(x, y) ? 1 : 0; }
int CControlBase::OnLButtonDown(UINT, int x, int y) { return model().OnLButtonDown(x, y) ? 1 : 0; }
int CControlBase::OnLButtonUp(UINT, int x, int y) { return model().OnLButtonUp(x, y) ? 1 : 0; }
int CControlBase::OnRButtonUp(UINT, int x, int y) { return model().OnRButtonUp(x, y) ? 1 : 0; }
int CControlBase::OnLButtonDblClk(UINT, int x, int y) { return model().OnLButtonDblClk(x, y) ? 1 : 0; }

void CControlBase::SetFont(int height, const std::u16string& face) {
  UniqueFont replacement(CreateControlFont(height, face, Language().font.charset));
  if (replacement) font_ = std::move(replacement);
}

void CControlBase::Invalidate() const {
  if (parent_ == nullptr) return;
  const RECT r = GetRect();
  InvalidateRect(parent_, &r, TRUE);
}

void CControlBase::Notify(int message, std::uintptr_t wParam, int code) {
  if (parent_ != nullptr) SendMessageW(parent_, static_cast<UINT>(message), static_cast<WPARAM>(wParam), code);
}

void CControlBase::NotifyPoint(int message, UiPoint point, int code) {
  if (parent_ == nullptr) return;
  POINT p{point.x, point.y};
  SendMessageW(parent_, static_cast<UINT>(message), reinterpret_cast<WPARAM>(&p), code);
}

void CControlBase::Invalidate(const UiRect& rect) {
  if (parent_ == nullptr) return;
  const RECT r = ToRect(rect);
  InvalidateRect(parent_, &r, TRUE);
}

}  // namespace zeltra::win32
