// The main window as the hub of its pages: control notifications, popup
// results and timers reach the model and the units, and what they change
// reaches the virtual mouse and the files.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <set>

#include "app/main_layout.h"
#include "app/main_window_ids.h"
#include "app/rates_power.h"
#include "app/win32/foreground_watch_win32.h"
#include "app/win32/program_links_dlg_win32.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/virtual_mouse.h"
#include "settings/settings_store.h"
#include "settings/text_format.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/control_selection.h"
#include "ui/file_dialog.h"
#include "ui/open_dialog_table.h"
#include "macro/popup_menus.h"
#include "app/win32/profile_name_dlgs_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CTarvinDlg;

std::function<void()> g_script;
HWND g_window = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto script = std::move(g_script);
  g_script = nullptr;
  if (script) script();
  if (g_window != nullptr && IsWindow(g_window)) PostMessageW(g_window, WM_COMMAND, kIdTrayExit, 0);
}

// Answers the small dialogs as they open: each step runs once a dialog
// stands in the open-dialog table.
std::deque<std::function<void(HWND)>> g_answers;
void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_answers.empty() || OpenDialogs().Count() == 0) return;
  auto step = std::move(g_answers.front());
  g_answers.pop_front();
  step(reinterpret_cast<HWND>(OpenDialogs().At(OpenDialogs().Count() - 1)));
}

class HubDialog : public CTarvinDlg {
 public:
  using CTarvinDlg::CTarvinDlg;
  HWND hwnd() const { return hwnd_; }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CTarvinDlg::OnInitDialog();
    g_window = hwnd_;
    return result;
  }
};

// A unit that records what reaches it.
struct ProbeUnit : win32::MainWindowUnit {
  win32::MainWindowServices* window = nullptr;
  bool controlsAtAttach = false;
  std::vector<UINT> notified;
  std::vector<UINT_PTR> timers;
  int closed = 0;
  void Attach(win32::MainWindowServices& w) override {
    window = &w;
    controlsAtAttach = w.Control(2062) != nullptr && w.Control(2013) != nullptr;
  }
  bool OnControlNotify(UINT id, WPARAM, LPARAM) override {
    if (id != 2062) return false;
    notified.push_back(id);
    return true;
  }
  bool OnTimer(UINT_PTR id) override {
    timers.push_back(id);
    return true;
  }
  void CloseDialogs() override { ++closed; }
};

struct FakeLauncher : CommandLauncher {
  std::vector<std::pair<std::u16string, int>> runs;
  void Run(std::u16string_view line, int show) override { runs.emplace_back(line, show); }
};

class Hub : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(win32::CTarvinApp::RegisterMainWindowClass());
    OpenDialogs().Clear();
    std::filesystem::create_directories(data_.path() / "config");
    SettingsStore store(data_.path());
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, u"0");
    store.WriteConfiguration();
    mouse_ = MakeDemoVirtualMouse(clock_);
  }
  void TearDown() override {
    g_window = nullptr;
    g_answers.clear();
    SetFileDialogRunner(nullptr);
  }
  win32::TarvinOptions Options() {
    win32::TarvinOptions options;
    options.programFolder = std::filesystem::path(ZELTRA_PROGRAM).parent_path();
    options.dataFolder = data_.path();
    options.clock = &clock_;
    options.backend = mouse_;
    options.virtualMouse = mouse_;
    return options;
  }
  void Run(HubDialog& dialog, std::function<void()> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 1, &RunScript);
    const UINT_PTR answers = SetTimer(nullptr, 0, 30, &Answer);
    dialog.DoModal();
    KillTimer(nullptr, answers);
  }
  // The command bytes of every feature report written since the last clear.
  std::vector<std::uint8_t> Commands() const {
    std::vector<std::uint8_t> commands;
    for (const Transfer& t : mouse_->Writes())
      if (t.bytes.size() > 2) commands.push_back(t.bytes[2]);
    return commands;
  }
  std::unique_ptr<SettingsStore> Stored() {
    auto store = std::make_unique<SettingsStore>(data_.path());
    store->LoadConfiguration();
    return store;
  }

  TempDir data_;
  VirtualClock clock_;
  std::shared_ptr<VirtualMouse> mouse_;
};

void Click(HWND window, int id) { SendMessageW(window, static_cast<UINT>(id), 0, kCodeClicked); }

