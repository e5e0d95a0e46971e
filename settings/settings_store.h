// The settings the main window owns: the five profiles, the global settings,
// the sensor and its DPI step table, and the files that keep them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/dpi_table.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "settings/text_file.h"

namespace zeltra {

// What a status reply's sensor number did (OnSensorReported).
struct SensorChange {
  bool changed = false;   // the sensor code, the profiles' DPI stages and the files changed
  bool pageFlag = false;  // the lift-off section is offered for the (new) sensor
};

// What ImportProfile came to.
struct ImportResult {
  // kRead: the profile now holds the file. Otherwise why the file did not
  // load (missing, unreadable, not a profile file); nothing was changed then.
  FileRead read = FileRead::kRead;
  // The configuration and all five working files were written.
  bool saved = false;
  bool Loaded() const { return read == FileRead::kRead; }
};

// Whether the store may write the data folder. A read-only store loads as
// usual (defaults in memory for what cannot be read) and writes nothing.
enum class StoreAccess { kReadWrite, kReadOnly };

// A file the configuration load could not read whole: its settings are
// defaults in memory.
struct LoadProblem {
  std::filesystem::path file;
  FileRead read = FileRead::kInvalid;
  int profile = -1;  // 0..4, or -1 for the configuration file
};

enum class RemoveProfileResult {
  kRemoved,
  kIsCurrent,   // the current profile cannot be removed
  kNotShown,    // the profile is not among the shown ones
  kLastShown,   // at least one profile stays shown
};

// Paths. The configuration stores each profile's working file as text in
// Windows form: the data folder followed by "config\\default<i>.psf". On Windows
// that text is the path. On POSIX systems (native builds and tests) every
// backslash in it is read as a separator, and the data folder is stored in its
// native form followed by a backslash, so a relative data folder such as
// "ZeltraData" stores the same text on every platform.
//
// A stored ProfileSlot<i>URL is used only when it names a file in this data
// folder's "config" folder; any other (another user's or machine's folder, a
// relative path where the data folder is absolute, a NUL or a character no
// file name may hold, a device name) stands for "config\\default<i>.psf" of
// this data folder, and the configuration load puts that text in its place.
class SettingsStore {
 public:
  // `dataFolder` is the per-user data folder; every file lives in its
  // "config" subfolder. `language` supplies the default names.
  explicit SettingsStore(std::filesystem::path dataFolder, const LanguageTable& language = Language(),
                         StoreAccess access = StoreAccess::kReadWrite);

  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // --- State -------------------------------------------------------------
  ProfileRecord& Profile(int index);  // index clamped to 0..4
  const ProfileRecord& Profile(int index) const;
  ProfileRecord& CurrentProfile() { return Profile(CurrentProfileIndex()); }
  GlobalSettings& Globals() { return globals_; }
  const GlobalSettings& Globals() const { return globals_; }
  std::uint16_t SensorCode() const { return sensorCode_; }
  // The main window's copy of the check value: the complement of the stored
  // PreST, that is the sensor code the stored DPI stages were made for.
  std::uint16_t CheckValue() const { return checkValue_; }
  // Step table of the sensor; the default sensor's table while the stored
  // sensor code names none.
  const DpiTable& Dpi() const { return dpi_; }
  const std::filesystem::path& DataFolder() const { return dataFolder_; }
  // The data folder as stored in profile paths, ending with a separator.
  std::u16string DataFolderStored() const;
  std::filesystem::path ConfigurationPath() const;
  // The working file of a profile: its ProfileSlot<i>URL value as a path of
  // this platform (backslashes become separators on POSIX systems), or the
  // default file when the value names no file of this data folder.
  std::filesystem::path ProfilePath(int index) const;
  // The files the last LoadConfiguration could not read whole.
  const std::vector<LoadProblem>& LoadProblems() const { return problems_; }

