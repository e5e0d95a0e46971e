#include "macro/macro_manager_dialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "macro/keyboard_hook.h"
#include "macro/macro_library_file.h"
#include "settings/language.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra {
namespace {

using Log = std::vector<std::string>;
using test::Bytes;

// The dialog as the rules see it: every request is logged, modal dialogs
// answer from scripts.
struct FakeManager : MacroManagerHost {
  Log log;
  std::deque<std::optional<std::u16string>> names, delays;
  std::deque<KeyDialogResult> keys;
  std::deque<std::optional<std::filesystem::path>> files;
  bool confirm = true;
  const Macro* shown = nullptr;

  template <class... T>
  void Say(const T&... parts) {
    std::ostringstream line;
    ((line << parts), ...);
    log.push_back(line.str());
  }
  template <class T>
  static T Next(std::deque<T>& script) {
    T value = script.empty() ? T{} : script.front();
    if (!script.empty()) script.pop_front();
    return value;
  }
  void ShowList(int id, int first) override { Say("list ", id, " ", first); }
  void SetScrollBar(int id, const ScrollInfo& i) override {
    Say("bar ", id, " ", i.position, "/", i.page, "/", i.range);
  }
  void RepaintControl(int id) override { Say("repaint ", id); }
  void RepaintAll() override { Say("repaint"); }
  void ShowAttention(int m) override { Say("attention ", m); }
  bool Confirm(int m) override { return Say("confirm ", m), confirm; }
  std::optional<std::u16string> RunNameDialog(MacroEditDialog d, std::u16string_view preset) override {
    return Say("name ", MacroEditDialogCaption(d), " '", ToUtf8(preset), "'"), Next(names);
  }
  std::optional<std::u16string> RunDelayDialog(std::u16string_view preset) override {
    return Say("delay '", ToUtf8(preset), "'"), Next(delays);
  }
  KeyDialogResult RunKeyDialog(std::uint8_t code) override { return Say("key ", int{code}), Next(keys); }
  std::optional<std::filesystem::path> RunFileDialog(const MacroFileDialog& d) override {
    return Say(d.save ? "save " : "open ", ToUtf8(d.fileName), " ", d.title), Next(files);
  }
  // Logs the items the popup lists with these options.
  void OpenPopup(PopupClass p, const PopupOptions& options, UiPoint at) override {
    PopupLogic popup = MakePopupLogic(p, 1.0f, 0, 0, options);
    popup.BuildItems();
    std::string values;
    for (const PopupItem& item : popup.model().items()) values += std::to_string(item.value);
    Say(p == PopupClass::kMacroList ? "context " : p == PopupClass::kActionInsert ? "insert " : "other ", values,
        " at ", at.x, ",", at.y);
  }
  void ClosePopup(PopupClass) override { Say("close popup"); }
  void StartHook() override { Say("hook on"); }
  void StopHook() override { Say("hook off"); }
  void EnableControls(bool on) override { Say(on ? "enable" : "disable"); }
  void SetRecordButton(bool on) override { Say(on ? "record on" : "record off"); }
  void SetRepeatRule(int id) override { Say("radio ", id); }
  void ShowCountBox(bool on, std::u16string_view text) override {
    on ? Say("count '", ToUtf8(text), "'") : Say("count hidden");
  }
  void SetCountBoxText(std::u16string_view text) override { Say("count text '", ToUtf8(text), "'"); }
  void PutCountBoxCaretAtEnd() override { Say("caret"); }
  void ShowMacro(const Macro* m) override { shown = m; }
  void SelectAction(int row) override { Say("select ", row); }
  void End() override { Say("end"); }

  // The entries of the log that start with one of these words.
  Log Only(std::initializer_list<std::string> words) const {
    Log picked;
    for (const std::string& entry : log)
      for (const std::string& w : words)
        if (entry.rfind(w, 0) == 0) picked.push_back(entry);
    return picked;
  }
};

MacroAction Press(std::uint8_t c) { return MacroAction::Event(c, false); }
MacroAction Release(std::uint8_t c) { return MacroAction::Event(c, true); }

struct ManagerDialog : testing::Test {
  test::TempDir dir;
  MacroLibrary lib;
  ProfileRecord profile;
  FakeManager host;
  std::unique_ptr<MacroManagerDialog> manager;
  MacroLocation folder, inFolder, top;