TEST_F(Hub, AReportRateClickReachesTheMouseAndTheFilesAfterTheDelayedSave) {
  HubDialog dialog(Options());
  Run(dialog, [&] {
    PumpFor(100);
    mouse_->ClearLog();
    Click(dialog.hwnd(), 3032);  // 500 Hz
    ASSERT_TRUE(PumpUntil([&] { return mouse_->State().rateCode == 2; }));
    const auto writes = mouse_->Writes();
    ASSERT_EQ(writes.size(), 1u);
    const auto& report = writes[0].bytes;
    ASSERT_EQ(report.size(), 33u);
    // 0C 01 07 00, the sequence byte, 01 01 02, zeros.
    EXPECT_EQ((std::vector<std::uint8_t>{report[0], report[1], report[2], report[3], report[5], report[6], report[7]}),
              (std::vector<std::uint8_t>{0x0C, 0x01, 0x07, 0x00, 0x01, 0x01, 0x02}));
    EXPECT_TRUE(std::all_of(report.begin() + 8, report.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_GE(dialog.progressDialogsShown(), 1);
    // The page shows the new rate: its radio and only its text.
    EXPECT_TRUE(dialog.controls().As<win32::CRadioButton>(3032)->model().checked());
    for (int text = 3142; text <= 3145; ++text) {
      EXPECT_EQ(dialog.controls().Find(text)->IsShown(), text == 3144) << text;
    }
    EXPECT_EQ(dialog.pendingSave(), 1);
    SendMessageW(dialog.hwnd(), WM_TIMER, kDelayedSaveTimer, 0);
    EXPECT_EQ(Stored()->CurrentProfile().PollingRateValue[0], 2);
  });
}

TEST_F(Hub, AProfileSwitchSendsOnlyWhatDiffers) {
  {
    const auto store = Stored();
    store->Globals().SetValue(kProfileShowCount, u"2");
    store->Profile(1).PollingRateValue[0] = 0;  // 125 Hz; everything else as profile 0
    store->SaveAll();
  }
  HubDialog dialog(Options());
  Run(dialog, [&] {
    PumpFor(100);
    mouse_->ClearLog();
    SendMessageW(dialog.hwnd(), kPickerResultMessage, kProfileRowChosen, 3);  // the second row
    ASSERT_TRUE(PumpUntil([&] { return mouse_->State().rateCode == 8; }));
    EXPECT_EQ(dialog.settings().CurrentProfileIndex(), 1);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x07}));
    EXPECT_TRUE(dialog.controls().As<win32::CRadioButton>(3030)->model().checked());
  });
}

TEST_F(Hub, ThePickerImportsExportsEditsAddsAndDeletesProfiles) {
  const std::filesystem::path file = data_.path() / "exported.psf";
  SetFileDialogRunner([&](const FileDialogRequest&) { return std::optional(file); });
  HubDialog dialog(Options());
  Run(dialog, [&] {
    SettingsStore& settings = dialog.settings();
    auto tab = [&](int profile, std::uint8_t action) {
      // The right click opens the context popup beside the picker's popup.
      SendMessageW(dialog.hwnd(), kPickerResultMessage, kProfileRowRightClicked, 2);
      EXPECT_NE(dialog.Popup(PopupSlotOf(PopupClass::kProfileRKey)), nullptr);
      PopupResult chosen{u"", {action, 0, 0}};
      SendMessageW(dialog.hwnd(), kProfileTabResultMessage, kIdProfileTabFirst + profile,
                   reinterpret_cast<LPARAM>(&chosen));
      PumpFor(300);  // timer 60 runs the action
    };
    const int current = settings.CurrentProfileIndex();
    settings.Profile(current).SetSetting(kProfileName, u"Exported");
    tab(current, 1);  // export
    EXPECT_TRUE(std::filesystem::exists(file));
    settings.Profile(current).SetSetting(kProfileName, u"Changed");
    tab(current, 0);  // import
    EXPECT_EQ(settings.Profile(current).Setting(kProfileName), u"Exported");

    g_answers.push_back([](HWND h) {
      auto* edit = dynamic_cast<win32::CProfileNameDlg*>(win32::CWnd::FromHandle(h));
      ASSERT_NE(edit, nullptr);
      SetWindowTextW(edit->edit(), L"Renamed");
      PostMessageW(edit->edit(), WM_KEYDOWN, VK_RETURN, 0);
    });
    tab(current, 2);  // edit
    EXPECT_EQ(settings.Profile(current).Setting(kProfileName), u"Renamed");

    const int shown = settings.ProfileShowCount();
    g_answers.push_back([](HWND h) {
      auto* add = dynamic_cast<win32::CProfileNameDlg*>(win32::CWnd::FromHandle(h));
      ASSERT_NE(add, nullptr);
      SetWindowTextW(add->edit(), L"Added");
      PostMessageW(add->edit(), WM_KEYDOWN, VK_RETURN, 0);
    });
    SendMessageW(dialog.hwnd(), kPickerResultMessage, kProfileRowChosen, 7);  // the last row: add
    ASSERT_TRUE(PumpUntil([&] { return settings.ProfileShowCount() == shown + 1; }));
    const int added = settings.ProfileShowList(shown);
    EXPECT_EQ(settings.Profile(added).Setting(kProfileName), u"Added");

    tab(added, 3);  // delete
    EXPECT_EQ(settings.ProfileShowCount(), shown);
    EXPECT_EQ(Stored()->ProfileShowCount(), shown);
    EXPECT_EQ(dialog.Popup(PopupSlotOf(PopupClass::kProfileRKey)), nullptr);
  });
}

