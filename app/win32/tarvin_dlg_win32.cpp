#include "app/win32/tarvin_dlg_win32.h"

#include <dbt.h>

#include <system_error>
#include <vector>

#include "app/main_window_ids.h"
#include "app/win32/paths_win32.h"
#include "app/window_placement.h"
#include "device/win32/hid_backend_win32.h"
#include "macro/macro_library_file.h"
#include "settings/delayed_save.h"
#include "settings/language.h"
#include "settings/text_format.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// A rectangle given by its design corners, every edge at the UI scale factor.
RECT ScaledCorners(int left, int top, int right, int bottom) {
  return RECT{Scaled(left), Scaled(top), Scaled(right), Scaled(bottom)};
}

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
  if (background_364_ != nullptr) DeleteObject(background_364_);
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
  HDC dc = GetDC(hwnd_);
  ui.textScale = static_cast<float>(GetDeviceCaps(dc, LOGPIXELSX)) / 96.0f;
  ReleaseDC(hwnd_, dc);
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

  UiContext& ui = Ui();
  ui.programFolder = options_.programFolder.empty() ? ExecutableFolder() : options_.programFolder;
  ui.dataFolder = options_.dataFolder.empty() ? DataFolder() : options_.dataFolder;
  const std::filesystem::path config = ui.dataFolder / L"config";
  CreateFolder(ui.dataFolder);
  CreateFolder(config);

  ChooseScale();

  const std::filesystem::path shipped =
      options_.shippedLanguageFolder.empty() ? ui.programFolder / L"lang" : options_.shippedLanguageFolder;
  InstallDefaultLanguageFiles(shipped, config);
  LoadLanguage(config, ui.scale);
  LoadMacroLibrary(macroLibrary_, MacroLibraryPath(ui.dataFolder));
  settings_ = std::make_unique<SettingsStore>(ui.dataFolder);
  settings_->LoadConfiguration();  // also the sensor's DPI table
  link_ = std::make_unique<DeviceLink>(options_.backend, *options_.clock, *this);

  RECT client{};
  GetClientRect(hwnd_, &client);
  EnsureControlsCreated(client);
  CDlgBase::OnInitDialog();

  if (icon_ != nullptr) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  PlaceWindow();

  OpenDialogs().Clear();
  AddTrayIcon();

  startInStandby_ = ParseDecimal(settings_->Globals().Value(kNeedPassword));
  if (startInStandby_ == 1) ShowWindow(hwnd_, SW_MINIMIZE);
  link_->InitStandby(startInStandby_);

  RefreshControls();
  link_->StartUp();

  SetBackgroundBitmap(IDB_MAIN_BACKGROUND);
  SetTimer(hwnd_, kStandbyGuardTimer, kStandbyGuardMs, nullptr);
  SetTimer(hwnd_, kStartupCheckTimer, kStartupCheckMs, nullptr);
  return TRUE;
}

void CTarvinDlg::CreateControls(const RECT&) {
  auto exit = std::make_unique<CImageButton>(hwnd_, kIdExitButton, ScaledCorners(1096, 14, 1111, 29), u"");
  exit->SetNormalImage(SkinPath(L"skins\\exit_nr.png"));
  exit->SetOverImage(SkinPath(L"skins\\exit_ov.png"));
  AddControl(0, std::move(exit));

  auto minimise = std::make_unique<CImageButton>(hwnd_, kIdMinimiseButton, ScaledCorners(1072, 14, 1087, 29), u"");
  minimise->SetNormalImage(SkinPath(L"skins\\min_nr.png"));
  minimise->SetOverImage(SkinPath(L"skins\\min_ov.png"));
  AddControl(0, std::move(minimise));

  auto version = std::make_unique<CStaticText>(hwnd_, kIdVersionLabel, ScaledCorners(840, 13, 1058, 30), u"",
                                               RGB(138, 138, 138), DT_RIGHT | DT_SINGLELINE);
  version->SetCaption(LanguageString(kStringVersion) + kVersionSuffix);
  AddControl(0, std::move(version));

  auto battery = std::make_unique<CBattery>(hwnd_, ScaledCorners(330, 520, 356, 581));
  battery->SetOutlineImage(SkinPath(L"skins\\battery_empty.png"));
  battery->SetLevelImage(SkinPath(L"skins\\battery_full.png"));
  battery->SetChargingImage(SkinPath(L"skins\\battery_charging.png"));
  battery->SetSymbolImage(SkinPath(L"skins\\battery_lighting.png"));
  battery_ = AddControl(0, std::move(battery));

  auto text = std::make_unique<CStaticText>(hwnd_, kIdBatteryText, ScaledCorners(364, 539, 440, 562), u"100%",
                                            kTextNormal, DT_LEFT | DT_SINGLELINE);
  text->SetCaption(u"100%");
  batteryText_ = AddControl(0, std::move(text));

  if (background_364_ == nullptr) {
    background_364_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MAIN_BACKGROUND),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
}

