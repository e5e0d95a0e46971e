// The macro manager and its small dialogs as real windows: driven by the
// notifications their controls send, the popups' own mouse handling and
// the keyboard hook's message.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "macro/keyboard_hook.h"
#include "macro/macro_library_file.h"
#include "macro/macro_manager_layout.h"
#include "macro/win32/macro_edit_dlgs_win32.h"
#include "macro/win32/macro_lists_win32.h"
#include "macro/win32/macro_manager_dlg_win32.h"
#include "settings/language.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/file_dialog.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/popup_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CMacroManagerDlg;

// The manager with its notices and questions answered by the test; the
// small dialogs are the real ones.
class ScriptedManager : public CMacroManagerDlg {
 public:
  using CMacroManagerDlg::CMacroManagerDlg;
  bool Open() { return Create() && UpdateWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  void Notify(int id, int code) { SendMessageW(hwnd_, static_cast<UINT>(id), 0, code); }
  // Runs what waits for the next paint.
  void Paint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
  void SelectInTree(const MacroLocation& location) {
    library->selectedLocation = location;
    Notify(kTreeListId, kCodeClicked);
  }
  template <class T>
  T* Control(int id) const {
    return dynamic_cast<T*>(FindControl(id));
  }

  MacroLibrary* library = nullptr;
  std::vector<int> notices;
  bool answer = true;
  void ShowAttention(int message) override { notices.push_back(message); }
  bool Confirm(int message) override {
    notices.push_back(message);
    return answer;
  }
};

// Runs the queued messages as the program's loops do: through the dialogs'
// own key handling.
void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) win32::DispatchOneMessage(msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

Macro& AddMacroWith(MacroLibrary& library, std::u16string name, std::initializer_list<MacroAction> actions,
                    MacroLocation at = MacroLocation::None()) {
  EXPECT_EQ(library.AddMacro(name, at), AddItemResult::kAdded);
  Macro& macro = *library.MacroAt(at);
  for (const MacroAction& a : actions) {
    macro.InsertAction(static_cast<int>(macro.MacroActionNum), a);
    if (!a.IsDelay()) ++macro.MacroCommandActionNum;
  }
  return macro;
}

MacroAction Press(std::uint8_t code) { return MacroAction::Event(code, false); }
MacroAction Release(std::uint8_t code) { return MacroAction::Event(code, true); }

struct MacroManagerWindow : testing::Test {
  UiContext savedUi = Ui();
  TempDir dir;
  std::filesystem::path libraryFile = dir / "MacroKey.mkl";
  MacroLibrary library;
  ProfileRecord profile;
  void SetUp() override {
    Ui().scale = 1.0f;
    Ui().textScale = 1.0f;
    OpenDialogs().Clear();
  }
  void TearDown() override {
    SetFileDialogRunner(nullptr);
    Ui() = savedUi;
  }
  std::unique_ptr<ScriptedManager> Open(MacroLibrary& lib) {
    auto manager = std::make_unique<ScriptedManager>(lib, profile, libraryFile, nullptr);
    manager->library = &lib;
    EXPECT_TRUE(manager->Open());
    return manager;
  }
};

TEST_F(MacroManagerWindow, InsertsARightClickAfterActionThreeThroughTheInsertPopup) {
  AddMacroWith(library, u"Five", {Press('A'), MacroAction::Delay(10), Release('A'), MacroAction::Delay(10), Press('B')});
  auto manager = Open(library);
  manager->SelectInTree(MacroLocation::At(0));
  auto* list = manager->Control<win32::CImageShowList>(kActionListId);
  list->model().SetSelectedRow(2);
  manager->Notify(kActionListId, kCodeClicked);

  // The combo opens the popup below itself with the combo's pressed look.
  SendMessageW(manager->hwnd(), kInsertComboMessage, kManagerInsertCombo, kCodeClicked);
  auto* popup = dynamic_cast<win32::CWndPopup*>(manager->Popup(PopupSlotOf(PopupClass::kActionInsert)));
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->popupOpen());
  RECT placed{};
  GetWindowRect(popup->GetSafeHwnd(), &placed);
  POINT below{370, 250 + 14};
  ClientToScreen(manager->hwnd(), &below);
  EXPECT_TRUE(placed.left == below.x && placed.top == below.y);

  // A click on the second entry (right click) through the popup's own mouse handling.
  const RECT item = popup->ItemRect(1);
  POINT cursor{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  const LPARAM at = MAKELPARAM(cursor.x, cursor.y);
  HWND popupWindow = popup->GetSafeHwnd();
  ClientToScreen(popupWindow, &cursor);
  SetCursorPos(cursor.x, cursor.y);
  SendMessageW(popupWindow, WM_MOUSEMOVE, 0, at);
  SendMessageW(popupWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(popupWindow, WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popupWindow); }));
  manager->Paint();

  const Macro& macro = *library.MacroAt(MacroLocation::At(0));
  ASSERT_EQ(macro.MacroActionNum, 8u);
  EXPECT_EQ(macro.AllAction[3], Press(0xE1));
  EXPECT_EQ(macro.AllAction[4], MacroAction::Delay(50));
  EXPECT_EQ(macro.AllAction[5], Release(0xE1));
  EXPECT_EQ(macro.MacroCommandActionNum, 5);
  EXPECT_EQ(list->model().selectedRow(), 5);
  EXPECT_FALSE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->popupOpen());
  manager->Notify(kIdClose, kCodeClicked);
}

