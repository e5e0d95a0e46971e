#include "ui/win32/lists_win32.h"

#include "ui/ui_context.h"
#include "ui/win32/resource_ids.h"

namespace zeltra::win32 {

namespace {

constexpr COLORREF kListBackground = RGB(75, 75, 75);
constexpr COLORREF kScrollTrack = RGB(16, 16, 16);
constexpr COLORREF kThumbOuter = RGB(31, 31, 31);
constexpr COLORREF kThumbInner = RGB(50, 50, 50);
constexpr UINT kRowTextFlags = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

// An icon at its image size x scale.
void DrawIcon(HDC dc, const SkinImage& icon, UiPoint at) {
  DrawImageScaled(dc, icon, Area{at.x, at.y, Scaled(icon.width()), Scaled(icon.height())},
                  Area{0, 0, icon.width(), icon.height()});
}

}  // namespace

// --- scroll bar ------------------------------------------------------------------

CVScrollBar::CVScrollBar(HWND parent, int id, const RECT& rect, std::u16string text, int position, int page,
                         int range, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), Ui().scale, disabled) {
  model_.SetScrollInfo(position, page, range);
  LoadArrowImages();
}

bool CVScrollBar::LoadArrowImages() {
  const bool up = LoadResourcePng(IDR_PNG_ARROW_UP, up_);
  const bool down = LoadResourcePng(IDR_PNG_ARROW_DOWN, down_);
  model_.SetArrowHeights(up_.height(), down_.height());
  return up && down;
}

void CVScrollBar::Draw(HDC dc, const RECT&) {
  const RECT rect = GetRect();
  FillSolid(dc, rect, kScrollTrack);
  const auto arrow = [&](const SkinImage& strip, bool over, int y) {
    const int frameWidth = strip.width() / 3;
    DrawStripFrame(dc, strip, over ? 1 : 0, frameWidth, strip.height(),
                   RECT{rect.left, y, rect.left + Scaled(frameWidth), y + Scaled(strip.height())});
  };
  arrow(up_, model_.overUp(), rect.top);
  arrow(down_, model_.overDown(), rect.bottom - Scaled(down_.height()));
  const RECT thumb = ToRect(model_.ThumbRect());
  if (thumb.bottom <= thumb.top) return;
  const bool over = model_.overThumb();
  const int s = Scaled(1);
  FillSolid(dc, thumb, over ? kSelectionColour : kThumbOuter);
  FillSolid(dc, RECT{thumb.left + s, thumb.top + s, thumb.right - s, thumb.bottom}, over ? kThumbOuter : kThumbInner);
}

void CVScrollBar::ForEachImage(const ImageVisitor& visit) {
  visit(up_);
  visit(down_);
}

// --- tree ------------------------------------------------------------------------

void TreeRowsPainter::Draw(HDC dc, const RECT& box, HFONT font, const std::vector<TreeRow>& rows) const {
  FillSolid(dc, box, kListBackground);
  for (const TreeRow& row : rows) {
    if (row.selected) FillSolid(dc, ToRect(row.rect), kSelectionColour);
    if (row.folder) DrawIcon(dc, row.open ? open_ : closed_, row.icon);
    DrawControlText(dc, font, row.name, ToRect(row.text), kTextHover, kRowTextFlags);
  }
}

void TreeRowsPainter::ForEachImage(const ImageVisitor& visit) {
  visit(open_);
  visit(closed_);
}

// --- rows with icons -------------------------------------------------------------

bool IconRowsPainter::SetImage(int image, const std::filesystem::path& file) {
  if (image < 0 || image >= kImages) return false;
  SetSkinFile(file, images_[static_cast<std::size_t>(image)]);
  return true;
}

void IconRowsPainter::Draw(HDC dc, const RECT& box, HFONT font, const std::vector<IconRow>& rows) const {
  FillSolid(dc, box, kListBackground);
  for (const IconRow& row : rows) {
    if (row.selected) FillSolid(dc, ToRect(row.rect), kSelectionColour);
    if (row.image >= 0 && row.image < kImages) DrawIcon(dc, images_[static_cast<std::size_t>(row.image)], row.icon);
    DrawControlText(dc, font, row.text, ToRect(row.rect), kTextHover, kRowTextFlags);
  }
}

void IconRowsPainter::ForEachImage(const ImageVisitor& visit) {
  for (SkinImage& image : images_) visit(image);
}

}  // namespace zeltra::win32
