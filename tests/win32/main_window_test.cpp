#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/main_window_ids.h"
#include "app/startup_shortcut.h"
#include "app/tray.h"
#include "settings/program_folders.h"
#include "app/win32/startup_shortcut_win32.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/virtual_mouse.h"
#include "settings/language.h"
#include "settings/settings_store.h"
#include "settings/text_file.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CAttentionDlg;
using win32::CTarvinApp;
using win32::CTarvinDlg;
using win32::TarvinOptions;

std::filesystem::path ProgramFolder() { return std::filesystem::path(ZELTRA_PROGRAM).parent_path(); }

// Runs `script` inside the dialog's modal loop; whatever the script does,
// the program is ended through the tray menu's exit afterwards.
std::function<void()> g_script;
HWND g_scriptWindow = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto script = std::move(g_script);
  g_script = nullptr;
  if (script) script();
  if (g_scriptWindow != nullptr && IsWindow(g_scriptWindow)) {
    PostMessageW(g_scriptWindow, WM_COMMAND, kIdTrayExit, 0);
  }
}

class TestMainDialog : public CTarvinDlg {
 public:
  using CTarvinDlg::CTarvinDlg;
  HWND hwnd() const { return hwnd_; }
  struct MenuRow {
    UINT id;
    std::wstring text;
    UINT state;  // MF_CHECKED, MF_GRAYED
  };
  std::vector<MenuRow> trayMenu;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CTarvinDlg::OnInitDialog();
    g_scriptWindow = hwnd_;
    return result;
  }
  win32::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_INITMENUPOPUP) {
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED);
        trayMenu.push_back({GetMenuItemID(menu, i), text, state});
      }
      EndMenu();
    }
    return CTarvinDlg::OnMessage(message, wParam, lParam);
  }
};

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CTarvinApp::RegisterMainWindowClass());
    OpenDialogs().Clear();
  }
  void TearDown() override { g_scriptWindow = nullptr; }

  // Writes the configuration the program will find (defaults otherwise).
  void SetNeedPassword(const char16_t* value) {
    std::filesystem::create_directories(data_.path() / "config");
    SettingsStore store(data_.path());
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, value);
    store.WriteConfiguration();
  }

  TarvinOptions Options(std::shared_ptr<VirtualMouse> mouse) {
    TarvinOptions options;
    options.programFolder = ProgramFolder();
    options.dataFolder = data_.path();
    options.clock = &clock_;
    options.backend = mouse;
    options.virtualMouse = mouse;
    return options;
  }

  INT_PTR Run(TestMainDialog& dialog, std::function<void()> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 1, &RunScript);
    return dialog.DoModal();
  }

  TempDir data_;
  VirtualClock clock_;
};

bool Shown(HWND hwnd) { return IsWindowVisible(hwnd) && !IsIconic(hwnd); }

TEST_F(MainWindow, StartsInStandbyAndComesUpWhenTheMouseReportsItselfOnline) {
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    EXPECT_EQ(dialog.startInStandby(), 1);
    EXPECT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
    EXPECT_EQ(dialog.link().standby().active, 1);
    EXPECT_EQ(dialog.link().standby().autoShown, 1);
    PumpFor(250);  // the standby guard leaves an active window alone
    EXPECT_TRUE(Shown(dialog.hwnd()));
  });
}

TEST_F(MainWindow, BringUpWithTheMouseOfflineOnlyAsksTheMouse) {
  auto mouse = MakeDemoVirtualMouse(clock_);
  mouse->SetOnline(false);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog.hwnd()); }));
    EXPECT_EQ(dialog.link().standby().active, 0);
    mouse->ClearLog();
    SendMessageW(dialog.hwnd(), kWmSecondInstance, 0, 0);
    PumpFor(300);
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
    int queries = 0;
    for (const auto& t : mouse->Log()) queries += t.kind == TransferKind::GetFeature;
    EXPECT_GE(queries, 1) << "BringUp must ask the mouse";

    mouse->SetOnline(true);
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayShow, 0);
    EXPECT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
    EXPECT_EQ(dialog.link().standby().active, 1);
  });
}