TEST_F(MacroManagerWindow, RefusesToDeleteAFolderHoldingAMacroOfTheCurrentProfile) {
  MacroLocation folder = MacroLocation::None();
  ASSERT_EQ(library.AddFolder(u"Games", folder), AddItemResult::kAdded);
  profile.Key[2].Value = {0x90, 0, 0, 0};
  profile.Key[2].MacroKeyIndex = AddMacroWith(library, u"Combo", {Press('Q')}, folder).MacroKeyIndex;
  auto manager = Open(library);
  manager->SelectInTree(MacroLocation::At(0));
  manager->Notify(kManagerDeleteItemButton, kCodeClicked);
  EXPECT_EQ(manager->notices, (std::vector<int>{232, 257}));
  EXPECT_NE(library.ItemAt(MacroLocation::At(0)), nullptr);

  // Once no button of the current profile uses it, the folder goes.
  profile.Key[2].Value = {0x01, 0, 0, 0};
  manager->Notify(kManagerDeleteItemButton, kCodeClicked);
  EXPECT_EQ(library.ItemAt(MacroLocation::At(0)), nullptr);
  EXPECT_EQ(manager->Control<win32::CEditShowList>(kTreeListId)->model().selectedRow(), -1);
  manager->Notify(kIdClose, kCodeClicked);
}

TEST_F(MacroManagerWindow, ExportsAMacroAndImportsItIntoAnEmptyLibrary) {
  Macro& fire = AddMacroWith(library, u"Fire", {Press('F'), MacroAction::Delay(30), Release('F')});
  fire.MacroKeyLoopType = 4;
  std::vector<FileDialogRequest> asked;
  const std::filesystem::path exported = dir / "Fire.mkf";
  SetFileDialogRunner([&](const FileDialogRequest& request) -> std::optional<std::filesystem::path> {
    asked.push_back(request);
    return exported;
  });
  PopupResult exportEntry{u"", {2, 0, 0}};
  PopupResult importEntry{u"", {3, 0, 0}};

  auto source = Open(library);
  source->SelectInTree(MacroLocation::At(0));
  SendMessageW(source->hwnd(), kContextPopupResultMessage, 0, reinterpret_cast<LPARAM>(&exportEntry));
  EXPECT_TRUE(asked.empty());  // waits for the next paint
  source->Paint();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].save && asked[0].initialName == u"Fire.mkf");
  EXPECT_TRUE(std::filesystem::exists(exported));
  source->Notify(kIdClose, kCodeClicked);

  MacroLibrary empty;
  auto target = Open(empty);
  SendMessageW(target->hwnd(), kContextPopupResultMessage, 0, reinterpret_cast<LPARAM>(&importEntry));
  target->Paint();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_FALSE(asked[1].save);
  const Macro* imported = empty.MacroAt(MacroLocation::At(0));
  ASSERT_NE(imported, nullptr);
  EXPECT_EQ(imported->MacroKeyIndex, 1u);
  EXPECT_TRUE(imported->MacroActionNum == 3u && imported->AllAction[1] == MacroAction::Delay(30));
  EXPECT_EQ(imported->MacroKeyLoopType, 4);
  // The import selected the new macro: the action list shows it.
  EXPECT_EQ(target->Control<win32::CImageShowList>(kActionListId)->model().ItemCount(), 3);

  // The next new macro, named through the real name dialog, gets index 2.
  empty.selectedLocation = MacroLocation::None();
  Script script({
      [] { SetWindowTextW(GetDlgItem(NewestDialog(), kMacroEditBox), L"Next"); },
      [] { PostMessageW(GetDlgItem(NewestDialog(), kMacroEditBox), WM_KEYDOWN, VK_RETURN, 0); },
  });
  target->Notify(kManagerNewMacroButton, kCodeClicked);
  ASSERT_NE(empty.MacroAt(MacroLocation::At(1)), nullptr);
  EXPECT_EQ(empty.ItemAt(MacroLocation::At(1))->name, u"Next");
  EXPECT_EQ(empty.MacroAt(MacroLocation::At(1))->MacroKeyIndex, 2u);
  target->Notify(kIdClose, kCodeClicked);
}

