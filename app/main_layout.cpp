#include "app/main_layout.h"

#include "app/dpi_page.h"
#include "app/main_window_ids.h"
#include "app/rates_power.h"
#include "settings/lighting.h"
#include "settings/text_format.h"
#include "ui/ui_context.h"

namespace zeltra {

namespace {

using CC = ControlClass;
using G = ControlGroup;

// Marks of the mouse picture, top-left relative to the picture (its art
// places the nine buttons there); 7 to 9 are spare and hidden.
constexpr std::array<std::array<int, 2>, 9> kMarkPlaces{
    {{67, 89}, {139, 89}, {103, 65}, {10, 165}, {10, 211}, {103, 113}, {196, 165}, {196, 211}, {196, 257}}};
constexpr DesignRect kPicture{300, 130, 220, 360};

constexpr std::array<std::u16string_view, 9> kMarkImages{
    u"skins\\mouse\\serial_number1.png", u"skins\\mouse\\serial_number2.png", u"skins\\mouse\\serial_number3.png",
    u"skins\\mouse\\serial_number4.png", u"skins\\mouse\\serial_number5.png", u"skins\\mouse\\serial_number6.png",
    u"skins\\mouse\\serial_number7.png", u"skins\\mouse\\serial_number8.png", u"skins\\mouse\\serial_number9.png"};
constexpr std::array<std::u16string_view, 4> kRateNormal{u"skins\\125hz_nr.png", u"skins\\250hz_nr.png",
                                                         u"skins\\500hz_nr.png", u"skins\\1000hz_nr.png"};
constexpr std::array<std::u16string_view, 4> kRateChecked{u"skins\\125hz_dn.png", u"skins\\250hz_dn.png",
                                                          u"skins\\500hz_dn.png", u"skins\\1000hz_dn.png"};
constexpr std::array<std::u16string_view, 3> kLegendImages{u"skins\\battery_green.png", u"skins\\battery_orange.png",
                                                           u"skins\\battery_red.png"};

constexpr std::u16string_view kButton2Nr = u"skins\\button2_nr.png";
constexpr std::u16string_view kButton2Ov = u"skins\\button2_ov.png";
constexpr std::u16string_view kHeader2 = u"skins\\header2_nr.png";
constexpr std::u16string_view kSliderThumb = u"skins\\Slider_Circle.png";
constexpr std::u16string_view kSliderBar = u"skins\\Slider_bar.png";

class TableBuilder {
 public:
  ControlSpec& Add(int id, CC cls, G group, DesignRect rect) {
    ControlSpec desc;
    desc.id = id;
    desc.cls = cls;
    desc.group = group;
    desc.rect = rect;
    for (const ControlSpec& earlier : table_)
      if (earlier.id == id) ++desc.instance;
    table_.push_back(desc);
    return table_.back();
  }
  // Created with the shown flag clear; it only carries values (or nothing).
  ControlSpec& Hidden(int id, CC cls, G group) {
    ControlSpec& desc = Add(id, cls, group, {});
    desc.shown = false;
    return desc;
  }
  ControlSpec& Text(int id, G group, DesignRect rect, int textString, TextAlign align = TextAlign::Left) {
    ControlSpec& desc = Add(id, CC::StaticText, group, rect);
    desc.textString = textString;
    desc.align = align;
    return desc;
  }
  std::vector<ControlSpec> Take() { return std::move(table_); }