  // --- Configuration file ----------------------------------------------
  // Reads the configuration, loads the five profiles, checks the sensor and
  // builds the DPI table. 1 when the file was read, 0 when defaults were
  // taken. A missing or invalid configuration is replaced by the defaults,
  // but every profile still goes through LoadProfileFile, so intact profile
  // files keep their profiles. A configuration that exists but cannot be
  // read (held by another program, no permission) is never replaced: the
  // defaults stay in memory and nothing at all is written at start-up.
  int LoadConfiguration();
  int WriteConfiguration();
  // Stores the current profile index into CurrentProfile, then writes.
  int SaveConfiguration();
  void SetDefaultGlobals();
  void SetPreST(std::uint16_t code);  // "0x%4X"

  // --- Profile files -----------------------------------------------------
  // Files that existed but could not be opened in this run are never
  // written: the defaults held for them in memory must not replace what they
  // hold. A read-only store writes nothing.
  int WriteProfileFile(int index, const std::filesystem::path& path);
  // Reads a working file into the profile. On failure the profile is reset
  // to its defaults and its own working file rewritten (not when the file
  // exists but could not be read); returns 0.
  int LoadProfileFile(int index, const std::filesystem::path& path);
  // Writes every profile to its working file; 1 when all five were written.
  int SaveAllProfiles();
  // SaveConfiguration and SaveAllProfiles; 1 when everything was written.
  int SaveAll();
  // Writes one profile to a file of the user's choice; nothing else changes
  // (also in a read-only store: the file is the user's, not the store's).
  int ExportProfile(int index, const std::filesystem::path& path);
  // Reads a file of the user's choice into a profile, then saves the
  // configuration and all profiles. A file that does not load leaves the
  // profile and every file unchanged. A loaded profile stays in memory when
  // a save fails: `saved` tells the caller to save again later.
  ImportResult ImportProfile(int index, const std::filesystem::path& path);

  // --- Current and shown profiles ---------------------------------------
  // CurrentProfile as a number, clamped to 0..4.
  int CurrentProfileIndex() const;
  void SetCurrentProfileIndex(int index);  // ignored outside 0..4
  // ProfileShowCount as a number, clamped to 1..5.
  int ProfileShowCount() const;
  // The five show-list entries; when they are not a permutation of 0..4 the
  // valid first occurrences keep their order and the missing profiles follow
  // in ascending order.
  std::array<int, kProfileCount> ProfileShowList() const;
  // Entry at a list position; -1 for a position outside 0..4.
  int ProfileShowList(int position) const;
  // The profile the add dialog fills: the first hidden one; -1 when all five are shown.
  int FirstHiddenProfile() const;
  // Shows the first hidden profile, reset to its defaults with the first
  // default name and then named `name`. Returns its index, or -1 when all
  // five are shown or the name is empty. The caller saves.
  int AddProfile(std::u16string name);
  // Moves a shown profile behind the shown ones and shows one fewer. The caller saves.
  RemoveProfileResult RemoveShownProfile(int index);
  // Restores a profile's defaults for the current sensor but keeps its
  // name; its working file may then be written again.
  void ResetProfileKeepingName(int index);

  // --- Sensor -----------------------------------------------------------
  // The sensor number of a status reply. A number naming another sensor
  // than the current one switches to it: Sensor and PreST, the configuration
  // file, every profile's DPI defaults and files, and the DPI table.
  SensorChange OnSensorReported(int sensorNumber);

 private:
  int LoadProfile(int index, const std::filesystem::path& path, bool rewrite);
  // ProfileSlot<i>URL as written by SetDefaultGlobals.
  std::u16string DefaultProfileSlot(int index) const;
  bool IsDataFolderFile(std::u16string_view stored) const;
  bool Writes() const { return access_ == StoreAccess::kReadWrite; }
  bool IsHeld(const std::filesystem::path& path) const;
  void Release(const std::filesystem::path& path);

  std::filesystem::path dataFolder_;
  const LanguageTable& language_;
  StoreAccess access_;
  std::vector<LoadProblem> problems_;
  std::array<ProfileRecord, kProfileCount> profiles_;
  GlobalSettings globals_;
  std::uint16_t sensorCode_ = kDefaultSensorCode;
  std::uint16_t checkValue_ = kDefaultSensorCode;
  DpiTable dpi_;
  // Files that existed but could not be read by this run.
  std::vector<std::filesystem::path> held_;
};

}  // namespace zeltra
