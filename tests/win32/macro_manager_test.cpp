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
#include "macro/win32/macro_manager_dlg_win32.h"
#include "settings/language.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/file_dialog.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/popup_win32.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

using win32::CMacroManagerDlg;

// The manager with its notices and questions answered by the test; the
// small dialogs are the real ones unless a test scripts them.
class ScriptedManager : public CMacroManagerDlg {
 public:
  using CMacroManagerDlg::CMacroManagerDlg;
  bool Open() {
    if (!Create()) return false;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(hwnd_);
    return true;
  }
  HWND hwnd() const { return hwnd_; }
  void Notify(int id, int code, WPARAM wParam = 0) { SendMessageW(hwnd_, static_cast<UINT>(id), wParam, code); }
  // Runs what waits for the next paint.
  void Paint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
  void SelectInTree(const MacroLocation& location) {
    rulesLibrary->selectedLocation = location;
    Notify(kTreeListId, kCodeClicked);
  }
  template <class T>
  T* Control(int id) const {
    return dynamic_cast<T*>(FindControl(id));
  }

  MacroLibrary* rulesLibrary = nullptr;
  std::vector<int> notices;
  std::deque<bool> answers;
  std::deque<std::optional<std::u16string>> names;
  bool scriptNames = false;

  void ShowAttention(int message) override { notices.push_back(message); }
  bool Confirm(int message) override {
    notices.push_back(message);
    const bool yes = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  std::optional<std::u16string> RunNameDialog(MacroEditDialog dialog, std::u16string_view preset) override {
    if (!scriptNames) return CMacroManagerDlg::RunNameDialog(dialog, preset);
    std::optional<std::u16string> name = names.empty() ? std::nullopt : names.front();
    if (!names.empty()) names.pop_front();
    return name;
  }
};

// Steps run one by one from inside whatever modal loop runs, as a user acts.
class Script {
 public:
  explicit Script(std::deque<std::function<void()>> steps) {
    steps_ = std::move(steps);
    timer_ = SetTimer(nullptr, 0, 80, &Script::Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    steps_.clear();
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (steps_.empty()) return;
    auto step = std::move(steps_.front());
    steps_.pop_front();
    step();
  }
  static inline std::deque<std::function<void()>> steps_;
  UINT_PTR timer_ = 0;
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

HWND NewestDialog() { return reinterpret_cast<HWND>(OpenDialogs().At(OpenDialogs().Count() - 1)); }

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
    manager->rulesLibrary = &lib;
    EXPECT_TRUE(manager->Open());
    return manager;
  }
};

TEST_F(MacroManagerWindow, InsertsARightClickAfterActionThreeThroughTheInsertPopup) {
  AddMacroWith(library, u"Five", {Press('A'), MacroAction::Delay(10), Release('A'), MacroAction::Delay(10), Press('B')});
  auto manager = Open(library);
  manager->SelectInTree(MacroLocation::At(0));
  auto* list = manager->Control<win32::CImageShowList>(kActionListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->model().ItemCount(), 5);
  list->model().SetSelectedRow(2);
  manager->Notify(kActionListId, kCodeClicked);

  // The combo opens the popup below itself with the combo's pressed look.
  SendMessageW(manager->hwnd(), kInsertComboMessage, kManagerInsertCombo, kCodeClicked);
  auto* popup = dynamic_cast<win32::CWndPopup*>(manager->Popup(PopupSlotOf(PopupClass::kActionInsert)));
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->popupOpen());
  RECT popupRect{};
  GetWindowRect(popup->GetSafeHwnd(), &popupRect);
  POINT below{370, 250 + 14};
  ClientToScreen(manager->hwnd(), &below);
  EXPECT_EQ(popupRect.left, below.x);
  EXPECT_EQ(popupRect.top, below.y);

  // A click on the second entry (right click) through the popup's own mouse handling.
  const RECT item = popup->ItemRect(1);
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  HWND popupWindow = popup->GetSafeHwnd();
  POINT cursor{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
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
  EXPECT_EQ(macro.AllAction[6], MacroAction::Delay(10));
  EXPECT_EQ(macro.MacroCommandActionNum, 5);
  EXPECT_EQ(list->model().selectedRow(), 5);
  EXPECT_EQ(manager->rules().actions().selectedAction(), 5);
  EXPECT_FALSE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->popupOpen());
  manager->Notify(kIdClose, kCodeClicked);
}

