// The main window's layout: every control with its id, class, images, text,
// group, shown flag and design rectangle, the panels behind the groups, and
// where a control stands for a scale and the current section states.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/page_state.h"
#include "app/sections.h"
#include "settings/profile.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/ui_geometry.h"

namespace zeltra {

// Toolkit class of a control.
enum class ControlClass {
  ImageButton,
  CheckButton,
  ColorSelectButton,
  ColorSelectCheckButton,
  ComboButton,
  DpiRadioButton,
  PowerManageButton,
  RadioButton,
  SliderControl,
  DpiValueShowControl,
  Battery,
  StaticImage,
  StaticText,
};

// The seven control groups: one never hidden by a section, one per section
// (in the order of `Section`).
enum class ControlGroup : int { Fixed = 0, Dpi, Lighting, ReportRate, LiftOff, Debounce, Pointer };
inline constexpr int kControlGroupCount = 7;
constexpr ControlGroup GroupOf(Section s) { return static_cast<ControlGroup>(static_cast<int>(s) + 1); }

enum class TextAlign { Left, Centre, Right };

inline constexpr Colour kTextGrey = Rgb(180, 180, 180);
inline constexpr Colour kVersionGrey = Rgb(138, 138, 138);
inline constexpr Colour kActiveStageRed = Rgb(255, 0, 0);
inline constexpr int kSliderThumbExtent = 7;  // left and right thumb extents of every slider

// What a control's notification does. A control of a family (a DPI stage's
// check, a colour slot, a report rate...) also carries its index.
enum class ControlAction {
  None,               // decorations and carriers
  HideWindow,         // code 2: the program goes on in the tray
  SectionHeader,      // code 2: the header opens or closes its section
  ProfilePicker,      // codes 12 and 2: the profile picker popup
  LightingModeCombo,  // code 2: the lighting-mode popup
  ColourSlot,         // codes 2 and 10, slot = index
  LightingSlider,     // codes 3 (dragged) and 2 (released)
  ReportRate,         // code 2, rate = index
  Direction,          // code 2, index 0 up, 1 down
  DpiCheck,           // code 2, stage = index
  DpiColour,          // code 2, stage = index
  DpiValueBox,        // code 2, stage = index
  ControlPanel,       // code 2: the system's mouse control panel
  PowerDial,          // code 2
  LightsOffCheck,     // code 2
  MotionWakeCheck,    // code 2
  LiftOff,            // code 2, index 0 low, 1 high
  FactoryReset,       // code 2
  MacroManager,       // code 2: the macro-manager unit runs the manager
  ButtonCombo,        // the assignment unit, under kButtonComboMessage; slot = index
};

struct ControlSpec {
  int id = 0;
  int instance = 0;  // tells apart the decorations that share an id (the picture's marks, captions)
  ControlClass cls = ControlClass::StaticText;
  ControlGroup group = ControlGroup::Fixed;
  bool shown = true;  // false: created with its shown flag clear and never shown
  // Fixed group: window coordinates; a section's group: relative to the
  // section body's top-left corner, so the controls move with their section.
  // Section headers: left, width and height only (the top follows the sections).
  DesignRect rect;
  int textString = -1;              // language string of its caption, -1 none
  std::u16string_view fixedText;    // a caption of its own ("100%", "12ms", the version suffix)
  // Skin files (under the program folder) in the class's order: buttons
  // normal, over, checked; battery outline, level, charging, symbol; value
  // box background, fill; slider thumb. The power dial's ten images follow
  // PowerDialImage.
  std::array<std::u16string_view, 4> images{};
  TextAlign align = TextAlign::Left;
  int padLeft = 0;
  int padRight = 0;
  Colour textColour = kTextGrey;
  int param = 0;    // combo: message number; slider: positions; check and radio: nothing
  int onTopOf = 0;  // id of the control it is drawn over (marks, slider thumbs), 0 none
  ControlAction action = ControlAction::None;
  int index = 0;                // which one of its family (stage, slot, rate, direction, radio)
  bool repaintsWindow = false;  // a click that changed it repaints the whole window: it moves others
  bool reportsMoves = false;    // image button: reports every move over it (code 12)
  RadioBit radio;               // radio button: its place in the radio selection word
};

// The whole table, in creation order (the order each group lists its controls).
std::span<const ControlSpec> MainWindowControls();
// The entry of an id (and instance); null for ids the window does not have.
const ControlSpec* FindControlSpec(int id, int instance = 0);

// "skins\power_manage_<v>min.png" for 3..10, empty otherwise.
std::u16string PowerDialImage(int minutes);

// The control's design rectangle in window coordinates for the section states.
DesignRect DesignPlace(const ControlSpec& desc, const SectionState& sections);
// The same in window pixels.
UiRect ControlRect(const ControlSpec& desc, const SectionState& sections, float scale);

// SetVisible of every control of a group: the fixed group always, a section's
// group while its header is shown and open.
bool GroupVisible(ControlGroup group, const SectionState& sections);
// SetShown of a single control: false for every control created hidden;
// the lift-off header only while the sensor offers the lift-off distance; the report
// rate texts only for the current rate; the lighting controls (with their
// captions and slider bars) by what the current mode offers.
bool ControlShown(const ControlSpec& desc, const SectionState& sections, const PageState& page);

// Where a control is now: its rectangle and whether it is drawn (and takes
// the mouse) at all.
struct ControlView {
  const ControlSpec* desc = nullptr;
  UiRect rect;
  bool visible = false;
  bool shown = false;
  bool drawn() const { return visible && shown; }
};
std::optional<ControlView> WhereIs(int id, const SectionState& sections, const PageState& page, float scale,
                                   int instance = 0);

// Panels drawn from "skins\Frame_Lighting_Setting.bmp" (source 230 x 82
// stretched to each): the four fixed groups on the left, and every open section.
inline constexpr std::u16string_view kPanelImage = u"skins\\Frame_Lighting_Setting.bmp";
inline constexpr int kPanelSourceWidth = 230;
inline constexpr int kPanelSourceHeight = 82;
std::array<DesignRect, 4> FixedPanels();
std::vector<DesignRect> SectionPanels(const SectionState& sections);

// The mouse picture's highlight of button n (1..9; 0 = none): an image the
// size of the picture, drawn over it at its natural size x scale.
std::u16string HighlightImage(int n);
UiRect HighlightRect(float scale);

}  // namespace zeltra
