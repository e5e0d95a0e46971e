#include "app/win32/tarvin_dlg_win32.h"

#include <dbt.h>

#include <system_error>
#include <vector>

#include "app/main_window_ids.h"
#include "app/win32/main_port_win32.h"
#include "app/window_placement.h"
#include "device/win32/hid_backend_win32.h"
#include "macro/button_function.h"
#include "macro/macro_library_file.h"
#include "settings/damaged_files.h"
#include "settings/delayed_save.h"
#include "settings/language.h"
#include "settings/program_folders.h"
#include "settings/text_format.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/firmware_reset_dlg_win32.h"
#include "ui/win32/progress_dlg_win32.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

constexpr int kStringProgress = 146;

void CreateFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) std::filesystem::create_directory(folder, ec);
}

}  // namespace

CTarvinDlg::CTarvinDlg(TarvinOptions options) : CDlgBase(IDD_MAIN_WINDOW, nullptr), options_(std::move(options)) {
  registersOpenDialog_ = false;  // the main window closes the table, it is not in it
}

CTarvinDlg::~CTarvinDlg() {
  // Normally done when the window went; this covers a window never made.
  if (link_) link_->Close();
  RemoveTrayIcon();
}

// --- start-up ----------------------------------------------------------------

void CTarvinDlg::ChooseScale() {
  UiContext& ui = Ui();
  if (options_.fullScreen) {
    ui.fullScreenWidth = options_.fullScreen->cx;
    ui.fullScreenHeight = options_.fullScreen->cy;
  } else {
    ui.fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    ui.fullScreenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  }
  ui.scale = UiScaleFactor(ui.fullScreenWidth, ui.fullScreenHeight);
  {
    const WindowDc dc(hwnd_);
    ui.textScale = static_cast<float>(GetDeviceCaps(dc.get(), LOGPIXELSX)) / 96.0f;
  }
  const WindowPlacement place = MainWindowPlacement(ui.fullScreenWidth, ui.fullScreenHeight, ui.scale);
  width_ = place.width;
  height_ = place.height;
}

void CTarvinDlg::PlaceWindow() {
  const UiContext& ui = Ui();
  const WindowPlacement place = MainWindowPlacement(ui.fullScreenWidth, ui.fullScreenHeight, ui.scale);
  SetWindowPos(hwnd_, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_SHOWWINDOW);
}

BOOL CTarvinDlg::OnInitDialog() {
  try {
    return Initialise();
  } catch (...) {
    // A program that could not set itself up must not run half made.
    EndDialog(IDABORT);
    return TRUE;
  }
}

BOOL CTarvinDlg::Initialise() {
  SetMainWindow(hwnd_);
  window_ = hwnd_;
  // From here on nothing shows the window until the user asks for it.
  startHidden_ = options_.startInTray;

  UiContext& ui = Ui();
  ui.programFolder = options_.programFolder.empty() ? ExecutableFolder() : options_.programFolder;
  ui.dataFolder = options_.dataFolder.empty() ? UserDataFolder() : options_.dataFolder;
  const std::filesystem::path config = ui.dataFolder / L"config";
  CreateFolder(ui.dataFolder);
  CreateFolder(config);

  ChooseScale();

  const std::filesystem::path shipped =
      options_.shippedLanguageFolder.empty() ? ui.programFolder / L"lang" : options_.shippedLanguageFolder;
  InstallDefaultLanguageFiles(shipped, config);
  LoadLanguage(config, ui.scale);
  libraryFile_ = MacroLibraryPath(ui.dataFolder);
  settings_ = std::make_unique<SettingsStore>(ui.dataFolder);
  settings_->LoadConfiguration();  // also the sensor's DPI table
  link_ = std::make_unique<DeviceLink>(options_.backend, *options_.clock, *this, *this, *this);
  port_ = std::make_unique<MainPort>(*this);
  model_ = std::make_unique<MainWindowModel>(*settings_, *link_, *port_, ui.scale, ui.fullScreenHeight);
  // A popup window without a frame: its client area is the size just chosen.
  StartBackground(RECT{0, 0, width_, height_});

  RECT client{};
  GetClientRect(hwnd_, &client);
  EnsureControlsCreated(client);
  CDlgBase::OnInitDialog();
  AttachUnits();

  // The icons were set by the dialog base above; each one set again costs a
  // conversion for the window manager.
  PlaceWindow();

  OpenDialogs().Clear();
  AddTrayIcon();

  startInStandby_ = ParseDecimal(settings_->Globals().Value(kNeedPassword));
  if (startInStandby_ == 1 && !startHidden_) ShowWindow(hwnd_, SW_MINIMIZE);
  link_->InitStandby(startInStandby_);

  RefreshControls();
  // A window shown at once is painted first and looks for the mouse right
  // after; one in standby shows nothing until the mouse answers, so it asks
  // now. The background colour comes with the first paint (it reads bitmap
  // 364 for its picture anyway).
  if (startInStandby_ == 1) {
    StartUpLink();
  } else {
    startUpPending_ = true;
  }
  SetTimer(hwnd_, kStartupCheckTimer, kStartupCheckMs, nullptr);
  return TRUE;
}

