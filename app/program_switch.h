// Switching profiles with the program in front: when a window of a program
// that a shown profile links comes to the foreground, that profile becomes
// current, and the one it replaced is remembered; when the foreground goes
// to a program no profile links, the remembered profile comes back. The
// program's own windows, and windows whose program cannot be told, change
// nothing. Nothing happens until the foreground has stayed put for the
// settle time, so that Alt+Tab passing over a linked program sends nothing.
#pragma once

#include <optional>
#include <string>

namespace zeltra {

class SettingsStore;

// A window that came to the foreground.
struct ForegroundProgram {
  bool ownProcess = false;
  std::u16string imagePath;  // its program's full path; empty when it could not be read
};

class ProgramSwitch {
 public:
  // True when the window counts: the settle time starts (again) then.
  bool OnForeground(const ForegroundProgram& program);
  // The settle time passed: the profile to make current now, or nothing.
  std::optional<int> Settle(const SettingsStore& settings);
  // The user chose `profile` (the picker, the tray): while a linked program
  // is in front it becomes the profile to return to.
  void OnManualSwitch(int profile);

  // The profile to return to, -1 while no linked program is in front.
  int returnProfile() const { return return_; }
  bool settling() const { return settling_; }

 private:
  std::u16string front_;  // the program in front, as last told
  bool settling_ = false;
  int return_ = -1;
};

}  // namespace zeltra
