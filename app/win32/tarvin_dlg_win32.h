// The main window: owner of every runtime state of the program, the tray
// icon, standby, the device link and the settings.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/battery_display.h"
#include "app/main_model.h"
#include "app/tray.h"
#include "base/win32/unique_handle_win32.h"
#include "app/win32/main_background_win32.h"
#include "app/win32/main_controls_win32.h"
#include "app/win32/main_window_unit_win32.h"
#include "app/win32/tray_icon_win32.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/virtual_mouse.h"
#include "macro/macro_library.h"
#include "settings/settings_store.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/dlg_base_win32.h"

namespace zeltra::win32 {

struct TarvinOptions {
  // Empty: the executable's folder and the user's data folder.
  std::filesystem::path programFolder;
  std::filesystem::path dataFolder;
  // The default language files shipped with the program; empty: "lang"
  // beside the executable.
  std::filesystem::path shippedLanguageFolder;
  // The full-screen client size to lay out for; nothing: the system's.
  std::optional<SIZE> fullScreen;
  // The HID backend, and the virtual mouse when the backend is one (its
  // plugging then arrives as device-change notifications).
  std::shared_ptr<HidBackend> backend;
  std::shared_ptr<VirtualMouse> virtualMouse;
  // Paces the reports; must outlive the window.
  Clock* clock = nullptr;
  // Runs the mouse control panel's command line; null: the system's.
  CommandLauncher* launcher = nullptr;
  // Started by the Startup folder's shortcut (kStartInTraySwitch): the
  // window stays hidden in the tray until the user brings it up.
  bool startInTray = false;
};

class MainPort;

class CTarvinDlg : public CDlgBase,
                   public DeviceLinkHost,
                   public LinkEventSink,
                   public LinkTimers,
                   public MainWindowServices {
 public:
  explicit CTarvinDlg(TarvinOptions options);
  ~CTarvinDlg() override;

  // A unit handles its own controls and messages; it is attached once the
  // controls exist (at once when they already do).
  MainWindowUnit* AddUnit(std::unique_ptr<MainWindowUnit> unit);
  std::size_t unitCount() const { return units_.size(); }

  // Shows the window when it may be shown and the mouse is online, else
  // asks the mouse (its reply may bring the window up).
  void BringUp();

  DeviceLink& link() { return *link_; }
  SettingsStore& settings() { return *settings_; }
  MacroLibrary& macroLibrary() { return Library(); }
  int startInStandby() const { return startInStandby_; }
  int pendingSave() const { return pendingSave_; }
  int mouseStage() const { return mouseStage_; }
  bool trayIconAdded() const { return tray_.added(); }
  const NOTIFYICONDATAW& trayIcon() const { return tray_.data(); }
  const TrayIcon& tray() const { return tray_; }
  // Started hidden and not brought up since.
  bool startHidden() const { return startHidden_; }
  CAttentionDlg* startupNotice() const { return startupNotice_.get(); }
  CAttentionDlg* keptCopiesNotice() const { return keptCopiesNotice_.get(); }
  const MainControls& controls() const { return controls_; }
  bool hasModel() const { return model_ != nullptr; }
  int progressDialogsShown() const { return progressShown_; }
  // How often the painted background was drawn anew (once per section state).
  int layerBuilds() const { return layerBuilds_; }
  // The first layer was the one drawn on its own thread while the window was made.
  bool firstLayerDrawnAhead() const { return firstLayerDrawnAhead_; }
  const TarvinOptions& options() const { return options_; }

  // ---- MainWindowServices ----
  HWND Window() const override { return hwnd_; }
  CDlgBase& Dialog() override { return *this; }
  CControlBase* Control(int id, int instance = 0) const override { return controls_.Find(id, instance); }
  SettingsStore& Settings() override { return *settings_; }
  DeviceLink& Link() override { return *link_; }
  MacroLibrary& Macros() override { return Library(); }
  MainWindowModel& Model() override { return *model_; }
  float Scale() const override;
  void StartTimer(unsigned id, unsigned milliseconds) override;
  void StopTimer(unsigned id) override;
  POINT ClientToScreenPoint(POINT client) const override;
  void SetPictureHighlight(int n) override;
  int PictureHighlight() const override { return highlight_; }
  // The modal progress dialog, with language string 146.
  void ShowProgressDialog() override;
  void TellAboutKeptCopies() override;
  // Every control of the main window from the current profile.
  void RefreshControls() override;

  // ---- DeviceLinkHost ----
  ProfileRecord& CurrentProfile() override;
  const DpiTable& CurrentDpiTable() override;
  const Macro* FindLibraryMacro(std::uint32_t macroKeyIndex) override;
  bool MacroLibraryUnavailable() override;

  // ---- LinkEventSink, LinkTimers ----
  // What the window does with what the link tells.
  void OnLinkEvent(const LinkEvent& event) override;
  bool StartLinkTimer(LinkTimer timer) override;

  // After an apply: stop timer 70, set pendingSave, start timer 70 (10 s).
  void ArmDelayedSave();

 protected:
  BOOL OnInitDialog() override;
  void DrawBackground(HDC dc, const RECT& client) override;
  void PreparePaint(const RECT& client) override;
  void CreateControls(const RECT& client) override;
  bool ClickRepaintsWindow(int id) const override;
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;

  // Handlers a later page may extend.
  virtual void OnTimer(UINT_PTR id);
  virtual MessageResult OnControlNotify(UINT id, WPARAM wParam, LPARAM code);

  // The parts of the port that open modal dialogs, for tests to answer.
  friend class MainPort;
  virtual bool RunFirmwareResetDialog();
  virtual void RunProgressDialog();

 private:
  BOOL Initialise();
  // The macro library, read from its file at the first use (or after the
  // first paint, whichever comes first).
  MacroLibrary& Library();
  // The scan for the mouse and the first status query (start-up step 10).
  void StartUpLink();
  void OnAfterFirstPaint();
  void ChooseScale();
  void PlaceWindow();
  void AddTrayIcon();
  void RemoveTrayIcon();
  void OnTrayNotify(WPARAM wParam, LPARAM lParam);
  void ShowTrayMenu();
  bool OnTrayCommand(unsigned command);
  bool StartsWithWindows() const;
  void ToggleStartWithWindows();
  void OnTrayExit();
  void CloseOpenDialogs();
  void OnStartupCheck();
  void OnDeviceChangeBroadcast(WPARAM event, LPARAM data);
  void ShowWindowNormal();  // foreground, shown normally
  void MinimiseWindow();
  void OnStandbyChanged(int active);
  void OnStatus(const link_event::Status& status);
  // The tray's tip and low-battery notice follow every status reply.
  void UpdateTrayBattery(const link_event::Status& status);
  void OnMouseReport(const link_event::MouseReport& report);
  // The last link went away: hide, close the open dialogs and post a quit.
  void QuitOnDeviceRemoval();
  // Registers the window for HID device-interface notifications and forgets
  // the on-screen display window.
  void WatchDevices();
  void ShowBattery(const BatteryDisplay& display);
  void SaveNow();
  void OnDestroy();
  void AttachUnits();
  MessageResult OnPopupMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMoveAfterBase(WPARAM flags, LPARAM lParam);
  void UpdateControls();
  std::vector<DesignRect> PanelsShown() const;
  // Draws the layer anew when the panels shown or the window's size changed.
  void EnsureLayer(const RECT& client);
  BackgroundPlan PlanBackground(const RECT& client, const std::vector<DesignRect>& panels) const;
  // Starts drawing the first layer on a thread of its own.
  void StartBackground(const RECT& client);
  void DrawHighlight(HDC dc);

  TarvinOptions options_;
  std::unique_ptr<SettingsStore> settings_;
  MacroLibrary macroLibrary_;
  std::filesystem::path libraryFile_;  // empty until the data folder is known
  bool libraryRead_ = false;
  bool startUpPending_ = false;
  bool firstPainted_ = false;
  std::unique_ptr<DeviceLink> link_;
  std::atomic<HWND> window_{nullptr};  // for the listener threads' posts

  int startInStandby_ = 1;
  int pendingSave_ = 0;
  int mouseStage_ = 0;
  TrayIcon tray_;
  TrayBattery trayBattery_;
  bool startHidden_ = false;
  win32::UniqueDeviceNotification deviceNotification_;
  std::unique_ptr<CAttentionDlg> startupNotice_;
  std::unique_ptr<CAttentionDlg> keptCopiesNotice_;

  BatteryGauge batteryGauge_;
  CStaticText* batteryText_ = nullptr;
  CBattery* battery_ = nullptr;

  MainControls controls_;
  std::unique_ptr<MainPort> port_;
  std::unique_ptr<MainWindowModel> model_;
  std::vector<std::unique_ptr<MainWindowUnit>> units_;
  bool unitsAttached_ = false;
  int highlight_ = 0;
  int progressShown_ = 0;
  SkinImage panel_;
  SkinImage highlightImage_;
  int highlightLoaded_ = 0;
  // What every paint starts from: the background colour, bitmap 364 and the
  // panels of the sections shown, drawn once per section state.
  std::unique_ptr<BackgroundPicture> layer_;
  std::unique_ptr<BackgroundJob> backgroundJob_;  // the first layer, until the first paint takes it
  std::vector<DesignRect> layerPanels_;
  bool backgroundRead_ = false;
  int layerBuilds_ = 0;
  bool firstLayerDrawnAhead_ = false;
};

}  // namespace zeltra::win32