TEST_F(MacroManagerWindow, RefusesToDeleteAFolderHoldingAMacroOfTheCurrentProfile) {
  MacroLocation folder = MacroLocation::None();
  ASSERT_EQ(library.AddFolder(u"Games", folder), AddItemResult::kAdded);
  Macro& inside = AddMacroWith(library, u"Combo", {Press('Q'), Release('Q')}, folder);
  profile.Key[2].Value = {0x90, 0, 0, 0};
  profile.Key[2].MacroKeyIndex = inside.MacroKeyIndex;

  auto manager = Open(library);
  manager->SelectInTree(MacroLocation::At(0));
  manager->Notify(kManagerDeleteItemButton, kCodeClicked);
  EXPECT_EQ(manager->notices, (std::vector<int>{232, 257}));
  EXPECT_NE(library.ItemAt(MacroLocation::At(0)), nullptr);

  // Declining the question changes nothing and asks nothing more.
  manager->notices.clear();
  manager->answers = {false};
  manager->Notify(kManagerDeleteItemButton, kCodeClicked);
  EXPECT_EQ(manager->notices, (std::vector<int>{232}));

  // Once no button of the current profile uses it, the folder goes.
  profile.Key[2].Value = {0x01, 0, 0, 0};
  manager->notices.clear();
  manager->Notify(kManagerDeleteItemButton, kCodeClicked);
  EXPECT_EQ(manager->notices, (std::vector<int>{232}));
  EXPECT_EQ(library.ItemAt(MacroLocation::At(0)), nullptr);
  EXPECT_EQ(library.selectedLocation, MacroLocation::None());
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
  PopupResult exportEntry{u"", ButtonFunctionCode{2, 0, 0}};
  PopupResult importEntry{u"", ButtonFunctionCode{3, 0, 0}};

  auto source = Open(library);
  source->SelectInTree(MacroLocation::At(0));
  SendMessageW(source->hwnd(), kContextPopupResultMessage, 0, reinterpret_cast<LPARAM>(&exportEntry));
  EXPECT_TRUE(asked.empty());  // waits for the next paint
  source->Paint();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].save);
  EXPECT_EQ(asked[0].initialName, u"Fire.mkf");
  EXPECT_EQ(asked[0].filter, u"mkf file(*.mkf)|*.mkf||");
  EXPECT_TRUE(std::filesystem::exists(exported));
  source->Notify(kIdClose, kCodeClicked);

  MacroLibrary empty;
  auto target = Open(empty);
  SendMessageW(target->hwnd(), kContextPopupResultMessage, 0, reinterpret_cast<LPARAM>(&importEntry));
  target->Paint();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_FALSE(asked[1].save);
  EXPECT_EQ(asked[1].initialName, u".mkf");
  const Macro* imported = empty.MacroAt(MacroLocation::At(0));
  ASSERT_NE(imported, nullptr);
  EXPECT_EQ(imported->MacroKeyIndex, 1u);
  EXPECT_EQ(imported->MacroActionNum, 3u);
  EXPECT_EQ(imported->AllAction[1], MacroAction::Delay(30));
  EXPECT_EQ(imported->MacroKeyLoopType, 4);
  EXPECT_EQ(empty.ItemAt(MacroLocation::At(0))->name, u"Fire");
  // The import selected the new macro: the action list shows it.
  EXPECT_EQ(target->Control<win32::CImageShowList>(kActionListId)->model().ItemCount(), 3);

  // The next new macro, named through the real name dialog, gets index 2.
  empty.selectedLocation = MacroLocation::None();
  Script script({
      [] { SetWindowTextW(GetDlgItem(NewestDialog(), kMacroEditBox), L"Next"); },
      [] { PostMessageW(GetDlgItem(NewestDialog(), kMacroEditBox), WM_KEYDOWN, VK_RETURN, 0); },
  });
  target->Notify(kManagerNewMacroButton, kCodeClicked);
  const Macro* next = empty.MacroAt(MacroLocation::At(1));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(empty.ItemAt(MacroLocation::At(1))->name, u"Next");
  EXPECT_EQ(next->MacroKeyIndex, 2u);
  target->Notify(kIdClose, kCodeClicked);
}

