// Button 2062 of the main window: the manager runs over the window's
// library, and what was edited in it reaches the virtual mouse as soon as
// it closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/main_window_ids.h"
#include "app/win32/macro_manager_unit_win32.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/virtual_mouse.h"
#include "macro/macro_library_file.h"
#include "macro/win32/macro_manager_dlg_win32.h"
#include "settings/damaged_files.h"
#include "settings/settings_store.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "macro/macro_manager_layout.h"
#include "ui/win32/popup_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

std::function<void()> g_step;
HWND g_window = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto step = std::move(g_step);
  g_step = nullptr;
  if (step) step();
}

class UnitWindow : public win32::CTarvinDlg {
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

// Runs `step` from inside whatever modal loop runs `ms` from now.
void Later(int ms, std::function<void()> step) {
  g_step = std::move(step);
  SetTimer(nullptr, 0, static_cast<UINT>(ms), &RunStep);
}

// The main window on the virtual mouse with the manager's unit, over a data
// folder whose configuration does not start in standby; it loads its files
// when DoModal starts.
class MacroManagerUnit : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(win32::CTarvinApp::RegisterMainWindowClass());
    OpenDialogs().Clear();
    std::filesystem::create_directories(data.path() / "config");
    SettingsStore store(data.path());
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, u"0");
    store.WriteConfiguration();
    options.programFolder = std::filesystem::path(ZELTRA_PROGRAM).parent_path();
    options.dataFolder = data.path();
    options.clock = &clock;
    options.backend = mouse;
    options.virtualMouse = mouse;
    window_ = std::make_unique<UnitWindow>(options);
    window_->AddUnit(std::make_unique<win32::MacroManagerUnit>());
  }

  TempDir data;
  VirtualClock clock;
  std::shared_ptr<VirtualMouse> mouse = MakeDemoVirtualMouse(clock);
  win32::TarvinOptions options;
  std::unique_ptr<UnitWindow> window_;
};

TEST_F(MacroManagerUnit, ClosingTheManagerSendsTheEditedMacroOfACurrentButtonAtOnce) {
  UnitWindow& window = *window_;

  std::vector<std::uint8_t> before, afterClose, afterNextApply;
  bool managerRan = false;
  Later(1, [&] {
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(g_window) != 0; }));
    // A two-action macro on the second button of the current profile, on the mouse.
    MacroLibrary& library = window.macroLibrary();
    MacroLocation at = MacroLocation::None();
    ASSERT_EQ(library.AddMacro(u"Tap", at), AddItemResult::kAdded);
    Macro& tap = *library.MacroAt(at);
    tap.InsertAction(0, MacroAction::Event('T', false));
    tap.InsertAction(1, MacroAction::Event('T', true));
    tap.MacroCommandActionNum = 2;
    SaveMacroLibrary(library, MacroLibraryPath(data.path()), MacroLocation::None());
    KeySlot& key = window.settings().CurrentProfile().Key[1];
    key.Value = {0x90, 0, 0, 0};
    key.MacroKeyIndex = tap.MacroKeyIndex;
    window.link().RequestApply(kPendingButtons);
    window.link().ApplyPendingChanges();
    before = mouse->State().macros[1];

    // In the manager: select the macro, insert a right click at its end, close.
    Later(100, [&] {
      auto* manager = dynamic_cast<win32::CMacroManagerDlg*>(
          win32::CWnd::FromHandle(reinterpret_cast<HWND>(OpenDialogs().At(OpenDialogs().Count() - 1))));
      ASSERT_NE(manager, nullptr);
      managerRan = true;
      HWND hwnd = manager->GetSafeHwnd();
      window.macroLibrary().selectedLocation = MacroLocation::At(0);
      SendMessageW(hwnd, kTreeListId, 0, kCodeClicked);
      PopupResult rightClick{u"", {1, 0, 0}};
      SendMessageW(hwnd, kInsertPopupResultMessage, 0, reinterpret_cast<LPARAM>(&rightClick));
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
      SendMessageW(hwnd, kIdClose, 0, kCodeClicked);
    });
    SendMessageW(g_window, 2062, 0, kCodeClicked);
    // Nothing has run the apply timer since the manager closed; a later
    // apply finds the mouse up to date.
    afterClose = mouse->State().macros[1];
    window.link().RequestApply(kPendingButtons);
    window.link().ApplyPendingChanges();
    afterNextApply = mouse->State().macros[1];
    EXPECT_EQ(window.macroLibrary().selectedLocation, MacroLocation::None());
    PostMessageW(g_window, WM_COMMAND, kIdTrayExit, 0);
  });
  window.DoModal();
  g_window = nullptr;

  EXPECT_TRUE(managerRan);
  EXPECT_FALSE(before.empty());
  EXPECT_GT(afterClose.size(), before.size()) << "the right click reached the mouse";
  EXPECT_EQ(afterClose, afterNextApply);
  MacroLibrary saved;
  LoadMacroLibrary(saved, MacroLibraryPath(data.path()));
  ASSERT_NE(saved.MacroAt(MacroLocation::At(0)), nullptr);
  EXPECT_EQ(saved.MacroAt(MacroLocation::At(0))->MacroActionNum, 5u);
}