 private:
  std::vector<ControlSpec> table_;
};

void Images(ControlSpec& desc, std::u16string_view a, std::u16string_view b = {}, std::u16string_view c = {},
            std::u16string_view d = {}) {
  desc.images = {a, b, c, d};
}

ControlSpec& OnClick(ControlSpec& desc, ControlAction action, int index = 0) {
  desc.action = action;
  desc.index = index;
  return desc;
}

// A fixed header over a group on the left. It does nothing; a click on the
// buttons' or the battery's repaints the whole window as on a section header.
void AddGroupHeader(TableBuilder& t, int id, int top, int textString, bool repaintsWindow) {
  ControlSpec& header = t.Add(id, CC::CheckButton, G::Fixed, {20, top, 250, 25});
  Images(header, kHeader2, kHeader2, kHeader2);
  header.textString = textString;
  header.padLeft = 14;
  header.repaintsWindow = repaintsWindow;
}

void AddTitleBar(TableBuilder& t) {
  Images(OnClick(t.Add(kIdExitButton, CC::ImageButton, G::Fixed, {1096, 14, 15, 15}), ControlAction::HideWindow),
         u"skins\\exit_nr.png", u"skins\\exit_ov.png");
  Images(OnClick(t.Add(kIdMinimiseButton, CC::ImageButton, G::Fixed, {1072, 14, 15, 15}), ControlAction::HideWindow),
         u"skins\\min_nr.png", u"skins\\min_ov.png");
  ControlSpec& version = t.Text(kIdVersionLabel, G::Fixed, {840, 14, 218, 16}, 3, TextAlign::Right);
  version.fixedText = kVersionSuffix;
  version.textColour = kVersionGrey;
  t.Hidden(kIdLinkButton, CC::ImageButton, G::Fixed);
}

// Left column, top: the six button combos and the macro manager.
void AddButtonsGroup(TableBuilder& t) {
  AddGroupHeader(t, kIdButtonsHeader, 60, 9, true);
  for (int k = 0; k < kKeySlotCount; ++k) {
    ControlSpec& combo = t.Add(kFirstButtonCombo + k, CC::ComboButton, G::Fixed, {34, 98 + 34 * k, 222, 26});
    Images(combo, u"skins\\combo2_nr.png", u"skins\\combo2_ov.png");
    combo.padLeft = 10;
    combo.padRight = 28;
    combo.param = kButtonComboMessage;
    OnClick(combo, ControlAction::ButtonCombo, k);
  }
  ControlSpec& manager =
      OnClick(t.Add(kIdMacroManagerButton, CC::ImageButton, G::Fixed, {85, 334, 120, 28}), ControlAction::MacroManager);
  Images(manager, u"skins\\button1_nr.png", u"skins\\button1_ov.png");
  manager.textString = 8;
  manager.align = TextAlign::Centre;
  for (int k = kKeySlotCount; k < kButtonComboCount; ++k)
    t.Hidden(kFirstButtonCombo + k, CC::ComboButton, G::Fixed).param = kButtonComboMessage;
}

// Left column, middle: the power-saving dial and checks.
void AddPowerGroup(TableBuilder& t) {
  AddGroupHeader(t, kIdPowerHeader, 393, 265, false);
  OnClick(t.Add(kIdPowerDial, CC::PowerManageButton, G::Fixed, {75, 428, 140, 76}), ControlAction::PowerDial);
  t.Text(kIdPowerText, G::Fixed, {30, 507, 230, 18}, -1, TextAlign::Centre);
  struct Check {
    int id;
    ControlAction action;
    int caption;
  };
  const std::array<Check, 2> checks{{{kIdLightsOffCheck, ControlAction::LightsOffCheck, 268},
                                     {kIdMotionWakeCheck, ControlAction::MotionWakeCheck, 274}}};
  for (std::size_t i = 0; i < checks.size(); ++i) {
    const int y = 535 + 24 * static_cast<int>(i);
    Images(OnClick(t.Add(checks[i].id, CC::CheckButton, G::Fixed, {40, y, 11, 11}), checks[i].action),
           u"skins\\check_nr.png", u"skins\\check_ov.png", u"skins\\check_dn.png");
    t.Text(kIdCaptionText, G::Fixed, {58, y - 5, 200, 20}, checks[i].caption);
  }
}

// Left column, bottom: the battery gauge and its legend.
void AddBatteryGroup(TableBuilder& t) {
  AddGroupHeader(t, kIdBatteryHeader, 598, 15, true);
  Images(t.Add(kIdBatteryGauge, CC::Battery, G::Fixed, {44, 640, 26, 61}), u"skins\\battery_empty.png",
         u"skins\\battery_full.png", u"skins\\battery_charging.png", u"skins\\battery_lighting.png");
  t.Text(kIdBatteryText, G::Fixed, {78, 660, 56, 20}, -1).fixedText = u"100%";
  for (int k = 0; k < 3; ++k) {
    Images(t.Add(kIdBatteryLegend, CC::StaticImage, G::Fixed, {150, 645 + 20 * k, 20, 11}),
           kLegendImages[static_cast<std::size_t>(k)]);
    t.Text(kIdCaptionText, G::Fixed, {176, 640 + 20 * k, 84, 20}, 16 + k);
  }
}

// Middle: the mouse picture with its button marks, and below it the profile
// picker and the factory reset.
void AddMouseAndProfiles(TableBuilder& t) {
  Images(t.Add(kIdMousePicture, CC::StaticImage, G::Fixed, kPicture), u"skins\\mouse\\mouse_nr.png");
  for (int n = 1; n <= 9; ++n) {
    const auto& place = kMarkPlaces[static_cast<std::size_t>(n - 1)];
    ControlSpec& mark =
        t.Add(kIdMousePicture, CC::StaticImage, G::Fixed, {kPicture.left + place[0], kPicture.top + place[1], 15, 15});
    Images(mark, kMarkImages[static_cast<std::size_t>(n - 1)]);
    mark.shown = n <= 6;
    mark.onTopOf = kIdMousePicture;
  }
  t.Hidden(kIdProfileHeader, CC::CheckButton, G::Fixed).textString = 10;
  ControlSpec& picker =
      OnClick(t.Add(kIdProfilePicker, CC::ImageButton, G::Fixed, {306, 646, 100, 26}), ControlAction::ProfilePicker);
  Images(picker, kButton2Nr, kButton2Ov);
  picker.textString = 1;
  picker.align = TextAlign::Centre;
  picker.reportsMoves = true;
  ControlSpec& reset =
      OnClick(t.Add(kIdFactoryReset, CC::ImageButton, G::Fixed, {414, 646, 100, 26}), ControlAction::FactoryReset);
  Images(reset, kButton2Nr, kButton2Ov);
  reset.textString = 7;
  reset.align = TextAlign::Centre;
  t.Hidden(kIdProfileCombo, CC::ComboButton, G::Fixed);
  for (int p = 0; p < kProfileCount; ++p) t.Hidden(kIdProfileTabFirst + p, CC::CheckButton, G::Fixed);
  for (int id : kIdProfileImageButtons) t.Hidden(id, CC::ImageButton, G::Fixed);
  t.Hidden(kIdApplyButton, CC::ImageButton, G::Fixed);
}

void AddSectionHeaders(TableBuilder& t) {
  for (const SectionInfo& info : kSections) {
    ControlSpec& header = t.Add(info.headerId, CC::CheckButton, G::Fixed, {kSectionColumnLeft, 0, kSectionColumnWidth,
                                                                          kHeaderHeight});
    Images(header, u"skins\\header_nr.png", u"skins\\header_ov.png", u"skins\\header_ov.png");
    header.textString = info.textString;
    header.padLeft = 14;
    header.shown = info.section != Section::Debounce;
    header.repaintsWindow = info.clickRepaintsWindow;
    OnClick(header, ControlAction::SectionHeader);
  }
}

// DPI stage k stands in a column 84 units wide: check, swatch, gauge, label.
void AddDpiSection(TableBuilder& t) {
  for (int k = 0; k < kDpiStageCount; ++k) {
    const int x = 30 + 84 * k;
    if (k >= kOfferedDpiStages) {
      t.Hidden(kIdDpiCheckFirst + k, CC::CheckButton, G::Dpi);
      t.Hidden(kIdDpiColourFirst + k, CC::ColorSelectButton, G::Dpi);
      t.Hidden(kIdDpiLabelFirst + k, CC::DpiRadioButton, G::Dpi).index = k;
      t.Hidden(kIdDpiValueBoxFirst + k, CC::DpiValueShowControl, G::Dpi);
      continue;
    }
    Images(OnClick(t.Add(kIdDpiCheckFirst + k, CC::CheckButton, G::Dpi, {x + 20, 12, 15, 15}), ControlAction::DpiCheck,
                   k),
           u"skins\\check_button_dpi_nr.png", u"skins\\check_button_dpi_ov.png", u"skins\\check_button_dpi_dn.png");
    OnClick(t.Add(kIdDpiColourFirst + k, CC::ColorSelectButton, G::Dpi, {x + 8, 36, 38, 8}), ControlAction::DpiColour,
            k);
    Images(OnClick(t.Add(kIdDpiValueBoxFirst + k, CC::DpiValueShowControl, G::Dpi, {x + 20, 56, 16, 100}),
                   ControlAction::DpiValueBox, k),
           u"skins\\mouse\\dpi_bar_1.png", u"skins\\mouse\\dpi_bar_2.png");
    ControlSpec& label = t.Add(kIdDpiLabelFirst + k, CC::DpiRadioButton, G::Dpi, {x, 164, 56, 13});
    Images(label, u"skins\\dpi_value.png", u"skins\\dpi_value.png", u"skins\\dpi_value.png");
    label.align = TextAlign::Centre;
    label.index = k;
  }
  // The vertical stage sliders carry nothing; two positions keep their position table valid.
  for (int k = 0; k < kDpiStageCount; ++k) t.Hidden(kIdDpiSliderFirst + k, CC::SliderControl, G::Dpi).param = 2;
}

ControlSpec& AddSlider(TableBuilder& t, G group, int id, int bar, DesignRect rect, int positions) {
  Images(t.Add(bar, CC::StaticImage, group, rect), kSliderBar);
  ControlSpec& slider = t.Add(id, CC::SliderControl, group, rect);
  Images(slider, kSliderThumb);
  slider.param = positions;
  slider.onTopOf = bar;
  return slider;
}

void AddLightingSection(TableBuilder& t) {
  t.Text(kIdLightingModeText, G::Lighting, {20, 14, 80, 21}, 122);
  ControlSpec& mode = OnClick(t.Add(kIdLightingModeCombo, CC::ComboButton, G::Lighting, {100, 14, 175, 21}),
                              ControlAction::LightingModeCombo);
  Images(mode, u"skins\\combo3_nr.png", u"skins\\combo3_ov.png");
  mode.padLeft = 10;
  mode.padRight = 24;
  mode.param = kLightingComboMessage;
  for (int s = 0; s < kLightingSlotButtons; ++s)
    Images(OnClick(t.Add(kIdColourSlotFirst + s, CC::ColorSelectCheckButton, G::Lighting, {100 + 34 * s, 50, 26, 26}),
                   ControlAction::ColourSlot, s),
           u"skins\\color_select_nr.png", u"skins\\color_select_check.png");
  t.Text(kIdSpeedText, G::Lighting, {20, 90, 80, 18}, 120);
  OnClick(AddSlider(t, G::Lighting, kIdSpeedSlider, kIdSpeedBar, {100, 92, 200, 14}, kSpeedSliderPositions),
          ControlAction::LightingSlider);
  t.Text(kIdSpeedLabel, G::Lighting, {310, 90, 50, 18}, -1);
  t.Text(kIdBrightnessText, G::Lighting, {20, 122, 80, 18}, 121);
  OnClick(AddSlider(t, G::Lighting, kIdBrightnessSlider, kIdBrightnessBar, {100, 124, 200, 14},
                    kBrightnessSliderPositions),
          ControlAction::LightingSlider);
  t.Text(kIdBrightnessLabel, G::Lighting, {310, 122, 50, 18}, -1);
  t.Text(kIdDirectionText, G::Lighting, {400, 90, 120, 18}, 123);
  ControlSpec& up = OnClick(t.Add(kIdDirectionUp, CC::RadioButton, G::Lighting, {400, 116, 22, 22}),
                            ControlAction::Direction, 0);
  Images(up, u"skins\\up_nr.png", u"skins\\up_ov.png", u"skins\\up_check.png");
  up.radio = {kRadioDirectionMask, kRadioDirectionUp};
  ControlSpec& down = OnClick(t.Add(kIdDirectionDown, CC::RadioButton, G::Lighting, {430, 116, 22, 22}),
                              ControlAction::Direction, 1);
  Images(down, u"skins\\down_nr.png", u"skins\\down_ov.png", u"skins\\down_check.png");
  down.radio = {kRadioDirectionMask, kRadioDirectionDown};
}

void AddReportRateSection(TableBuilder& t) {
  for (int r = 0; r < kReportRates; ++r) {
    const auto at = static_cast<std::size_t>(r);
    ControlSpec& radio = OnClick(
        t.Add(kIdRateRadioFirst + r, CC::RadioButton, G::ReportRate, {20 + 126 * r, 48, 96, 30}), ControlAction::ReportRate,
        r);
    Images(radio, kRateNormal[at], kRateNormal[at], kRateChecked[at]);
    radio.radio = {kRadioRateMask, kRadioRate125 << r};
  }
  // One line under the radios; only the current rate's text is shown.
  for (int r = 0; r < kReportRates; ++r)
    t.Text(kIdRateTextFirst + r, G::ReportRate, {20, 98, 500, 20}, 261 + r).index = r;
  t.Hidden(kIdRateCombo, CC::ComboButton, G::ReportRate);
}

void AddLiftOffSection(TableBuilder& t) {
  struct Choice {
    int radio;
    int text;
    int caption;
    std::uint32_t bit;
  };
  const std::array<Choice, 2> choices{{{kIdLiftOffLow, kIdLiftOffLowText, 270, kRadioLiftOffLow},
                                       {kIdLiftOffHigh, kIdLiftOffHighText, 271, kRadioLiftOffHigh}}};
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const int x = 30 + 200 * static_cast<int>(i);
    ControlSpec& radio = OnClick(t.Add(choices[i].radio, CC::RadioButton, G::LiftOff, {x, 32, 15, 15}),
                                 ControlAction::LiftOff, static_cast<int>(i));
    Images(radio, u"skins\\radio_nr.png", u"skins\\radio_ov.png", u"skins\\radio_dn.png");
    radio.radio = {kRadioLiftOffMask, choices[i].bit};
    t.Text(choices[i].text, G::LiftOff, {x + 22, 29, 150, 20}, choices[i].caption);
  }
}

void AddDebounceSection(TableBuilder& t) {
  AddSlider(t, G::Debounce, kIdDebounceSlider, kIdDebounceBar, {20, 33, 300, 14}, kKeyDebouncePositions);
  t.Text(kIdDebounceLabel, G::Debounce, {340, 30, 80, 20}, -1).fixedText = u"12ms";
}

void AddPointerSection(TableBuilder& t) {
  ControlSpec& panel = OnClick(t.Add(kIdControlPanelButton, CC::ImageButton, G::Pointer, {20, 8, 160, 28}),
                               ControlAction::ControlPanel);
  Images(panel, u"skins\\button4_nr.png", u"skins\\button4_nr.png");
  panel.textString = 260;
  panel.padLeft = 22;
  // The pointer settings ride in controls nobody sees.
  const std::array<std::array<int, 2>, 3> sliders{{{kIdWheelSpeedSlider, kScrollWheelSpeedPositions},
                                                   {kIdPointerSpeedSlider, kPointerSpeedPositions},
                                                   {kIdDoubleClickSlider, kDoubleClickSpeedPositions}}};
  for (const auto& slider : sliders) t.Hidden(slider[0], CC::SliderControl, G::Pointer).param = slider[1];
  for (int id : {kIdWheelSpeedLabel, kIdPointerSpeedLabel, kIdDoubleClickLabel})
    t.Hidden(id, CC::StaticText, G::Pointer);
  t.Hidden(kIdWheelLinesRadio, CC::RadioButton, G::Pointer);
  t.Hidden(kIdWheelPagesRadio, CC::RadioButton, G::Pointer);
  t.Hidden(kIdAccelerationCheck, CC::CheckButton, G::Pointer);
  for (int k = 0; k < kPointerTextCount; ++k) t.Hidden(kIdPointerTextFirst + k, CC::StaticText, G::Pointer);
}

std::vector<ControlSpec> BuildTable() {
  TableBuilder t;
  AddTitleBar(t);
  AddButtonsGroup(t);
  AddPowerGroup(t);
  AddBatteryGroup(t);
  AddMouseAndProfiles(t);
  AddSectionHeaders(t);
  AddDpiSection(t);
  AddLightingSection(t);
  AddReportRateSection(t);
  AddLiftOffSection(t);
  AddDebounceSection(t);
  AddPointerSection(t);
  return t.Take();
}

bool SectionOfGroup(ControlGroup group, Section& section) {
  if (group == G::Fixed) return false;
  section = static_cast<Section>(static_cast<int>(group) - 1);
  return true;
}

// What the current lighting mode offers decides the lighting controls.
bool LightingControlShown(const ControlSpec& desc, const PageState& page) {
  const LightingModeInfo& mode = LightingMode(page.lightingMode);
  if (desc.action == ControlAction::ColourSlot) return desc.index < mode.slotsOffered;
  switch (desc.id) {
    case kIdSpeedText: case kIdSpeedBar: case kIdSpeedSlider: case kIdSpeedLabel:
      return mode.speed;
    case kIdBrightnessText: case kIdBrightnessBar: case kIdBrightnessSlider: case kIdBrightnessLabel:
      return mode.brightness;
    case kIdDirectionText: case kIdDirectionUp: case kIdDirectionDown:
      return mode.direction;
    default:
      return true;
  }
}

}  // namespace

