#include "app/main_model.h"

#include <algorithm>

#include "app/factory_reset.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"

namespace zeltra {

namespace {

constexpr unsigned kProfileSwitchFlags = kPendingButtons | kPendingSettings | kPendingPower | kPendingWake;

}  // namespace

MainWindowModel::MainWindowModel(SettingsStore& settings, DeviceLink& link, MainWindowPort& port, float scale,
                                 int fullScreenHeight, const LanguageTable& language)
    : settings_(settings),
      link_(link),
      port_(port),
      language_(language),
      scale_(scale),
      fullScreenHeight_(fullScreenHeight),
      sections_(settings.Dpi().pageFlag),
      page_(RefreshPage(settings, language)) {}

std::optional<ControlView> MainWindowModel::WhereIs(int id, int instance) const {
  return zeltra::WhereIs(id, sections_, page_, scale_, instance);
}

void MainWindowModel::Refresh() {
  page_ = RefreshPage(settings_, language_);
  port_.UpdateControls();
}

void MainWindowModel::CollectRefreshApply() {
  CollectPage(page_, Profile());
  Refresh();
  Apply(kPendingSettings);
}

UiRect MainWindowModel::PickerRect() const {
  return ControlRect(*FindControlSpec(kIdProfilePicker), sections_, scale_);
}

bool MainWindowModel::OnControl(const ControlEvent& e) {
  const ControlSpec* row = FindControlSpec(e.id);
  if (row == nullptr) return false;
  using A = ControlAction;
  // These take every code and answer the ones they know.
  switch (row->action) {
    case A::SectionHeader:
      if (e.code == kCodeClicked) OnHeader(e);
      return true;
    case A::ProfilePicker:
      OnPicker(e.code);
      return true;
    case A::LightingModeCombo:
      if (e.code == kCodeClicked) OnLightingModeCombo();
      return true;
    case A::ColourSlot:
      OnColourSlot(row->index, e.code);
      return true;
    case A::LightingSlider:
      OnLightingSliderEvent(e);
      return true;
    default:
      break;
  }
  if (e.code != kCodeClicked) return false;
  switch (row->action) {
    case A::HideWindow: port_.HideWindow(); return true;
    case A::ReportRate: OnReportRate(row->index); return true;
    case A::Direction: OnDirection(row->index == 0); return true;
    case A::DpiCheck: OnDpiCheck(row->index, e.value != 0); return true;
    case A::DpiColour: OnDpiColour(row->index); return true;
    case A::DpiValueBox: OnDpiValueBox(row->index); return true;
    case A::ControlPanel: OpenMouseControlPanel(port_); return true;
    case A::PowerDial:
    case A::LightsOffCheck:
    case A::MotionWakeCheck: OnPowerControl(row->action, e.value); return true;
    case A::LiftOff: OnLiftOff(row->index == 0); return true;
    case A::FactoryReset: OnFactoryReset(); return true;
    default: return false;  // nothing to do, or a unit of the window's own (macro manager, button combos)
  }
}

void MainWindowModel::OnHeader(const ControlEvent& e) {
  sections_.OnHeaderClicked(e.id, e.value != 0);
  // Every header shows its state again, the clicked one included when it was
  // not offered.
  port_.UpdateControls();
}

void MainWindowModel::OnReportRate(int rateIndex) {
  if (!StoreReportRate(Profile(), rateIndex)) return;
  Apply(kPendingSettings);
  Refresh();
}

void MainWindowModel::OnColourSlot(int slot, int code) {
  if (code == kCodeClicked) {
    port_.StartTimer(SlotTimerId(slot), kSlotTimerMs);
    return;
  }
  if (code != kCodeDoubleClick) return;
  port_.StopTimer(SlotTimerId(slot));
  ColourPalette palette = ColourPalette::ForLightingSlot(Profile(), LightingModeIndex(Profile()), slot);
  if (!port_.RunColourPalette(palette)) return;
  palette.Confirm(Profile());
  Refresh();
  Apply(kPendingSettings);
}

void MainWindowModel::OnColourSlotTimer(int slot) {
  port_.StopTimer(SlotTimerId(slot));
  const SlotToggle toggle = ToggleColourSlot(Profile(), slot);
  if (toggle.refusal) {
    port_.ShowAttention(toggle.refusal);
    return;
  }
  if (!toggle.changed) return;
  Refresh();
  Apply(kPendingSettings);
}

void MainWindowModel::OnLightingSliderEvent(const ControlEvent& e) {
  if (e.code == kCodeValueChanged) {
    // While dragging the value is stored at once but sent on the release.
    if (!OnLightingSlider(page_, e.id, e.wParam)) return;
    drag_.OnDragged();
    CollectPage(page_, Profile());
    link_.MarkPending(kPendingSettings);
    Refresh();
  } else if (e.code == kCodeClicked) {
    if (!OnLightingSlider(page_, e.id, e.value)) return;
    CollectRefreshApply();
  }
}

void MainWindowModel::OnMouseMoveWithoutButton() {
  if (drag_.OnMoveWithoutButton(link_.pending().settingsPending != 0)) Apply(0);
}

void MainWindowModel::OnDirection(bool up) {
  page_.directionUp = up;
  CollectRefreshApply();
}

void MainWindowModel::OnDpiCheck(int stage, bool checked) {
  if (!OnStageCheck(Profile(), page_, stage, checked)) {
    port_.UpdateControls();  // the last enabled stage shows checked again
    return;
  }
  CollectRefreshApply();
}

void MainWindowModel::OnDpiColour(int stage) {
  ColourPalette palette = ColourPalette::ForDpiStage(Profile(), stage);
  if (!port_.RunColourPalette(palette)) return;
  palette.Confirm(Profile());
  Refresh();
  Apply(kPendingSettings);
}

void MainWindowModel::OnDpiValueBox(int stage) {
  DpiValueDialog dialog(settings_.Dpi(), stage, Profile().XYSettingValue[static_cast<std::size_t>(stage)]);
  if (!port_.RunDpiValueDialog(dialog)) return;
  StoreStageIndex(Profile(), stage, dialog.index());
  Refresh();
  Apply(kPendingSettings);
}

void MainWindowModel::OnPowerControl(ControlAction action, int value) {
  if (action == ControlAction::PowerDial) {
    SetPowerDownTime(Profile(), std::clamp(value, kPowerDialMin, kPowerDialMax));
    Apply(kPendingPower);
  } else if (action == ControlAction::LightsOffCheck) {
    SetMoveLightingOnOff(Profile(), value);
    Apply(kPendingPower);
  } else {
    SetMotionWakeup(Profile(), value);
    Apply(kPendingWake);
  }
  Refresh();
}

void MainWindowModel::OnLiftOff(bool low) {
  page_.liftOffLow = low;
  CollectRefreshApply();
}

void MainWindowModel::OnFactoryReset() {
  if (port_.ConfirmFactoryReset()) RunFactoryReset(link_, settings_);
}

void MainWindowModel::OnPicker(int code) {
  if (code == kCodePickerMove) {
    pickerToggle_.OnPointerMove(pickerOpen_);
    return;
  }
  if (code != kCodeClicked) return;
  const bool open = pickerToggle_.OpensOnClick();
  // The next click opens it again, even without a move in between.
  pickerToggle_.OnPointerMove(false);
  if (!open) return;
  port_.OpenProfilePicker(BuildPickerPopup(settings_, PickerRect(), scale_, language_));
  pickerOpen_ = true;
}

void MainWindowModel::OnPickerResult(int wParam, int item) {
  if (wParam == kProfileRowRightClicked) {
    const auto desc =
        BuildProfileTabPopup(settings_, item, PickerRect(), scale_, port_.WindowScreenTop(), fullScreenHeight_);
    if (!desc) return;
    if (tabOpen_) port_.CloseProfileTabPopup();
    // Set first: the new popup takes the activation from the picker while it
    // opens, and the picker must stay open beside it.
    tabOpen_ = true;
    port_.OpenProfileTabPopup(*desc);
    return;
  }
  if (wParam != kProfileRowChosen) return;
  const PickerChoice choice = ChoosePickerRow(settings_, item);
  if (choice.kind == PickerChoice::Kind::Nothing) return;
  if (choice.kind == PickerChoice::Kind::SwitchProfile) {
    PickProfile(choice.profile);
    return;
  }
  ClosePopups();
  profileAction_ = choice.action;
  port_.StartTimer(kProfileActionTimer, kProfileActionMs);
}

void MainWindowModel::PickProfile(int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  programs_.OnManualSwitch(profile);
  SwitchProfile(profile);
}

void MainWindowModel::SwitchProfile(int profile) {
  // An open popup would show the profile that was current.
  ClosePopups();
  settings_.SetCurrentProfileIndex(profile);
  Refresh();
  Apply(kProfileSwitchFlags);
}

void MainWindowModel::OnForegroundProgram(const ForegroundProgram& program) {
  if (programs_.OnForeground(program)) port_.StartTimer(kProgramSettleTimer, kProgramSettleMs);
}

void MainWindowModel::OnProgramSettled() {
  // A dialog of the program may be editing the current profile: the switch
  // waits until every one has closed (the timer ticks on until then).
  if (OpenDialogs().Count() > 0) return;
  port_.StopTimer(kProgramSettleTimer);
  const std::optional<int> profile = programs_.Settle(settings_);
  if (!profile) return;
  // The program just brought to the front keeps the focus: no progress
  // dialog comes up over it.
  link_.MarkPending(kPendingSilent);
  SwitchProfile(*profile);
}

void MainWindowModel::OnPickerDismissed() {
  // Opening the profile-tab popup takes the activation from the picker,
  // which stays open beside it.
  if (tabOpen_ || !pickerOpen_) return;
  port_.CloseProfilePicker();
  pickerOpen_ = false;
}

void MainWindowModel::OnProfileTabChosen(int ownerValue, int entry) {
  const auto request = ChooseProfileTabEntry(ownerValue, entry);
  if (!request) return;
  profileAction_ = request->action;
  profileActionSlot_ = request->profile;
  ClosePopups();
  port_.StartTimer(kProfileActionTimer, kProfileActionMs);
}

void MainWindowModel::OnProfileTabDismissed() { ClosePopups(); }

void MainWindowModel::ClosePopups() {
  if (tabOpen_) port_.CloseProfileTabPopup();
  if (pickerOpen_) port_.CloseProfilePicker();
  tabOpen_ = pickerOpen_ = false;
}

void MainWindowModel::OnLightingModeCombo() {
  const UiRect combo = ControlRect(*FindControlSpec(kIdLightingModeCombo), sections_, scale_);
  // The combo looks pressed while its popup is open, as the button combos do.
  lightingOpen_ = true;
  port_.SetComboPressed(kIdLightingModeCombo, true);
  port_.OpenLightingModePopup({combo.left, combo.bottom});
}

void MainWindowModel::CloseLightingModePopup() {
  port_.CloseLightingModePopup();
  if (!lightingOpen_) return;
  lightingOpen_ = false;
  port_.SetComboPressed(kIdLightingModeCombo, false);
}

void MainWindowModel::OnLightingModeChosen(const std::u16string& name, const std::array<std::uint8_t, 3>& bytes) {
  CloseLightingModePopup();
  if (!StoreLightingMode(Profile(), name, bytes)) return;
  Refresh();
  Apply(kPendingSettings);
}

void MainWindowModel::OnLightingModeDismissed() { CloseLightingModePopup(); }

bool MainWindowModel::OnTimer(unsigned id) {
  if (const int slot = SlotOfTimer(id); slot >= 0) {
    OnColourSlotTimer(slot);
    return true;
  }
  switch (id) {
    case kProgramSettleTimer:
      OnProgramSettled();
      return true;
    case kLeftClickWarningTimer:
      port_.StopTimer(id);
      port_.ShowAttention(kStringLeftClickWarning);
      return true;
    case kOsdTimer:
      if (osd_.Tick()) {
        port_.StopTimer(kOsdTimer);
        port_.DestroyOsd();
      }
      return true;
    case kProfileActionTimer: {
      port_.StopTimer(id);
      if (!RunProfileAction(profileAction_, profileActionSlot_, settings_, port_)) return true;
      Refresh();
      // A file imported into the current profile is what the window shows
      // now: the mouse gets what differs, as after a switch, or it would
      // keep the old settings while the window and the files show the new.
      if (profileAction_ == static_cast<int>(ProfileAction::Import) &&
          profileActionSlot_ == settings_.CurrentProfileIndex())
        Apply(kProfileSwitchFlags);
      return true;
    }
    default:
      return false;
  }
}

bool MainWindowModel::OnKeyDown(unsigned virtualKey) {
  switch (keys_.OnKeyDown(virtualKey)) {
    case KeySequence::Result::PassOn:
      return false;
    case KeySequence::Result::ShowSupport:
      port_.ShowNotice(std::u16string(kSupportCaption), SupportLine(settings_.SensorCode()));
      return true;
    case KeySequence::Result::Swallow:
      return true;
  }
  return false;
}

void MainWindowModel::OnMouseStateReported(int stage) {
  page_.mouseStage = stage;
  const OsdTexts texts = MouseStateTexts(Profile(), stage, settings_.Dpi());
  const bool create = osd_.Show();
  port_.ShowOsd(MakeOsdView(texts, language_.font.face, port_.WorkArea(), scale_), create);
  if (create) port_.StartTimer(kOsdTimer, kOsdTimerMs);
}

void MainWindowModel::OnSensorReported(int sensorNumber) {
  const SensorChange change = settings_.OnSensorReported(sensorNumber);
  if (!change.changed) return;
  sections_.SetLiftOffOffered(change.pageFlag);
  Refresh();
}

}  // namespace zeltra