TEST_F(Hub, AConfirmedFactoryResetSendsItsCommandAndResetsTheProfile) {
  HubDialog dialog(Options());
  Run(dialog, [&] {
    PumpFor(100);
    Click(dialog.hwnd(), 3030);  // 125 Hz, so that the reset has something to undo
    ASSERT_TRUE(PumpUntil([&] { return mouse_->State().rateCode == 8; }));
    mouse_->ClearLog();
    const int progress = dialog.progressDialogsShown();
    g_answers.push_back([](HWND h) { SendMessageW(h, kIdOk, 0, kCodeClicked); });
    Click(dialog.hwnd(), 2045);
    const auto commands = Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), 0x0F), commands.end());
    EXPECT_EQ(dialog.settings().CurrentProfile().PollingRateValue[0], 3);
    EXPECT_TRUE(dialog.controls().As<win32::CRadioButton>(3033)->model().checked());
    EXPECT_GT(dialog.progressDialogsShown(), progress);
  });
}

TEST_F(Hub, UnitsGetTheirNotificationsAndTimersAndCloseTheirDialogsOnExit) {
  HubDialog dialog(Options());
  auto* probe = static_cast<ProbeUnit*>(dialog.AddUnit(std::make_unique<ProbeUnit>()));
  Run(dialog, [&] {
    EXPECT_TRUE(probe->controlsAtAttach);
    Click(dialog.hwnd(), 2062);
    EXPECT_EQ(probe->notified, (std::vector<UINT>{2062}));
    SendMessageW(dialog.hwnd(), WM_TIMER, 4242, 0);
    EXPECT_EQ(probe->timers, (std::vector<UINT_PTR>{4242}));
    // Timers the window and its model know never reach a unit.
    SendMessageW(dialog.hwnd(), WM_TIMER, kDelayedSaveTimer, 0);
    EXPECT_EQ(probe->timers.size(), 1u);
    // The highlight is painted over the mouse picture, and only there.
    RECT client{};
    GetClientRect(dialog.hwnd(), &client);
    auto paint = [&] {
      auto canvas = std::make_unique<Canvas>(client.right, client.bottom, RGB(0, 0, 0));
      dialog.PaintClient(canvas->dc());
      return canvas;
    };
    const auto before = paint();
    probe->window->SetPictureHighlight(3);
    EXPECT_EQ(dialog.PictureHighlight(), 3);
    const auto after = paint();
    const UiRect picture = HighlightRect(dialog.Scale());
    int changedInside = 0;
    int changedOutside = 0;
    for (int y = 0; y < client.bottom; y += 2) {
      for (int x = 0; x < client.right; x += 2) {
        if (before->Pixel(x, y) == after->Pixel(x, y)) continue;
        ++(picture.Contains(x, y) ? changedInside : changedOutside);
      }
    }
    EXPECT_GT(changedInside, 0);
    EXPECT_EQ(changedOutside, 0);
  });
  EXPECT_EQ(probe->closed, 1);
}

