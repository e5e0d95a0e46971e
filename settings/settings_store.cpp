#include "settings/settings_store.h"

#include <algorithm>

#include "settings/config_file.h"
#include "settings/file_system.h"
#include "settings/profile_file.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

std::uint16_t Complement(std::uint32_t value) { return static_cast<std::uint16_t>(~value & 0xFFFFu); }

std::uint16_t SensorCodeOf(const GlobalSettings& globals) {
  return static_cast<std::uint16_t>(ParseSpacePaddedHex(globals.Value(kSensor)) & 0xFFFFu);
}

std::size_t Slot(int index) { return static_cast<std::size_t>(std::clamp(index, 0, kProfileCount - 1)); }

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// A name Windows can hold as an ordinary file (the stored paths are Windows
// paths wherever they are read): no control or reserved character, no
// unpaired surrogate, no trailing dot or space, no device name.
bool IsPlainFileName(std::u16string_view name) {
  if (name.empty() || name.back() == u'.' || name.back() == u' ') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  std::u16string stem(name.substr(0, name.find(u'.')));
  for (char16_t& c : stem) c = FoldAscii(c);
  if (stem == u"CON" || stem == u"PRN" || stem == u"AUX" || stem == u"NUL") return false;
  return !(stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) && stem[3] >= u'0' &&
           stem[3] <= u'9');
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path dataFolder, const LanguageTable& language, StoreAccess access)
    : dataFolder_(std::move(dataFolder)),
      language_(language),
      access_(access),
      dpi_(DpiTableFor(kDefaultSensorCode)) {}

ProfileRecord& SettingsStore::Profile(int index) { return profiles_[Slot(index)]; }
const ProfileRecord& SettingsStore::Profile(int index) const { return profiles_[Slot(index)]; }

std::u16string SettingsStore::DataFolderStored() const {
  std::u16string stored = PathToStored(dataFolder_);
  if (!stored.empty() && stored.back() != u'\\' && stored.back() != u'/') stored += u'\\';
  return stored;
}

std::filesystem::path SettingsStore::ConfigurationPath() const { return dataFolder_ / "config" / "config.ini"; }

std::filesystem::path SettingsStore::ProfilePath(int index) const {
  const int slot = static_cast<int>(Slot(index));
  const std::u16string& stored = globals_.Value(kProfileSlot0URL + slot);
  return PathFromStored(IsDataFolderFile(stored) ? stored : DefaultProfileSlot(slot));
}

std::u16string SettingsStore::DefaultProfileSlot(int index) const {
  return zeltra::DefaultProfileSlot(DataFolderStored(), index);
}

bool SettingsStore::IsDataFolderFile(std::u16string_view stored) const {
  const std::size_t cut = stored.find_last_of(u"\\/");
  if (cut == std::u16string_view::npos || !IsPlainFileName(stored.substr(cut + 1))) return false;
  const std::filesystem::path folder = PathFromStored(stored).lexically_normal().parent_path();
  return SamePathText(PathToStored(folder), PathToStored((dataFolder_ / "config").lexically_normal()));
}

