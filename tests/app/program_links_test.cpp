// Per-application profiles: which program a link names, which profile the
// program in front brings, the settle time, and the dialog that edits a
// profile's links.
#include "app/program_links_dialog.h"
#include "app/program_switch.h"
#include "app_fixture.h"
#include "ui/open_dialog_table.h"

namespace zeltra::test {
namespace {

struct MatchCase {
  std::u16string_view path;
  std::u16string_view link;
  bool matches;
};

TEST(ProgramLinks, ALinkWithAFolderNamesThatFileAFileNameAloneAnyFolder) {
  const MatchCase cases[] = {
      {u"C:\\Games\\Alpha\\Alpha.exe", u"C:\\Games\\Alpha\\Alpha.exe", true},
      {u"C:\\Games\\Alpha\\ALPHA.EXE", u"c:\\games\\alpha\\alpha.exe", true},
      {u"C:\\Games\\Alpha\\Alpha.exe", u"C:/Games/Alpha/Alpha.exe", true},
      {u"D:\\Games\\Alpha\\Alpha.exe", u"C:\\Games\\Alpha\\Alpha.exe", false},
      // The launcher trap: the launcher's link does not name the game it starts.
      {u"C:\\Games\\Alpha\\bin\\AlphaGame.exe", u"C:\\Games\\Alpha\\Launcher.exe", false},
      {u"C:\\Games\\Alpha\\bin\\AlphaGame.exe", u"alphagame.EXE", true},
      {u"E:\\elsewhere\\AlphaGame.exe", u"AlphaGame.exe", true},
      {u"C:\\Games\\MyAlphaGame.exe", u"AlphaGame.exe", false},
      {u"C:\\Games\\AlphaGame.exe.bak", u"AlphaGame.exe", false},
      {u"C:\\Games\\AlphaGame.exe", u"  AlphaGame.exe ", true},  // spaces of a hand edit
      {u"C:\\Games\\AlphaGame.exe", u"", false},
      {u"C:\\Games\\AlphaGame.exe", u"   ", false},
      {u"", u"AlphaGame.exe", false},
      {u"C:\\Spiele\\\u00C4rger.exe", u"\u00E4RGER.EXE", true},      // Latin-1
      {u"C:\\\u0418\u0433\u0440\u0430.exe", u"\u0438\u0413\u0420\u0410.exe", true},  // Cyrillic
      {u"C:\\\u0150.exe", u"\u0151.exe", true},                        // Latin Extended-A
      {u"C:\\\u6E38\u620F.exe", u"\u6E38\u620F.exe", true},
      {u"C:\\\u6E38\u620F.exe", u"\u6E38.exe", false},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(ProgramMatchesLink(c.path, c.link), c.matches) << ToUtf8(c.path) << " / " << ToUtf8(c.link);
}

TEST(ProgramLinks, OnlyAbsolutePathsOrFileNamesOnOneLineCanBeLinks) {
  const std::pair<std::u16string_view, std::optional<LinkProblem>> cases[] = {
      {u"C:\\Games\\game.exe", std::nullopt},
      {u"c:/Games/game.exe", std::nullopt},
      {u"\\\\server\\share\\game.exe", std::nullopt},
      {u"game.exe", std::nullopt},
      {u"", LinkProblem::kEmpty},
      {u"  ", LinkProblem::kEmpty},
      {u"C:\\Games\\", LinkProblem::kEmpty},
      {u"C:\\Games\ngame.exe", LinkProblem::kControlCharacter},
      {u"game\t.exe", LinkProblem::kControlCharacter},
      {u"bin\\game.exe", LinkProblem::kRelativePath},
      {u".\\game.exe", LinkProblem::kRelativePath},
      {u"\\Games\\game.exe", LinkProblem::kRelativePath},
      {u"/home/me/game", LinkProblem::kRelativePath},
  };
  for (const auto& [link, problem] : cases) EXPECT_EQ(CheckProgramLink(link), problem) << ToUtf8(link);
}

// Five profiles on defaults: 0, 1, 2 shown, 3 and 4 not.
class ProgramSwitchTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    settings = std::make_unique<SettingsStore>(DataFolder(), language_);
    settings->LoadConfiguration();
    settings->Profile(1).SetSetting(kGameFile1, u"C:\\Games\\Alpha\\alpha.exe");
    settings->Profile(2).SetSetting(kGameFile0, u"beta.exe");
    settings->Profile(3).SetSetting(kGameFile2, u"gamma.exe");
  }
  std::unique_ptr<SettingsStore> settings;
};

TEST_F(ProgramSwitchTest, TheFirstShownProfileThatLinksTheProgramIsItsProfile) {
  EXPECT_EQ(LinkedProfileOf(*settings, u"C:\\Games\\Alpha\\alpha.exe"), 1);
  EXPECT_EQ(LinkedProfileOf(*settings, u"X:\\beta.exe"), 2);
  EXPECT_EQ(LinkedProfileOf(*settings, u"X:\\gamma.exe"), -1);  // profile 3 is not shown
  EXPECT_EQ(LinkedProfileOf(*settings, u""), -1);
  settings->Profile(0).SetSetting(kGameFile2, u"BETA.exe");
  EXPECT_EQ(LinkedProfileOf(*settings, u"X:\\beta.exe"), 0);
  settings->Globals().SetValue(kProfileShowList0, u"2");
  settings->Globals().SetValue(kProfileShowList0 + 2, u"0");
  EXPECT_EQ(LinkedProfileOf(*settings, u"X:\\beta.exe"), 2);  // list order, not profile order
}

// A step of a session: a window in front, the settle time passing (with the
// profile it switches to, -1 for none), the user's pick, a profile deleted.
struct Step {
  enum Kind { Front, Own, Unknown, Settle, Pick, Delete } kind;
  std::u16string_view path;
  int profile = -1;
};
Step Front(std::u16string_view path) { return {Step::Front, path}; }
Step Settle(int to) { return {Step::Settle, {}, to}; }
Step Pick(int profile) { return {Step::Pick, {}, profile}; }
Step Delete(int profile) { return {Step::Delete, {}, profile}; }
constexpr Step kOwn{Step::Own, {}};
constexpr Step kUnknown{Step::Unknown, {}};

struct SessionCase {
  const char* name;
  std::vector<Step> steps;
  int returnAtEnd;
};

TEST_F(ProgramSwitchTest, Sessions) {
  constexpr std::u16string_view alpha = u"C:\\Games\\Alpha\\alpha.exe";
  constexpr std::u16string_view beta = u"D:\\Other\\BETA.EXE";
  constexpr std::u16string_view desktop = u"C:\\Windows\\explorer.exe";
  const SessionCase cases[] = {
      {"in and out", {Front(alpha), Settle(1), Front(desktop), Settle(0)}, -1},
      {"Alt+Tab over a linked program", {Front(desktop), Front(alpha), Front(desktop), Settle(-1)}, -1},
      {"the same program again", {Front(alpha), Settle(1), Front(alpha), Settle(-1)}, 0},
      {"own and unknown windows", {Front(alpha), Settle(1), kOwn, kUnknown, Settle(-1)}, 0},
      {"own window between", {Front(alpha), kOwn, Settle(1), Front(desktop), kOwn, Settle(0)}, -1},
      {"one linked program to another", {Front(alpha), Settle(1), Front(beta), Settle(2), Front(desktop), Settle(0)},
       -1},
      {"a pick in a linked program",
       {Front(alpha), Settle(1), Pick(2), Front(alpha), Settle(1), Front(desktop), Settle(2)}, -1},
      {"a pick with no linked program", {Pick(2), Front(desktop), Settle(-1)}, -1},
      {"the current profile's own program", {Pick(1), Front(alpha), Settle(-1), Front(desktop), Settle(-1)},
       -1},
      {"a profile that is not shown", {Front(u"C:\\gamma.exe"), Settle(-1)}, -1},
      {"the profile to return to deleted",
       {Pick(2), Front(alpha), Settle(1), Delete(2), Front(desktop), Settle(-1)}, -1},
  };
  for (const SessionCase& c : cases) {
    SCOPED_TRACE(c.name);
    settings->SetCurrentProfileIndex(0);
    settings->Globals().SetValue(kProfileShowCount, u"3");
    ProgramSwitch programs;
    for (const Step& step : c.steps) {
      switch (step.kind) {
        case Step::Front: EXPECT_TRUE(programs.OnForeground({false, std::u16string(step.path)})); break;
        case Step::Own: EXPECT_FALSE(programs.OnForeground({true, u"C:\\Zeltra\\Zeltra.exe"})); break;
        case Step::Unknown: EXPECT_FALSE(programs.OnForeground({false, u""})); break;
        case Step::Pick:
          programs.OnManualSwitch(step.profile);
          settings->SetCurrentProfileIndex(step.profile);
          break;
        case Step::Delete: settings->RemoveShownProfile(step.profile); break;
        case Step::Settle: {
          const std::optional<int> to = programs.Settle(*settings);
          EXPECT_EQ(to.value_or(-1), step.profile);
          if (to) settings->SetCurrentProfileIndex(*to);
          break;
        }
      }
    }
    EXPECT_EQ(programs.returnProfile(), c.returnAtEnd);
  }
}

// ---- Through the main window's model, down to the virtual mouse ------------------

class ProgramSwitchWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    settings->Profile(1).SetSetting(kGameFile0, u"notepad.exe");
    settings->Profile(1).PollingRateValue = {1, 0, 0};
  }
  void TearDown() override {
    OpenDialogs().Clear();
    MainWindowTest::TearDown();
  }
  void InFront(std::u16string path, bool own = false) { model->OnForegroundProgram({own, std::move(path)}); }
  bool Settling() const { return window.timers.count(kProgramSettleTimer) == 1; }
  void SettleTimeEnds() { EXPECT_TRUE(model->OnTimer(kProgramSettleTimer)); }
};