TEST_F(MainWindow, TitleButtonsOnlyHideAndBringUpShowsAgain) {
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
    for (int id : {kIdExitButton, kIdMinimiseButton}) {
      SendMessageW(dialog.hwnd(), static_cast<UINT>(id), static_cast<WPARAM>(id), kCodeClicked);
      EXPECT_FALSE(IsWindowVisible(dialog.hwnd())) << id;
      EXPECT_FALSE(dialog.EndRequested()) << id;
      // Enter and Escape would end the dialog: they are swallowed.
      PostMessageW(dialog.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageW(dialog.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
      PumpFor(50);
      EXPECT_FALSE(dialog.EndRequested()) << id;
      // A tray double click (or a second copy) shows it again at once.
      EXPECT_EQ(SendMessageW(dialog.hwnd(), kWmTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK), 0);
      EXPECT_TRUE(Shown(dialog.hwnd())) << id;
    }
  });
}

TEST_F(MainWindow, KeyboardReachesTheModalLoopWithoutEndingIt) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
    // Keys go through the modal loop's pre-translation only when the loop
    // itself takes them: post them and let a nested wait return to it.
    PostMessageW(dialog.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(dialog.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  // The script's posts were handled by the loop before the final exit command.
  EXPECT_FALSE(IsWindow(dialog.hwnd()));
}

TEST_F(MainWindow, WithoutStandbyTheWindowShowsEvenWithoutAMouse) {
  SetNeedPassword(u"0");
  auto mouse = std::make_shared<VirtualMouse>(clock_);  // nothing plugged
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    EXPECT_EQ(dialog.startInStandby(), 0);
    EXPECT_TRUE(Shown(dialog.hwnd()));
    EXPECT_EQ(dialog.link().standby().active, 1);
    EXPECT_EQ(dialog.link().AnyPresent(), 0);
    PumpFor(250);
    EXPECT_TRUE(Shown(dialog.hwnd()));
  });
}

struct NoticeCase {
  const char* name;
  bool receiverOnly;
  bool online;
  int expectedString;  // 0: no notice
};

class StartupCheck : public MainWindow, public testing::WithParamInterface<NoticeCase> {};

TEST_P(StartupCheck, ShowsATopmostNoticeWhenNoMouseAnswers) {
  SetNeedPassword(u"0");
  auto mouse = std::make_shared<VirtualMouse>(clock_);
  if (GetParam().receiverOnly) mouse->Plug(VirtualLink::Receiver);
  mouse->SetOnline(GetParam().online);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    // Timer 80 fires two seconds after the start.
    if (GetParam().expectedString == 0) {
      PumpFor(2600);
      EXPECT_EQ(dialog.startupNotice(), nullptr);
      return;
    }
    ASSERT_TRUE(PumpUntil([&] { return dialog.startupNotice() != nullptr; }, 8000));
    CAttentionDlg* notice = dialog.startupNotice();
    EXPECT_EQ(notice->message(), LanguageString(GetParam().expectedString));
    EXPECT_EQ(notice->title(), LanguageString(kStringAttentionTitle));
    ASSERT_NE(notice->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(notice->GetSafeHwnd()));
    EXPECT_TRUE(GetWindowLongW(notice->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  });
}

INSTANTIATE_TEST_SUITE_P(Links, StartupCheck,
                         testing::Values(NoticeCase{"NoDevice", false, true, kStringNoDevice},
                                         NoticeCase{"ReceiverMouseOffline", true, false, kStringMouseOffline},
                                         NoticeCase{"ReceiverMouseOnline", true, true, 0}),
                         [](const auto& p) { return std::string(p.param.name); });

