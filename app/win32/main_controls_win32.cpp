#include "app/win32/main_controls_win32.h"

#include <memory>
#include <string>

#include "app/main_window_ids.h"
#include "settings/language.h"
#include "ui/control_selection.h"
#include "ui/ui_context.h"

namespace zeltra::win32 {

namespace {

UINT AlignFlags(TextAlign align) {
  switch (align) {
    case TextAlign::Centre:
      return DT_CENTER;
    case TextAlign::Right:
      return DT_RIGHT;
    case TextAlign::Left:
      break;
  }
  return DT_LEFT;
}

std::u16string CaptionOf(const ControlSpec& desc) {
  std::u16string text;
  if (desc.textString >= 0) text = LanguageString(desc.textString);
  text += desc.fixedText;
  return text;
}

// Names the image of one look (decoded when first drawn); an empty name
// names nothing (the control draws without that look).
std::filesystem::path Skin(std::u16string_view name) {
  const std::wstring wide(name.begin(), name.end());
  return SkinPath(wide.c_str());
}

template <class T>
void LoadImage(T& control, void (T::*setter)(const std::filesystem::path&), std::u16string_view name) {
  if (!name.empty()) (control.*setter)(Skin(name));
}

std::unique_ptr<CControlBase> Make(const ControlSpec& desc, HWND window, const RECT& rect, bool visible, bool shown,
                                   float scale) {
  const std::u16string caption = CaptionOf(desc);
  const UINT align = AlignFlags(desc.align);
  const auto& im = desc.images;
  switch (desc.cls) {
    case ControlClass::ImageButton: {
      auto c = std::make_unique<CImageButton>(window, desc.id, rect, caption, align, visible, shown);
      LoadImage(*c, &CImageButton::SetNormalImage, im[0]);
      LoadImage(*c, &CImageButton::SetOverImage, im[1]);
      c->SetPadding(Scaled(desc.padLeft, scale));
      c->SetReportsMoves(desc.reportsMoves);
      return c;
    }
    case ControlClass::CheckButton: {
      auto c = std::make_unique<CCheckButton>(window, desc.id, rect, caption, align, false, visible, shown);
      LoadImage(*c, &CCheckButton::SetNormalImage, im[0]);
      LoadImage(*c, &CCheckButton::SetOverImage, im[1]);
      LoadImage(*c, &CCheckButton::SetCheckedImage, im[2]);
      c->SetPadding(Scaled(desc.padLeft, scale), Scaled(desc.padRight, scale));
      return c;
    }
    case ControlClass::ComboButton: {
      auto c = std::make_unique<CComboButton>(window, desc.id, rect, caption, desc.param, DT_LEFT, visible, shown);
      LoadImage(*c, &CComboButton::SetNormalImage, im[0]);
      LoadImage(*c, &CComboButton::SetOverImage, im[1]);
      c->SetPadding(Scaled(desc.padLeft, scale), Scaled(desc.padRight, scale));
      return c;
    }
    case ControlClass::ColorSelectButton:
      return std::make_unique<CColorSelectButton>(window, desc.id, rect, caption, rect, kDefaultSwatchColour, visible,
                                                  shown);
    case ControlClass::ColorSelectCheckButton: {
      auto c = std::make_unique<CColorSelectCheckButton>(window, desc.id, rect, caption, kDefaultSwatchColour, visible,
                                                         shown);
      LoadImage(*c, &CColorSelectCheckButton::SetNormalImage, im[0]);
      LoadImage(*c, &CColorSelectCheckButton::SetCheckedImage, im[1]);
      return c;
    }
    case ControlClass::DpiRadioButton: {
      auto c = std::make_unique<CDPIRadioButton>(window, desc.id, desc.index, rect, caption, 0, kTextNormal, visible,
                                                 shown);
      LoadImage(*c, &CDPIRadioButton::SetNormalImage, im[0]);
      LoadImage(*c, &CDPIRadioButton::SetOverImage, im[1]);
      LoadImage(*c, &CDPIRadioButton::SetCheckedImage, im[2]);
      return c;
    }
    case ControlClass::PowerManageButton: {
      auto c = std::make_unique<CPowerManageButton>(window, desc.id, rect, caption, PowerDialModel::kDefaultValue,
                                                    visible, shown);
      c->LoadSkinImages();
      return c;
    }
    case ControlClass::RadioButton: {
      auto c = std::make_unique<CRadioButton>(window, desc.id, rect, caption, visible, shown);
      c->SetRadioBit(desc.radio);
      LoadImage(*c, &CRadioButton::SetNormalImage, im[0]);
      LoadImage(*c, &CRadioButton::SetOverImage, im[1]);
      LoadImage(*c, &CRadioButton::SetCheckedImage, im[2]);
      return c;
    }
    case ControlClass::SliderControl: {
      const int extent = Scaled(kSliderThumbExtent, scale);
      auto c = std::make_unique<CSliderControl>(window, desc.id, rect, caption, desc.param > 1 ? desc.param : 2,
                                                extent, extent, visible, shown);
      LoadImage(*c, &CSliderControl::SetThumbImage, im[0]);
      return c;
    }
    case ControlClass::DpiValueShowControl: {
      auto c = std::make_unique<CDPIValueShowControl>(window, desc.id, rect, caption, 1, 0, visible, shown);
      LoadImage(*c, &CDPIValueShowControl::SetBackgroundImage, im[0]);
      LoadImage(*c, &CDPIValueShowControl::SetFillImage, im[1]);
      return c;
    }
    case ControlClass::Battery: {
      auto c = std::make_unique<CBattery>(window, desc.id, rect, visible, shown);
      LoadImage(*c, &CBattery::SetOutlineImage, im[0]);
      LoadImage(*c, &CBattery::SetLevelImage, im[1]);
      LoadImage(*c, &CBattery::SetChargingImage, im[2]);
      LoadImage(*c, &CBattery::SetSymbolImage, im[3]);
      return c;
    }
    case ControlClass::StaticImage: {
      auto c = std::make_unique<CStaticImage>(window, desc.id, rect, caption, visible, shown);
      LoadImage(*c, &CStaticImage::SetImage, im[0]);
      return c;
    }
    case ControlClass::StaticText: {
      auto c = std::make_unique<CStaticText>(window, desc.id, rect, caption, static_cast<COLORREF>(desc.textColour),
                                             align | DT_SINGLELINE | DT_VCENTER, visible, shown);
      c->SetCaption(caption);
      return c;
    }
  }
  return nullptr;
}

COLORREF Ref(Colour colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

}  // namespace

void MainControls::Create(CDlgBase& dialog, HWND window, const PageState& page, const SectionState& sections,
                          float scale) {
  for (const ControlSpec& desc : MainWindowControls()) {
    const RECT rect = ToRect(ControlRect(desc, sections, scale));
    auto control = Make(desc, window, rect, GroupVisible(desc.group, sections), ControlShown(desc, sections, page),
                        scale);
    if (!control) continue;
    CControlBase* raw = dialog.AddControl(static_cast<int>(desc.group), std::move(control));
    byId_[{desc.id, desc.instance}] = raw;
    specs_[raw] = &desc;
  }
  Update(page, sections, scale);
}

CControlBase* MainControls::Find(int id, int instance) const {
  const auto it = byId_.find({id, instance});
  return it == byId_.end() ? nullptr : it->second;
}

const ControlSpec* MainControls::SpecOf(const CControlBase* control) const {
  const auto it = specs_.find(control);
  return it == specs_.end() ? nullptr : it->second;
}

int MainControls::ValueOf(int id) const {
  CControlBase* control = Find(id);
  if (auto* check = dynamic_cast<CCheckButton*>(control)) return check->checked() ? 1 : 0;
  if (auto* slot = dynamic_cast<CColorSelectCheckButton*>(control)) return slot->checked();
  if (auto* slider = dynamic_cast<CSliderControl*>(control)) return slider->value();
  if (auto* dial = dynamic_cast<CPowerManageButton*>(control)) return dial->value();
  return 0;
}

void MainControls::Place(const PageState& page, const SectionState& sections, float scale) {
  for (const auto& [control, desc] : specs_) {
    auto* c = const_cast<CControlBase*>(control);
    c->SetVisible(GroupVisible(desc->group, sections) ? 1 : 0);
    const auto held = heldShown_.find(desc->id);
    const bool shown = held != heldShown_.end() ? held->second : ControlShown(*desc, sections, page);
    c->SetShown(shown ? 1 : 0);
    const RECT r = ToRect(ControlRect(*desc, sections, scale));
    if (c->GetRect().left != r.left || c->GetRect().top != r.top || c->GetRect().right != r.right ||
        c->GetRect().bottom != r.bottom) {
      c->SetRect(r.left, r.top, r.right, r.bottom);
      if (auto* swatch = dynamic_cast<CColorSelectButton*>(c)) swatch->SetSwatchRect(r);
    }
  }
}

void MainControls::Update(const PageState& page, const SectionState& sections, float scale) {
  Place(page, sections, scale);

  for (int k = 0; k < kKeySlotCount; ++k) {
    if (auto* combo = As<CComboButton>(kFirstButtonCombo + k)) combo->SetLabel(page.buttonNames[static_cast<std::size_t>(k)]);
  }
  for (const SectionInfo& info : kSections) {
    if (auto* header = As<CCheckButton>(info.headerId)) header->SetChecked(sections.Expanded(info.section));
  }

  // DPI page.
  SetDpiRadioMask(page.dpiRadioMask);
  for (int k = 0; k < kDpiStageCount; ++k) {
    const DpiStageView& stage = page.stages[static_cast<std::size_t>(k)];
    if (auto* check = As<CCheckButton>(kIdDpiCheckFirst + k)) check->SetChecked(stage.enabled);
    if (auto* swatch = As<CColorSelectButton>(kIdDpiColourFirst + k)) swatch->SetColour(Ref(stage.colour));
    if (auto* box = As<CDPIValueShowControl>(kIdDpiValueBoxFirst + k)) {
      box->SetSteps(page.dpiSteps > 0 ? page.dpiSteps : 1);
      box->SetValue(page.BoxValue(k));
    }
    if (auto* label = As<CDPIRadioButton>(kIdDpiLabelFirst + k)) {
      label->SetValueIndex(stage.dpi / 50);
      label->SetDisabled(stage.enabled ? 0 : 1);
      label->SetTextColour(stage.active ? Ref(kActiveStageRed) : kTextNormal);
    }
  }

  // The radio groups of this window; the others keep their bits.
  SetRadioSelectionWord(page.RadioWord(RadioSelectionWord()));

  // Lighting page.
  if (auto* mode = As<CComboButton>(kIdLightingModeCombo)) mode->SetLabel(page.lightingName);
  for (int s = 0; s < static_cast<int>(page.slots.size()); ++s) {
    if (auto* slot = As<CColorSelectCheckButton>(kIdColourSlotFirst + s)) {
      slot->SetColour(Ref(page.slots[static_cast<std::size_t>(s)].colour));
      slot->SetChecked(page.slots[static_cast<std::size_t>(s)].inUse ? 1 : 0);
    }
  }
  if (auto* speed = As<CSliderControl>(kIdSpeedSlider)) speed->SetPosition(page.speed);
  if (auto* brightness = As<CSliderControl>(kIdBrightnessSlider)) brightness->SetPosition(page.brightness);
  if (auto* label = As<CStaticText>(kIdSpeedLabel)) label->SetCaption(page.SpeedLabel());
  if (auto* label = As<CStaticText>(kIdBrightnessLabel)) label->SetCaption(page.BrightnessLabel());

  // Debounce carrier and the hidden pointer carriers.
  if (auto* debounce = As<CSliderControl>(kIdDebounceSlider)) debounce->SetPosition(page.debouncePosition);
  if (auto* label = As<CStaticText>(kIdDebounceLabel)) label->SetCaption(page.DebounceLabel());
  if (auto* s = As<CSliderControl>(kIdWheelSpeedSlider)) s->SetPosition(page.pointer.scrollWheelSpeed);
  if (auto* s = As<CSliderControl>(kIdPointerSpeedSlider)) s->SetPosition(page.pointer.pointerSpeed);
  if (auto* s = As<CSliderControl>(kIdDoubleClickSlider)) s->SetPosition(page.pointer.doubleClickSpeed);
  if (auto* check = As<CCheckButton>(kIdAccelerationCheck)) check->SetChecked(page.pointer.acceleration);

  // Power saving.
  if (auto* dial = As<CPowerManageButton>(kIdPowerDial)) dial->SetValue(page.powerDownTime);
  if (auto* check = As<CCheckButton>(kIdLightsOffCheck)) check->SetChecked(page.lightsOffWhileMoving);
  if (auto* check = As<CCheckButton>(kIdMotionWakeCheck)) check->SetChecked(page.motionWakeup);
  if (auto* text = As<CStaticText>(kIdPowerText)) text->SetCaption(page.powerText);
}

}  // namespace zeltra::win32