TEST_F(Hub, OpeningASectionCollapsesTheOthersAndMovesTheirControls) {
  FakeLauncher launcher;
  win32::TarvinOptions options = Options();
  options.launcher = &launcher;
  HubDialog dialog(std::move(options));
  Run(dialog, [&] {
    auto* header = dialog.controls().As<win32::CCheckButton>(3004);
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(dialog.controls().Find(3200)->IsVisible());
    EXPECT_FALSE(dialog.controls().Find(3030)->IsVisible());
    header->SetChecked(true);  // as its own click leaves it
    Click(dialog.hwnd(), 3004);
    EXPECT_FALSE(dialog.controls().Find(3200)->IsVisible()) << "the lighting section closed";
    EXPECT_TRUE(dialog.controls().Find(3030)->IsVisible());
    EXPECT_FALSE(dialog.controls().As<win32::CCheckButton>(3002)->checked());
    const auto where = dialog.Model().WhereIs(3030);
    ASSERT_TRUE(where);
    EXPECT_EQ(dialog.controls().Find(3030)->GetRect().top, where->rect.top);
    // The debounce header never shows, nor the pointer section's carriers.
    EXPECT_FALSE(dialog.controls().Find(3012)->IsShown());
    EXPECT_FALSE(dialog.controls().Find(2043)->IsShown());
    // The pointer section's one button runs the system's mouse settings.
    dialog.controls().As<win32::CCheckButton>(3003)->SetChecked(true);
    Click(dialog.hwnd(), 3003);
    EXPECT_TRUE(dialog.controls().Find(3330)->IsActive());
    Click(dialog.hwnd(), 3330);
    ASSERT_EQ(launcher.runs.size(), 1u);
    EXPECT_EQ(launcher.runs[0].first, kMouseControlPanelCommand);
    EXPECT_EQ(launcher.runs[0].second, kShowRestore);
  });
}

TEST_F(Hub, TheBackgroundIsDrawnAheadOnceAndAgainOnlyForAnotherSectionState) {
  HubDialog dialog(Options());
  Run(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return dialog.layerBuilds() > 0; }));
    EXPECT_TRUE(dialog.firstLayerDrawnAhead());
    for (int i = 0; i < 3; ++i) RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(dialog.layerBuilds(), 1);
    dialog.controls().As<win32::CCheckButton>(3004)->SetChecked(true);
    Click(dialog.hwnd(), 3004);  // another section open: other panels
    UpdateWindow(dialog.hwnd());
    EXPECT_EQ(dialog.layerBuilds(), 2);
    RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(dialog.layerBuilds(), 2);
  });
}

// ---- Per-application profiles ------------------------------------------------------

// Another program with a window of its own: Wine's notepad.exe.
class OtherProgram {
 public:
  OtherProgram() {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = L"notepad.exe";
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
  }
  ~OtherProgram() {
    if (process_) TerminateProcess(process_.get(), 0);
    if (process_) WaitForSingleObject(process_.get(), 5000);
  }
  // Its main window, once it has one.
  HWND Window() const {
    HWND found = nullptr;
    for (HWND w = FindWindowW(L"Notepad", nullptr); w != nullptr; w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == id_) found = w;
    }
    return found;
  }

 private:
  win32::UniqueKernelHandle process_;
  win32::UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

// What the system raises when a window comes to the foreground. Wine 8.0
// raises no EVENT_SYSTEM_FOREGROUND itself (it does pass on the win events
// programs raise, across processes, to out-of-context hooks), so the test
// raises it as the system would.
void BroughtToFront(HWND window) { NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF); }