std::wstring W(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// The rows the menu showed, as the portable menu lists them.
void ExpectMenu(const std::vector<TestMainDialog::MenuRow>& shown, const std::vector<TrayMenuItem>& items) {
  ASSERT_EQ(shown.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(shown[i].id, items[i].command) << i;
    if (items[i].command == 0) continue;
    EXPECT_EQ(shown[i].text, W(items[i].text)) << i;
    EXPECT_EQ((shown[i].state & MF_CHECKED) != 0, items[i].checked) << i;
    EXPECT_EQ((shown[i].state & MF_GRAYED) != 0, !items[i].enabled) << i;
  }
}

TEST_F(MainWindow, TrayMenuListsTheShownProfilesAndIgnoresOtherIcons) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    SettingsStore& settings = dialog.settings();
    settings.AddProfile(u"Second & last");
    EXPECT_EQ(SendMessageW(dialog.hwnd(), kWmTrayNotify, 127, WM_RBUTTONUP), 1);
    EXPECT_TRUE(dialog.trayMenu.empty());
    EXPECT_EQ(SendMessageW(dialog.hwnd(), kWmTrayNotify, kTrayIconId, WM_RBUTTONUP), 0);
    ExpectMenu(dialog.trayMenu, BuildTrayMenu(settings, false, true));
    const std::size_t count = static_cast<std::size_t>(settings.ProfileShowCount());
    ASSERT_EQ(dialog.trayMenu.size(), 6 + count);
    const std::size_t added = 2 + count - 1;  // the row of the profile just added
    EXPECT_EQ(dialog.trayMenu[0].text, W(LanguageString(1)));
    EXPECT_EQ(dialog.trayMenu[added].text, L"Second && last");
    EXPECT_EQ(dialog.trayMenu.back().text, W(LanguageString(2)));

    // A pick there switches as the picker does: the mouse gets the profile.
    const int picked = settings.ProfileShowList(static_cast<int>(count) - 1);
    settings.Profile(picked).PollingRateValue = {1, 0, 0};
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayProfileFirst + static_cast<unsigned>(picked), 0);
    EXPECT_EQ(settings.CurrentProfileIndex(), picked);
    EXPECT_TRUE(PumpUntil([&] { return mouse->State().rateCode == 4; }));
    dialog.trayMenu.clear();
    SendMessageW(dialog.hwnd(), kWmTrayNotify, kTrayIconId, WM_RBUTTONUP);
    ASSERT_EQ(dialog.trayMenu.size(), 6 + count);
    EXPECT_EQ(dialog.trayMenu[added].state & MF_CHECKED, 0u + MF_CHECKED);
    EXPECT_EQ(dialog.trayMenu[2].state & MF_CHECKED, 0u);
    // A hidden profile's command changes nothing.
    const int hidden = settings.FirstHiddenProfile();
    ASSERT_GE(hidden, 0);
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayProfileFirst + static_cast<unsigned>(hidden), 0);
    EXPECT_EQ(settings.CurrentProfileIndex(), picked);
  });
  EXPECT_EQ(dialog.trayIcon().uID, 0u + kTrayIconId);
}

