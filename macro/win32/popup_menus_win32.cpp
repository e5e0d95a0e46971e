#include "macro/win32/popup_menus_win32.h"

#include "ui/ui_context.h"
#include "ui/win32/controls_win32.h"

namespace zeltra::win32 {

namespace {

constexpr int kHeaderValue = 1;
constexpr int kLastValue = 7;
constexpr int kRowTextIndent = 10;  // design units, the header's and the last row's text
constexpr UINT kLeftTextFlags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
constexpr UINT kCentredTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

}  // namespace

void DrawRowMark(HDC dc, const RECT& row, COLORREF colour) {
  const int tipX = row.right - 6;
  const int tipY = row.top + 11;
  for (int i = 0; i <= 4; ++i) {
    for (int y = tipY - i; y <= tipY + i; ++y) SetPixel(dc, tipX - i, y, colour);
  }
}

CComboProfilePopup::CComboProfilePopup(ProfilePopupRows rows, const std::filesystem::path& headerImage)
    : CWndPopup(MakePopupMenu(PopupClass::kComboProfile, PopupOptions{0, std::move(rows)}), PopupImages{}) {
  SetSkinFile(headerImage, header_);
}

void CComboProfilePopup::DrawItems(HDC dc, const RECT&) {
  const PopupModel& rows = model();
  const int current = logic().currentRow();
  const int indent = Scaled(kRowTextIndent);
  for (std::size_t i = 0; i < rows.items().size(); ++i) {
    const PopupItem& item = rows.items()[i];
    const RECT rect{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
    const RECT indented{rect.left + indent, rect.top, rect.right, rect.bottom};
    const bool hovered = static_cast<int>(i) == rows.hovered();
    if (item.value == kHeaderValue) {
      DrawImageScaled(dc, header_, AreaOf(rect), Area{0, 0, 230, 25});
      DrawControlText(dc, font(), item.text, indented, kTextNormal, kLeftTextFlags);
    } else if (item.value == kLastValue) {
      FillSolid(dc, rect, kLastRow);
      DrawControlText(dc, font(), item.text, indented, hovered ? kTextHover : kTextNormal, kLeftTextFlags);
    } else if (item.text.empty()) {
      FillSolid(dc, rect, kRow);
    } else {
      const bool isCurrent = static_cast<int>(i) == current;
      FillSolid(dc, rect, isCurrent ? kCurrentRow : hovered ? kHoveredRow : kRow);
      DrawControlText(dc, font(), item.text, rect, hovered && !isCurrent ? kTextHover : kTextNormal, kCentredTextFlags);
      if (item.marked && !isCurrent) DrawRowMark(dc, rect, kRowMark);
    }
  }
}

}  // namespace zeltra::win32