TEST_F(MacroManagerWindow, ARecordingEndsWithTheHookStoppedWhenTheApplicationClosesTheManager) {
  AddMacroWith(library, u"Typed", {Press('Z'), Release('Z')});
  auto manager = Open(library);
  auto* record = manager->Control<win32::CCheckButton>(kManagerRecordButton);
  // Without a current macro the toggle springs back with notice 234.
  record->SetChecked(true);
  manager->Notify(kManagerRecordButton, kCodeClicked);
  EXPECT_FALSE(record->checked() || manager->hookStarted());
  EXPECT_EQ(manager->notices, (std::vector<int>{234}));

  manager->SelectInTree(MacroLocation::At(0));
  record->SetChecked(true);
  manager->Notify(kManagerRecordButton, kCodeClicked);
  EXPECT_TRUE(manager->hookStarted());
  EXPECT_TRUE(manager->Control<win32::CImageButton>(kIdClose)->IsDisabled());
  EXPECT_FALSE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->IsDisabled());
  // Enter and Esc do not close it; the application closing its dialogs does.
  PostMessageW(manager->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(manager->hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  Pump(50);
  HWND window = manager->hwnd();
  ASSERT_TRUE(IsWindow(window));
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window) || manager->hookStarted());
  MacroLibrary saved;
  EXPECT_EQ(LoadMacroLibrary(saved, libraryFile), 1);
  EXPECT_EQ(saved.MacroAt(MacroLocation::At(0))->MacroActionNum, 0u) << "the recording emptied it";
}

// ---------------------------------------------------------------------------

TEST(MacroEditWindows, KeyAndTextDialogsFollowTheirKeyRulesAndTheKeyDialogStopsItsHook) {
  OpenDialogs().Clear();
  for (int way = 0; way < 3; ++way) {  // OK, Enter, closed by the application
    win32::CActionKeyModifyDlg key('A', nullptr);
    ASSERT_TRUE(key.Create());
    HWND window = key.GetSafeHwnd();
    EXPECT_TRUE(key.hookStarted());
    SendMessageW(window, kKeyHookMessage, 0, 0);  // a popup's closing notice
    SendMessageW(window, kKeyHookMessage, 'K', 0);
    if (way == 0) Click(window, kIdOk);
    if (way == 1) Key(window, VK_RETURN);
    if (way == 2) SendMessageW(window, WM_CLOSE, 0, 0);
    Pump(30);
    EXPECT_FALSE(IsWindow(window) || key.hookStarted()) << way;
    EXPECT_EQ(key.chosen(), way == 0 ? std::optional<std::uint8_t>('K') : std::nullopt) << way;
  }
  win32::CMacroKeyRenameDlg rename(u"Fire", nullptr);
  ASSERT_TRUE(rename.Create());
  HWND edit = GetDlgItem(rename.GetSafeHwnd(), kMacroEditBox);
  Key(edit, VK_ESCAPE);
  Pump(30);
  ASSERT_TRUE(IsWindow(edit)) << "Esc is swallowed";
  Key(edit, VK_RETURN);  // the name unchanged: ends as Cancel
  Pump(30);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(rename.result(), std::nullopt);
}

}  // namespace
}  // namespace zeltra::test