MacroLibrary& CTarvinDlg::Library() {
  if (!libraryRead_ && !libraryFile_.empty()) {
    libraryRead_ = true;
    LoadMacroLibrary(macroLibrary_, libraryFile_);
  }
  return macroLibrary_;
}

void CTarvinDlg::StartUpLink() {
  startUpPending_ = false;
  link_->StartUp();
}

void CTarvinDlg::OnAfterFirstPaint() {
  if (startUpPending_) StartUpLink();
  Library();
}

void CTarvinDlg::CloseOpenDialogs() {
  for (const auto& unit : units_) unit->CloseDialogs();
  // Closing a dialog takes it out of the table and moves the others up, so
  // the handles are taken first.
  std::vector<HWND> open;
  for (int i = 0; i < OpenDialogTable::kSize; ++i) {
    if (OpenDialogTable::Handle h = OpenDialogs().At(i)) open.push_back(reinterpret_cast<HWND>(h));
  }
  for (HWND dialog : open) {
    if (IsWindow(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
  }
}

void CTarvinDlg::OnTrayExit() {
  CloseOpenDialogs();
  OnOK();
}

// --- standby -----------------------------------------------------------------

void CTarvinDlg::BringUp() {
  // The user asks for the window: a start hidden in the tray is over.
  startHidden_ = false;
  if (!link_) return;
  const StandbyState& state = link_->standby();
  if (state.active == 1 && state.mouseOnline == 1) {
    ShowWindowNormal();
    return;
  }
  link_->QueryStatus();
}

void CTarvinDlg::ShowWindowNormal() {
  // Started hidden in the tray, the mouse coming online does not bring the
  // window up; only the user does (BringUp).
  if (startHidden_) return;
  SetForegroundWindow(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void CTarvinDlg::MinimiseWindow() {
  if (!startHidden_) ShowWindow(hwnd_, SW_MINIMIZE);
}

void CTarvinDlg::OnStandbyChanged(int active) {
  // The standby guard (timer 40) hides a window shown while in standby;
  // while the window is active it would wake the program ten times a second
  // for nothing.
  if (hwnd_ == nullptr) return;
  if (active == 0)
    SetTimer(hwnd_, kStandbyGuardTimer, kStandbyGuardMs, nullptr);
  else
    KillTimer(hwnd_, kStandbyGuardTimer);
}

void CTarvinDlg::QuitOnDeviceRemoval() {
  ShowWindow(hwnd_, SW_HIDE);
  CloseOpenDialogs();
  PostQuitMessage(0);
}

// --- device link host ----------------------------------------------------------

ProfileRecord& CTarvinDlg::CurrentProfile() { return settings_->CurrentProfile(); }

const DpiTable& CTarvinDlg::CurrentDpiTable() { return settings_->Dpi(); }

const Macro* CTarvinDlg::FindLibraryMacro(std::uint32_t macroKeyIndex) {
  return Library().FindMacroByKeyIndex(macroKeyIndex);
}

bool CTarvinDlg::MacroLibraryUnavailable() { return Library().Unavailable(); }

bool CTarvinDlg::StartLinkTimer(LinkTimer timer) {
  switch (timer) {
    case LinkTimer::Apply: return SetTimer(hwnd_, kApplyTimer, kApplyMs, nullptr) != 0;
    case LinkTimer::Watchdog: SetTimer(hwnd_, kWatchdogTimer, kWatchdogMs, nullptr); return true;
    case LinkTimer::DeviceChange: return SetTimer(hwnd_, kDeviceChangeTimer, kDeviceChangeMs, nullptr) != 0;
  }
  return false;
}

void CTarvinDlg::OnLinkEvent(const LinkEvent& event) {
  namespace ev = link_event;
  if (const auto* applied = std::get_if<ev::Applied>(&event)) {
    // What the user changed reached the mouse: show it took a moment.
    if (applied->wroteSomething && !applied->silent) ShowProgressDialog();
    ArmDelayedSave();
    RefreshControls();
  } else if (std::holds_alternative<ev::Changed>(event)) {
    RefreshControls();
  } else if (const auto* disabled = std::get_if<ev::ButtonDisabled>(&event)) {
    // The link gave it the code 00 00 00 already; the name is the window's.
    NameDisabledButton(CurrentProfile(), disabled->position);
  } else if (const auto* standby = std::get_if<ev::StandbyChanged>(&event)) {
    OnStandbyChanged(standby->active);
  } else if (const auto* status = std::get_if<ev::Status>(&event)) {
    OnStatus(*status);
  } else if (const auto* report = std::get_if<ev::MouseReport>(&event)) {
    OnMouseReport(*report);
  } else if (std::holds_alternative<ev::LastLinkGone>(event)) {
    QuitOnDeviceRemoval();
  } else if (std::holds_alternative<ev::WatchingDevices>(event)) {
    WatchDevices();
  } else if (std::holds_alternative<ev::FactoryResetDone>(event)) {
    RefreshControls();
    ShowProgressDialog();
  } else if (std::holds_alternative<ev::ReportsWaiting>(event)) {
    // A listener thread: the reports are taken on this window's thread.
    if (HWND window = window_.load()) PostMessageW(window, kWmMouseStateChanged, 1, 0);
  }
}

void CTarvinDlg::OnDeviceChangeBroadcast(WPARAM event, LPARAM data) {
  const HidDeviceChange change = ClassifyDeviceChange(event, data);
  switch (change.kind) {
    case HidDeviceChange::Kind::Arrival: link_->OnDeviceChange(kDeviceArrival); break;
    case HidDeviceChange::Kind::Removal: link_->OnDeviceChange(kDeviceRemoveComplete); break;
    case HidDeviceChange::Kind::ReleaseRequested: link_->ReleaseInterface(change.path); break;
    case HidDeviceChange::Kind::ReleaseCancelled: link_->OnReleaseCancelled(change.path); break;
    case HidDeviceChange::Kind::None: break;
  }
}

void CTarvinDlg::ArmDelayedSave() {
  KillTimer(hwnd_, kDelayedSaveTimer);
  pendingSave_ = 1;
  SetTimer(hwnd_, kDelayedSaveTimer, kDelayedSaveMs, nullptr);
}

void CTarvinDlg::ShowProgressDialog() {
  ++progressShown_;
  RunProgressDialog();
}

void CTarvinDlg::RunProgressDialog() {
  CProgressBarDlg progress(LanguageString(kStringProgress), hwnd_);
  progress.DoModal();
}

bool CTarvinDlg::RunFirmwareResetDialog() {
  CFirmwareResetDlg dialog(hwnd_);
  return dialog.DoModal() == IDOK;
}

void CTarvinDlg::RefreshControls() {
  if (model_) {
    model_->Refresh();
  } else if (hwnd_ != nullptr) {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

void CTarvinDlg::OnStatus(const link_event::Status& status) {
  // A reply that ends standby brings the window up; the mouse going offline
  // again puts back a window only the reply brought up.
  if (status.turn == link_event::Status::Turn::Woken) ShowWindowNormal();
  if (status.turn == link_event::Status::Turn::Lapsed) MinimiseWindow();
  if (model_) {
    model_->OnSensorReported(status.sensor);
  } else if (settings_->OnSensorReported(status.sensor).changed) {
    RefreshControls();
  }
  UpdateTrayBattery(status);
}

void CTarvinDlg::OnMouseReport(const link_event::MouseReport& report) {
  mouseStage_ = report.stage;
  if (model_) model_->OnMouseStateReported(report.stage);
  RefreshControls();
}

void CTarvinDlg::WatchDevices() {
  if (model_) model_->ForgetOsd();
  if (!deviceNotification_) deviceNotification_.reset(RegisterHidDeviceNotifications(hwnd_));
  WatchOpenInterfaces(hwnd_);
  if (options_.virtualMouse) {
    // The virtual mouse's plugging reaches the window as the system's would.
    HWND window = hwnd_;
    options_.virtualMouse->SetDeviceChangeCallback([window](bool arrival) {
      PostMessageW(window, kWmVirtualDeviceChange, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, 0);
    });
  }
}

// --- start-up check and battery ----------------------------------------------

void CTarvinDlg::TellAboutKeptCopies() {
  if (TakeKeptCopies().empty()) return;
  // Once for every copy kept so far; like the start-up notice it belongs to
  // no window, so that it is seen in standby as well.
  keptCopiesNotice_ =
      std::make_unique<CAttentionDlg>(LanguageString(kStringAttentionTitle), KeptCopyNotice(), nullptr);
  keptCopiesNotice_->CreateTopmost();
}

void CTarvinDlg::OnStartupCheck() {
  // A window that was to be painted first and never was still looks for the mouse.
  if (startUpPending_) StartUpLink();
  // Nor does it keep the background drawn for it (a start in standby without
  // the mouse): the first paint draws one.
  if (backgroundJob_) backgroundJob_->Take();
  backgroundJob_.reset();
  // The load at start-up replaced the damaged files it found.
  TellAboutKeptCopies();
  const StartupNotice notice = link_->StartupCheck();
  // Started with Windows, the program waits in the tray for the mouse
  // without a word: a mouse not plugged in at every log-in is no news.
  if (notice == StartupNotice::None || startHidden_) return;
  const int message = notice == StartupNotice::NoDevice ? kStringNoDevice : kStringMouseOffline;
  // Not owned by the main window: in standby that window is minimised, and
  // the notice must still be seen.
  startupNotice_ =
      std::make_unique<CAttentionDlg>(LanguageString(kStringAttentionTitle), LanguageString(message), nullptr);
  startupNotice_->CreateTopmost();
}

void CTarvinDlg::ShowBattery(const BatteryDisplay& display) {
  if (battery_ == nullptr || batteryText_ == nullptr) return;
  // The tick comes every second: what it would draw again unchanged is not
  // repainted (the controls hold what they show).
  BatteryDisplay shown;
  shown.level = battery_->levelPercent();
  shown.chargeState = battery_->mode();
  shown.animationStep = battery_->chargingLevel();
  shown.text = batteryText_->caption();
  shown.textVisible = batteryText_->IsShown();
  const BatteryChange change = CompareBatteryDisplays(shown, display);
  battery_->SetChargingLevel(display.animationStep);
  battery_->SetLevel(display.level);
  battery_->SetMode(display.chargeState);
  if (change.gauge) battery_->Invalidate();
  batteryText_->SetCaption(display.text);
  // The battery display decides this flag, not the layout.
  controls_.HoldShown(kIdBatteryText, display.textVisible);
  batteryText_->SetShown(display.textVisible ? 1 : 0);
  if (change.text) batteryText_->Invalidate();
}

void CTarvinDlg::SaveNow() {
  if (pendingSave_ != 1) return;
  KillTimer(hwnd_, kDelayedSaveTimer);
  pendingSave_ = RunDelayedSave(pendingSave_, [&] { return settings_->SaveAll() == 1; });
}

void CTarvinDlg::OnDestroy() {
  // No pause before the save: the listener threads never write the profile
  // (their reports wait for this thread, and Close stops them).
  SaveNow();
  if (link_) link_->Close();
  WatchOpenInterfaces(nullptr);
  RemoveTrayIcon();
  if (options_.virtualMouse) options_.virtualMouse->SetDeviceChangeCallback(nullptr);
  deviceNotification_.reset();
  window_ = nullptr;
  for (const auto& unit : units_) unit->Detach();
  if (MainWindow() == hwnd_) SetMainWindow(nullptr);
}

}  // namespace zeltra::win32
