// Recording a macro from real X key events through Wine: run by
// x_input_test.sh (XMacroRecord), which types with xdotool once the manager is up.
// Disabled in the ordinary run of the suite.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "macro/macro_manager_layout.h"
#include "macro/win32/macro_manager_dlg_win32.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

// Tells the script which X window to focus.
void Handshake(HWND hwnd) {
  const char* path = std::getenv("ZELTRA_X_HANDSHAKE");
  ASSERT_NE(path, nullptr);
  const auto xid = reinterpret_cast<std::uintptr_t>(GetPropW(hwnd, L"__wine_x11_whole_window"));
  ASSERT_NE(xid, 0u);
  const std::string temp = std::string(path) + ".part";
  {
    std::ofstream out(temp);
    out << xid << '\n';
  }
  ASSERT_EQ(std::rename(temp.c_str(), path), 0);
}

class Manager : public win32::CMacroManagerDlg {
 public:
  using CMacroManagerDlg::CMacroManagerDlg;
  HWND hwnd() const { return hwnd_; }
  void Toggle(int id, bool on) {
    dynamic_cast<win32::CCheckButton*>(FindControl(id))->SetChecked(on);
    SendMessageW(hwnd_, static_cast<UINT>(id), 0, kCodeClicked);
  }
};

TEST(DISABLED_XMacroRecord, RecordsAAndBWithAndWithoutDelays) {
  Ui().scale = 1.0f;
  OpenDialogs().Clear();
  TempDir dir;
  MacroLibrary library;
  for (const char16_t* name : {u"Timed", u"Plain"}) {
    MacroLocation at = MacroLocation::None();
    ASSERT_EQ(library.AddMacro(name, at), AddItemResult::kAdded);
  }
  ProfileRecord profile;
  Manager manager(library, profile, dir / "MacroKey.mkl", nullptr);
  ASSERT_TRUE(manager.Create());
  SetWindowPos(manager.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  const Macro& timed = *library.MacroAt(MacroLocation::At(0));
  const Macro& plain = *library.MacroAt(MacroLocation::At(1));

  library.selectedLocation = MacroLocation::At(0);
  SendMessageW(manager.hwnd(), kTreeListId, 0, kCodeClicked);
  manager.Toggle(kManagerDelayBox, true);
  manager.Toggle(kManagerRecordButton, true);
  ASSERT_TRUE(manager.hookStarted());
  Handshake(manager.hwnd());

  // The script types "a b", waits, and types "a b" again.
  ASSERT_TRUE(PumpUntil([&] { return timed.MacroCommandActionNum >= 4; }, 30000)) << int(timed.MacroCommandActionNum);
  manager.Toggle(kManagerRecordButton, false);
  EXPECT_FALSE(manager.hookStarted());
  library.selectedLocation = MacroLocation::At(1);
  SendMessageW(manager.hwnd(), kTreeListId, 0, kCodeClicked);
  manager.Toggle(kManagerDelayBox, false);
  manager.Toggle(kManagerRecordButton, true);
  ASSERT_TRUE(PumpUntil([&] { return plain.MacroCommandActionNum >= 4; }, 30000)) << int(plain.MacroCommandActionNum);
  manager.Toggle(kManagerRecordButton, false);

  const std::uint8_t keys[] = {'A', 'A', 'B', 'B'};
  ASSERT_EQ(timed.MacroActionNum, 7u);
  ASSERT_EQ(plain.MacroActionNum, 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(plain.AllAction[i], MacroAction::Event(keys[i], i % 2 == 1)) << i;
    EXPECT_EQ(timed.AllAction[2 * i], MacroAction::Event(keys[i], i % 2 == 1)) << i;
    if (i > 0) {
      EXPECT_TRUE(timed.AllAction[2 * i - 1].IsDelay()) << i;
    }
  }
  // xdotool pauses about 100 ms between each press and release.
  for (int i : {1, 3, 5}) EXPECT_GE(timed.AllAction[i].DelayMs(), 50u) << i;
  SendMessageW(manager.hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace zeltra::test
