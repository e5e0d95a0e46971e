#include "app/win32/foreground_watch_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_model.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// The units whose hook is set (user-interface thread only): the event
// carries the hook, not the unit.
std::vector<std::pair<HWINEVENTHOOK, ForegroundWatchUnit*>>& Hooked() {
  static std::vector<std::pair<HWINEVENTHOOK, ForegroundWatchUnit*>> units;
  return units;
}

// Long program paths exist (up to 32767 characters).
constexpr DWORD kLongestPath = 32768;

}  // namespace

ForegroundWatchUnit::~ForegroundWatchUnit() { Unhook(); }

void ForegroundWatchUnit::Attach(MainWindowServices& window) {
  window_ = &window;
  hook_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnEvent, 0, 0,
                              WINEVENT_OUTOFCONTEXT));
  if (hook_) Hooked().emplace_back(hook_.get(), this);
}

void ForegroundWatchUnit::Detach() {
  Unhook();
  window_ = nullptr;
}

void ForegroundWatchUnit::Unhook() {
  auto& units = Hooked();
  units.erase(std::remove_if(units.begin(), units.end(), [this](const auto& entry) { return entry.second == this; }),
              units.end());
  hook_.reset();
}

ForegroundProgram ForegroundWatchUnit::ProgramOf(HWND window) {
  DWORD process = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0 || process == 0) return {};
  if (process == GetCurrentProcessId()) return {true, {}};
  const UniqueKernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  if (!handle) return {};
  std::wstring path(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (!QueryFullProcessImageNameW(handle.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return {false, FromWide(path)};
}

void CALLBACK ForegroundWatchUnit::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG, DWORD,
                                           DWORD) {
  if (event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW) return;
  for (const auto& [h, unit] : Hooked()) {
    if (h != hook || unit->window_ == nullptr) continue;
    unit->window_->Model().OnForegroundProgram(ProgramOf(window));
    return;
  }
}

}  // namespace zeltra::win32