// The tip follows every status reply; the low battery is told once in a
// balloon, and again only after the mouse was charging.
TEST_F(MainWindow, TheTrayTipFollowsTheBatteryAndTellsOnceWhenItIsLow) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    ASSERT_TRUE(dialog.trayIconAdded());
    const auto tip = [&] { return std::u16string(reinterpret_cast<const char16_t*>(dialog.trayIcon().szTip)); };
    EXPECT_EQ(tip(), u"Zeltra - 80 %");  // the start-up's status reply
    struct Step {
      int level, charge;
      std::u16string tip;
      int balloons;
    } steps[] = {
        {21, 0, u"Zeltra - 21 %", 0}, {20, 0, u"Zeltra - 20 %", 1}, {12, 0, u"Zeltra - 12 %", 1},
        {12, 1, u"Zeltra - 12 %, " + LanguageString(kStringCharging), 1},
        {60, 0, u"Zeltra - 60 %", 1},  {8, 0, u"Zeltra - 8 %", 2},
    };
    for (const Step& step : steps) {
      mouse->SetBattery(static_cast<std::uint8_t>(step.level), static_cast<std::uint8_t>(step.charge));
      dialog.link().QueryStatus();
      EXPECT_EQ(tip(), step.tip);
      EXPECT_EQ(dialog.tray().balloonsShown(), step.balloons) << step.level;
    }
    ASSERT_TRUE(dialog.tray().lastBalloon());
    EXPECT_EQ(dialog.tray().lastBalloon()->title, u"Zeltra - 8 %");
    EXPECT_EQ(dialog.tray().lastBalloon()->text, LanguageString(kStringBatteryLow));
    mouse->SetOnline(false);
    dialog.link().QueryStatus();
    EXPECT_EQ(tip(), u"Zeltra");
  });
}

// Started by the Startup folder's shortcut: the window stays hidden while the
// mouse comes online and is written to, says nothing about a missing mouse,
// and shows when the user asks for it.
TEST_F(MainWindow, StartedInTheTrayItStaysHiddenUntilBroughtUp) {
  for (const bool plugged : {true, false}) {
    SCOPED_TRACE(plugged ? "mouse online" : "no mouse");
    auto mouse = plugged ? MakeDemoVirtualMouse(clock_) : std::make_shared<VirtualMouse>(clock_);
    TarvinOptions options = Options(mouse);
    options.startInTray = true;
    TestMainDialog dialog(std::move(options));
    Run(dialog, [&] {
      EXPECT_TRUE(dialog.trayIconAdded());
      PumpFor(2600);  // past the status reply and the start-up check
      EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
      EXPECT_EQ(dialog.startupNotice(), nullptr);
      EXPECT_TRUE(dialog.startHidden());
      if (!plugged) return;
      EXPECT_EQ(dialog.link().standby().active, 1);
      EXPECT_EQ(SendMessageW(dialog.hwnd(), kWmTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK), 0);
      EXPECT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
      EXPECT_FALSE(dialog.startHidden());
    });
  }
}

// The menu's entry writes a shortcut to the program with the start switch
// into the user's Startup folder, checks it, and takes it away again.
TEST_F(MainWindow, StartWithWindowsPutsAShortcutIntoTheStartupFolderAndTakesItAway) {
  const std::filesystem::path startup = win32::StartupFolder();
  ASSERT_FALSE(startup.empty());
  const std::filesystem::path link = startup / L"Zeltra.lnk";
  std::filesystem::remove(link);
  struct Removed {
    std::filesystem::path file;
    ~Removed() {
      std::error_code ec;
      std::filesystem::remove(file, ec);
    }
  } cleanup{link};
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    const auto checked = [&] {
      dialog.trayMenu.clear();
      SendMessageW(dialog.hwnd(), kWmTrayNotify, kTrayIconId, WM_RBUTTONUP);
      for (const auto& row : dialog.trayMenu)
        if (row.id == kIdTrayStartWithWindows) return (row.state & MF_CHECKED) != 0;
      ADD_FAILURE() << "no Start with Windows entry";
      return false;
    };
    EXPECT_FALSE(checked());
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayStartWithWindows, 0);
    ASSERT_TRUE(std::filesystem::exists(link));
    const auto found = win32::ReadShortcut(link);
    ASSERT_TRUE(found);
    EXPECT_TRUE(SameWindowsPath(found->target.u16string(), ExecutablePath().u16string()))
        << found->target.string();
    EXPECT_EQ(found->arguments, u"--tray");
    EXPECT_TRUE(checked());
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayStartWithWindows, 0);
    EXPECT_FALSE(std::filesystem::exists(link));
    EXPECT_FALSE(checked());
    // One left by a copy of the program elsewhere is replaced by this one's.
    ASSERT_TRUE(win32::WriteShortcut(StartupShortcutFor(startup, L"C:\\elsewhere\\Zeltra.exe")));
    EXPECT_FALSE(checked());
    SendMessageW(dialog.hwnd(), WM_COMMAND, kIdTrayStartWithWindows, 0);
    EXPECT_TRUE(checked());
  });
}

