#include "app/dpi_page.h"

#include <algorithm>

#include "settings/text_format.h"

namespace zeltra {

bool OnStageCheck(const ProfileRecord& record, PageState& page, int stage, bool checked) {
  if (stage < 0 || stage >= kDpiStageCount) return false;
  const StageToggle toggle = ToggleStageEnable(record.DPIOffOnFlagValue, page.mouseStage, stage, checked);
  DpiStageView& view = page.stages[static_cast<std::size_t>(stage)];
  if (toggle.refused) {
    view.enabled = true;
    return false;
  }
  view.enabled = (toggle.mask >> stage) & 1u;
  page.mouseStage = toggle.active;
  return true;
}

DpiValueDialog::DpiValueDialog(const DpiTable& table, int stage, int startIndex) : table_(table), stage_(stage) {
  SetIndex(startIndex);
}

void DpiValueDialog::SetIndex(int index) { index_ = table_.count > 0 ? std::clamp(index, 0, table_.count - 1) : 0; }

std::u16string DpiValueDialog::ValueText() const { return ValueTextAt(index_); }

std::u16string DpiValueDialog::ValueTextAt(int index) const {
  return Dec(table_.DpiOf(index));
}

void DpiValueDialog::OnSlider(int position) { SetIndex(position); }

void DpiValueDialog::OnLeftArrow() {
  if (index_ > 0) SetIndex(index_ - 1);
}

void DpiValueDialog::OnRightArrow() {
  if (index_ < table_.count - 1) SetIndex(index_ + 1);
}

void DpiValueDialog::OnEnter(std::u16string_view typed) { SetIndex(DpiIndexForText(table_, typed)); }

int DpiEditFontTenths(float scale, float textScale) {
  if (textScale <= 0.0f) textScale = 1.0f;
  return static_cast<int>(100.0f * scale / textScale);
}

void StoreStageIndex(ProfileRecord& record, int stage, int index) {
  if (stage < 0 || stage >= kDpiStageCount || index < 0) return;
  record.XYSettingValue[static_cast<std::size_t>(stage)] = static_cast<std::uint16_t>(index);
}

}  // namespace zeltra
