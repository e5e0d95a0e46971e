#include "app/main_layout.h"

#include "app/main_window_ids.h"
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

void AddTitleBar(TableBuilder& t) {
  Images(t.Add(2001, CC::ImageButton, G::Fixed, {1096, 14, 15, 15}), u"skins\\exit_nr.png", u"skins\\exit_ov.png");
  Images(t.Add(2002, CC::ImageButton, G::Fixed, {1072, 14, 15, 15}), u"skins\\min_nr.png", u"skins\\min_ov.png");
  ControlSpec& version = t.Text(3021, G::Fixed, {840, 14, 218, 16}, 3, TextAlign::Right);
  version.fixedText = kVersionSuffix;
  version.textColour = kVersionGrey;
  t.Hidden(3503, CC::ImageButton, G::Fixed);
}

// Left column, top: the six button combos and the macro manager.
void AddButtonsGroup(TableBuilder& t) {
  ControlSpec& header = t.Add(3008, CC::CheckButton, G::Fixed, {20, 60, 250, 25});
  Images(header, kHeader2, kHeader2, kHeader2);
  header.textString = 9;
  header.padLeft = 14;
  for (int k = 0; k < kKeySlotCount; ++k) {
    ControlSpec& combo = t.Add(2013 + k, CC::ComboButton, G::Fixed, {34, 98 + 34 * k, 222, 26});
    Images(combo, u"skins\\combo2_nr.png", u"skins\\combo2_ov.png");
    combo.padLeft = 10;
    combo.padRight = 28;
    combo.param = kButtonComboMessage;
  }
  ControlSpec& manager = t.Add(2062, CC::ImageButton, G::Fixed, {85, 334, 120, 28});
  Images(manager, u"skins\\button1_nr.png", u"skins\\button1_ov.png");
  manager.textString = 8;
  manager.align = TextAlign::Centre;
  for (int id = 2019; id <= 2021; ++id) t.Hidden(id, CC::ComboButton, G::Fixed).param = kButtonComboMessage;
}

// Left column, middle: the power-saving dial and checks.
void AddPowerGroup(TableBuilder& t) {
  ControlSpec& header = t.Add(3010, CC::CheckButton, G::Fixed, {20, 393, 250, 25});
  Images(header, kHeader2, kHeader2, kHeader2);
  header.textString = 265;
  header.padLeft = 14;
  t.Add(3500, CC::PowerManageButton, G::Fixed, {75, 428, 140, 76});
  t.Text(3407, G::Fixed, {30, 507, 230, 18}, -1, TextAlign::Centre);
  const std::array<std::array<int, 2>, 2> checks{{{3501, 268}, {3504, 274}}};
  for (std::size_t i = 0; i < checks.size(); ++i) {
    const int y = 535 + 24 * static_cast<int>(i);
    Images(t.Add(checks[i][0], CC::CheckButton, G::Fixed, {40, y, 11, 11}), u"skins\\check_nr.png",
           u"skins\\check_ov.png", u"skins\\check_dn.png");
    t.Text(3402, G::Fixed, {58, y - 5, 200, 20}, checks[i][1]);
  }
}

// Left column, bottom: the battery gauge and its legend.
void AddBatteryGroup(TableBuilder& t) {
  ControlSpec& header = t.Add(3007, CC::CheckButton, G::Fixed, {20, 598, 250, 25});
  Images(header, kHeader2, kHeader2, kHeader2);
  header.textString = 15;
  header.padLeft = 14;
  Images(t.Add(3406, CC::Battery, G::Fixed, {44, 640, 26, 61}), u"skins\\battery_empty.png", u"skins\\battery_full.png",
         u"skins\\battery_charging.png", u"skins\\battery_lighting.png");
  t.Text(3405, G::Fixed, {78, 660, 56, 20}, -1).fixedText = u"100%";
  for (int k = 0; k < 3; ++k) {
    Images(t.Add(3401, CC::StaticImage, G::Fixed, {150, 645 + 20 * k, 20, 11}), kLegendImages[static_cast<std::size_t>(k)]);
    t.Text(3402, G::Fixed, {176, 640 + 20 * k, 84, 20}, 16 + k);
  }
}

