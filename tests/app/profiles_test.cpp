// The profile picker, its right-click popup and the deferred profile actions.
#include "app_fixture.h"

namespace zeltra::test {
namespace {

class ProfilesTest : public MainWindowTest {
 protected:
  void ShowList(int count, std::array<int, 5> list) {
    settings->Globals().SetValue(kProfileShowCount, Dec(count));
    for (int i = 0; i < 5; ++i) settings->Globals().SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
  }
  void OpenPicker() { model->OnControl({kIdProfilePicker, 2}); }
  // Right-click a picker row, choose entry `entry` of the popup, run timer 60.
  void Act(int item, int entry) {
    OpenPicker();
    model->OnPickerResult(kProfileRowRightClicked, item);
    ASSERT_TRUE(window.tab);
    model->OnProfileTabChosen(window.tab->ownerValue, entry);
    RunTimer60();
  }
  void RunTimer60() {
    ASSERT_EQ(window.timers.at(kProfileActionTimer), kProfileActionMs);
    EXPECT_TRUE(model->OnTimer(kProfileActionTimer));
  }
  // The settings as the next start of the program reads them.
  std::unique_ptr<SettingsStore> Reloaded() {
    auto next = std::make_unique<SettingsStore>(DataFolder(), language_);
    next->LoadConfiguration();
    return next;
  }
};

TEST_F(ProfilesTest, RowsFollowTheShownListAndEmptyRowsCannotBeChosen) {
  ShowList(2, {3, 0, 1, 2, 4});
  OpenPicker();
  ASSERT_TRUE(window.picker);
  const PickerPopupSpec& desc = *window.picker;
  EXPECT_EQ(desc.rows.header, u"Profile list");
  EXPECT_EQ(desc.rows.names[0], settings->Profile(3).Setting(kProfileName));
  EXPECT_EQ(desc.rows.names[1], settings->Profile(0).Setting(kProfileName));
  for (std::size_t row = 2; row < 5; ++row) EXPECT_EQ(desc.rows.names[row], u"") << row;
  EXPECT_EQ(desc.rows.last, u"New");
  EXPECT_EQ(desc.rows.currentRow, 2);  // profile 0 stands in row 3
  EXPECT_EQ(desc.topLeft, (UiPoint{306, 672 - 201}));
  model->OnPickerResult(kProfileRowChosen, 4);  // empty
  EXPECT_TRUE(window.picker);
  EXPECT_EQ(settings->CurrentProfileIndex(), 0);
  // The last row adds the first hidden profile, here profile 1.
  window.dialogName = u"Added";
  model->OnPickerResult(kProfileRowChosen, 7);
  EXPECT_FALSE(window.picker);
  RunTimer60();
  EXPECT_EQ(settings->ProfileShowCount(), 3);
  EXPECT_EQ(Reloaded()->Profile(1).Setting(kProfileName), u"Added");
}

TEST_F(ProfilesTest, TheLastRowWithFiveShownOnlyWarns) {
  ShowList(5, {0, 1, 2, 3, 4});
  window.dialogName = u"Never";
  OpenPicker();
  model->OnPickerResult(kProfileRowChosen, 7);
  RunTimer60();
  EXPECT_EQ(window.attentions, std::vector<int>{145});
  EXPECT_EQ(settings->ProfileShowCount(), 5);
}

TEST_F(ProfilesTest, AClickOnThePickerWhileItsPopupIsOpenOnlyClosesIt) {
  OpenPicker();
  model->OnControl({kIdProfilePicker, 12});  // the pointer moves over the picker while it is open
  model->OnPickerDismissed();         // the press takes the activation from the popup
  EXPECT_FALSE(window.picker);
  OpenPicker();
  EXPECT_FALSE(window.picker);
  OpenPicker();
  EXPECT_TRUE(window.picker);
}

TEST_F(ProfilesTest, TheTabPopupStandsBesideItsRowAndKeepsThePickerOpen) {
  OpenPicker();
  // The picker loses the activation to the tab popup while that one opens.
  window.onTabOpening = [&] { model->OnPickerDismissed(); };
  model->OnPickerResult(kProfileRowRightClicked, 3);  // profile 1
  window.onTabOpening = nullptr;
  EXPECT_TRUE(window.picker);
  ASSERT_TRUE(window.tab);
  EXPECT_EQ(window.tab->ownerValue, 2050);
  EXPECT_EQ(ProfileOfRKeyOwner(0x805), 4);
  EXPECT_EQ(ProfileOfRKeyOwner(0x806), -1);
  EXPECT_EQ(ProfileOfRKeyOwner(0x800), -1);
  model->OnPickerDismissed();
  EXPECT_TRUE(window.picker);
  model->OnProfileTabDismissed();
  EXPECT_FALSE(window.tab);
  EXPECT_FALSE(window.picker);
  OpenPicker();
  model->OnPickerResult(kProfileRowRightClicked, 5);  // an empty row
  EXPECT_FALSE(window.tab);
}

struct TabPlaceCase {
  float scale;
  int windowTop;
  int expectedY;
};

class TabPopupPlace : public testing::TestWithParam<TabPlaceCase> {};

// Picker bottom 672 design units; row 2; H = 1040 x scale.
TEST_P(TabPopupPlace, MovesUpNearTheScreenBottom) {
  const TabPlaceCase& c = GetParam();
  LanguageTable language;
  SettingsStore store("unused", language);
  SetDefaultGlobals(store.Globals(), u"");
  const UiRect picker = ScaleEdges({306, 646, 100, 26}, c.scale);
  const auto desc = BuildProfileTabPopup(store, 2, picker, c.scale, c.windowTop, static_cast<int>(1040 * c.scale));
  ASSERT_TRUE(desc);
  EXPECT_EQ(desc->topLeft.x, picker.left + static_cast<int>(225 * c.scale));
  EXPECT_EQ(desc->topLeft.y, c.expectedY);
}

INSTANTIATE_TEST_SUITE_P(Scales, TabPopupPlace,
                         testing::Values(TabPlaceCase{1.0f, 150, 672 - 201 + 25},
                                         // Five entries: 496 + 600 + 116 > 1040.
                                         TabPlaceCase{1.0f, 600, 1040 - 600 - 96},
                                         TabPlaceCase{1.0f, 400, 672 - 201 + 25},  // 496 + 400 + 116 <= 1040
                                         TabPlaceCase{2.0f, 0, 1344 - 402 + 50},
                                         TabPlaceCase{1.5f, 1000, 1560 - 1000 - 144}));

TEST_F(ProfilesTest, AnEmptyProfileNameShowsItsDefaultNameSoTheRowStaysReachable) {
  language_.Set(86, u"Profile 2");
  ShowList(2, {0, 1, 2, 3, 4});
  settings->Profile(1).SetSetting(kProfileName, u"");
  OpenPicker();
  ASSERT_TRUE(window.picker);
  EXPECT_EQ(window.picker->rows.names[1], u"Profile 2");
}

TEST_F(ProfilesTest, TheStandardDialogGetsTheTitleFilterAndFlagsOfTheRequest) {
  language_.Set(142, u"Import");
  language_.Set(143, u"Export");
  const FileDialogRequest open = ToFileDialogRequest(ImportFileRequest(), language_);
  EXPECT_FALSE(open.save);
  EXPECT_EQ(open.title, u"Import");
  EXPECT_EQ(open.filter, u"psf file(*.psf)|*.psf||");
  EXPECT_EQ(open.defaultExtension, u"psf");
  EXPECT_EQ(open.flags, kFileDialogReadOnly | kFileDialogPathMustExist | kFileDialogFileMustExist);
  const FileDialogRequest save = ToFileDialogRequest(ExportFileRequest(), language_);
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.title, u"Export");
  // An export never replaces a file without asking.
  EXPECT_EQ(save.flags, kFileDialogReadOnly | kFileDialogPathMustExist | kFileDialogOverwritePrompt);
  EXPECT_EQ(save.bufferChars, 260);
}

TEST_F(ProfilesTest, ImportReadsTheFileIntoTheProfileAndSavesEverything) {
  settings->Profile(2).SetSetting(kProfileName, u"Exported");
  settings->Profile(2).PollingRateValue = {1, 0, 0};
  window.chosenFile = dir_ / "two.psf";
  Act(4, 2);  // export profile 2
  ASSERT_EQ(window.fileRequests.size(), 1u);
  EXPECT_TRUE(window.fileRequests[0].save);
  EXPECT_EQ(window.fileRequests[0].titleString, 143);
  EXPECT_FALSE(window.fileRequests[0].fileMustExist);
  ASSERT_EQ(link->pending().settingsPending, 0) << "an export sends nothing";
  Act(2, 1);  // import into profile 0, the current one
  const ProfileFileRequest& open = window.fileRequests[1];
  EXPECT_EQ(open, ImportFileRequest());
  EXPECT_EQ(open.titleString, 142);
  EXPECT_TRUE(open.readOnly && open.pathMustExist && open.fileMustExist);
  EXPECT_EQ(std::u16string(open.filter), u"psf file(*.psf)|*.psf||");
  EXPECT_EQ(open.bufferChars, 260);
  EXPECT_EQ(model->page().rateIndex, 1);
  EXPECT_EQ(Reloaded()->Profile(0).Setting(kProfileName), u"Exported");
  // The current profile changed under the mouse: its settings go out.
  EXPECT_NE(link->pending().settingsPending, 0);
  EXPECT_NE(link->pending().buttonsPending, 0);
  // A file that does not load changes nothing.
  WriteBytes(dir_ / "bad.psf", {0xFF, 0xFE, 0x41, 0x00});
  window.chosenFile = dir_ / "bad.psf";
  Act(2, 1);
  EXPECT_EQ(Current().Setting(kProfileName), u"Exported");
}

TEST_F(ProfilesTest, EditRenamesDeleteRefusesTheCurrentProfileAndMovesOthersBehind) {
  window.dialogName = u"Renamed";
  Act(3, 3);
  EXPECT_EQ(Reloaded()->Profile(1).Setting(kProfileName), u"Renamed");
  Act(2, 4);  // profile 0, the current one
  EXPECT_EQ(window.attentions, std::vector<int>{152});
  EXPECT_EQ(settings->ProfileShowCount(), 3);
  Act(3, 4);  // profile 1
  EXPECT_EQ(settings->ProfileShowCount(), 2);
  EXPECT_EQ(settings->ProfileShowList(), (std::array<int, 5>{0, 2, 3, 4, 1}));
  EXPECT_EQ(Reloaded()->ProfileShowCount(), 2);
}

}  // namespace
}  // namespace zeltra::test
