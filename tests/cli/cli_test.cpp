// zeltra-cli end to end on the virtual mouse: what each command sends, what
// it leaves in the data folder, what it prints, and how it fails.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli_fixture.h"
#include "device_fixture.h"
#include "settings/damaged_files.h"
#include "settings/profile_file.h"
#include "settings/text_format.h"

namespace zeltra::test {
namespace {

// A factory-default profile sent from empty caches: every group, in the
// apply cycle's order, after the status query (sequence 1) that opens every
// write and that the mouse does not count as one.
std::vector<Bytes> DefaultProfileFromEmptyCaches() {
  const char* frames[] = {
      "0C 01 04 00 ss 01 04 00 10 01 00",
      "0C 01 04 00 ss 01 04 01 10 02 00",
      "0C 01 04 00 ss 01 04 02 10 04 00",
      "0C 01 04 00 ss 01 04 03 10 08 00",  // slot 4 at position 3
      "0C 01 04 00 ss 01 04 04 10 10 00",
      "0C 01 04 00 ss 01 04 05 40 01 00",
      "0C 01 05 00 ss 01 12 26 3F 08 00 0C 00 10 00 18 00 32 00 78 00",
      "0C 01 06 00 ss 01 18 FF 00 00 00 FF 00 00 00 FF FF FF 00 00 FF FF FF 00 FF FF FF FF FF FF FF",
      "0C 01 07 00 ss 01 01 01",
      "0C 01 09 00 ss 01 02 02 00",
      "0C 01 0A 00 ss 01 01 0C",
      "0C 01 08 00 ss 01 03 01 22 01",
      "0C 01 0B 00 ss 01 02 06 00",
      "0C 01 0C 00 ss 01 01 01",
  };
  std::vector<Bytes> out;
  std::uint8_t s = 2;
  for (const char* f : frames) out.push_back(Frame(f, s++));
  return out;
}

std::vector<std::string> Hexes(const std::vector<Bytes>& frames) {
  std::vector<std::string> out;
  for (const Bytes& f : frames) out.push_back(Hex(f));
  return out;
}

// What the mouse found wrong, except that every command, a process of its
// own, starts its sequence numbers afresh.
std::vector<std::string> Violations(const VirtualMouse& mouse) {
  std::vector<std::string> out;
  for (const std::string& v : mouse.Violations())
    if (v.find(": sequence 1 after ") == std::string::npos) out.push_back(v);
  return out;
}

TEST(Cli, ApplyOfEachGoldenDefaultProfileFromEmptyCaches) {
  for (int i = 0; i < kProfileCount; ++i) {
    CliRig rig;
    const auto golden = TestData("settings/fresh_default" + std::to_string(i) + ".psf");
    const std::u8string path = golden.u8string();
    const CliResult r = rig.Run({"apply", std::string(path.begin(), path.end())});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Hexes(rig.TakeWrites()), Hexes(DefaultProfileFromEmptyCaches())) << golden;
    EXPECT_NE(r.out.find("14 reports sent"), std::string::npos) << r.out;
    EXPECT_EQ(Violations(*rig.mouse), std::vector<std::string>{});
    // The file is now the current profile, in memory and on the disk.
    ProfileRecord stored;
    ASSERT_TRUE(ReadProfileRecord(rig.Data("config/default0.psf"), stored));
    ProfileRecord expected;
    ASSERT_TRUE(ReadProfileRecord(golden, expected));
    EXPECT_EQ(ProfileFileLines(stored), ProfileFileLines(expected));
  }
}

// A fresh data folder says nothing about what the mouse holds: the first
// apply sends every group, also those whose bytes are all zero.
TEST(Cli, TheFirstApplyFromAFreshFolderSendsZerosToo) {
  using State = const VirtualMouseState&;
  const std::pair<std::function<void(ProfileRecord&)>, std::function<bool(State)>> zeros[] = {
      {[](ProfileRecord& p) { p.Key[2].Value = {0, 0, 0, 0}; },
       [](State s) { return s.buttons[2] == std::array<std::uint8_t, 3>{}; }},
      {[](ProfileRecord& p) { p.SetSetting(kKeyDebounce, u"0"); }, [](State s) { return s.debounce == 0; }},
      {[](ProfileRecord& p) { p.SetSetting(kMotionWakeup, u"0"); }, [](State s) { return s.motionWakeup == 0; }},
  };
  CliRig rig;
  VirtualMouseState held;  // what the mouse holds from elsewhere: debounce 12, wake-up 1
  held.buttons[2] = {0x10, 0x04, 0};
  rig.mouse->SetState(held);
  ProfileRecord edited = DefaultProfile();
  for (const auto& zero : zeros) zero.first(edited);
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "e.psf", edited));
  ASSERT_EQ(rig.Run({"apply", rig.File("e.psf")}).status, 0);
  for (const auto& zero : zeros) EXPECT_TRUE(zero.second(rig.mouse->State()));
}

