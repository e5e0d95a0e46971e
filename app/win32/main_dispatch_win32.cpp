// The main window as a hub: its message map hands every message, control
// notification, popup result, timer and key to the units, the window's own
// handling or the model.
#include <algorithm>

#include "app/main_window_ids.h"
#include "app/win32/main_port_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "settings/delayed_save.h"
#include "ui/control_codes.h"
#include "macro/popup_menus.h"
#include "ui/popup_messages.h"
#include "ui/ui_context.h"
#include "ui/win32/popup_win32.h"

namespace zeltra::win32 {

// --- units -------------------------------------------------------------------

MainWindowUnit* CTarvinDlg::AddUnit(std::unique_ptr<MainWindowUnit> unit) {
  if (!unit) return nullptr;
  MainWindowUnit* raw = unit.get();
  units_.push_back(std::move(unit));
  if (unitsAttached_) raw->Attach(*this);
  return raw;
}

void CTarvinDlg::AttachUnits() {
  if (unitsAttached_) return;
  unitsAttached_ = true;
  // A unit may add another while it attaches.
  for (std::size_t i = 0; i < units_.size(); ++i) units_[i]->Attach(*this);
}

// --- services ------------------------------------------------------------------

float CTarvinDlg::Scale() const { return Ui().scale; }

void CTarvinDlg::StartTimer(unsigned id, unsigned milliseconds) { SetTimer(hwnd_, id, milliseconds, nullptr); }

void CTarvinDlg::StopTimer(unsigned id) { KillTimer(hwnd_, id); }

POINT CTarvinDlg::ClientToScreenPoint(POINT client) const {
  ClientToScreen(hwnd_, &client);
  return client;
}

// --- timers --------------------------------------------------------------------

void CTarvinDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kApplyTimer:
      KillTimer(hwnd_, id);
      link_->ApplyPendingChanges();
      return;
    case kStandbyGuardTimer:
      if (link_->standby().active == 0 && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
      return;
    case kDelayedSaveTimer:
      KillTimer(hwnd_, id);
      pendingSave_ = RunDelayedSave(pendingSave_, [&] { return settings_->SaveAll() == 1; });
      TellAboutKeptCopies();
      return;
    case kStartupCheckTimer:
      KillTimer(hwnd_, id);
      OnStartupCheck();
      return;
    case kWatchdogTimer:
      if (link_->OnWatchdogTimer()) ShowBattery(batteryGauge_.Tick(link_->batteryLevel(), link_->chargeState()));
      return;
    case kDeviceChangeTimer:
      KillTimer(hwnd_, id);
      link_->OnDeviceChangeTimer();
      return;
    default:
      break;
  }
  if (model_ && model_->OnTimer(static_cast<unsigned>(id))) return;
  for (const auto& unit : units_) {
    if (unit->OnTimer(id)) return;
  }
}

// --- keys and mouse ------------------------------------------------------------

bool CTarvinDlg::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN) {
    // Enter and Escape would end the dialog, which is the whole program; the
    // model swallows them with the hidden sequence's keys.
    if (model_ && model_->OnKeyDown(static_cast<unsigned>(msg.wParam))) return true;
    if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) return true;
  }
  return CDlgBase::PreTranslateMessage(msg);
}

void CTarvinDlg::OnMouseMoveAfterBase(WPARAM flags, LPARAM lParam) {
  if (!model_) return;
  if ((flags & MK_LBUTTON) == 0) {
    model_->OnMouseMoveWithoutButton();
    return;
  }
  if (!model_->LightingSlidersFollowDrag()) return;
  const int x = static_cast<short>(LOWORD(lParam));
  for (int id : {kIdSpeedSlider, kIdBrightnessSlider}) {
    if (auto* slider = controls_.As<CSliderControl>(id); slider != nullptr && slider->IsActive()) slider->FollowDrag(x);
  }
}

// --- control notifications and popups -----------------------------------------

MessageResult CTarvinDlg::OnControlNotify(UINT id, WPARAM wParam, LPARAM code) {
  for (const auto& unit : units_) {
    if (unit->OnControlNotify(id, wParam, code)) return 0;
  }
  if (!model_) return std::nullopt;
  ControlEvent event;
  event.id = static_cast<int>(id);
  event.code = static_cast<int>(code);
  event.wParam = static_cast<int>(wParam);
  event.value = controls_.ValueOf(event.id);
  if (model_->OnControl(event)) return 0;
  return std::nullopt;
}

MessageResult CTarvinDlg::OnPopupMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!model_) return std::nullopt;
  switch (message) {
    case kPickerResultMessage:
      model_->OnPickerResult(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case kComboProfilePopupDismissed:
      model_->OnPickerDismissed();
      return 0;
    case kProfileTabResultMessage:
      if (const PopupResult* chosen = PopupResultOf(lParam)) {
        model_->OnProfileTabChosen(static_cast<int>(wParam), chosen->bytes[0] + 1);
      }
      return 0;
    case kProfileRKeyPopupDismissed:
      model_->OnProfileTabDismissed();
      return 0;
    case kLightingModeResultMessage:
      if (const PopupResult* chosen = PopupResultOf(lParam)) {
        model_->OnLightingModeChosen(chosen->label, chosen->bytes);
      }
      return 0;
    case kComboLightingPopupDismissed:
      model_->OnLightingModeDismissed();
      return 0;
    case kLightingComboMessage:
      // The lighting-mode combo reports under its own message number.
      return OnControlNotify(kIdLightingModeCombo, wParam, lParam);
    default:
      return std::nullopt;
  }
}

MessageResult CTarvinDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_DESTROY && message != WM_NCDESTROY) {
    for (const auto& unit : units_) {
      LRESULT result = 0;
      if (unit->OnMessage(message, wParam, lParam, result)) return result;
    }
  }
  switch (message) {
    case WM_PAINT:
      if (IsIconic(hwnd_)) {
        const PaintDc paint(hwnd_);
        SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
        RECT client{};
        GetClientRect(hwnd_, &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        if (icon_ != nullptr) DrawIcon(paint.get(), x, y, icon_);
        return 0;
      }
      if (!firstPainted_) {
        firstPainted_ = true;
        PostMessageW(hwnd_, kWmAfterFirstPaint, 0, 0);
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(icon_);
    case WM_MOUSEMOVE: {
      MessageResult base = CDlgBase::OnMessage(message, wParam, lParam);
      OnMouseMoveAfterBase(wParam, lParam);
      return base;
    }
    case WM_TIMER:
      OnTimer(wParam);
      return std::nullopt;
    case WM_DEVICECHANGE:
      if (link_) OnDeviceChangeBroadcast(wParam, lParam);
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
      if (OnTrayCommand(LOWORD(wParam))) return 0;
      break;
    case WM_WINDOWPOSCHANGING:
      // Started hidden in the tray: whatever would show the window (the
      // dialog's own first showing among them) leaves it hidden.
      if (startHidden_ && lParam != 0) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
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
  if (message == kWmAfterFirstPaint) {
    OnAfterFirstPaint();
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
  if (MessageResult popup = OnPopupMessage(message, wParam, lParam)) return popup;
  if (message >= kFirstControlId && message <= kLastMainControlId) {
    if (MessageResult handled = OnControlNotify(message, wParam, lParam)) return handled;
  }
  return CDlgBase::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