// A library file read only up to a damaged line: closing the manager
// unchanged leaves it as it is; closing it after an edit keeps it beside the
// new file, and the window says so once.
TEST_F(MacroManagerUnit, ADamagedLibrarySurvivesTheManagerWithItsOriginalKeptBesideIt) {
  UnitWindow& window = *window_;
  ForgetDamagedFiles();
  const std::filesystem::path config = data.path() / "config";
  {
    MacroLibrary library;
    for (const char16_t* name : {u"First", u"Second", u"Third"}) {
      MacroLocation at = MacroLocation::None();
      library.AddMacro(name, at);
    }
    SaveMacroLibrary(library, MacroLibraryPath(data.path()), MacroLocation::None());
  }
  // The third block's name line loses its "=": reading stops there.
  Bytes damaged = ReadBytes(MacroLibraryPath(data.path()));
  const Bytes third = Utf16("Name=Third", false);
  const auto at = std::search(damaged.begin(), damaged.end(), third.begin(), third.end());
  ASSERT_NE(at, damaged.end());
  damaged.erase(at + 8, at + 10);
  WriteBytes(MacroLibraryPath(data.path()), damaged);
  const auto copies = [&] {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(config))
      if (entry.path().filename().wstring().find(L".unreadable-") != std::wstring::npos) found.push_back(entry.path());
    return found;
  };

  int runs = 0;
  bool untouched = false;
  std::vector<std::filesystem::path> keptAfterEdit;
  std::u16string notice;
  // Opens the manager, lets `inside` act in it, closes it with its cross.
  const auto runManager = [&](std::function<void(HWND)> inside) {
    Later(100, [&, inside] {
      auto* manager = dynamic_cast<win32::CMacroManagerDlg*>(
          win32::CWnd::FromHandle(reinterpret_cast<HWND>(OpenDialogs().At(OpenDialogs().Count() - 1))));
      ASSERT_NE(manager, nullptr);
      ++runs;
      inside(manager->GetSafeHwnd());
      SendMessageW(manager->GetSafeHwnd(), kIdClose, 0, kCodeClicked);
    });
    SendMessageW(g_window, 2062, 0, kCodeClicked);
  };
  Later(1, [&] {
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(g_window) != 0; }));
    EXPECT_EQ(window.macroLibrary().ItemCount(), 2);
    runManager([](HWND) {});
    untouched = ReadBytes(MacroLibraryPath(data.path())) == damaged && copies().empty() &&
                window.keptCopiesNotice() == nullptr;
    // The first macro's repeat rule changed.
    runManager([&](HWND manager) {
      window.macroLibrary().selectedLocation = MacroLocation::At(0);
      SendMessageW(manager, kTreeListId, 0, kCodeClicked);
      SendMessageW(manager, 2031, 0, kCodeClicked);
    });
    keptAfterEdit = copies();
    if (window.keptCopiesNotice() != nullptr) notice = window.keptCopiesNotice()->message();
    PostMessageW(g_window, WM_COMMAND, kIdTrayExit, 0);
  });
  window.DoModal();
  g_window = nullptr;

  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(untouched) << "closing the manager unchanged wrote the library";
  ASSERT_EQ(keptAfterEdit.size(), 1u);
  EXPECT_EQ(ReadBytes(keptAfterEdit[0]), damaged);
  EXPECT_EQ(notice, KeptCopyNotice());
  MacroLibrary saved;
  ASSERT_EQ(LoadMacroLibrary(saved, MacroLibraryPath(data.path())), 1);
  ASSERT_EQ(saved.ItemCount(), 2);
  EXPECT_EQ(saved.MacroAt(MacroLocation::At(0))->MacroKeyLoopType, 1);
  EXPECT_TRUE(TakeKeptCopies().empty()) << "told once, by the window";
}

}  // namespace
}  // namespace zeltra::test
