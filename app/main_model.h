// The main window's handlers without the window: it owns the page state and
// the section states, turns every control notification, popup message, timer
// and key the window forwards into edits of the current profile and pending
// changes of the device link, and asks the window (through MainWindowPort)
// for what only a window can do: timers, dialogs, popups, the display.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/colour_palette.h"
#include "app/dpi_page.h"
#include "app/key_sequence.h"
#include "app/lighting_page.h"
#include "app/main_layout.h"
#include "app/osd.h"
#include "app/page_state.h"
#include "app/profile_actions_ui.h"
#include "app/profile_picker.h"
#include "app/program_switch.h"
#include "app/rates_power.h"
#include "app/sections.h"
#include "device/device_link.h"
#include "settings/language.h"
#include "settings/settings_store.h"

namespace zeltra {

inline constexpr unsigned kLeftClickWarningTimer = 20;
inline constexpr int kStringLeftClickWarning = 151;

// What the model needs from the window. Every call comes on the
// user-interface thread, from inside a model call.
class MainWindowPort : public ProfileActionDialogs, public CommandLauncher {
 public:
  // The exit and minimise buttons: the window goes, the program stays in the tray.
  virtual void HideWindow() = 0;
  // Push the model's page state and section states into the controls
  // (values, texts, checked flags, the radio selection word, visibility and
  // places) and repaint the window. (Not the link host's RefreshControls,
  // which asks the model to read the profile again: MainWindowModel::Refresh.)
  virtual void UpdateControls() = 0;
  virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void StopTimer(unsigned id) = 0;
  // The main window's current screen top (for the profile-tab popup).
  virtual int WindowScreenTop() = 0;

  // Modal dialogs; true on OK.
  virtual bool RunDpiValueDialog(DpiValueDialog& dialog) = 0;
  virtual bool RunColourPalette(ColourPalette& palette) = 0;
  virtual bool ConfirmFactoryReset() = 0;  // CFirmwareResetDlg
  // CAttentionDlg with a caption and line of its own (the support notice).
  virtual void ShowNotice(const std::u16string& caption, const std::u16string& line) = 0;

  // Popups (positions in client coordinates of the main window).
  virtual void OpenProfilePicker(const PickerPopupSpec& desc) = 0;
  virtual void CloseProfilePicker() = 0;
  virtual void OpenProfileTabPopup(const ProfileTabPopupSpec& desc) = 0;
  virtual void CloseProfileTabPopup() = 0;
  // CComboLightingPopup under the lighting-mode combo, result message
  // kLightingModeResultMessage.
  virtual void OpenLightingModePopup(const UiPoint& topLeft) = 0;
  virtual void CloseLightingModePopup() = 0;
  // A combo's pressed look, kept while its popup is open; repaints it.
  virtual void SetComboPressed(int id, bool pressed) = 0;

  // The on-screen display: the desktop work area in screen pixels, and the
  // one display window (created when `create`, else updated in place).
  virtual UiRect WorkArea() = 0;
  virtual void ShowOsd(const OsdView& view, bool create) = 0;
  virtual void DestroyOsd() = 0;
};

// A control notification: message number = id (the lighting-mode combo's
// comes under kLightingComboMessage), lParam = code, wParam, and the value the
// control holds after it handled the mouse: the checked flag of a check
// button, the position of a slider, the minutes of the power dial.
struct ControlEvent {
  int id = 0;
  int code = 0;
  int wParam = 0;
  int value = 0;
};

class MainWindowModel {
 public:
  // After the configuration, the profiles and the DPI table were loaded.
  MainWindowModel(SettingsStore& settings, DeviceLink& link, MainWindowPort& port, float scale, int fullScreenHeight,
                  const LanguageTable& language = Language());