TEST(Cli, SwitchSendsOnlyTheDifferences) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"profiles"}).status, 0);  // makes the data folder
  ProfileRecord edited = DefaultProfile();
  edited.Key[1].Value = {0x70, 0x01, 0x06, 0};  // slot 1 -> position 1
  edited.PollingRateValue = {2, 0, 0};
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "edited.psf", edited));
  ASSERT_EQ(rig.Run({"import", rig.File("edited.psf"), "3"}).status, 0);
  EXPECT_TRUE(rig.TakeWrites().empty());  // an import goes to the files only

  const CliResult r = rig.Run({"switch", "3"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Hexes(rig.TakeWrites()),
            Hexes({Frame("0C 01 04 00 ss 01 04 01 70 01 06", 2), Frame("0C 01 07 00 ss 01 01 02", 3)}));
  ASSERT_EQ(rig.Run({"switch", "3"}).status, 0);
  EXPECT_TRUE(rig.TakeWrites().empty());  // nothing differs
  // The next process knows the mouse holds profile 3.
  ASSERT_EQ(rig.Run({"switch", "1"}).status, 0);
  EXPECT_EQ(Hexes(rig.TakeWrites()),
            Hexes({Frame("0C 01 04 00 ss 01 04 01 10 02 00", 2), Frame("0C 01 07 00 ss 01 01 01", 3)}));
  EXPECT_EQ(Violations(*rig.mouse), std::vector<std::string>{});
}

TEST(Cli, ExportImportRoundTrip) {
  CliRig rig;
  ProfileRecord edited = DefaultProfile();
  edited.SetSetting(kProfileName, u"Füße 🐭");
  edited.Lighting1ModeValue = {6, 0, 0};
  edited.XYSettingValue[2] = 40;
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "in.psf", edited));
  ASSERT_EQ(rig.Run({"import", rig.File("in.psf"), "4"}).status, 0);
  ASSERT_EQ(rig.Run({"export", "4", rig.File("out.psf")}).status, 0);
  EXPECT_EQ(ReadBytes(rig.dir / "out.psf"), ReadBytes(rig.dir / "in.psf"));
  EXPECT_EQ(ReadBytes(rig.Data("config/default3.psf")), ReadBytes(rig.dir / "in.psf"));
}

TEST(Cli, JsonOutputParsesBack) {
  CliRig rig;
  rig.mouse->SetBattery(55, 1);
  const auto status = nlohmann::json::parse(rig.Run({"--json", "status"}).out);
  EXPECT_EQ(status["link"], "cable");
  EXPECT_EQ(status["online"], true);
  EXPECT_EQ(status["sensor"]["code"], "0x3311");
  EXPECT_EQ(status["battery"]["level"], 55);
  EXPECT_EQ(status["battery"]["charge"], "charging");

  const auto list = nlohmann::json::parse(rig.Run({"profiles", "--json"}).out);
  EXPECT_EQ(list["current"], 1);
  ASSERT_EQ(list["profiles"].size(), 5u);
  EXPECT_EQ(list["profiles"][2]["shown"], true);
  EXPECT_EQ(list["profiles"][3]["shown"], false);
  EXPECT_EQ(list["profiles"][3]["name"], "Profile 4");

  const auto shown = nlohmann::json::parse(rig.Run({"--json", "show", "2"}).out);
  EXPECT_EQ(shown["number"], 2);
  EXPECT_EQ(shown["buttons"][5]["function"], "DPI Cycle");
  EXPECT_EQ(shown["buttons"][3]["code"], "10 10 00");
  EXPECT_EQ(shown["dpi"]["stages"][1]["dpi"], 1200);
  EXPECT_EQ(shown["dpi"]["activeStage"], 2);
  EXPECT_EQ(shown["lighting"]["direction"], "up");
  EXPECT_EQ(shown["reportRateHz"], 1000);

  const auto devices = nlohmann::json::parse(rig.Run({"--json", "devices"}).out);
  EXPECT_EQ(devices["links"][0]["interfaces"][0]["role"], "input");
  EXPECT_EQ(devices["links"][0]["interfaces"][1]["role"], "feature");
  EXPECT_TRUE(devices["links"][1]["interfaces"].empty());
}