// Middle: the mouse picture with its button marks, and below it the profile
// picker and the factory reset.
void AddMouseAndProfiles(TableBuilder& t) {
  Images(t.Add(3400, CC::StaticImage, G::Fixed, kPicture), u"skins\\mouse\\mouse_nr.png");
  for (int n = 1; n <= 9; ++n) {
    const auto& place = kMarkPlaces[static_cast<std::size_t>(n - 1)];
    ControlSpec& mark =
        t.Add(3400, CC::StaticImage, G::Fixed, {kPicture.left + place[0], kPicture.top + place[1], 15, 15});
    Images(mark, kMarkImages[static_cast<std::size_t>(n - 1)]);
    mark.shown = n <= 6;
    mark.onTopOf = 3400;
  }
  t.Hidden(3009, CC::CheckButton, G::Fixed).textString = 10;
  ControlSpec& picker = t.Add(3502, CC::ImageButton, G::Fixed, {306, 646, 100, 26});
  Images(picker, kButton2Nr, kButton2Ov);
  picker.textString = 1;
  picker.align = TextAlign::Centre;
  ControlSpec& reset = t.Add(2045, CC::ImageButton, G::Fixed, {414, 646, 100, 26});
  Images(reset, kButton2Nr, kButton2Ov);
  reset.textString = 7;
  reset.align = TextAlign::Centre;
  t.Hidden(3100, CC::ComboButton, G::Fixed);
  for (int id = 2049; id <= 2053; ++id) t.Hidden(id, CC::CheckButton, G::Fixed);
  for (int id : {2071, 2068, 2069, 2070}) t.Hidden(id, CC::ImageButton, G::Fixed);
  t.Hidden(2047, CC::ImageButton, G::Fixed);
}

void AddSectionHeaders(TableBuilder& t) {
  for (const SectionInfo& info : kSections) {
    ControlSpec& header = t.Add(info.headerId, CC::CheckButton, G::Fixed, {kSectionColumnLeft, 0, kSectionColumnWidth,
                                                                          kHeaderHeight});
    Images(header, u"skins\\header_nr.png", u"skins\\header_ov.png", u"skins\\header_ov.png");
    header.textString = info.textString;
    header.padLeft = 14;
    header.shown = info.section != Section::Debounce;
  }
}

// DPI stage k stands in a column 84 units wide: check, swatch, gauge, label.
void AddDpiSection(TableBuilder& t) {
  for (int k = 0; k < kDpiStageCount; ++k) {
    const int x = 30 + 84 * k;
    if (k >= 6) {
      t.Hidden(3260 + k, CC::CheckButton, G::Dpi);
      t.Hidden(3270 + k, CC::ColorSelectButton, G::Dpi);
      t.Hidden(3290 + k, CC::DpiRadioButton, G::Dpi);
      t.Hidden(3300 + k, CC::DpiValueShowControl, G::Dpi);
      continue;
    }
    Images(t.Add(3260 + k, CC::CheckButton, G::Dpi, {x + 20, 12, 15, 15}), u"skins\\check_button_dpi_nr.png",
           u"skins\\check_button_dpi_ov.png", u"skins\\check_button_dpi_dn.png");
    t.Add(3270 + k, CC::ColorSelectButton, G::Dpi, {x + 8, 36, 38, 8});
    Images(t.Add(3300 + k, CC::DpiValueShowControl, G::Dpi, {x + 20, 56, 16, 100}), u"skins\\mouse\\dpi_bar_1.png",
           u"skins\\mouse\\dpi_bar_2.png");
    ControlSpec& label = t.Add(3290 + k, CC::DpiRadioButton, G::Dpi, {x, 164, 56, 13});
    Images(label, u"skins\\dpi_value.png", u"skins\\dpi_value.png", u"skins\\dpi_value.png");
    label.align = TextAlign::Centre;
  }
  // The vertical stage sliders carry nothing; two positions keep their position table valid.
  for (int k = 0; k < kDpiStageCount; ++k) t.Hidden(3280 + k, CC::SliderControl, G::Dpi).param = 2;
}

void AddSlider(TableBuilder& t, G group, int id, int bar, DesignRect rect, int positions) {
  Images(t.Add(bar, CC::StaticImage, group, rect), kSliderBar);
  ControlSpec& slider = t.Add(id, CC::SliderControl, group, rect);
  Images(slider, kSliderThumb);
  slider.param = positions;
  slider.onTopOf = bar;
}