TEST_F(Hub, ALinkedProgramInFrontSwitchesTheProfileThroughTheSystemsHookAndLeavingSwitchesBack) {
  {
    const auto store = Stored();
    store->Profile(1).SetSetting(kGameFile2, u"NOTEPAD.EXE");  // a file name alone: any folder
    store->Profile(1).PollingRateValue[0] = 0;                  // 125 Hz
    store->SaveAll();
  }
  OtherProgram notepad;
  ASSERT_TRUE(PumpUntil([&] { return notepad.Window() != nullptr; }, 20000)) << "notepad.exe did not start";
  HubDialog dialog(Options());
  auto* watch = static_cast<win32::ForegroundWatchUnit*>(dialog.AddUnit(std::make_unique<win32::ForegroundWatchUnit>()));
  Run(dialog, [&] {
    ASSERT_TRUE(watch->hooked());
    const ForegroundProgram other = win32::ForegroundWatchUnit::ProgramOf(notepad.Window());
    EXPECT_FALSE(other.ownProcess);
    EXPECT_TRUE(ProgramMatchesLink(other.imagePath, u"notepad.exe")) << ToUtf8(other.imagePath);
    EXPECT_EQ(other.imagePath.find(u":\\"), 1u) << "a full path";
    EXPECT_TRUE(win32::ForegroundWatchUnit::ProgramOf(dialog.hwnd()).ownProcess);
    PumpFor(100);
    mouse_->ClearLog();
    const int progress = dialog.progressDialogsShown();

    const DWORD start = GetTickCount();
    BroughtToFront(notepad.Window());
    ASSERT_TRUE(PumpUntil([&] { return mouse_->State().rateCode == 8; }, 5000));
    EXPECT_GE(GetTickCount() - start, 450u) << "the settle time";
    EXPECT_EQ(dialog.settings().CurrentProfileIndex(), 1);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x07}));
    EXPECT_EQ(dialog.progressDialogsShown(), progress) << "nothing comes up over the program in front";
    EXPECT_TRUE(dialog.controls().As<win32::CRadioButton>(3030)->model().checked());

    // The program's own window, and Alt+Tab passing over the desktop.
    mouse_->ClearLog();
    BroughtToFront(dialog.hwnd());
    BroughtToFront(GetDesktopWindow());
    PumpFor(100);
    BroughtToFront(notepad.Window());
    PumpFor(900);
    EXPECT_EQ(dialog.settings().CurrentProfileIndex(), 1);
    EXPECT_TRUE(mouse_->Writes().empty());

    // The desktop stays in front: the profile before comes back.
    BroughtToFront(GetDesktopWindow());
    ASSERT_TRUE(PumpUntil([&] { return mouse_->State().rateCode == 1; }, 5000));
    EXPECT_EQ(dialog.settings().CurrentProfileIndex(), 0);
    SendMessageW(dialog.hwnd(), WM_TIMER, kDelayedSaveTimer, 0);
    EXPECT_EQ(Stored()->CurrentProfileIndex(), 0);
  });
  EXPECT_FALSE(watch->hooked()) << "unhooked with the window";
}

TEST_F(Hub, TheProfileTabsLinkedProgramsDialogBrowsesRemovesAndKeepsTheLinks) {
  {
    const auto store = Stored();
    store->Profile(2).SetSetting(kGameFile0, u"C:\\Games\\Alpha\\alpha.exe");
    store->SaveAll();
  }
  std::vector<FileDialogRequest> requests;
  SetFileDialogRunner([&](const FileDialogRequest& request) {
    requests.push_back(request);
    return std::optional(PathFromStored(u"C:\\Games\\Beta\\beta.exe"));
  });
  HubDialog dialog(Options());
  Run(dialog, [&] {
    std::vector<std::u16string> seen;
    g_answers.push_back([&](HWND h) {
      auto* links = dynamic_cast<win32::CProgramLinksDlg*>(win32::CWnd::FromHandle(h));
      ASSERT_NE(links, nullptr);
      seen.push_back(links->dialog().RowText(0));
      // The tips are the system's tooltips: the dialog starts the common controls.
      ASSERT_NE(links->tips(), nullptr);
      seen.push_back(links->TipOf(0));
      Click(h, kProgramBrowseFirstId + 2);
      seen.push_back(links->dialog().RowText(2));
      Click(h, kProgramRemoveFirstId + 0);
      seen.push_back(links->dialog().RowText(0));
      PostMessageW(h, WM_KEYDOWN, VK_RETURN, 0);  // as OK
    });
    SendMessageW(dialog.hwnd(), kPickerResultMessage, kProfileRowRightClicked, 4);  // profile 2
    PopupResult chosen{u"", {4, 0, 0}};  // the fifth entry
    SendMessageW(dialog.hwnd(), kProfileTabResultMessage, kIdProfileTabFirst + 2, reinterpret_cast<LPARAM>(&chosen));
    ASSERT_TRUE(PumpUntil([&] { return g_answers.empty() && OpenDialogs().Count() == 0; }, 5000));
    PumpFor(100);
    const std::u16string beta = PathToStored(PathFromStored(u"C:\\Games\\Beta\\beta.exe"));
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"alpha.exe", u"C:\\Games\\Alpha\\alpha.exe", u"beta.exe",
                                                 u"(no program)"}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].filter, u"Programs (*.exe)|*.exe||");
    EXPECT_EQ(Stored()->Profile(2).Setting(kGameFile0), u"");
    EXPECT_EQ(Stored()->Profile(2).Setting(kGameFile2), beta);
  });
}

}  // namespace
}  // namespace zeltra::test
