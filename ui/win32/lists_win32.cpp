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

// --- library tree ------------------------------------------------------------------

CEditShowList::CEditShowList(HWND parent, int id, const RECT& rect, std::u16string text, MacroLibrary* library,
                             bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), Ui().scale, library) {
  model_.SetDisabled(disabled);
}

bool CEditShowList::SetOpenFolderImage(const std::filesystem::path& file) {
  const bool ok = LoadSkinImage(file, open_);
  model_.SetIconSize(open_.width(), open_.height());
  return ok;
}

void CEditShowList::Draw(HDC dc, const RECT&) {
  FillSolid(dc, GetRect(), kListBackground);
  for (const auto& row : model_.Rows()) {
    if (row.selected) FillSolid(dc, ToRect(row.rect), kSelectionColour);
    if (row.folder) DrawIcon(dc, row.open ? open_ : closed_, row.icon);
    DrawControlText(dc, font(), row.name, ToRect(row.text), kTextHover, kRowTextFlags);
  }
}

void CEditShowList::ForEachImage(const ImageVisitor& visit) {
  visit(open_);
  visit(closed_);
}

// --- action list -------------------------------------------------------------------

CImageShowList::CImageShowList(HWND parent, int id, const RECT& rect, std::u16string text, const Macro* macro,
                               bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), Ui().scale, macro) {
  model_.SetDisabled(disabled);
}

void CImageShowList::Draw(HDC dc, const RECT&) {
  FillSolid(dc, GetRect(), kListBackground);
  for (const auto& row : model_.Rows()) {
    if (row.selected) FillSolid(dc, ToRect(row.rect), kSelectionColour);
    const SkinImage& icon = row.kind == ActionIcon::kDelay ? delay_ : row.kind == ActionIcon::kRelease ? release_ : press_;
    DrawIcon(dc, icon, row.icon);
    DrawControlText(dc, font(), row.text, ToRect(row.rect), kTextHover, kRowTextFlags);
  }
}

void CImageShowList::ForEachImage(const ImageVisitor& visit) {
  visit(release_);
  visit(press_);
  visit(delay_);
}

}  // namespace zeltra::win32
