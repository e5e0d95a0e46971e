// The DPI page's rules: the stage enable checks and the value dialog
// (CDPIValueSettingDlg) that picks one stage's step.
#pragma once

#include <string>
#include <string_view>

#include "app/page_state.h"
#include "ui/control_codes.h"
#include "settings/dpi_table.h"
#include "settings/profile.h"

namespace zeltra {

inline constexpr int kOfferedDpiStages = 6;  // the page shows stages 0..5

// The stage's enable check now shows `checked`. Unchecking the only enabled stage
// is refused (the box is set back to checked); otherwise the box and the
// active value move so that the same stage stays active where possible.
// Returns false when refused. The caller then collects, refreshes and applies.
bool OnStageCheck(const ProfileRecord& record, PageState& page, int stage, bool checked);

// The value dialog of one stage: a slider with one position per step,
// the value text and the edit box showing the DPI, arrows, and a typed DPI
// rounded up to the next step.
class DpiValueDialog {
 public:
  static constexpr int kWidth = 429;
  static constexpr int kHeight = 140;
  static constexpr std::u16string_view kFrame = u"skins\\Frame_DPI.bmp";
  static constexpr std::u16string_view kEditFont = u"Tahoma";
  static constexpr int kValueTextId = 2013;
  static constexpr int kEditId = kIdTextEntry;
  static constexpr int kSliderId = 2021;

  // Starts at the stage's index, held inside the table.
  DpiValueDialog(const DpiTable& table, int stage, int startIndex);

  int stage() const { return stage_; }
  int index() const { return index_; }
  int positions() const { return table_.count; }  // of the slider
  // The value text and the edit box: "%d" of the DPI of the index.
  std::u16string ValueText() const;
  // "%d" of the DPI of any index of the table (the slider's ends).
  std::u16string ValueTextAt(int index) const;

  void OnSlider(int position);
  void OnLeftArrow();
  void OnRightArrow();
  // Enter (the dialog stays open) and OK: the typed DPI, rounded up to the
  // next step and capped at the largest; text that is no number reads as 0.
  void OnEnter(std::u16string_view typed);

 private:
  void SetIndex(int index);

  DpiTable table_;
  int stage_;
  int index_ = 0;
};

// The edit box's font size in tenths of a point.
int DpiEditFontTenths(float scale, float textScale);

// OK of the value dialog: the stage's step index.
void StoreStageIndex(ProfileRecord& record, int stage, int index);

}  // namespace zeltra