TEST_F(ProgramSwitchWindowTest, TheProgramInFrontSwitchesAfterTheSettleTimeAsAPickDoesButSilently) {
  InFront(u"C:\\windows\\system32\\notepad.exe");
  ASSERT_TRUE(Settling());
  EXPECT_EQ(window.timers.at(kProgramSettleTimer), 500u);
  EXPECT_TRUE(ApplyNow().empty());
  SettleTimeEnds();
  EXPECT_FALSE(Settling());
  EXPECT_EQ(settings->CurrentProfileIndex(), 1);
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x07});
  EXPECT_EQ(mouse->State().rateCode, 4);  // 250 Hz
  EXPECT_EQ(window.progressDialogs, 0);  // nothing comes up over the program
  EXPECT_EQ(model->page().rateIndex, 1);

  InFront(u"C:\\Zeltra\\Zeltra.exe", true);  // the program's own window
  EXPECT_FALSE(Settling());
  InFront(u"C:\\windows\\explorer.exe");
  SettleTimeEnds();
  EXPECT_EQ(settings->CurrentProfileIndex(), 0);
  EXPECT_EQ(Commands(ApplyNow()), std::vector<int>{0x07});
  EXPECT_EQ(mouse->State().rateCode, 1);  // 1000 Hz
  // A pick afterwards is the user's: it shows its progress as always.
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 3);
  ApplyNow();
  EXPECT_EQ(window.progressDialogs, 1);
}