TEST(Cli, LinkAddsProgramsToAProfileShowListsThemAndUnlinkDropsThem) {
  CliRig rig;
  const CliResult first = rig.Run({"link", "2", "C:\\Games\\Alpha\\alpha.exe", "beta.exe"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "profile 2 (Profile 2) switches with: C:\\Games\\Alpha\\alpha.exe, beta.exe\n");
  // The same program again takes no slot; the third slot is the last.
  ASSERT_EQ(rig.Run({"link", "2", "BETA.EXE", "gamma.exe"}).status, 0);
  const CliResult full = rig.Run({"link", "2", "delta.exe"});
  EXPECT_EQ(full.status, 2);
  EXPECT_NE(full.err.find("links three programs already"), std::string::npos) << full.err;
  const auto shown = nlohmann::json::parse(rig.Run({"--json", "show", "2"}).out);
  EXPECT_EQ(shown["programs"], nlohmann::json::parse(R"(["C:\\Games\\Alpha\\alpha.exe", "beta.exe", "gamma.exe"])"));
  EXPECT_NE(rig.Run({"show", "1"}).out.find("Switches with: no program\n"), std::string::npos);
  // Kept where the window reads them: the profile's GameFile pairs.
  const auto stored = [&] {
    ProfileRecord record = DefaultProfile();
    EXPECT_TRUE(ReadProfileRecord(rig.Data("config/default1.psf"), record));
    return record;
  };
  EXPECT_EQ(stored().Setting(kGameFile0), u"C:\\Games\\Alpha\\alpha.exe");
  EXPECT_EQ(stored().Setting(kGameFile2), u"gamma.exe");

  // An earlier profile of the list that links the program wins; a profile
  // the list does not show switches nothing: both are told.
  EXPECT_NE(rig.Run({"link", "3", "Beta.exe"}).err.find("profile 2 (Profile 2) links Beta.exe too"),
            std::string::npos);
  EXPECT_NE(rig.Run({"link", "5", "epsilon.exe"}).err.find("not in the window's profile list"), std::string::npos);

  const auto unlinked = nlohmann::json::parse(rig.Run({"--json", "unlink", "2"}).out);
  EXPECT_TRUE(unlinked["programs"].empty());
  EXPECT_EQ(stored().Setting(kGameFile0), u"");
  EXPECT_TRUE(rig.TakeWrites().empty()) << "links are files only";
}

TEST(Cli, ButtonFunctionsAreNamedAsTheMenusNameThem) {
  CliRig rig;
  ProfileRecord p = DefaultProfile();
  p.Key[0].Value = {0x50, 0x07, 0x00, 0};
  p.Key[1].Value = {0x70, 0x05, 0x3D, 0};  // Ctrl+Alt+F4: no menu has it
  p.Key[2].Value = {0x70, 0x01, 0x06, 0};  // the office menu's copy
  p.Key[3].Value = {0x30, 0x40, 0x02, 0};
  p.Key[4].Value = {0x80, 0x34, 0x12, 0};
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "f.psf", p));
  ASSERT_EQ(rig.Run({"import", rig.File("f.psf"), "2"}).status, 0);
  const auto shown = nlohmann::json::parse(rig.Run({"--json", "show", "2"}).out);
  EXPECT_EQ(shown["buttons"][0]["function"], "DPI Lock-800");
  EXPECT_EQ(shown["buttons"][1]["function"], "Ctrl+Alt+F4");
  EXPECT_EQ(shown["buttons"][2]["function"], "Copy");
  EXPECT_EQ(shown["buttons"][3]["function"], "Fire Key 64/2");
  EXPECT_EQ(shown["buttons"][4]["function"], "consumer usage 0x1234");
}

