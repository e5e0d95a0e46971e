#include "ui/win32/radios_win32.h"

#include <string>

#include "ui/ui_context.h"

namespace zeltra::win32 {

void LookImages::Draw(HDC dc, int look, const RECT& rect) const {
  if (look < 0 || look >= static_cast<int>(images_.size())) look = 0;
  DrawImageScaled(dc, images_[static_cast<std::size_t>(look)], rect);
}

void LookImages::ForEach(const ImageVisitor& visit) {
  for (auto& image : images_) visit(image);
}

CRadioButton::CRadioButton(HWND parent, int id, const RECT& rect, std::u16string text, bool visible, bool shown,
                           bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), disabled) {}

void CRadioButton::Draw(HDC dc, const RECT&) { images_.Draw(dc, model_.look(), GetRect()); }

CDPIRadioButton::CDPIRadioButton(HWND parent, int id, int index, const RECT& rect, std::u16string text,
                                 int valueIndex, COLORREF textColour, bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, index, ToUiRect(rect), valueIndex, disabled),
      textColour_(textColour) {}

void CDPIRadioButton::Draw(HDC dc, const RECT&) {
  images_.Draw(dc, model_.look(), GetRect());
  DrawControlText(dc, font(), model_.Label(), ToRect(model_.LabelBand(Ui().scale)), textColour_,
                  DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
}

CPowerManageButton::CPowerManageButton(HWND parent, int id, const RECT& rect, std::u16string text, int value,
                                       bool visible, bool shown, bool disabled)
    : CModelControl(parent, std::move(text), visible, shown, id, ToUiRect(rect), Ui().scale) {
  model_.SetValue(value);
  model_.SetDisabled(disabled);
}

bool CPowerManageButton::SetValueImage(int value, const std::filesystem::path& file) {
  if (value < PowerDialModel::kMinValue || value > PowerDialModel::kMaxValue) return false;
  SetSkinFile(file, images_[static_cast<std::size_t>(value - 1)]);
  return true;
}

void CPowerManageButton::LoadSkinImages() {
  for (int value = 3; value <= PowerDialModel::kMaxValue; ++value) {
    const std::wstring name = L"skins\\power_manage_" + std::to_wstring(value) + L"min.png";
    SetValueImage(value, SkinPath(name.c_str()));
  }
}

void CPowerManageButton::Draw(HDC dc, const RECT&) {
  DrawImageScaled(dc, images_[static_cast<std::size_t>(model_.value() - 1)], GetRect());
}

void CPowerManageButton::ForEachImage(const ImageVisitor& visit) {
  for (auto& image : images_) visit(image);
}

}  // namespace zeltra::win32
