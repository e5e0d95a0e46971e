// The DPI value dialog of one stage: it draws DpiValueDialog's state (the
// slider, the value text, the native edit box) and forwards the user's input
// to it. Arrows step, Enter rounds the typed DPI without closing, Escape is
// ignored; OK rounds the typed DPI, then ends.
#pragma once

#include <windows.h>

#include <string>

#include "app/dpi_page.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

class CSliderControl;
class CStaticText;

class CDPIValueSettingDlg : public CSmallDialog {
 public:
  // Title and control places of the 429 x 140 design.
  static constexpr int kTitleString = 280;
  static constexpr int kTitleId = 2012;
  static constexpr int kMinimumTextId = 2014;
  static constexpr int kMaximumTextId = 2015;
  static constexpr int kTrackId = 2016;
  static constexpr int kUnitTextId = 2018;
  static constexpr DesignRect kSliderPlace = DesignRect::FromEdges(24, 48, 344, 62);
  static constexpr DesignRect kValuePlace = DesignRect::FromEdges(352, 44, 415, 66);
  static constexpr DesignRect kMinimumPlace = DesignRect::FromEdges(24, 64, 144, 80);
  static constexpr DesignRect kMaximumPlace = DesignRect::FromEdges(224, 64, 344, 80);
  static constexpr DesignRect kEditPlace = DesignRect::FromEdges(24, 108, 124, 131);
  static constexpr DesignRect kUnitPlace = DesignRect::FromEdges(130, 108, 200, 131);
  static constexpr int kThumbExtent = 7;

  CDPIValueSettingDlg(DpiValueDialog& dialog, HWND parent = nullptr);
  ~CDPIValueSettingDlg() override;

  HWND edit() const { return edit_.get(); }
  std::u16string EditText() const;
  const DpiValueDialog& dialog() const { return dialog_; }
  CSliderControl* slider() const { return slider_; }
  CStaticText* valueText() const { return value_; }

 protected:
  BOOL OnInitDialog() override;
  void CreateControls(const RECT& client) override;
  void DrawBackground(HDC dc, const RECT& client) override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void CreateEdit();
  // Slider, value text and the edit box from the dialog's index; the caret
  // goes to the end of the text.
  void ShowIndex();
  void OnEnter();

  DpiValueDialog& dialog_;
  CSliderControl* slider_ = nullptr;
  CStaticText* value_ = nullptr;
  UniqueFont editFont_;  // outlives the edit box
  UniqueWindow edit_;
};

// Runs the dialog modally over `owner` at the UI scale `scale` (the scale
// the toolkit's controls are drawn at, Ui().scale). True on OK: the dialog's
// index is then the chosen step.
bool RunDpiValueSettingDialog(HWND owner, DpiValueDialog& dialog, float scale);

}  // namespace zeltra::win32