void AddLightingSection(TableBuilder& t) {
  t.Text(3161, G::Lighting, {20, 14, 80, 21}, 122);
  ControlSpec& mode = t.Add(3120, CC::ComboButton, G::Lighting, {100, 14, 175, 21});
  Images(mode, u"skins\\combo3_nr.png", u"skins\\combo3_ov.png");
  mode.padLeft = 10;
  mode.padRight = 24;
  mode.param = kLightingComboMessage;
  for (int s = 0; s < kLightingSlotButtons; ++s)
    Images(t.Add(3180 + s, CC::ColorSelectCheckButton, G::Lighting, {100 + 34 * s, 50, 26, 26}),
           u"skins\\color_select_nr.png", u"skins\\color_select_check.png");
  t.Text(3162, G::Lighting, {20, 90, 80, 18}, 120);
  AddSlider(t, G::Lighting, 3200, 3190, {100, 92, 200, 14}, kSpeedSliderPositions);
  t.Text(3210, G::Lighting, {310, 90, 50, 18}, -1);
  t.Text(3163, G::Lighting, {20, 122, 80, 18}, 121);
  AddSlider(t, G::Lighting, 3220, 3191, {100, 124, 200, 14}, kBrightnessSliderPositions);
  t.Text(3230, G::Lighting, {310, 122, 50, 18}, -1);
  t.Text(3164, G::Lighting, {400, 90, 120, 18}, 123);
  Images(t.Add(3240, CC::RadioButton, G::Lighting, {400, 116, 22, 22}), u"skins\\up_nr.png", u"skins\\up_ov.png",
         u"skins\\up_check.png");
  Images(t.Add(3250, CC::RadioButton, G::Lighting, {430, 116, 22, 22}), u"skins\\down_nr.png", u"skins\\down_ov.png",
         u"skins\\down_check.png");
}

void AddReportRateSection(TableBuilder& t) {
  for (int r = 0; r < 4; ++r) {
    const auto at = static_cast<std::size_t>(r);
    Images(t.Add(3030 + r, CC::RadioButton, G::ReportRate, {20 + 126 * r, 48, 96, 30}), kRateNormal[at],
           kRateNormal[at], kRateChecked[at]);
  }
  // One line under the radios; only the current rate's text is shown.
  for (int r = 0; r < 4; ++r) t.Text(3142 + r, G::ReportRate, {20, 98, 500, 20}, 261 + r);
  t.Hidden(3110, CC::ComboButton, G::ReportRate);
}

void AddLiftOffSection(TableBuilder& t) {
  const std::array<std::array<int, 3>, 2> radios{{{3510, 3520, 270}, {3511, 3521, 271}}};
  for (std::size_t i = 0; i < radios.size(); ++i) {
    const int x = 30 + 200 * static_cast<int>(i);
    Images(t.Add(radios[i][0], CC::RadioButton, G::LiftOff, {x, 32, 15, 15}), u"skins\\radio_nr.png",
           u"skins\\radio_ov.png", u"skins\\radio_dn.png");
    t.Text(radios[i][1], G::LiftOff, {x + 22, 29, 150, 20}, radios[i][2]);
  }
}

void AddDebounceSection(TableBuilder& t) {
  AddSlider(t, G::Debounce, 3530, 3531, {20, 33, 300, 14}, kKeyDebouncePositions);
  t.Text(3532, G::Debounce, {340, 30, 80, 20}, -1).fixedText = u"12ms";
}

void AddPointerSection(TableBuilder& t) {
  ControlSpec& panel = t.Add(3330, CC::ImageButton, G::Pointer, {20, 8, 160, 28});
  Images(panel, u"skins\\button4_nr.png", u"skins\\button4_nr.png");
  panel.textString = 260;
  panel.padLeft = 22;
  // The pointer settings ride in controls nobody sees.
  const std::array<std::array<int, 2>, 3> sliders{
      {{2041, kScrollWheelSpeedPositions}, {2043, kPointerSpeedPositions}, {2044, kDoubleClickSpeedPositions}}};
  for (const auto& slider : sliders) t.Hidden(slider[0], CC::SliderControl, G::Pointer).param = slider[1];
  for (int id : {3131, 3130, 3132}) t.Hidden(id, CC::StaticText, G::Pointer);
  t.Hidden(2009, CC::RadioButton, G::Pointer);
  t.Hidden(2010, CC::RadioButton, G::Pointer);
  t.Hidden(2030, CC::CheckButton, G::Pointer);
  for (int id = 3133; id <= 3141; ++id) t.Hidden(id, CC::StaticText, G::Pointer);
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
bool LightingControlShown(int id, const PageState& page) {
  const LightingModeInfo& mode = LightingMode(page.lightingMode);
  if (id >= 3180 && id < 3180 + kLightingSlotButtons) return id - 3180 < mode.slotsOffered;
  switch (id) {
    case 3162: case 3190: case 3200: case 3210:
      return mode.speed;
    case 3163: case 3191: case 3220: case 3230:
      return mode.brightness;
    case 3164: case 3240: case 3250:
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
  if (desc.id >= 3142 && desc.id <= 3145) return desc.id - 3142 == page.rateIndex;
  if (desc.group == G::Lighting) return LightingControlShown(desc.id, page);
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
