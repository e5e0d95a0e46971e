// A file the program could not read to its end is never replaced without a
// copy: the copy keeps its bytes beside it, and the user is told once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "settings/config_file.h"
#include "settings/profile_file.h"
#include "settings_fixture.h"

namespace zeltra {
namespace {

using test::Bytes;
using test::ReadBytes;

class DamagedFiles : public test::DataFolderTest {
 protected:
  // The kept copies in the config folder.
  static std::vector<std::filesystem::path> Copies() {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(ConfigDir()))
      if (entry.path().filename().string().find(".unreadable-") != std::string::npos) found.push_back(entry.path());
    return found;
  }
};

struct Damage {
  const char* name;
  bool config;  // else profile 2
  std::function<Bytes(Bytes)> damage;
};

// The UTF-16 bytes of `in` with its first `from` replaced by `to` (ASCII).
Bytes Replaced(const Bytes& in, const std::string& from, const std::string& to) {
  const Bytes f = test::Utf16(from, false), t = test::Utf16(to, false);
  Bytes out = in;
  const auto at = std::search(out.begin(), out.end(), f.begin(), f.end());
  if (at == out.end()) return out;
  const auto pos = at - out.begin();
  out.erase(at, at + static_cast<std::ptrdiff_t>(f.size()));
  out.insert(out.begin() + pos, t.begin(), t.end());
  return out;
}

TEST_F(DamagedFiles, TheOriginalIsKeptBesideItBeforeItIsReplacedAndTheUserToldOnce) {
  const Damage cases[] = {
      {"profile with carriage returns", false, test::WithCarriageReturns},
      {"profile without its mark", false, [](Bytes b) { return Bytes(b.begin() + 2, b.end()); }},
      {"profile with a malformed line", false, [](Bytes b) { return Replaced(b, "AngleSnapValue=", "AngleSnap "); }},
      {"profile with 2687 action digits", false, [](Bytes b) { return Replaced(b, "AllAction=00", "AllAction=0"); }},
      {"configuration with carriage returns", true, test::WithCarriageReturns},
      {"configuration with an empty line", true, [](Bytes b) { return Replaced(b, "Mac_ID", "\nMac_ID"); }},
      {"empty profile file: nothing to keep", false, [](const Bytes&) { return Bytes{}; }},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(ConfigDir());
    std::filesystem::create_directories(ConfigDir());
    {
      SettingsStore first(DataFolder(), language_);
      first.LoadConfiguration();
      first.Profile(2).SetSetting(kProfileName, u"Mine");
      ASSERT_EQ(first.SaveAll(), 1);
    }
    const std::filesystem::path file = c.config ? ConfigFile() : WorkingFile(2);
    const Bytes damaged = c.damage(ReadBytes(file));
    test::WriteBytes(file, damaged);
    ASSERT_TRUE(TakeKeptCopies().empty());

    SettingsStore store(DataFolder(), language_);
    store.LoadConfiguration();
    // The reset stays: the damaged file holds the defaults now, readable again.
    GlobalSettings globals;
    ProfileRecord profile;
    EXPECT_TRUE(c.config ? ReadConfigurationFile(file, globals) : ReadProfileRecord(file, profile));
    const auto copies = Copies();
    const auto told = TakeKeptCopies();
    if (damaged.empty()) {
      EXPECT_TRUE(copies.empty());
      EXPECT_TRUE(told.empty());
      continue;
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(copies[0]), damaged);
    EXPECT_EQ(copies[0].filename().string().rfind(file.filename().string() + ".unreadable-", 0), 0u);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].filename(), copies[0].filename());
    // Told once: the next start finds a readable file and keeps nothing more.
    SettingsStore again(DataFolder(), language_);
    again.LoadConfiguration();
    again.SaveAll();
    EXPECT_TRUE(TakeKeptCopies().empty());
    EXPECT_EQ(Copies().size(), 1u);
  }
}

// Two copies of one file in the same minute: both kept, under their own names.
TEST(KeptCopies, ASecondCopyNeverTakesTheNameOfTheFirst) {
  std::tm when{};
  when.tm_year = 2026 - 1900, when.tm_mon = 11, when.tm_mday = 9, when.tm_hour = 15, when.tm_min = 3;
  EXPECT_EQ(KeptCopyName("c/p.psf", when, 1), std::filesystem::path("c/p.psf.unreadable-20261209-1503"));
  EXPECT_EQ(KeptCopyName("c/p.psf", when, 3), std::filesystem::path("c/p.psf.unreadable-20261209-1503-3"));
  test::TempDir dir;
  for (const Bytes& content : {Bytes{'o', 'n', 'e'}, Bytes{'t', 'w', 'o'}}) {
    test::WriteBytes(dir / "p.psf", content);
    NoteFileRead(dir / "p.psf", FileRead::kInvalid);
    ASSERT_TRUE(KeepDamagedOriginal(dir / "p.psf"));
  }
  const auto told = TakeKeptCopies();
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(ReadBytes(told[0]), Bytes({'o', 'n', 'e'}));
  EXPECT_EQ(ReadBytes(told[1]), Bytes({'t', 'w', 'o'}));
}

}  // namespace
}  // namespace zeltra
