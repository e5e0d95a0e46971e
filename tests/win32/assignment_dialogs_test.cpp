// The three assignment dialogs as a user meets them under DoModal: what
// each sends to its result window, what it refuses, and how it ends.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "macro/assignment_controller.h"
#include "macro/macro_library.h"
#include "macro/win32/fire_key_dlg_win32.h"
#include "macro/win32/macro_select_dlg_win32.h"
#include "macro/win32/shortcut_dlg_win32.h"
#include "settings/language.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/wide_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

// Takes the results the dialogs send, as the main window would.
struct Received {
  UINT message = 0;
  std::optional<ButtonAssignment> record;
};
std::vector<Received> g_received;

LRESULT CALLBACK SinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFireKeyResultMessage || message == kKeyCombinationResultMessage || message == kMacroChosenMessage) {
    Received r{message, std::nullopt};
    if (message != kMacroChosenMessage && lParam != 0) r.record = *reinterpret_cast<const ButtonAssignment*>(lParam);
    g_received.push_back(r);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class ResultSink {
 public:
  ResultSink() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZeltraTestResultSink";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    g_received.clear();
  }
  ~ResultSink() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// The attention dialog on top: its message, then closed with OK. Until it
// shows, the step waits.
std::u16string TakeAttention() {
  auto* shown = dynamic_cast<win32::CAttentionDlg*>(win32::CWnd::FromHandle(NewestDialog()));
  if (shown == nullptr) {
    Script::Again();
    return {};
  }
  std::u16string message = shown->message();
  Click(shown->GetSafeHwnd(), kIdOk);
  return message;
}

void SetText(HWND edit, const wchar_t* text) { SetWindowTextW(edit, text); }
std::u16string TextOf(HWND edit) {
  wchar_t buffer[64]{};
  GetWindowTextW(edit, buffer, 64);
  return win32::FromWide(buffer);
}

// A press and release at the centre of a control, through the dialog's own
// mouse routing.
void ClickAt(win32::CDlgBase& dialog, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  POINT screen{x, y};
  ClientToScreen(dialog.GetSafeHwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, at);
  SendMessageW(dialog.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(dialog.GetSafeHwnd(), WM_LBUTTONUP, 0, at);
}
void ClickControl(win32::CDlgBase& dialog, int id) {
  const RECT r = dialog.FindControl(id)->GetRect();
  ClickAt(dialog, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

WPARAM WheelNotches(int notches) {
  return static_cast<WPARAM>(static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA))) << 16;
}

void HookKey(HWND dialog, BYTE vk) { SendMessageW(dialog, kKeyHookMessage, vk, MakeKeyHookLParam(false, 10)); }

struct AssignmentDialogs : testing::Test {
  LanguageTable saved = Language();
  UiContext savedUi = Ui();
  ResultSink sink;
  void SetUp() override {
    Ui().scale = 1.0f;
    OpenDialogs().Clear();
    for (int i : {26, 150, 174, 175, 176, 190, 234}) Language().Set(i, u"s" + win32::FromWide(std::to_wstring(i)));
    Language().Set(26, u"Fire key+");
  }
  void TearDown() override {
    Language() = saved;
    Ui() = savedUi;
  }
};

TEST_F(AssignmentDialogs, FireKeyKeepsEnterAndEscRefusesFourAndSendsFiveAndZero) {
  win32::CFireKeyDlg dialog(nullptr, sink.hwnd());
  std::u16string presets, refusal, afterRefusal;
  bool openAfterKeys = false;
  Script script({
      [&] {
        presets = TextOf(dialog.firstBox()) + u"/" + TextOf(dialog.secondBox());
        Key(dialog.firstBox(), VK_RETURN);
        Key(dialog.firstBox(), VK_ESCAPE);
      },
      [&] {
        openAfterKeys = IsWindowVisible(dialog.GetSafeHwnd()) != 0;
        SetText(dialog.firstBox(), L"4");
        Click(dialog.GetSafeHwnd(), kIdOk);  // the refusal's loop runs the next step
      },
      [&] { refusal = TakeAttention(); },
      [&] {
        afterRefusal = g_received.empty() ? u"nothing sent" : u"sent";
        SetText(dialog.firstBox(), L"5");
        SetText(dialog.secondBox(), L"0");
        Click(dialog.GetSafeHwnd(), kIdOk);
      },
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(presets, u"50/0");
  EXPECT_TRUE(openAfterKeys);
  EXPECT_EQ(refusal, u"s174");
  EXPECT_EQ(afterRefusal, u"nothing sent");
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].message, kFireKeyResultMessage);
  ASSERT_TRUE(g_received[0].record);
  EXPECT_EQ(g_received[0].record->name, u"Fire key");
  EXPECT_EQ(g_received[0].record->code, ButtonFunctionCode(0x30, 5, 0));
  EXPECT_EQ(OpenDialogs().Count(), 0);
}

TEST_F(AssignmentDialogs, FireKeyCorrectsLargeValuesWithinATenthAndWarnsOfLetters) {
  win32::CFireKeyDlg dialog(nullptr, sink.hwnd());
  std::vector<std::u16string> warnings;
  std::u16string corrected, typed;
  Script script({
      [&] { SetText(dialog.secondBox(), L"300"); },
      [&] {
        corrected = TextOf(dialog.secondBox());
        if (const std::u16string w = TakeAttention(); !w.empty()) warnings.push_back(w);
      },
      [&] {
        SetText(dialog.secondBox(), L"");
        SetFocus(dialog.secondBox());
        PostMessageW(dialog.secondBox(), WM_CHAR, L'x', 0);
      },
      [&] {
        if (const std::u16string w = TakeAttention(); !w.empty()) warnings.push_back(w);
      },
      [&] {
        typed = TextOf(dialog.secondBox());
        Click(dialog.GetSafeHwnd(), kIdCancel);
      },
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(corrected, u"255");
  EXPECT_EQ(warnings, (std::vector<std::u16string>{u"s176", u"s175"}));
  EXPECT_EQ(typed, u"x") << "the warning leaves the character in the box";
  EXPECT_TRUE(g_received.empty());
}

TEST_F(AssignmentDialogs, ShortcutTakesTheLastKeyAndTheTickedBoxes) {
  struct Case {
    const char* what;
    std::vector<int> boxes;  // clicked in this order
    std::vector<BYTE> keys;  // from the hook
    std::u16string name;
    ButtonFunctionCode code;
  };
  const Case cases[] = {
      {"Ctrl and Alt with A", {kShortcutCtrlBox, kShortcutAltBox}, {0x41}, u"Ctrl+Alt+A", {0x70, 0x05, 0x04}},
      {"only Shift", {kShortcutShiftBox}, {}, u"Shift", {0x70, 0x02, 0x00}},
      {"left Shift and the Windows key change nothing", {}, {0x41, 0xA0, 0x5B}, u"A", {0x70, 0x00, 0x04}},
      {"box 2005 wins", {kShortcutCtrlBox, kShortcutNoModifiersBox}, {0x42, 0x41}, u"A", {0x70, 0x00, 0x04}},
  };
  for (const Case& c : cases) {
    g_received.clear();
    win32::CShortcutDlg dialog(nullptr, sink.hwnd());
    bool hooked = false;
    bool ctrlDisabled = false;
    Script script({[&] {
      hooked = dialog.hookStarted();
      for (int box : c.boxes) ClickControl(dialog, box);
      for (BYTE key : c.keys) HookKey(dialog.GetSafeHwnd(), key);
      ctrlDisabled = dialog.FindControl(kShortcutCtrlBox)->IsDisabled();
      Click(dialog.GetSafeHwnd(), kIdOk);
    }});
    EXPECT_EQ(dialog.DoModal(), IDOK) << c.what;
    EXPECT_TRUE(hooked) << c.what;
    EXPECT_FALSE(dialog.hookStarted()) << c.what;
    EXPECT_EQ(ctrlDisabled, !dialog.state().ModifierBoxesEnabled()) << c.what;
    ASSERT_EQ(g_received.size(), 1u) << c.what;
    EXPECT_EQ(g_received[0].message, kKeyCombinationResultMessage) << c.what;
    EXPECT_EQ(g_received[0].record->name, c.name) << c.what;
    EXPECT_EQ(g_received[0].record->code, c.code) << c.what;
  }
}

TEST_F(AssignmentDialogs, ShortcutEndsWithoutAResultAndUnhookedOnEveryOtherWay) {
  struct Case {
    const char* what;
    void (*end)(HWND);
  };
  const Case cases[] = {
      {"nothing given, OK", [](HWND d) { Click(d, kIdOk); }},
      {"Cancel", [](HWND d) { Click(d, kIdCancel); }},
      {"close cross", [](HWND d) { Click(d, kIdClose); }},
      {"Enter", [](HWND d) { Key(d, VK_RETURN); }},
      {"Esc", [](HWND d) { Key(d, VK_ESCAPE); }},
      {"the application closes its dialogs", [](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); }},
  };
  for (const Case& c : cases) {
    g_received.clear();
    win32::CShortcutDlg dialog(nullptr, sink.hwnd());
    int listed = 0;
    Script script({[&] {
      listed = OpenDialogs().Count();
      if (std::string(c.what) != "nothing given, OK") HookKey(dialog.GetSafeHwnd(), 0x41);
      c.end(dialog.GetSafeHwnd());
    }});
    dialog.DoModal();
    EXPECT_EQ(listed, 1) << c.what;
    EXPECT_TRUE(g_received.empty()) << c.what;
    EXPECT_FALSE(dialog.hookStarted()) << c.what;
    EXPECT_EQ(OpenDialogs().Count(), 0) << c.what;
  }
}

TEST_F(AssignmentDialogs, MacroChooserOpensCollapsedRefusesAFolderAndSendsAMacro) {
  MacroLibrary library;
  MacroLocation folder = MacroLocation::None();
  ASSERT_EQ(library.AddFolder(u"Games", folder), AddItemResult::kAdded);
  MacroLocation inside = folder;
  ASSERT_EQ(library.AddMacro(u"Reload", inside), AddItemResult::kAdded);
  for (int i = 0; i < 20; ++i) {
    MacroLocation top = MacroLocation::None();
    library.AddMacro(u"m" + win32::FromWide(std::to_wstring(i)), top);
  }
  library.ItemAt(folder)->MacroItemFolderIsOpen = 1;
  library.selectedLocation = inside;

  win32::CMacroSelectDlg dialog(library, nullptr, sink.hwnd());
  int rowsOnOpen = 0;
  bool noneOnOpen = false;
  std::u16string refusal;
  int firstAfterWheel = -1;
  bool openAfterKeys = false;
  Script script({
      [&] {
        rowsOnOpen = library.VisibleRowCount();
        noneOnOpen = library.selectedLocation == MacroLocation::None();
        Key(dialog.GetSafeHwnd(), VK_RETURN);
        Key(dialog.GetSafeHwnd(), VK_ESCAPE);
        SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEWHEEL, WheelNotches(-2), 0);
        firstAfterWheel = dialog.chooser()->tree().firstRow();
        SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEWHEEL, WheelNotches(5), 0);
        library.selectedLocation = folder;
        Click(dialog.GetSafeHwnd(), kIdOk);
      },
      [&] { refusal = TakeAttention(); },
      [&] {
        openAfterKeys = IsWindowVisible(dialog.GetSafeHwnd()) != 0;
        // The second row (the first macro, below the folder) by the pointer.
        const RECT tree = dialog.FindControl(kTreeListId)->GetRect();
        ClickAt(dialog, tree.left + 60, tree.top + 30);
        Click(dialog.GetSafeHwnd(), kIdOk);
      },
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(rowsOnOpen, 21) << "the folder is closed on opening";
  EXPECT_TRUE(noneOnOpen);
  EXPECT_EQ(firstAfterWheel, 2) << "a wheel notch is one row";
  EXPECT_EQ(refusal, u"s234");
  EXPECT_TRUE(openAfterKeys);
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].message, kMacroChosenMessage);
  EXPECT_EQ(ChosenMacroAssignment(library).name, u"s190m0");
  EXPECT_TRUE(dialog.chose());
}

TEST_F(AssignmentDialogs, MacroChooserCloseCrossEndsWithoutAChoice) {
  MacroLibrary library;
  MacroLocation top = MacroLocation::None();
  library.AddMacro(u"One", top);
  win32::CMacroSelectDlg dialog(library, nullptr, sink.hwnd());
  Script script({[&] {
    library.selectedLocation = top;
    Click(dialog.GetSafeHwnd(), kIdClose);
  }});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(g_received.empty());
}

}  // namespace
}  // namespace zeltra::test