TEST_F(ProgramSwitchWindowTest, WhileADialogIsOpenTheSwitchWaitsForItToClose) {
  InFront(u"C:\\windows\\notepad.exe");
  OpenDialogs().Register(0x1234);
  SettleTimeEnds();
  EXPECT_TRUE(Settling());
  EXPECT_EQ(settings->CurrentProfileIndex(), 0);
  OpenDialogs().Unregister(0x1234);
  SettleTimeEnds();
  EXPECT_FALSE(Settling());
  EXPECT_EQ(settings->CurrentProfileIndex(), 1);
}

TEST_F(ProgramSwitchWindowTest, APickInThePickerBecomesTheProfileToReturnTo) {
  InFront(u"C:\\windows\\notepad.exe");
  SettleTimeEnds();
  ASSERT_EQ(model->programSwitch().returnProfile(), 0);
  model->OnControl({kIdProfilePicker, 2});
  model->OnPickerResult(kProfileRowChosen, 4);  // profile 2
  EXPECT_EQ(model->programSwitch().returnProfile(), 2);
  InFront(u"C:\\windows\\explorer.exe");
  SettleTimeEnds();
  EXPECT_EQ(settings->CurrentProfileIndex(), 2);
}

// ---- The dialog ------------------------------------------------------------------

TEST_F(ProgramSwitchWindowTest, TheProfileTabsFifthEntryEditsTheLinksAndOkSavesThem) {
  // Right-click profile 2's row (item 4), then the fifth entry.
  const auto act = [&] {
    model->OnControl({kIdProfilePicker, 2});
    model->OnPickerResult(kProfileRowRightClicked, 4);
    ASSERT_TRUE(window.tab);
    EXPECT_EQ(window.tab->entryStrings[4], kStringLinkPrograms);
    model->OnProfileTabChosen(window.tab->ownerValue, 5);
    EXPECT_EQ(model->profileAction(), static_cast<int>(ProfileAction::Programs));
    EXPECT_TRUE(model->OnTimer(kProfileActionTimer));
  };
  settings->Profile(2).SetSetting(kGameFile2, u"C:\\old.exe");
  std::u16string seenTitle;
  window.linksDialog = [&](ProgramLinksDialog& dialog) {
    seenTitle = dialog.title();
    EXPECT_TRUE(dialog.Browsed(0, PathFromStored(u"C:\\Games\\beta.exe")));
    dialog.Remove(2);
    return false;  // Cancel
  };
  act();
  EXPECT_EQ(seenTitle, u"Programs that switch to " + settings->Profile(2).Setting(kProfileName));
  EXPECT_EQ(settings->Profile(2).Setting(kGameFile0), u"");
  EXPECT_EQ(settings->Profile(2).Setting(kGameFile2), u"C:\\old.exe");

  window.linksDialog = [&](ProgramLinksDialog& dialog) {
    EXPECT_TRUE(dialog.Browsed(0, PathFromStored(u"C:\\Games\\beta.exe")));
    dialog.Remove(2);
    return true;
  };
  act();
  const auto lines = FileLines(WorkingFile(2));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2], "GameFile0=" + ToUtf8(PathToStored(PathFromStored(u"C:\\Games\\beta.exe"))));
  EXPECT_EQ(lines[3], "GameFile1=");
  EXPECT_EQ(lines[4], "GameFile2=");
}

