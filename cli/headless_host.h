// The device link's host where no window runs (the command-line tool, the
// journeys' probe, the Wine benchmark): the current profile and DPI table of
// a settings store and the macros of a library when one is given. There are
// no timers, dialogs or controls: an apply runs when the caller asks for it,
// nothing is saved here, and the mouse's reports wait in the link until the
// caller delivers them.
#pragma once

#include <optional>
#include <variant>

#include "device/device_link.h"
#include "macro/button_function.h"
#include "macro/macro_library.h"
#include "settings/settings_store.h"

namespace zeltra {

class HeadlessLinkHost final : public DeviceLinkHost, public LinkEventSink, public LinkTimers {
 public:
  enum class Sensor {
    Record,  // only remember the number a status reply gave
    Follow,  // also change the store's DPI stages as the window does (the store may be written)
  };

  explicit HeadlessLinkHost(SettingsStore& settings, const MacroLibrary* library = nullptr,
                            Sensor sensor = Sensor::Record)
      : settings_(settings), library_(library), sensor_(sensor) {}

  // The sensor number of the last accepted status reply.
  std::optional<int> sensorNumber() const { return sensorNumber_; }

  ProfileRecord& CurrentProfile() override { return settings_.CurrentProfile(); }
  const DpiTable& CurrentDpiTable() override { return settings_.Dpi(); }
  const Macro* FindLibraryMacro(std::uint32_t index) override {
    return library_ != nullptr ? library_->FindMacroByKeyIndex(index) : nullptr;
  }
  bool MacroLibraryUnavailable() override { return library_ != nullptr && library_->Unavailable(); }
  // Of what the link tells, only the sensor and a disabled button's name
  // matter here (the name goes into the profile file as the window's does).
  void OnLinkEvent(const LinkEvent& event) override {
    if (const auto* disabled = std::get_if<link_event::ButtonDisabled>(&event)) {
      NameDisabledButton(settings_.CurrentProfile(), disabled->position);
      return;
    }
    const auto* status = std::get_if<link_event::Status>(&event);
    if (!status) return;
    sensorNumber_ = status->sensor;
    if (sensor_ == Sensor::Follow) settings_.OnSensorReported(status->sensor);
  }
  // The caller applies right after the scan or edit that asks for it; no
  // other timer runs.
  bool StartLinkTimer(LinkTimer timer) override { return timer == LinkTimer::Apply; }

 private:
  SettingsStore& settings_;
  const MacroLibrary* library_;
  Sensor sensor_;
  std::optional<int> sensorNumber_;
};

}  // namespace zeltra