TEST_F(MainWindow, TrayExitClosesEveryOpenSmallDialogBeforeEnding) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  struct Watched : CAttentionDlg {
    Watched(const CTarvinDlg& main, std::vector<std::string>& log, const char* name)
        : CAttentionDlg(u"", u"", nullptr), main_(main), log_(log), name_(name) {}
    void OnCancel() override {
      log_.push_back(std::string(name_) + (main_.EndRequested() ? " after" : " before"));
      CAttentionDlg::OnCancel();
    }
    const CTarvinDlg& main_;
    std::vector<std::string>& log_;
    const char* name_;
  };
  std::vector<std::string> log;
  INT_PTR nestedResult = 0;
  const INT_PTR result = Run(dialog, [&] {
    Watched modeless(dialog, log, "modeless");
    ASSERT_TRUE(modeless.Create());
    struct Nested : Watched {
      using Watched::Watched;
      BOOL OnInitDialog() override {
        const BOOL r = Watched::OnInitDialog();
        PostMessageW(CDialog::MainWindow(), WM_COMMAND, kIdTrayExit, 0);
        return r;
      }
    } nested(dialog, log, "modal");
    nestedResult = nested.DoModal();
    EXPECT_EQ(modeless.GetSafeHwnd(), nullptr);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(nestedResult, IDCANCEL);
  EXPECT_EQ(log, (std::vector<std::string>{"modeless before", "modal before"}));
  EXPECT_EQ(OpenDialogs().Count(), 0);
}

TEST_F(MainWindow, UnpluggingTheLastLinkEndsTheProgram) {
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  bool stillRunning = false;
  const INT_PTR result = Run(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return Shown(dialog.hwnd()); }));
    CAttentionDlg open(u"", u"open", nullptr);
    ASSERT_TRUE(open.Create());
    mouse->Unplug(VirtualLink::Cable);
    // The loop of this script is not the program's: wait for the quit the
    // removal posts, then hand it back to the program's loop.
    EXPECT_TRUE(PumpUntilQuit());
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
    EXPECT_EQ(open.GetSafeHwnd(), nullptr) << "open dialogs are closed";
    EXPECT_EQ(dialog.link().standby().active, 0);
    stillRunning = !dialog.EndRequested();
    g_scriptWindow = nullptr;  // no exit command: the quit ends it
    PostQuitMessage(0);
  });
  EXPECT_TRUE(stillRunning);
  EXPECT_EQ(result, IDCANCEL);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindow, APendingSaveIsWrittenWhenTheWindowGoes) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  {
    TestMainDialog dialog(Options(mouse));
    Run(dialog, [&] {
      dialog.settings().CurrentProfile().SetSetting(kProfileName, u"Not saved");
      EXPECT_EQ(dialog.pendingSave(), 0);
    });
  }
  {
    SettingsStore store(data_.path());
    store.LoadConfiguration();
    EXPECT_NE(store.CurrentProfile().Setting(kProfileName), u"Not saved");
  }
  {
    TestMainDialog dialog(Options(mouse));
    Run(dialog, [&] {
      dialog.settings().CurrentProfile().SetSetting(kProfileName, u"Saved on the way out");
      dialog.ArmDelayedSave();
      EXPECT_EQ(dialog.pendingSave(), 1);
    });
    EXPECT_EQ(dialog.pendingSave(), 0);
  }
  SettingsStore store(data_.path());
  store.LoadConfiguration();
  EXPECT_EQ(store.CurrentProfile().Setting(kProfileName), u"Saved on the way out");
}