TEST(ProgramLinksDialogRules, RowsTipsAndAProgramLinkedOnce) {
  LanguageTable language;
  ProfileRecord profile;
  ResetProfile(profile, 1, 0x3311, language);
  profile.SetSetting(kProfileName, u"Play");
  profile.SetSetting(kGameFile0, u"C:\\Games\\Alpha\\alpha.exe");
  profile.SetSetting(kGameFile2, u"beta.exe");
  ProgramLinksDialog dialog(profile, language);
  EXPECT_EQ(dialog.title(), u"Programs that switch to Play");
  EXPECT_EQ((std::array{dialog.RowText(0), dialog.RowText(1), dialog.RowText(2)}),
            (std::array<std::u16string, 3>{u"alpha.exe", u"(no program)", u"beta.exe"}));
  EXPECT_EQ(dialog.RowTip(0), u"C:\\Games\\Alpha\\alpha.exe");
  EXPECT_EQ(dialog.RowTip(1), u"");
  // A program another row links moves to the row it was chosen for.
  const std::filesystem::path again = PathFromStored(u"C:\\GAMES\\alpha\\ALPHA.exe");
  EXPECT_TRUE(dialog.Browsed(1, again));
  EXPECT_FALSE(dialog.RowUsed(0));
  EXPECT_EQ(dialog.RowTip(1), PathToStored(again));
  EXPECT_FALSE(dialog.Browsed(1, "relative\\game.exe"));
  EXPECT_FALSE(dialog.Browsed(3, again));
  EXPECT_TRUE(dialog.Confirm(profile));
  EXPECT_FALSE(dialog.Confirm(profile));
  EXPECT_EQ(profile.Setting(kGameFile0), u"");
  // The buttons of the rows, and nothing else.
  EXPECT_EQ(ProgramLinksDialog::RowButtonOf(2032)->row, 2);
  EXPECT_EQ(ProgramLinksDialog::RowButtonOf(2041)->kind, ProgramLinksDialog::RowButton::Kind::Remove);
  EXPECT_FALSE(ProgramLinksDialog::RowButtonOf(2033));
  EXPECT_FALSE(ProgramLinksDialog::RowButtonOf(kIdOk));
}

TEST(ProgramLinksDialogRules, TextsComeFromTheLanguageFileOrInEnglish) {
  LanguageTable language;
  ProfileRecord profile;
  ResetProfile(profile, 0, 0x3311, language);
  const FileDialogRequest english = ProgramLinksDialog(profile, language).BrowseRequest();
  EXPECT_EQ(english.title, u"Choose a Program");
  EXPECT_EQ(PlatformFilter(english.filter), std::u16string(u"Programs (*.exe)\0*.exe\0\0", 24));
  EXPECT_EQ(english.flags, kFileDialogPathMustExist | kFileDialogFileMustExist);
  EXPECT_FALSE(english.save);
  language.Set(kStringProgramsFilter, u"\u7A0B\u5E8F (*.exe)");
  language.Set(kStringNoProgram, u"\uFF08\u65E0\u7A0B\u5E8F\uFF09");
  ProgramLinksDialog chinese(profile, language);
  EXPECT_EQ(chinese.BrowseRequest().filter, u"\u7A0B\u5E8F (*.exe)|*.exe||");
  EXPECT_EQ(chinese.RowText(0), u"\uFF08\u65E0\u7A0B\u5E8F\uFF09");
  EXPECT_EQ(ProgramLinksText(kStringBrowse, language), u"Browse\u2026");
}

// Language files of an older installation are never replaced: the texts
// they lack are the shipped English ones.
TEST(ProgramLinksDialogRules, TheBuiltInTextsAreTheShippedEnglishOnes) {
  TempDir config;
  ASSERT_EQ(InstallDefaultLanguageFiles(ZELTRA_LANG_DIST_DIR, config.path()), 3);
  LanguageTable english;
  ASSERT_EQ(LoadLanguage(config.path(), 1.0f, english), 1);
  const LanguageTable none;
  for (int i = kStringLinkPrograms; i <= kStringProgramsFilter; ++i)
    EXPECT_EQ(ProgramLinksText(i, none), english.String(i)) << i;
  PopupLogic popup(PopupClass::kProfileRKey, 1.0f, 0, 0);
  popup.BuildItems();
  ASSERT_EQ(popup.model().items().size(), 5u);
  EXPECT_EQ(popup.model().items().back().text, english.String(kStringLinkPrograms));
}

}  // namespace
}  // namespace zeltra::test