TEST_F(MacroManagerWindow, RecordsFromTheHookAndStopsItOnEveryWayOut) {
  AddMacroWith(library, u"Typed", {Press('Z'), Release('Z')});
  auto manager = Open(library);
  auto* record = manager->Control<win32::CCheckButton>(kManagerRecordButton);
  ASSERT_NE(record, nullptr);

  // Without a current macro the toggle springs back with notice 234.
  record->SetChecked(true);
  manager->Notify(kManagerRecordButton, kCodeClicked);
  EXPECT_FALSE(record->checked());
  EXPECT_FALSE(manager->hookStarted());
  EXPECT_EQ(manager->notices, (std::vector<int>{234}));

  manager->SelectInTree(MacroLocation::At(0));
  manager->Control<win32::CCheckButton>(kManagerDelayBox)->SetChecked(true);
  manager->Notify(kManagerDelayBox, kCodeClicked);
  record->SetChecked(true);
  manager->Notify(kManagerRecordButton, kCodeClicked);
  EXPECT_TRUE(manager->hookStarted());
  EXPECT_TRUE(manager->Control<win32::CEditShowList>(kTreeListId)->IsDisabled());
  EXPECT_TRUE(manager->Control<win32::CImageButton>(kIdClose)->IsDisabled());
  EXPECT_FALSE(manager->Control<win32::CComboButton>(kManagerInsertCombo)->IsDisabled());

  // A popup's closing notice (code 0) and a held key's repeats are no events.
  const std::pair<WPARAM, std::uint32_t> events[] = {
      {'A', MakeKeyHookLParam(false, 1000)}, {'A', MakeKeyHookLParam(false, 1030)},
      {0, 0},                                {'A', MakeKeyHookLParam(true, 1100)},
      {'B', MakeKeyHookLParam(false, 1250)}, {'B', MakeKeyHookLParam(true, 1300)},
  };
  for (const auto& [key, bits] : events)
    SendMessageW(manager->hwnd(), win32::kKeyboardHookMessage, key, static_cast<LPARAM>(bits));
  const Macro& macro = *library.MacroAt(MacroLocation::At(0));
  ASSERT_EQ(macro.MacroActionNum, 7u);
  EXPECT_EQ(macro.MacroCommandActionNum, 4);
  EXPECT_EQ(macro.AllAction[1], MacroAction::Delay(100));
  EXPECT_EQ(macro.AllAction[4], Press('B'));
  EXPECT_EQ(macro.AllAction[6], Release('B'));

  // Enter and Esc do not close it; the application closing its dialogs does,
  // stopping the hook and saving the library.
  PostMessageW(manager->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(manager->hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  Pump(50);
  ASSERT_TRUE(IsWindow(manager->hwnd()));
  HWND window = manager->hwnd();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(manager->hookStarted());
  MacroLibrary saved;
  LoadMacroLibrary(saved, libraryFile);
  ASSERT_NE(saved.MacroAt(MacroLocation::At(0)), nullptr);
  EXPECT_EQ(saved.MacroAt(MacroLocation::At(0))->MacroActionNum, 7u);
}

TEST_F(MacroManagerWindow, TheCountBoxNormalisesWhatIsTypedAndWarnsOfOtherCharacters) {
  AddMacroWith(library, u"Counted", {Press('C'), Release('C')});
  auto manager = Open(library);
  manager->SelectInTree(MacroLocation::At(0));
  manager->Notify(kRepeatRuleControl2, kCodeClicked);
  Macro& macro = *library.MacroAt(MacroLocation::At(0));
  EXPECT_EQ(macro.MacroKeyLoopType, 2);
  HWND box = manager->countBox();
  RECT r{};
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, manager->hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 392);
  EXPECT_EQ(r.top, 190);

  auto text = [&] {
    wchar_t buffer[16]{};
    GetWindowTextW(box, buffer, 16);
    return std::wstring(buffer);
  };
  SetWindowTextW(box, L"300");
  EXPECT_EQ(text(), L"255");
  EXPECT_EQ(macro.MacroKeyLoopNum, 255);
  SetWindowTextW(box, L"0");
  EXPECT_EQ(text(), L"1");
  EXPECT_EQ(macro.MacroKeyLoopNum, 1);
  SetWindowTextW(box, L"12");
  EXPECT_EQ(macro.MacroKeyLoopNum, 12);

  PostMessageW(box, WM_CHAR, 'x', 0);
  PostMessageW(box, WM_CHAR, '7', 0);
  Pump(50);
  EXPECT_EQ(manager->notices, (std::vector<int>{175}));

  // Another rule hides the box by moving it out of sight.
  manager->Notify(kRepeatRuleControl1, kCodeClicked);
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, manager->hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 1392);
  EXPECT_EQ(macro.MacroKeyLoopType, 1);
  manager->Notify(kIdClose, kCodeClicked);
}