TEST_F(MainWindow, TheDelayedSaveAndTheEndOfTheSessionWriteTheFiles) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  auto stored = [&] {
    SettingsStore store(data_.path());
    store.LoadConfiguration();
    return store.CurrentProfile().Setting(kProfileName);
  };
  Run(dialog, [&] {
    dialog.settings().CurrentProfile().SetSetting(kProfileName, u"After ten seconds");
    dialog.ArmDelayedSave();
    SendMessageW(dialog.hwnd(), WM_TIMER, kDelayedSaveTimer, 0);
    EXPECT_EQ(dialog.pendingSave(), 0);
    EXPECT_EQ(stored(), u"After ten seconds");

    // Windows ends the process right after WM_ENDSESSION.
    dialog.settings().CurrentProfile().SetSetting(kProfileName, u"Before shutdown");
    dialog.ArmDelayedSave();
    SendMessageW(dialog.hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(dialog.pendingSave(), 0);
    EXPECT_EQ(stored(), u"Before shutdown");
  });
}

TEST_F(MainWindow, AFailedDelayedSaveStaysPendingAndIsDoneAtTheExit) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  {
    TestMainDialog dialog(Options(mouse));
    Run(dialog, [&] {
      dialog.settings().SetCurrentProfileIndex(3);  // kept in the configuration
      dialog.ArmDelayedSave();
      InjectTextFileWriteFault(0);  // the configuration cannot be written this time
      SendMessageW(dialog.hwnd(), WM_TIMER, kDelayedSaveTimer, 0);
      InjectTextFileWriteFault(-1);
      EXPECT_EQ(dialog.pendingSave(), 1);
    });
    EXPECT_EQ(dialog.pendingSave(), 0);
  }
  SettingsStore store(data_.path());
  store.LoadConfiguration();
  EXPECT_EQ(store.CurrentProfileIndex(), 3);
}

TEST_F(MainWindow, TheMousesOwnDpiButtonReachesTheWindowThroughItsMessage) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    ASSERT_TRUE(mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::milliseconds(3000)));
    const int before = dialog.settings().CurrentProfile().CurrentDPILevelValue;
    mouse->PressDpiButton();
    ASSERT_TRUE(PumpUntil([&] { return dialog.settings().CurrentProfile().CurrentDPILevelValue != before; }));
    EXPECT_EQ(dialog.mouseStage(), dialog.settings().CurrentProfile().CurrentDPILevelValue);
    // Stray notifications are ignored.
    SendMessageW(dialog.hwnd(), kWmMouseStateChanged, 0, 0);
  });
}

// The on-screen displays of this thread: visible layered tool windows.
int DisplayWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM counter) -> BOOL {
        const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        if (IsWindowVisible(hwnd) && (ex & WS_EX_LAYERED) && (ex & WS_EX_TOOLWINDOW)) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(MainWindow, TwoDpiButtonPressesKeepOneDisplayThatThenGoes) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    ASSERT_TRUE(mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::milliseconds(3000)));
    mouse->PressDpiButton();
    ASSERT_TRUE(PumpUntil([] { return DisplayWindows() == 1; }));
    PumpFor(700);
    const int before = dialog.settings().CurrentProfile().CurrentDPILevelValue;
    mouse->PressDpiButton();
    ASSERT_TRUE(PumpUntil([&] { return dialog.settings().CurrentProfile().CurrentDPILevelValue != before; }));
    const DWORD second = GetTickCount();
    EXPECT_EQ(DisplayWindows(), 1) << "the shown display takes the new stage";
    ASSERT_TRUE(PumpUntil([] { return DisplayWindows() == 0; }, 4000));
    // Six ticks of 300 ms after the second press; a loose lower bound for a busy machine.
    EXPECT_GE(GetTickCount() - second, 1200u);
  });
}

