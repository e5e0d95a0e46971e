// The colour palette dialog: it draws bitmap 287, the three value texts and
// the preview of ColourPalette's working colour, and hands it the colour of
// the pixel it drew under a click. OK and Enter end with OK (the caller then
// writes the colour with ColourPalette::Confirm); the close cross ends
// without; Escape is ignored.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "app/colour_palette.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CStaticText;

class CColorPaletteDlg : public CSmallDialog {
 public:
  static constexpr int kTitleString = 281;
  static constexpr int kTitleId = 2014;
  static constexpr DesignRect kTitlePlace = DesignRect::FromEdges(12, 0, 400, 20);
  static constexpr DesignRect kClosePlace = ColourPalette::kClosePlace;
  static constexpr DesignRect kOkPlace = ColourPalette::kOkPlace;
  // Red, green and blue rows in the value panel: a fixed letter, then the value.
  static constexpr int kValueLeft = 330;
  static constexpr int kValueTop = 212;
  static constexpr int kValueRowStep = 20;
  static constexpr int kLetterWidth = 20;
  static constexpr int kValueWidth = 48;
  static constexpr int kValueHeight = 18;

  CColorPaletteDlg(ColourPalette& palette, HWND parent = nullptr);
  ~CColorPaletteDlg() override;

  const ColourPalette& palette() const { return palette_; }
  CStaticText* valueText(int channel) const { return values_.at(static_cast<std::size_t>(channel)); }
  // The colour of the client pixel (x, y) as the dialog draws it now.
  std::optional<COLORREF> DrawnPixel(int x, int y);

 protected:
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  // A press in the field or the swatch grid picks; true when it was there.
  bool OnPress(int x, int y);
  void ShowWorkingColour();

  ColourPalette& palette_;
  std::array<CStaticText*, 3> values_{};
};

// Runs the dialog modally over `owner` at the UI scale `scale`. True on OK
// or Enter: the palette's working colour is the chosen one.
bool RunColourPaletteDialog(HWND owner, ColourPalette& palette, float scale);

}  // namespace zeltra::win32