int SettingsStore::LoadConfiguration() {
  problems_.clear();
  FileRead read = FileRead::kRead;
  const bool readOk = ReadConfigurationFile(ConfigurationPath(), globals_, &read);
  if (!readOk && read != FileRead::kMissing) problems_.push_back({ConfigurationPath(), read, -1});
  // Start-up writes nothing while a file it could not open is there: the
  // configuration it did not see may name other profile files.
  const bool writes = Writes() && !CouldNotOpen(read);
  if (readOk) {
    // A short file leaves later pairs unread. Left empty they would lose the
    // profile paths, and the next save would write a file that the next start
    // rejects, resetting everything: they take their defaults instead.
    GlobalSettings defaults;
    zeltra::SetDefaultGlobals(defaults, DataFolderStored());
    for (std::size_t i = 0; i < globals_.pairs.size(); ++i)
      if (globals_.pairs[i].key.empty()) globals_.pairs[i] = defaults.pairs[i];
    // Paths into another folder (a data folder copied from another user or
    // machine) are this folder's own files from now on.
    for (int i = 0; i < kProfileCount; ++i) {
      if (!IsDataFolderFile(globals_.Value(kProfileSlot0URL + i)))
        globals_.SetValue(kProfileSlot0URL + i, DefaultProfileSlot(i));
    }
  } else {
    SetDefaultGlobals();
    if (writes)
      WriteConfiguration();
    else
      held_.push_back(ConfigurationPath());
  }
  sensorCode_ = SensorCodeOf(globals_);
  // A missing or damaged working file is replaced by defaults for the sensor
  // code already set; an intact one keeps its profile even when the
  // configuration was damaged.
  for (int i = 0; i < kProfileCount; ++i) LoadProfile(i, ProfilePath(i), writes);

  // The stored DPI stages were made for the sensor whose complement PreST
  // holds; after a hand edit of Sensor they are replaced.
  checkValue_ = Complement(ParseSpacePaddedHex(globals_.Value(kPreST)));
  if (checkValue_ != sensorCode_) {
    checkValue_ = sensorCode_;
    SetPreST(Complement(sensorCode_));
    for (auto& profile : profiles_) ApplySensorDpiDefaults(profile, sensorCode_);
    if (writes) {
      SaveConfiguration();
      SaveAllProfiles();
    }
  }
  dpi_ = DpiTableFor(sensorCode_);
  return readOk ? 1 : 0;
}

int SettingsStore::WriteConfiguration() {
  if (!Writes() || IsHeld(ConfigurationPath())) return 0;
  return WriteConfigurationFile(ConfigurationPath(), globals_) ? 1 : 0;
}

int SettingsStore::SaveConfiguration() {
  globals_.SetValue(kCurrentProfile, Dec(CurrentProfileIndex()));
  return WriteConfiguration();
}

void SettingsStore::SetDefaultGlobals() { zeltra::SetDefaultGlobals(globals_, DataFolderStored()); }

void SettingsStore::SetPreST(std::uint16_t code) { globals_.SetValue(kPreST, HexSpacePadded4(code)); }

int SettingsStore::WriteProfileFile(int index, const std::filesystem::path& path) {
  if (!Writes() || IsHeld(path)) return 0;
  return WriteProfileRecord(path, Profile(index)) ? 1 : 0;
}

int SettingsStore::LoadProfileFile(int index, const std::filesystem::path& path) {
  return LoadProfile(index, path, true);
}

int SettingsStore::LoadProfile(int index, const std::filesystem::path& path, bool rewrite) {
  FileRead read = FileRead::kRead;
  if (ReadProfileRecord(path, Profile(index), &read)) return 1;
  if (read != FileRead::kMissing) problems_.push_back({path, read, index});
  ResetProfile(Profile(index), index, sensorCode_, language_);
  if (CouldNotOpen(read))
    held_.push_back(path);
  else if (rewrite)
    WriteProfileFile(index, ProfilePath(index));
  return 0;
}

bool SettingsStore::IsHeld(const std::filesystem::path& path) const {
  const auto key = path.lexically_normal();
  return std::any_of(held_.begin(), held_.end(), [&](const auto& p) { return p.lexically_normal() == key; });
}

void SettingsStore::Release(const std::filesystem::path& path) {
  const auto key = path.lexically_normal();
  std::erase_if(held_, [&](const auto& p) { return p.lexically_normal() == key; });
}

int SettingsStore::SaveAllProfiles() {
  int written = 0;
  for (int i = 0; i < kProfileCount; ++i) written += WriteProfileFile(i, ProfilePath(i));
  return written == kProfileCount ? 1 : 0;
}

int SettingsStore::SaveAll() {
  const int config = SaveConfiguration();
  const int profiles = SaveAllProfiles();
  return config && profiles ? 1 : 0;
}

int SettingsStore::ExportProfile(int index, const std::filesystem::path& path) {
  if (IsHeld(path)) return 0;
  return WriteProfileRecord(path, Profile(index)) ? 1 : 0;
}

ImportResult SettingsStore::ImportProfile(int index, const std::filesystem::path& path) {
  ImportResult result;
  if (!ReadProfileRecord(path, Profile(index), &result.read)) return result;
  Release(ProfilePath(index));  // the user's own choice replaces what could not be read
  result.saved = SaveAll() == 1;
  return result;
}

