#include "app/program_switch.h"

#include <utility>

#include "settings/program_links.h"
#include "settings/settings_store.h"

namespace zeltra {

namespace {

bool IsShown(const SettingsStore& settings, int profile) {
  for (int position = 0; position < settings.ProfileShowCount(); ++position)
    if (settings.ProfileShowList(position) == profile) return true;
  return false;
}

}  // namespace

bool ProgramSwitch::OnForeground(const ForegroundProgram& program) {
  if (program.ownProcess || program.imagePath.empty()) return false;
  front_ = program.imagePath;
  settling_ = true;
  return true;
}

std::optional<int> ProgramSwitch::Settle(const SettingsStore& settings) {
  if (!std::exchange(settling_, false)) return std::nullopt;
  const int current = settings.CurrentProfileIndex();
  if (const int linked = LinkedProfileOf(settings, front_); linked >= 0) {
    // From one linked program to another the first profile stays the one
    // to return to.
    if (return_ < 0) return_ = current;
    if (linked == current) return std::nullopt;
    return linked;
  }
  const int back = std::exchange(return_, -1);
  // A profile deleted from the picker meanwhile is not brought back.
  if (back < 0 || back == current || !IsShown(settings, back)) return std::nullopt;
  return back;
}

void ProgramSwitch::OnManualSwitch(int profile) {
  if (return_ >= 0) return_ = profile;
}

}  // namespace zeltra