// ---------------------------------------------------------------------------

struct MacroEditWindows : testing::Test {
  UiContext savedUi = Ui();
  void SetUp() override {
    Ui().scale = 1.0f;
    OpenDialogs().Clear();
  }
  void TearDown() override { Ui() = savedUi; }
};

template <class Dialog>
HWND Show(Dialog& dialog) {
  EXPECT_TRUE(dialog.Create());
  Pump(20);
  return dialog.GetSafeHwnd();
}

TEST_F(MacroEditWindows, TheKeyDialogTakesTheLastKeyOnOkOnlyAndStopsItsHook) {
  {
    win32::CActionKeyModifyDlg dialog('A', nullptr);
    HWND window = Show(dialog);
    EXPECT_TRUE(dialog.hookStarted());
    SendMessageW(window, win32::kKeyboardHookMessage, VK_LSHIFT, 0);
    SendMessageW(window, win32::kKeyboardHookMessage, 0, 0);  // a popup's closing notice
    SendMessageW(window, win32::kKeyboardHookMessage, 'K', 0);
    EXPECT_EQ(dialog.code(), 'K');
    SendMessageW(window, kIdOk, 0, kCodeClicked);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.chosen(), std::optional<std::uint8_t>('K'));
    EXPECT_FALSE(dialog.hookStarted());
  }
  {
    // Enter ends it as OK without taking the key.
    win32::CActionKeyModifyDlg dialog('A', nullptr);
    HWND window = Show(dialog);
    SendMessageW(window, win32::kKeyboardHookMessage, VK_RETURN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    Pump(30);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.chosen(), std::nullopt);
    EXPECT_FALSE(dialog.hookStarted());
  }
  {
    // Closed by the application.
    win32::CActionKeyModifyDlg dialog('A', nullptr);
    HWND window = Show(dialog);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(dialog.hookStarted());
  }
}

TEST_F(MacroEditWindows, TheTextDialogsSwallowEscAndApplyTheirOkRuleOnEnter) {
  {
    win32::CMacroKeyRenameDlg rename(u"Fire", nullptr);
    HWND window = Show(rename);
    HWND edit = GetDlgItem(window, kMacroEditBox);
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(30);
    ASSERT_TRUE(IsWindow(window));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);  // unchanged: ends as Cancel
    Pump(30);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(rename.result(), std::nullopt);
  }
  {
    win32::CMacroKeyRenameDlg rename(u"Fire", nullptr);
    HWND window = Show(rename);
    SetWindowTextW(GetDlgItem(window, kMacroEditBox), L"Fire 2");
    SendMessageW(window, kIdOk, 0, kCodeClicked);
    EXPECT_EQ(rename.result(), std::optional<std::u16string>(u"Fire 2"));
  }
  {
    win32::CMacroKeyOrFolderNameDlg name(true, nullptr);
    HWND window = Show(name);
    PostMessageW(GetDlgItem(window, kMacroEditBox), WM_KEYDOWN, VK_RETURN, 0);
    Pump(30);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(name.result(), std::optional<std::u16string>(u""));
  }
  {
    // A letter in the delay box shows notice 175 and stays typed.
    win32::CActionTimeModifyDlg delay(u"100", nullptr);
    HWND window = Show(delay);
    HWND edit = GetDlgItem(window, kMacroEditBox);
    int noticesSeen = 0;
    Script script({[&] {
      if (OpenDialogs().Count() >= 2) ++noticesSeen;
      SendMessageW(NewestDialog(), WM_CLOSE, 0, 0);
    }});
    SendMessageW(edit, EM_SETSEL, 3, 3);
    PostMessageW(edit, WM_CHAR, 'x', 0);
    Pump(400);
    EXPECT_EQ(noticesSeen, 1);
    SendMessageW(window, kIdOk, 0, kCodeClicked);
    EXPECT_EQ(delay.result(), std::optional<std::u16string>(u"100x"));
  }
}

}  // namespace
}  // namespace zeltra::test