void CTarvinDlg::DrawBackground(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  DrawFrameBitmap(dc, background_364_, kMainDesignWidth, kMainDesignHeight, Ui().scale);
  DrawControls(dc, client);
}

// --- tray --------------------------------------------------------------------

void CTarvinDlg::AddTrayIcon() {
  tray_ = NOTIFYICONDATAW{};
  tray_.cbSize = sizeof(NOTIFYICONDATAW);
  tray_.hWnd = hwnd_;
  tray_.uID = kTrayIconId;
  tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray_.uCallbackMessage = kWmTrayNotify;
  tray_.hIcon = icon_;
  const std::u16string tip = kTrayTip;
  tip.copy(reinterpret_cast<char16_t*>(tray_.szTip), std::size(tray_.szTip) - 1);
  trayAdded_ = Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
}

void CTarvinDlg::RemoveTrayIcon() {
  if (tray_.hWnd == nullptr) return;
  Shell_NotifyIconW(NIM_DELETE, &tray_);
  tray_.hWnd = nullptr;
  trayAdded_ = false;
}

void CTarvinDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
      BringUp();
      break;
    case WM_RBUTTONUP:
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void CTarvinDlg::ShowTrayMenu() {
  POINT cursor{};
  GetCursorPos(&cursor);
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_STRING, kIdTrayShow, Wide(LanguageString(kStringTrayShow)));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kIdTrayExit, Wide(LanguageString(kStringTrayExit)));
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the empty message lets it go at once afterwards.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void CTarvinDlg::CloseOpenDialogs() {
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
  if (!link_) return;
  const StandbyState& state = link_->standby();
  if (state.active == 1 && state.mouseOnline == 1) {
    ShowWindowNormal();
    return;
  }
  link_->QueryStatus();
}