std::span<const ControlSpec> MainWindowControls() {
  static const std::vector<ControlSpec> table = BuildTable();
  return table;
}

const ControlSpec* FindControlSpec(int id, int instance) {
  for (const ControlSpec& desc : MainWindowControls())
    if (desc.id == id && desc.instance == instance) return &desc;
  return nullptr;
}

std::u16string PowerDialImage(int minutes) {
  if (minutes < kPowerDialMin || minutes > kPowerDialMax) return {};
  return u"skins\\power_manage_" + Dec(minutes) + u"min.png";
}

DesignRect DesignPlace(const ControlSpec& desc, const SectionState& sections) {
  const auto places = LayoutSections(sections);
  if (const SectionInfo* header = SectionOfHeader(desc.id); header && desc.group == G::Fixed) {
    DesignRect rect = desc.rect;
    rect.top = places[static_cast<std::size_t>(header->section)].headerTop;
    return rect;
  }
  Section section{};
  if (!SectionOfGroup(desc.group, section) || (!desc.shown && desc.rect.empty())) return desc.rect;
  DesignRect rect = desc.rect;
  rect.left += kSectionColumnLeft;
  rect.top += places[static_cast<std::size_t>(section)].bodyTop;
  return rect;
}

UiRect ControlRect(const ControlSpec& desc, const SectionState& sections, float scale) {
  return ScaleEdges(DesignPlace(desc, sections), scale);
}