  void SetUp() override { Reset(); }
  // A library with a folder, a macro inside it and one at the top, and the
  // manager opened on it.
  void Reset() {
    lib.Clear();
    host.log.clear();
    ResetProfile(profile, 0, 0x3311);
    folder = MacroLocation::None();
    lib.AddFolder(u"Folder", folder);
    inFolder = folder;
    lib.AddMacro(u"Inside", inFolder);
    top = MacroLocation::None();
    lib.AddMacro(u"Top", top);
    manager = std::make_unique<MacroManagerDialog>(lib, profile, dir / "lib.mlf", host, 1.0f);
    manager->Open();
  }
  // The user presses on a row and releases (the tree selects on press).
  void Select(const MacroLocation& at) {
    lib.selectedLocation = at;
    manager->OnTreeNotify(2);
  }
  // A context-popup entry, run at the next repaint.
  void Popup(ManagerOperation op) {
    manager->OnContextPopupChosen(static_cast<int>(op));
    manager->OnPainted();
  }
  Macro& Current() { return *manager->currentMacro(); }
};

TEST_F(ManagerDialog, OpensCollapsedWithNothingSelectedAndSavesAnEditOnClose) {
  lib.ItemAt(folder)->MacroItemFolderIsOpen = 1;
  lib.selectedLocation = top;
  host.log.clear();
  manager->Open();
  EXPECT_FALSE(lib.ItemAt(folder)->IsOpen());
  EXPECT_EQ(lib.selectedLocation, MacroLocation::None());
  EXPECT_EQ(manager->currentMacro(), nullptr);
  EXPECT_EQ(host.Only({"bar", "radio", "count"}),
            (Log{"bar 2021 0/13/2", "bar 2022 0/13/0", "radio 0", "count hidden"}));

  Select(top);
  lib.ItemAt(top)->name = u"Renamed";
  host.log.clear();
  manager->Close();
  EXPECT_EQ(host.log, Log{"end"});
  EXPECT_EQ(lib.selectedLocation, MacroLocation::None());
  MacroLibrary reread;
  MacroLocation fileSelection = top;
  ASSERT_EQ(LoadMacroLibrary(reread, dir / "lib.mlf", &fileSelection), 1);
  EXPECT_EQ(reread.ItemCount(), 3);
  EXPECT_EQ(fileSelection, MacroLocation::None());
}

// Closing writes the file only after an edit: a file the library was read
// from only in part still holds what the library lacks.
TEST_F(ManagerDialog, ClosingWritesTheLibraryOnlyWhenItChanged) {
  struct Case {
    const char* name;
    std::function<void()> act;
    bool written;
  };
  const Case cases[] = {
      {"opened and closed", [] {}, false},
      {"items selected", [&] { Select(top), Select(inFolder), Select(folder); }, false},
      {"a macro added", [&] { host.names = {u"Added"}, manager->OnNewMacro(); }, true},
      {"a repeat count typed", [&] { Select(top), manager->OnCountBoxChanged(u"9"); }, true},
      {"an item renamed", [&] { Select(top), host.names = {u"Other"}, Popup(ManagerOperation::kRename); }, true},
      {"an item deleted", [&] { Select(top), manager->OnDeleteItem(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    const Bytes before = test::Utf16("[MacroLibrary]\r\nand the rest");
    test::WriteBytes(dir / "lib.mlf", before);
    c.act();
    manager->Close();
    if (!c.written) {
      EXPECT_EQ(test::ReadBytes(dir / "lib.mlf"), before);
      continue;
    }
    MacroLibrary saved;
    ASSERT_EQ(LoadMacroLibrary(saved, dir / "lib.mlf"), 1);
    EXPECT_EQ(MacroLibraryFingerprint(saved), MacroLibraryFingerprint(lib));
  }
}

TEST_F(ManagerDialog, NewRenameAndDeleteShowEveryRefusal) {
  struct Case {
    MacroLocation selected;
    ManagerOperation op;
    std::optional<std::u16string> typed;
    Log expected;
  };
  using Op = ManagerOperation;
  const Case cases[] = {
      {top, Op::kNewMacro, u"", {"name 239 ''", "attention 242"}},
      {top, Op::kNewMacro, u"Top", {"name 239 ''", "attention 241"}},
      {folder, Op::kNewMacro, u"Inside", {"name 239 ''", "attention 241"}},
      {top, Op::kNewMacro, std::nullopt, {"name 239 ''"}},  // cancelled
      {top, Op::kNewFolder, u"Folder", {"name 243 ''", "attention 241"}},
      {top, Op::kRename, u"Folder", {"name 238 'Top'", "attention 241"}},
      {top, Op::kRename, u"", {"name 238 'Top'", "attention 242"}},
      {MacroLocation::None(), Op::kDelete, std::nullopt, {"attention 233"}},
  };
  for (const Case& c : cases) {
    Select(c.selected);
    host.log.clear();
    host.names = {c.typed};
    Popup(c.op);
    EXPECT_EQ(host.Only({"name", "attention", "confirm"}), c.expected) << static_cast<int>(c.op);
    EXPECT_EQ(lib.ItemCount(), 3);
  }
  // A new macro in a selected folder becomes the current macro.
  Select(folder);
  host.names = {u"New"};
  Popup(Op::kNewMacro);
  EXPECT_EQ(manager->currentMacro(), lib.MacroAt(MacroLocation::At(0, 1)));
}

// A library whose file could not be read takes nothing new: the user is told
// so before any name or file is asked for, and every other operation still runs.
TEST_F(ManagerDialog, AnUnreadableLibrarySaysSoInsteadOfAdding) {
  lib.SetUnavailableFile(dir / "lib.mlf");
  using Op = ManagerOperation;
  const std::string refused = "attention " + std::to_string(kStringLibraryUnavailable);
  const struct Case {
    Op op;
    Log expected;
  } cases[] = {
      {Op::kNewMacro, {refused}},
      {Op::kNewFolder, {refused}},
      {Op::kImportMacro, {refused}},
      {Op::kImportLibrary, {refused}},
      {Op::kExportMacro, {"save Top.mkf 253"}},
      {Op::kExportLibrary, {"save Top.mbf 255"}},
      {Op::kRename, {"name 238 'Top'"}},
  };
  for (const Case& c : cases) {
    Select(top);
    host.log.clear();
    host.names = {u"Added"};
    host.files = {dir / "any.mkf"};
    Popup(c.op);
    EXPECT_EQ(host.Only({"name", "attention", "save", "open"}), c.expected) << static_cast<int>(c.op);
  }
  host.log.clear();
  host.names = {u"Added"};
  manager->OnNewMacro();  // the manager's own button
  EXPECT_EQ(host.Only({"name", "attention"}), Log{refused});
  EXPECT_EQ(lib.ItemCount(), 3);
}

TEST_F(ManagerDialog, AFolderHoldingAMacroOfTheCurrentProfileIsNotDeleted) {
  profile.Key[4].Value = {0x90, 0x00, 0x00, 0};
  profile.Key[4].MacroKeyIndex = lib.MacroAt(inFolder)->MacroKeyIndex;
  Select(folder);
  host.log.clear();
  host.confirm = false;
  manager->OnDeleteItem();
  EXPECT_EQ(host.Only({"confirm", "attention"}), Log{"confirm 232"});
  host.confirm = true;
  manager->OnDeleteItem();
  EXPECT_EQ(host.Only({"confirm", "attention"}), (Log{"confirm 232", "confirm 232", "attention 257"}));
  EXPECT_TRUE(lib.ItemAt(folder));

  profile.Key[4].Value = {0x10, 0x08, 0x00, 0};  // the button no longer plays it
  Select(inFolder);
  manager->OnDeleteItem();
  EXPECT_EQ(manager->currentMacro(), nullptr);
  EXPECT_EQ(lib.selectedLocation, MacroLocation::None());
  EXPECT_EQ(host.shown, nullptr);
  EXPECT_EQ(lib.ItemCount(), 2);
}

TEST_F(ManagerDialog, ScrollBarsAndTheWheelMoveTheirListWithinItsRows) {
  for (int i = 0; i < 18; ++i) {
    MacroLocation at = MacroLocation::None();
    lib.AddMacro(u"M" + Dec(i), at);
  }  // 20 rows, 13 visible
  host.log.clear();
  struct Step {
    int part;
    int first;
  };
  const Step steps[] = {{7, 1}, {9, 7}, {9, 7}, {7, 7}, {6, 6}, {8, 0}, {8, 0}, {9, 7}};
  for (const Step& s : steps) {
    manager->OnScrollBarNotify(2021, 1, s.part, 0);
    EXPECT_EQ(manager->tree().firstRow(), s.first) << s.part;
  }
  EXPECT_EQ(host.log.back(), "bar 2021 7/13/20");
  manager->OnScrollBarNotify(2021, 3, 0, 4);  // thumb dragged
  EXPECT_EQ(host.log.back(), "list 2015 4");
  manager->OnWheel(1, {60, 100});  // over the tree, away from the user
  EXPECT_EQ(manager->tree().firstRow(), 3);
  manager->OnWheel(-9, {60, 100});
  EXPECT_EQ(manager->tree().firstRow(), 7);
  manager->OnWheel(-1, {450, 100});  // over neither list
  EXPECT_EQ(manager->tree().firstRow(), 7);
  // Selecting a row below the visible ones scrolls it into view.
  lib.selectedLocation = MacroLocation::At(19);
  manager->OnScrollBarNotify(2021, 1, 8, 0);
  manager->OnTreeNotify(2);
  EXPECT_EQ(manager->tree().firstRow(), 7);
  // Deleting a row pulls the list back: no empty row at the end.
  manager->OnDeleteItem();
  EXPECT_EQ(manager->tree().firstRow(), 6);
  EXPECT_EQ(host.log.back(), "repaint");
}

TEST_F(ManagerDialog, RepeatRuleAndCountBox) {
  Select(top);
  host.log.clear();
  manager->OnRepeatRule(2031);
  EXPECT_EQ(Current().MacroKeyLoopType, 1);
  EXPECT_EQ(host.log, (Log{"radio 2031", "count hidden"}));
  manager->OnChar(u'x');  // only while the type is 2
  host.log.clear();
  manager->OnRepeatRule(2033);
  EXPECT_EQ(host.log, (Log{"radio 2033", "count '1'"}));
  host.log.clear();
  manager->OnCountBoxChanged(u"0");
  manager->OnCountBoxChanged(u"300");
  manager->OnCountBoxChanged(u"42");
  manager->OnChar(u'x');
  manager->OnChar(u'4');
  EXPECT_EQ(host.log, (Log{"count text '1'", "count text '255'", "attention 175"}));
  EXPECT_EQ(Current().MacroKeyLoopNum, 42);
  // Without a current macro the radios are all cleared.
  Select(folder);
  host.log.clear();
  manager->OnRepeatRule(2032);
  EXPECT_EQ(host.log, (Log{"radio 0", "count hidden"}));
}

TEST_F(ManagerDialog, RecordingStopsAtThe168thEvent) {
  Select(top);
  host.log.clear();
  MacroActionPanel& panel = manager->actions();
  panel.OnRecordToggled(true);
  EXPECT_EQ(host.Only({"hook", "disable"}), (Log{"hook on", "disable"}));
  panel.SetRecordDelays(true);
  std::uint32_t time = 1000;
  for (int i = 0; i < kMaxMacroEvents; ++i)
    panel.OnHookMessage(0x41 + (i / 2) % 20, MakeKeyHookLParam(i % 2 == 1, time += 30));
  EXPECT_EQ(Current().MacroCommandActionNum, 168);
  EXPECT_EQ(Current().MacroActionNum, 335u);
  EXPECT_EQ(panel.firstRow(), 335 - 13);
  host.log.clear();
  panel.OnHookMessage(0x5A, MakeKeyHookLParam(false, time += 30));
  EXPECT_EQ(host.log, (Log{"record off", "enable", "attention 235", "hook off"}));
  EXPECT_EQ(Current().MacroActionNum, 335u);
  EXPECT_FALSE(panel.recording());
  panel.OnHookMessage(0, 0);  // a popup's closing notice
  MacroLibrary reread;
  ASSERT_EQ(LoadMacroLibrary(reread, dir / "lib.mlf"), 1);  // saved when the limit ended it
  ASSERT_NE(reread.MacroAt(top), nullptr);
  EXPECT_EQ(reread.MacroAt(top)->MacroCommandActionNum, 168);

  // Recording without a current macro is refused.
  Select(folder);
  host.log.clear();
  panel.OnRecordToggled(true);
  EXPECT_EQ(host.log, (Log{"record off", "attention 234"}));
}

TEST_F(ManagerDialog, InsertingARightClickAfterAction3OfFive) {
  Select(top);
  for (const MacroAction& a : {Press(0x41), MacroAction::Delay(10), Release(0x41), MacroAction::Delay(10), Press(0x42)})
    Current().InsertAction(kMaxMacroActions, a);
  Current().MacroCommandActionNum = 3;
  MacroActionPanel& panel = manager->actions();
  panel.OnActionListNotify(2, 2);
  panel.OnInsertCombo(1.0f);
  EXPECT_EQ(host.log.back(), "insert 12345 at 370,264");
  host.log.clear();
  panel.OnInsertChosen(1);
  EXPECT_EQ(host.log, (Log{"close popup", "repaint"}));  // performed at the next repaint
  EXPECT_EQ(Current().MacroActionNum, 5u);
  manager->OnPainted();
  EXPECT_EQ(Current().MacroActionNum, 8u);
  EXPECT_EQ(Current().AllAction[3], Press(0xE1));
  EXPECT_EQ(Current().AllAction[4], MacroAction::Delay(50));
  EXPECT_EQ(Current().AllAction[5], Release(0xE1));
  EXPECT_EQ(panel.selectedAction(), 5);
  EXPECT_EQ(Current().MacroCommandActionNum, 5);
}

TEST_F(ManagerDialog, InsertsDuringARecordingStopAndRestartTheHook) {
  Select(top);
  MacroActionPanel& panel = manager->actions();
  panel.OnRecordToggled(true);
  for (int i = 0; i < 16; ++i) panel.OnHookMessage(0x41 + i / 2, MakeKeyHookLParam(i % 2 == 1, 100u * i));
  host.log.clear();
  host.keys = {KeyDialogResult{true, 0x51}};
  panel.OnInsertChosen(4);
  manager->OnPainted();
  EXPECT_EQ(host.Only({"hook", "key"}), (Log{"hook off", "key 65", "hook on"}));
  EXPECT_EQ(Current().MacroActionNum, 19u);
  EXPECT_EQ(Current().AllAction[16], Press(0x51));
  EXPECT_EQ(Current().AllAction[18], Release(0x51));
  EXPECT_EQ(panel.firstRow(), 19 - 13);  // scrolled to its end
  // A delay opens its dialog on the new 100 ms; Cancel takes it away again.
  panel.OnInsertChosen(3);
  manager->OnPainted();
  EXPECT_EQ(host.Only({"delay"}), Log{"delay '100'"});
  EXPECT_EQ(Current().MacroActionNum, 19u);
}

TEST_F(ManagerDialog, ModifyAndDeleteTheSelectedAction) {
  Select(top);
  for (const MacroAction& a : {Press(0x41), MacroAction::Delay(10), Release(0x41), Press(0xE0)})
    Current().InsertAction(kMaxMacroActions, a);
  Current().MacroCommandActionNum = 3;
  MacroActionPanel& panel = manager->actions();
  host.log.clear();
  panel.OnActionListNotify(10, 3);  // a mouse button opens nothing
  host.keys = {KeyDialogResult{true, 0x43}};
  panel.OnActionListNotify(10, 0);  // double click on the press
  host.delays = {u"75"};
  panel.OnActionListNotify(10, 1);
  EXPECT_EQ(host.Only({"key", "delay"}), (Log{"key 65", "delay '10'"}));
  EXPECT_EQ(Current().AllAction[0], Press(0x43));
  EXPECT_EQ(Current().AllAction[1], MacroAction::Delay(75));
  panel.OnActionListNotify(2, 9);  // below the last action: nothing selected
  panel.OnDeleteAction();
  panel.OnActionListNotify(2, 3);
  panel.OnDeleteAction();
  EXPECT_EQ(Current().MacroActionNum, 3u);
  EXPECT_EQ(panel.selectedAction(), 2);
}

TEST_F(ManagerDialog, ExportAMacroAndImportItIntoAnEmptyLibrary) {
  Select(top);
  Current().InsertAction(0, Press(0x41));
  Current().MacroKeyLoopType = 4;
  host.files = {dir / "Top.mkf"};
  host.log.clear();
  Popup(ManagerOperation::kExportMacro);
  EXPECT_EQ(host.Only({"save", "open"}), Log{"save Top.mkf 253"});

  MacroLibrary empty;
  FakeManager otherHost;
  MacroManagerDialog other(empty, profile, dir / "other.mlf", otherHost, 1.0f);
  other.Open();
  otherHost.files = {dir / "Top.mkf"};
  other.OnContextPopupChosen(static_cast<int>(ManagerOperation::kImportMacro));
  other.OnPainted();
  EXPECT_EQ(otherHost.Only({"save", "open"}), Log{"open .mkf 254"});
  ASSERT_NE(empty.MacroAt(MacroLocation::At(0)), nullptr);
  const Macro& imported = *empty.MacroAt(MacroLocation::At(0));
  EXPECT_EQ(imported.MacroKeyIndex, 1u);
  EXPECT_EQ(imported.AllAction[0], Press(0x41));
  EXPECT_EQ(other.currentMacro(), &imported);

  // The same file again at the same level is refused.
  otherHost.files = {dir / "Top.mkf"};
  other.OnContextPopupChosen(static_cast<int>(ManagerOperation::kImportMacro));
  other.OnPainted();
  EXPECT_EQ(otherHost.Only({"attention"}), Log{"attention 241"});

  empty.selectedLocation = MacroLocation::None();
  otherHost.names = {u"Next"};
  other.OnNewMacro();
  EXPECT_EQ(empty.MacroAt(MacroLocation::At(1))->MacroKeyIndex, 2u);
}

TEST_F(ManagerDialog, TheContextPopupOffersTheEntriesOfTheSelectionsKind) {
  struct Case {
    MacroLocation selected;
    std::string entries;
  };
  const Case cases[] = {{MacroLocation::None(), "12478"}, {top, "12345678"}, {folder, "1245678"}};
  for (const Case& c : cases) {
    lib.selectedLocation = c.selected;
    host.log.clear();
    manager->OnTreeNotify(11, {40, 70});
    EXPECT_EQ(host.log.back(), "context " + c.entries + " at 40,70");
  }
  // Closing saves an edit; the main window reads the file back and applies a macro button.
  lib.MacroAt(top)->MacroKeyLoopNum = 7;
  manager->Close();
  lib.Clear();
  EXPECT_FALSE(ReloadLibraryAfterManager(lib, dir / "lib.mlf", profile));
  EXPECT_EQ(lib.ItemCount(), 3);
  profile.Key[5].Value[0] = 0x90;
  EXPECT_TRUE(ReloadLibraryAfterManager(lib, dir / "lib.mlf", profile));
}

}  // namespace
}  // namespace zeltra