int SettingsStore::CurrentProfileIndex() const {
  return std::clamp(ParseDecimal(globals_.Value(kCurrentProfile)), 0, kProfileCount - 1);
}

void SettingsStore::SetCurrentProfileIndex(int index) {
  if (index < 0 || index >= kProfileCount) return;
  globals_.SetValue(kCurrentProfile, Dec(index));
}

int SettingsStore::ProfileShowCount() const {
  return std::clamp(ParseDecimal(globals_.Value(kProfileShowCount)), 1, kProfileCount);
}

std::array<int, kProfileCount> SettingsStore::ProfileShowList() const {
  std::array<int, kProfileCount> list{};
  std::array<bool, kProfileCount> taken{};
  std::size_t n = 0;
  for (int position = 0; position < kProfileCount; ++position) {
    const int p = ParseDecimal(globals_.Value(kProfileShowList0 + position));
    if (p < 0 || p >= kProfileCount || taken[static_cast<std::size_t>(p)]) continue;
    taken[static_cast<std::size_t>(p)] = true;
    list[n++] = p;
  }
  for (int p = 0; p < kProfileCount; ++p)
    if (!taken[static_cast<std::size_t>(p)]) list[n++] = p;
  return list;
}

int SettingsStore::ProfileShowList(int position) const {
  if (position < 0 || position >= kProfileCount) return -1;
  return ProfileShowList()[static_cast<std::size_t>(position)];
}

int SettingsStore::FirstHiddenProfile() const {
  const int count = ProfileShowCount();
  return count < kProfileCount ? ProfileShowList(count) : -1;
}

int SettingsStore::AddProfile(std::u16string name) {
  const int count = ProfileShowCount();
  if (name.empty() || count >= kProfileCount) return -1;
  const auto list = ProfileShowList();
  const int added = list[static_cast<std::size_t>(count)];
  for (int position = 0; position < kProfileCount; ++position)
    globals_.SetValue(kProfileShowList0 + position, Dec(list[static_cast<std::size_t>(position)]));
  globals_.SetValue(kProfileShowCount, Dec(count + 1));
  ResetProfile(Profile(added), 0, sensorCode_, language_);
  Profile(added).SetSetting(kProfileName, std::move(name));
  Release(ProfilePath(added));
  return added;
}

RemoveProfileResult SettingsStore::RemoveShownProfile(int index) {
  if (index < 0 || index >= kProfileCount) return RemoveProfileResult::kNotShown;
  if (index == CurrentProfileIndex()) return RemoveProfileResult::kIsCurrent;
  auto list = ProfileShowList();
  const int count = ProfileShowCount();
  const auto at = std::find(list.begin(), list.end(), index);
  if (at - list.begin() >= count) return RemoveProfileResult::kNotShown;
  if (count <= 1) return RemoveProfileResult::kLastShown;
  std::rotate(at, at + 1, list.end());
  for (int position = 0; position < kProfileCount; ++position)
    globals_.SetValue(kProfileShowList0 + position, Dec(list[static_cast<std::size_t>(position)]));
  globals_.SetValue(kProfileShowCount, Dec(count - 1));
  return RemoveProfileResult::kRemoved;
}

void SettingsStore::ResetProfileKeepingName(int index) {
  ProfileRecord& profile = Profile(index);
  std::u16string name = profile.Setting(kProfileName);
  ResetProfile(profile, index, sensorCode_, language_);
  profile.SetSetting(kProfileName, std::move(name));
  Release(ProfilePath(index));
}

SensorChange SettingsStore::OnSensorReported(int sensorNumber) {
  const auto code = SensorCodeFromNumber(sensorNumber);
  if (!code || *code == sensorCode_) return {false, dpi_.pageFlag};
  sensorCode_ = *code;
  globals_.SetValue(kSensor, HexSpacePadded4(sensorCode_));
  checkValue_ = sensorCode_;
  SetPreST(Complement(sensorCode_));
  SaveConfiguration();
  for (auto& profile : profiles_) ApplySensorDpiDefaults(profile, sensorCode_);
  SaveAllProfiles();
  BuildDpiTable(sensorCode_, dpi_);
  return {true, dpi_.pageFlag};
}

}  // namespace zeltra