bool GroupVisible(ControlGroup group, const SectionState& sections) {
  Section section{};
  return !SectionOfGroup(group, section) || sections.BodyShown(section);
}

bool ControlShown(const ControlSpec& desc, const SectionState& sections, const PageState& page) {
  if (!desc.shown) return false;
  if (const SectionInfo* header = SectionOfHeader(desc.id); header && desc.group == G::Fixed)
    return sections.HeaderShown(header->section);
  if (desc.id >= kIdRateTextFirst && desc.id < kIdRateTextFirst + kReportRates) return desc.index == page.rateIndex;
  if (desc.group == G::Lighting) return LightingControlShown(desc, page);
  return true;
}

std::optional<ControlView> WhereIs(int id, const SectionState& sections, const PageState& page, float scale,
                                   int instance) {
  const ControlSpec* desc = FindControlSpec(id, instance);
  if (!desc) return std::nullopt;
  ControlView view;
  view.desc = desc;
  view.rect = ControlRect(*desc, sections, scale);
  view.visible = GroupVisible(desc->group, sections);
  view.shown = ControlShown(*desc, sections, page);
  return view;
}

std::array<DesignRect, 4> FixedPanels() {
  return {{{20, 60, 250, 318}, {20, 393, 250, 190}, {20, 598, 250, 122}, {290, 598, 240, 122}}};
}

std::vector<DesignRect> SectionPanels(const SectionState& sections) {
  std::vector<DesignRect> panels;
  for (const SectionPlace& place : LayoutSections(sections))
    if (place.bodyShown) panels.push_back({kSectionColumnLeft, place.bodyTop, kSectionColumnWidth, place.panelHeight});
  return panels;
}

std::u16string HighlightImage(int n) {
  if (n < 1 || n > 9) return {};
  return u"skins\\mouse\\number" + Dec(n) + u".png";
}

UiRect HighlightRect(float scale) { return ScaleEdges(kPicture, scale); }

}  // namespace zeltra