// The window's rule, kept by the command line: a macro button whose macro
// the library does not hold is sent disabled, and saved under that name.
TEST(Cli, AMacroButtonWhoseMacroIsGoneIsSentAndSavedDisabled) {
  CliRig rig;
  ProfileRecord p = DefaultProfile();
  p.Key[2].Value = {0x90, 0x01, 0x00, 0};
  p.Key[2].MacroKeyIndex = 7;
  p.Key[2].Name = u"Macro: gone";
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "m.psf", p));
  ASSERT_EQ(rig.Run({"import", rig.File("m.psf"), "2"}).status, 0);
  const CliResult r = rig.Run({"switch", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> writes = Hexes(rig.TakeWrites());
  EXPECT_NE(std::find(writes.begin(), writes.end(), Hex(Frame("0C 01 04 00 ss 01 04 02 00 00 00", 2))), writes.end());
  ProfileRecord stored;
  ASSERT_TRUE(ReadProfileRecord(rig.Data("config/default1.psf"), stored));
  EXPECT_EQ(stored.Key[2].Name, u"Disabled");
  EXPECT_EQ(stored.Key[2].Value[0], 0x00);
  EXPECT_EQ(stored.Key[1].Name, p.Key[1].Name);
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* message;
};

TEST(Cli, ErrorsExitWithTheirStatusAndOneLine) {
  const std::vector<ErrorCase> cases{
      {"unknown command", {"frobnicate"}, 2, "unknown command \"frobnicate\""},
      {"no command", {}, 2, "subcommand is required"},
      {"number out of range", {"switch", "9"}, 2, "not in range 1 to 5"},
      {"not a number", {"export", "two", "x.psf"}, 2, "two"},
      {"reset unconfirmed", {"reset"}, 2, "reset --yes"},
      {"missing file", {"apply", "no-such.psf"}, 4, "cannot read"},
      {"folder as file", {"apply", "."}, 4, "is not a regular file"},
      {"far too large", {"import", "huge.psf", "2"}, 4, "is far too large"},
#ifndef _WIN32
      {"a pipe as file", {"apply", "pipe.psf"}, 4, "is not a regular file"},
#endif
      {"export into the data folder", {"export", "1", "data/config/default1.psf"}, 4, "outside the data folder"},
      {"not a profile", {"import", "junk.psf", "2"}, 4, "is not a profile file"},
      {"unwritable export", {"export", "1", "no-such-folder/x.psf"}, 4, "cannot write"},
      {"unwritable trace", {"--hid-log", "no-such-folder/t.log", "status"}, 4, "HID trace"},
      {"link without a program", {"link", "2"}, 2, "PATH is required"},
      {"a fourth program", {"link", "2", "a.exe", "b.exe", "c.exe", "d.exe"}, 2, "At Most 3"},
      {"a relative program path", {"link", "2", "bin\\game.exe"}, 2, "give its full path"},
      {"a line break in a program", {"link", "2", "C:\\a\nb.exe"}, 2, "line break"},
  };
  for (const ErrorCase& c : cases) {
    CliRig rig;
    std::filesystem::current_path(rig.dir.path());
    WriteUtf16File(rig.dir / "junk.psf", "[Setting]\nnothing else\n");
    WriteUtf16File(rig.dir / "huge.psf", "[Setting]\n");
    std::filesystem::resize_file(rig.dir / "huge.psf", kMaxFileBytes + 2);
#ifndef _WIN32
    ::mkfifo((rig.dir / "pipe.psf").c_str(), 0600);
#endif
    const CliResult r = rig.Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << c.name;
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
}

TEST(Cli, NoDeviceAndNoAnswer) {
  {
    CliRig rig;
    rig.mouse->Unplug(VirtualLink::Cable);
    for (const char* command : {"devices", "status", "switch"}) {
      std::vector<std::string> args{command};
      if (std::string_view(command) == "switch") args.push_back("2");
      const CliResult r = rig.Run(args);
      EXPECT_EQ(r.status, 3) << command;
      EXPECT_NE(r.err.find("no mouse found"), std::string::npos) << r.err;
    }
  }
  {
    CliRig rig;
    rig.mouse->FailCall(FaultOp::GetFeature);
    EXPECT_EQ(rig.Run({"status"}).status, 5);
  }
  {
    CliRig rig;
    rig.mouse->SetOnline(false);
    const CliResult r = rig.Run({"switch", "2"});
    EXPECT_EQ(r.status, 5);
    EXPECT_NE(r.err.find("not online"), std::string::npos) << r.err;
    EXPECT_TRUE(rig.TakeWrites().empty());
  }
}

TEST(Cli, AWriteThatFailsSavesNothing) {
  CliRig rig;
  ProfileRecord edited = DefaultProfile();
  edited.PollingRateValue = {0, 0, 0};
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "e.psf", edited));
  ASSERT_EQ(rig.Run({"import", rig.File("e.psf"), "2"}).status, 0);
  const Bytes config = ReadBytes(rig.Data("config/config.ini"));
  rig.mouse->FailCall(FaultOp::SetFeature, 2);  // the rate report, after the status query
  const CliResult r = rig.Run({"switch", "2"});
  EXPECT_EQ(r.status, 5);
  EXPECT_NE(r.err.find("did not take 1 of 1"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(rig.Data("config/config.ini")), config);
  // Run again, the rate goes out again.
  rig.TakeWrites();
  ASSERT_EQ(rig.Run({"switch", "2"}).status, 0);
  EXPECT_EQ(rig.TakeWrites().back(), Frame("0C 01 07 00 ss 01 01 08", 2));
}

TEST(Cli, ResetSendsTheFactoryResetAndRestoresTheCurrentProfile) {
  CliRig rig;
  ProfileRecord edited = DefaultProfile();
  edited.SetSetting(kProfileName, u"Mine");
  edited.Key[2].Value = {0x00, 0x00, 0x00, 0};
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "e.psf", edited));
  ASSERT_EQ(rig.Run({"apply", rig.File("e.psf")}).status, 0);
  rig.TakeWrites();
  const CliResult r = rig.Run({"reset", "--yes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Hexes(rig.TakeWrites()), Hexes({Frame("0C 01 0F 00 ss 01 01 FF", 2)}));
  EXPECT_EQ(rig.mouse->FactoryResets(), 1);
  ProfileRecord stored;
  ASSERT_TRUE(ReadProfileRecord(rig.Data("config/default0.psf"), stored));
  EXPECT_EQ(stored.Setting(kProfileName), u"Mine");
  EXPECT_EQ(stored.Key[2].Value[0], 0x10);
}

TEST(Cli, TheWindowOwnsTheDataFolderWhileItRuns) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"switch", "1"}).status, 0);  // makes the data folder
  rig.TakeWrites();
  const Bytes config = ReadBytes(rig.Data("config/config.ini"));
  {
    LockAttempt window = TryLockDataFolder(rig.dir.path() / "data", kLockHolderWindow);
    ASSERT_TRUE(window.lock);
    for (std::vector<std::string> args : {std::vector<std::string>{"switch", "2"}, {"import", "x.psf", "2"},
                                          {"reset", "--yes"}, {"apply", "x.psf"}, {"link", "2", "x.exe"},
                                          {"unlink", "2"}}) {
      const CliResult r = rig.Run(args);
      EXPECT_EQ(r.status, 4) << args[0];
      EXPECT_NE(r.err.find("the Zeltra window is running"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(rig.TakeWrites().empty());
    // Reading is still possible: the window saves whole files atomically.
    const CliResult read = rig.Run({"profiles"});
    EXPECT_EQ(read.status, 0);
    EXPECT_NE(read.err.find("note:"), std::string::npos);
  }
  {
    LockAttempt other = TryLockDataFolder(rig.dir.path() / "data", kLockHolderCli);
    ASSERT_TRUE(other.lock);
    EXPECT_EQ(rig.Run({"profiles"}).status, 0);  // a command that only reads does not wait
    const CliResult r = rig.Run({"switch", "2"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("another zeltra-cli"), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadBytes(rig.Data("config/config.ini")), config);
  EXPECT_EQ(rig.Run({"switch", "2"}).status, 0);  // free again
}

// A command that reads shows what it cannot read with defaults and says so,
// but leaves the data folder as it is, to the byte, with or without the
// window holding it. A command that writes replaces the damaged file and
// names the copy it kept.
TEST(Cli, ReadCommandsLeaveADamagedDataFolderAsItIs) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"switch", "1"}).status, 0);  // makes the data folder
  const auto profile2 = rig.Data("config/default1.psf");
  const Bytes damaged = test::WithCarriageReturns(ReadBytes(profile2));
  WriteBytes(profile2, damaged);
  const std::u8string outside = (rig.dir / "out.psf").u8string();
  const std::vector<std::vector<std::string>> reads = {
      {"profiles"}, {"show", "2"}, {"show"}, {"status"}, {"devices"},
      {"export", "2", std::string(outside.begin(), outside.end())}};
  for (const bool windowRuns : {false, true}) {
    LockAttempt window;
    if (windowRuns) window = TryLockDataFolder(rig.dir.path() / "data", kLockHolderWindow);
    const auto before = rig.DataFiles();
    for (const auto& args : reads) {
      SCOPED_TRACE(args[0] + (windowRuns ? " while the window runs" : ""));
      const CliResult r = rig.Run(args);
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(rig.DataFiles(), before);
      if (args[0] == "profiles" || args[0] == "show" || args[0] == "export") {
        EXPECT_NE(r.err.find("default1.psf\" is damaged; profile 2 is taken as defaults and the file is left as it is"),
                  std::string::npos) << r.err;
      }
      if (args[0] == "show" && args.size() == 2) {
        EXPECT_NE(r.out.find("Profile 2"), std::string::npos) << r.out;
      }
    }
  }
  rig.TakeWrites();
  EXPECT_EQ(rig.RunWithData(rig.File("never made"), {"profiles"}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(rig.dir / "never made"));

  const CliResult w = rig.Run({"switch", "1"});
  ASSERT_EQ(w.status, 0) << w.err;
  LanguageTable english;
  ASSERT_EQ(LoadLanguage(rig.Data("config"), 1.0f, english), 1);
  const std::string note = "zeltra-cli: note: " + ToUtf8(KeptCopyNotice(english)) + " \"";
  ASSERT_EQ(w.err.rfind(note, 0), 0u) << w.err;
  const std::string copy = w.err.substr(note.size(), w.err.find('"', note.size()) - note.size());
  EXPECT_EQ(ReadBytes(cli::PathFromUtf8(copy)), damaged);
  EXPECT_EQ(cli::PathFromUtf8(copy).parent_path(), profile2.parent_path());
  ProfileRecord reset;
  EXPECT_TRUE(ReadProfileRecord(profile2, reset));
}

// A data folder copied from elsewhere and named by a relative path: the
// command reads and writes only the copy, and stores its full path.
TEST(Cli, ACopiedDataFolderNamedRelativelyWritesOnlyInsideItself) {
  CliRig rig;
  ProfileRecord mine = DefaultProfile();
  mine.SetSetting(kProfileName, u"Mine");
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "mine.psf", mine));
  ASSERT_EQ(rig.Run({"import", rig.File("mine.psf"), "3"}).status, 0);
  std::filesystem::copy(rig.dir / "data", rig.dir / "copy", std::filesystem::copy_options::recursive);
  const auto original = rig.DataFiles();

  std::filesystem::current_path(rig.dir.path());
  ProfileRecord other = DefaultProfile();
  other.SetSetting(kProfileName, u"Other");
  ASSERT_TRUE(WriteProfileRecord(rig.dir / "other.psf", other));
  const CliResult r = rig.RunWithData("copy", {"import", "other.psf", "4"});
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(rig.DataFiles(), original);

  const std::u8string copy = (rig.dir / "copy").u8string();
  const CliResult list = rig.RunWithData(std::string(copy.begin(), copy.end()), {"--json", "profiles"});
  const auto shown = nlohmann::json::parse(list.out);
  EXPECT_EQ(shown["profiles"][2]["name"], "Mine");
  EXPECT_EQ(shown["profiles"][3]["name"], "Other");
  const Bytes config = ReadBytes(rig.dir / "copy/config/config.ini");
  const std::string stored = ToUtf8(PathToStored(rig.dir / "copy")) + "\\config\\default3.psf";
  const Bytes slot = Utf16("\nProfileSlot3URL=" + stored + "\n", false);
  EXPECT_NE(std::search(config.begin(), config.end(), slot.begin(), slot.end()), config.end());
}

}  // namespace
}  // namespace zeltra::test