TEST_F(MainWindow, AnApplyWritesToTheMouseAndArmsTheDelayedSave) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    PumpFor(100);  // the start-up apply (nothing differs)
    dialog.settings().CurrentProfile().PollingRateValue[0] = 2;  // 500 Hz
    dialog.link().RequestApply(kPendingSettings);
    EXPECT_TRUE(PumpUntil([&] { return mouse->State().rateCode == 2; }));
    EXPECT_EQ(dialog.pendingSave(), 1);
    EXPECT_TRUE(mouse->Violations().empty());
  });
}

TEST_F(MainWindow, BatteryFollowsTheMouseEverySecond) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  mouse->SetBattery(37, 0);
  TestMainDialog dialog(Options(mouse));
  Run(dialog, [&] {
    auto* gauge = dynamic_cast<win32::CBattery*>(dialog.FindControl(kIdBatteryGauge));
    auto* text = dynamic_cast<win32::CStaticText*>(dialog.FindControl(kIdBatteryText));
    ASSERT_NE(gauge, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->caption(), u"100%");
    ASSERT_TRUE(PumpUntil([&] { return text->caption() == u"37%"; }, 2500));
    EXPECT_EQ(gauge->levelPercent(), 37);
    EXPECT_EQ(gauge->mode(), win32::CBattery::kShowLevel);
    EXPECT_TRUE(text->IsShown());
    const int step = gauge->chargingLevel();

    mouse->SetBattery(40, 1);  // charging: the text goes away
    dialog.link().QueryStatus();
    ASSERT_TRUE(PumpUntil([&] { return gauge->mode() == win32::CBattery::kCharging; }, 2500));
    EXPECT_FALSE(text->IsShown());
    EXPECT_NE(gauge->chargingLevel(), step);

    mouse->SetBattery(63, 2);  // full: 100 %, text back
    dialog.link().QueryStatus();
    ASSERT_TRUE(PumpUntil([&] { return gauge->mode() == win32::CBattery::kFull; }, 2500));
    EXPECT_EQ(text->caption(), u"100%");
    EXPECT_TRUE(text->IsShown());
  });
}

struct PlacementCase {
  int width;
  int height;
  float scale;
  RECT expected;
};

class MainWindowPlacement : public MainWindow, public testing::WithParamInterface<PlacementCase> {};

TEST_P(MainWindowPlacement, CentresTheScaledWindow) {
  SetNeedPassword(u"0");
  auto mouse = MakeDemoVirtualMouse(clock_);
  TarvinOptions options = Options(mouse);
  options.fullScreen = SIZE{GetParam().width, GetParam().height};
  TestMainDialog dialog(std::move(options));
  Run(dialog, [&] {
    EXPECT_EQ(Ui().scale, GetParam().scale);
    RECT window{};
    GetWindowRect(dialog.hwnd(), &window);
    EXPECT_EQ(window.left, GetParam().expected.left);
    EXPECT_EQ(window.top, GetParam().expected.top);
    EXPECT_EQ(window.right - window.left, GetParam().expected.right);
    EXPECT_EQ(window.bottom - window.top, GetParam().expected.bottom);
    // Controls sit at their design places times the scale.
    const RECT exit = dialog.FindControl(kIdExitButton)->GetRect();
    EXPECT_EQ(exit.left, static_cast<int>(1096 * GetParam().scale));
    EXPECT_EQ(exit.right - exit.left, static_cast<int>(1111 * GetParam().scale) - static_cast<int>(1096 * GetParam().scale));
  });
}

INSTANTIATE_TEST_SUITE_P(Screens, MainWindowPlacement,
                         testing::Values(PlacementCase{1920, 1080, 1.0f, {396, 170, 1127, 740}},
                                         // (2560 - 1690.5) / 2 = 434.75
                                         PlacementCase{2560, 1440, 1.5f, {434, 165, 1690, 1110}}));

}  // namespace
}  // namespace zeltra::test