  const PageState& page() const { return page_; }
  const SectionState& sections() const { return sections_; }
  float scale() const { return scale_; }
  int mouseStage() const { return page_.mouseStage; }
  int sliderDragged() const { return drag_.sliderDragged(); }
  int keySequenceCount() const { return keys_.keySequenceCount(); }
  int profileAction() const { return profileAction_; }
  int profileActionSlot() const { return profileActionSlot_; }
  bool pickerOpen() const { return pickerOpen_; }
  bool profileTabOpen() const { return tabOpen_; }
  bool lightingModeOpen() const { return lightingOpen_; }
  const OsdCountdown& osd() const { return osd_; }
  // Where a control is now, at this scale and with the current states.
  std::optional<ControlView> WhereIs(int id, int instance = 0) const;

  // RefreshControls: the page state from the current profile, then the window.
  void Refresh();

  // The user chose a profile (the picker's row, the tray's list): it becomes
  // current, the window shows it and what differs goes to the mouse (saved
  // after the apply like every change). While a linked program is in front
  // it also becomes the profile to return to.
  void PickProfile(int profile);

  // A window came to the foreground (the system's foreground hook): the
  // settle timer starts again when it counts (ProgramSwitch).
  void OnForegroundProgram(const ForegroundProgram& program);
  const ProgramSwitch& programSwitch() const { return programs_; }

  // Control notifications; true when the model handled it.
  bool OnControl(const ControlEvent& event);

  // Popup messages.
  void OnPickerResult(int wParam, int item);           // kPickerResultMessage
  void OnPickerDismissed();                            // kComboProfilePopupDismissed
  void OnProfileTabChosen(int ownerValue, int entry);  // kProfileTabResultMessage, entry 1..4
  void OnProfileTabDismissed();                        // kProfileRKeyPopupDismissed
  void OnLightingModeChosen(const std::u16string& name,
                            const std::array<std::uint8_t, 3>& bytes);  // kLightingModeResultMessage
  void OnLightingModeDismissed();                                       // kComboLightingPopupDismissed

  // Timers 1 to 8, 20, 50, 60 and the settle timer; true when the model handled it.
  bool OnTimer(unsigned id);

  // Mouse moves, after the dialog base's handling: with the left button held
  // the window lets the lighting sliders follow the drag while this is true.
  bool LightingSlidersFollowDrag() const { return sections_.BodyShown(Section::Lighting); }
  void OnMouseMoveWithoutButton();

  // A key-down message before the dialog handles it; true when swallowed.
  bool OnKeyDown(unsigned virtualKey);

  // From the device link host: the mouse reported a stage (the profile holds
  // it already), and a status reply's sensor number.
  void OnMouseStateReported(int stage);
  void OnSensorReported(int sensorNumber);
  // Device notifications were registered again: the display is forgotten.
  void ForgetOsd() { osd_.Forget(); }

 private:
  ProfileRecord& Profile() { return settings_.CurrentProfile(); }
  void Apply(unsigned pendingFlags) { link_.RequestApply(pendingFlags); }
  void CollectRefreshApply();
  UiRect PickerRect() const;

  void OnHeader(const ControlEvent& event);
  void OnReportRate(int rateIndex);
  void OnColourSlot(int slot, int code);
  void OnColourSlotTimer(int slot);
  void OnLightingSliderEvent(const ControlEvent& event);
  void OnDirection(bool up);
  void OnDpiCheck(int stage, bool checked);
  void OnDpiColour(int stage);
  void OnDpiValueBox(int stage);
  void OnPowerControl(ControlAction action, int value);
  void OnPicker(int code);
  void OnLightingModeCombo();
  void OnLiftOff(bool low);
  void OnFactoryReset();
  void ClosePopups();
  void CloseLightingModePopup();
  void SwitchProfile(int profile);
  void OnProgramSettled();

  SettingsStore& settings_;
  DeviceLink& link_;
  MainWindowPort& port_;
  const LanguageTable& language_;
  float scale_;
  int fullScreenHeight_;

  SectionState sections_;
  PageState page_;
  SliderDrag drag_;
  KeySequence keys_;
  PickerToggle pickerToggle_;
  bool pickerOpen_ = false;
  bool tabOpen_ = false;
  bool lightingOpen_ = false;
  int profileAction_ = -1;
  int profileActionSlot_ = -1;
  OsdCountdown osd_;
  ProgramSwitch programs_;
};

}  // namespace zeltra
