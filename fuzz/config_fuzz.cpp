// Configuration reader: whatever the file holds, the values read from it stay
// inside their tables, and a configuration written back reads back the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_scratch.h"
#include "settings/config_file.h"
#include "settings/settings_store.h"

using namespace zeltra;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckShownProfiles(const SettingsStore& store) {
  Check(store.CurrentProfileIndex() >= 0 && store.CurrentProfileIndex() < kProfileCount);
  Check(store.ProfileShowCount() >= 1 && store.ProfileShowCount() <= kProfileCount);
  auto list = store.ProfileShowList();
  std::sort(list.begin(), list.end());
  for (int i = 0; i < kProfileCount; ++i) Check(list[static_cast<std::size_t>(i)] == i);
  const int hidden = store.FirstHiddenProfile();
  Check(hidden >= -1 && hidden < kProfileCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto& dir = fuzz::ScratchDir();
  const auto in = dir / "in.ini";
  const auto out = dir / "out.ini";
  fuzz::WriteInput(in, data, size);

  GlobalSettings first;
  if (!ReadConfigurationFile(in, first)) return 0;

  // Written back and read again, every pair is the same; a pair the file did
  // not reach (empty) makes the written file one that is rejected as a whole.
  const bool complete = std::all_of(first.pairs.begin(), first.pairs.end(),
                                    [](const SettingPair& p) { return !p.key.empty() && !p.value.empty(); });
  Check(WriteConfigurationFile(out, first));
  GlobalSettings second;
  const bool reread = ReadConfigurationFile(out, second);
  Check(reread == complete);
  if (complete) Check(second.pairs == first.pairs);

  // The profile list operations stay within the five profiles.
  SettingsStore store(dir);
  store.Globals() = first;
  CheckShownProfiles(store);
  store.ProfilePath(store.CurrentProfileIndex());
  if (store.AddProfile(u"x") >= 0) CheckShownProfiles(store);
  for (int p = 0; p < kProfileCount; ++p) {
    if (store.RemoveShownProfile(p) == RemoveProfileResult::kRemoved) CheckShownProfiles(store);
  }
  return 0;
}