void CTarvinDlg::ShowWindowNormal() {
  SetForegroundWindow(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void CTarvinDlg::MinimiseWindow() { ShowWindow(hwnd_, SW_MINIMIZE); }

void CTarvinDlg::QuitOnDeviceRemoval() {
  ShowWindow(hwnd_, SW_HIDE);
  CloseOpenDialogs();
  PostQuitMessage(0);
}

// --- device link host ----------------------------------------------------------

ProfileRecord& CTarvinDlg::CurrentProfile() { return settings_->CurrentProfile(); }

const DpiTable& CTarvinDlg::CurrentDpiTable() { return settings_->Dpi(); }

const Macro* CTarvinDlg::FindLibraryMacro(std::uint32_t macroKeyIndex) {
  return macroLibrary_.FindMacroByKeyIndex(macroKeyIndex);
}

bool CTarvinDlg::MacroLibraryUnavailable() { return macroLibrary_.Unavailable(); }

bool CTarvinDlg::StartApplyTimer() { return SetTimer(hwnd_, kApplyTimer, kApplyMs, nullptr) != 0; }

void CTarvinDlg::StartWatchdogTimer() { SetTimer(hwnd_, kWatchdogTimer, kWatchdogMs, nullptr); }

void CTarvinDlg::ArmDelayedSave() {
  KillTimer(hwnd_, kDelayedSaveTimer);
  pendingSave_ = 1;
  SetTimer(hwnd_, kDelayedSaveTimer, kDelayedSaveMs, nullptr);
}

void CTarvinDlg::ShowProgressDialog() {
  // The progress dialog is not part of the shell yet: an apply ends silently.
}

void CTarvinDlg::RefreshControls() { InvalidateRect(hwnd_, nullptr, TRUE); }

void CTarvinDlg::OnSensorReported(int sensorNumber) {
  if (settings_->OnSensorReported(sensorNumber).changed) RefreshControls();
}

void CTarvinDlg::OnMouseStateReported(int stage) { mouseStage_ = stage; }

void CTarvinDlg::RegisterHidNotifications() {
  if (deviceNotification_ == nullptr) deviceNotification_ = RegisterHidDeviceNotifications(hwnd_);
  if (options_.virtualMouse) {
    // The virtual mouse's plugging reaches the window as the system's would.
    HWND window = hwnd_;
    options_.virtualMouse->SetDeviceChangeCallback([window](bool arrival) {
      PostMessageW(window, kWmVirtualDeviceChange, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, 0);
    });
  }
}

void CTarvinDlg::PostMouseStateChanged() {
  if (HWND window = window_.load()) PostMessageW(window, kWmMouseStateChanged, 1, 0);
}

// --- timers and battery --------------------------------------------------------

void CTarvinDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kApplyTimer:
      KillTimer(hwnd_, id);
      link_->ApplyPendingChanges();
      break;
    case kStandbyGuardTimer:
      if (link_->standby().active == 0 && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
      break;
    case kDelayedSaveTimer:
      KillTimer(hwnd_, id);
      pendingSave_ = RunDelayedSave(pendingSave_, [&] { return settings_->SaveAll() == 1; });
      break;
    case kStartupCheckTimer:
      KillTimer(hwnd_, id);
      OnStartupCheck();
      break;
    case kWatchdogTimer:
      if (auto display = link_->OnWatchdogTimer()) ShowBattery(*display);
      break;
    default:
      break;
  }
}

void CTarvinDlg::OnStartupCheck() {
  const StartupNotice notice = link_->StartupCheck();
  if (notice == StartupNotice::None) return;
  const int message = notice == StartupNotice::NoDevice ? kStringNoDevice : kStringMouseOffline;
  // Not owned by the main window: in standby that window is minimised, and
  // the notice must still be seen.
  startupNotice_ =
      std::make_unique<CAttentionDlg>(LanguageString(kStringAttentionTitle), LanguageString(message), nullptr);
  startupNotice_->CreateTopmost();
}

void CTarvinDlg::ShowBattery(const BatteryDisplay& display) {
  battery_->SetChargingLevel(display.animationStep);
  battery_->SetLevel(display.level);
  battery_->SetMode(display.chargeState);
  battery_->Invalidate();
  batteryText_->SetCaption(display.text);
  batteryText_->SetShown(display.textVisible ? 1 : 0);
  batteryText_->Invalidate();
}

void CTarvinDlg::SaveNow() {
  if (pendingSave_ != 1) return;
  KillTimer(hwnd_, kDelayedSaveTimer);
  pendingSave_ = RunDelayedSave(pendingSave_, [&] { return settings_->SaveAll() == 1; });
}

void CTarvinDlg::OnDestroy() {
  Sleep(50);
  SaveNow();
  if (link_) link_->Close();
  RemoveTrayIcon();
  if (options_.virtualMouse) options_.virtualMouse->SetDeviceChangeCallback(nullptr);
  if (deviceNotification_ != nullptr) UnregisterDeviceNotification(deviceNotification_);
  deviceNotification_ = nullptr;
  window_ = nullptr;
  if (MainWindow() == hwnd_) SetMainWindow(nullptr);
}

// --- messages ------------------------------------------------------------------

bool CTarvinDlg::PreTranslateMessage(MSG& msg) {
  // Enter and Escape would end the dialog, which is the whole program.
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return true;
  return CDlgBase::PreTranslateMessage(msg);
}

MessageResult CTarvinDlg::OnControlNotify(UINT id, WPARAM, LPARAM code) {
  if ((id == kIdExitButton || id == kIdMinimiseButton) && code == kCodeClicked) {
    ShowWindow(hwnd_, SW_HIDE);  // the program goes on in the tray
    return 0;
  }
  return std::nullopt;
}

MessageResult CTarvinDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      if (IsIconic(hwnd_)) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        GetClientRect(hwnd_, &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        if (icon_ != nullptr) DrawIcon(dc, x, y, icon_);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(icon_);
    case WM_TIMER:
      OnTimer(wParam);
      return std::nullopt;
    case WM_DEVICECHANGE:
      if (link_) link_->OnDeviceChange(wParam);
      return std::nullopt;
    case WM_DESTROY: {
      MessageResult base = CDlgBase::OnMessage(message, wParam, lParam);
      OnDestroy();
      return base;
    }
    case WM_ENDSESSION:
      // Windows ends the process after this: the delayed save must not be lost.
      if (wParam != FALSE) SaveNow();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdTrayShow) {
        BringUp();
        return 0;
      }
      if (LOWORD(wParam) == kIdTrayExit) {
        OnTrayExit();
        return 0;
      }
      break;
    default:
      break;
  }
  if (message == kWmTrayNotify) {
    if (wParam != kTrayIconId) return 1;
    OnTrayNotify(wParam, lParam);
    return 0;
  }
  if (message == kWmVirtualDeviceChange) {
    if (link_) link_->OnDeviceChange(wParam);
    return 0;
  }
  if (message == kWmSecondInstance) {
    BringUp();
    return 0;
  }
  if (message == kWmMouseStateChanged) {
    if (wParam == 1 && link_) link_->DeliverMouseReports();
    return 0;
  }
  if (message >= 2001 && message <= 3999) {
    if (MessageResult handled = OnControlNotify(message, wParam, lParam)) return handled;
  }
  return CDlgBase::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
