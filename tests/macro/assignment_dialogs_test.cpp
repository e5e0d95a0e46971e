#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "macro/fire_key_dialog.h"
#include "macro/macro_edit_dialogs.h"
#include "macro/macro_library.h"
#include "macro/macro_manager_layout.h"
#include "macro/macro_select_dialog.h"
#include "macro/shortcut_dialog.h"
#include "settings/language.h"
#include "settings/text_format.h"

namespace zeltra {
namespace {

using Code = ButtonFunctionCode;

struct Dialogs : testing::Test {
  LanguageTable saved = Language();
  void SetUp() override { Language().Set(26, u"Fire+"); }
  void TearDown() override { Language() = saved; }
};

TEST_F(Dialogs, FireKeyOkBuildsTheCodeOrRefusesBelowFive) {
  struct Case {
    std::u16string first, second;
    bool closes;
    int message;
    Code code;
  };
  const Case cases[] = {
      {u"5", u"0", true, 0, {0x30, 0x05, 0x00}},
      {u"12x", u"7y", true, 0, {0x30, 12, 7}},
      {u"300", u"400", true, 0, {0x30, 0xFF, 0xFF}},  // not yet corrected: the largest value, not its low byte
      {u"4", u"0", false, 174, {}},
      {u"", u"0", false, 174, {}},
  };
  for (const Case& c : cases) {
    const FireKeyOk ok = FireKeyDialogOk(c.first, c.second);
    EXPECT_EQ(ok.close, c.closes) << ToUtf8(c.first);
    EXPECT_EQ(ok.message, c.message) << ToUtf8(c.first);
    ASSERT_EQ(ok.result.has_value(), c.closes) << ToUtf8(c.first);
    if (ok.result) {
      EXPECT_EQ(ok.result->code, c.code) << ToUtf8(c.first);
      EXPECT_EQ(ok.result->name, u"Fire");
    }
  }
  Language().Set(26, u"");  // no name: the dialog closes and sends nothing
  const FireKeyOk unnamed = FireKeyDialogOk(u"5", u"0");
  EXPECT_TRUE(unnamed.close);
  EXPECT_FALSE(unnamed.result);
}

TEST(FireKeyDialog, TheCheckCorrectsValuesAbove255) {
  FireKeyCheck check = CheckFireKeyBoxes(u"50", u"300");
  EXPECT_FALSE(check.firstText);
  EXPECT_EQ(check.secondText, u"255");
  EXPECT_EQ(check.messages, std::vector<int>{176});
  check = CheckFireKeyBoxes(u"256", u"255");
  EXPECT_EQ(check.firstText, u"255");
  EXPECT_FALSE(check.secondText);
  EXPECT_EQ(check.messages, std::vector<int>{174});
  EXPECT_EQ(CheckFireKeyBoxes(u"999", u"999").messages, (std::vector<int>{174, 176}));
  EXPECT_TRUE(CheckFireKeyBoxes(u"255", u"").messages.empty());
  EXPECT_EQ(NotADigitWarning(u'a'), 175);
  EXPECT_EQ(NotADigitWarning(u'7'), 0);
  EXPECT_EQ(NotADigitWarning(u'\b'), 0);
}

TEST(ShortcutDialog, ModifiersComeFromTheBoxesAndTheLastKeyWins) {
  struct Case {
    std::vector<int> boxes;
    std::vector<std::uint8_t> keys;
    std::u16string name;
    Code code;
  };
  const Case cases[] = {
      {{2006, 2007}, {0x41}, u"Ctrl+Alt+A", {0x70, 0x05, 0x04}},
      {{2008}, {}, u"Shift", {0x70, 0x02, 0x00}},
      {{2008}, {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C}, u"Shift", {0x70, 0x02, 0x00}},
      {{2006, 2007, 2008, 2009, 2005}, {0x41}, u"A", {0x70, 0x00, 0x04}},
      {{2009}, {0x41, 0x42}, u"Win+B", {0x70, 0x08, 0x05}},
      {{2006, 2008, 2007, 2009}, {0x73}, u"Ctrl+Shift+Alt+Win+F4", {0x70, 0x0F, 0x3D}},
  };
  for (const Case& c : cases) {
    ShortcutDialogState state;
    for (int box : c.boxes) state.SetBox(box, true);
    for (std::uint8_t key : c.keys) state.OnKey(key);
    const std::optional<ButtonAssignment> ok = state.Ok();
    ASSERT_TRUE(ok) << ToUtf8(c.name);
    EXPECT_EQ(ok->name, c.name);
    EXPECT_EQ(ok->code, c.code) << ToUtf8(c.name);
  }
  ShortcutDialogState state;
  EXPECT_FALSE(state.OnKey(0));  // a popup's closing notice, not a key
  EXPECT_FALSE(state.Ok());      // neither modifier nor key: nothing is assigned
  state.SetBox(2005, true);
  EXPECT_FALSE(state.ModifierBoxesEnabled());
}

TEST(EditDialogs, TheKeyDialogTakesAnyKeyButNoCodeBelowEight) {
  KeyDialogState key(0x41);
  EXPECT_EQ(key.name(), u"A");
  EXPECT_FALSE(key.OnKey(0));  // would turn the action into a delay
  EXPECT_FALSE(key.OnKey(7));
  EXPECT_TRUE(key.OnKey(0xA2));
  EXPECT_EQ(key.code(), 0xA2);
  EXPECT_EQ(key.name(), u"Ctrl_L");
  EXPECT_TRUE(RenameDialogAccepts(u"Jump", u"jump"));
  EXPECT_FALSE(RenameDialogAccepts(u"Jump", u"Jump"));
}

// Every table's ids are unique (the manager's second 2026 text aside) and its
// controls lie inside the dialog, except the parts the layouts put outside.
TEST(DialogLayouts, ControlsAreUniqueAndInsideTheirDialogs) {
  struct Table {
    const char* name;
    std::span<const DialogControl> controls;
    int width, height;
    std::set<int> outside;
  };
  const Table tables[] = {
      {"manager", kMacroManagerControls, 528, 365, {2027, 2028, 2029, 2030}},  // labels run past the edge, clipped
      {"chooser", kMacroSelectDialogControls, 528, 365, {}},
      {"fire key", kFireKeyDialogControls, 429, 140, {}},
      {"shortcut", kShortcutDialogControls, 429, 140, {2005}},  // on the bottom edge
  };
  for (const Table& t : tables) {
    std::multiset<int> ids;
    for (const DialogControl& c : t.controls) {
      ids.insert(c.id);
      if (t.outside.count(c.id)) continue;
      EXPECT_GE(c.rect.left, 0) << t.name << " " << c.id;
      EXPECT_LE(c.rect.left + c.rect.width, t.width) << t.name << " " << c.id;
      EXPECT_LE(c.rect.top + c.rect.height, t.height) << t.name << " " << c.id;
    }
    for (int id : ids) EXPECT_EQ(ids.count(id), id == 2026 && t.name == std::string("manager") ? 2u : 1u) << id;
  }
  // The count box hides 1000 units to the right; the lists show 13 rows at every scale.
  EXPECT_EQ(CountBoxRect(true, 1.5f), (UiRect{588, 285, 705, 315}));
  EXPECT_EQ(CountBoxRect(false, 1.0f).left, 1392);
  for (float s : {1.0f, 1.5f, 2.0f})
    EXPECT_EQ(ListRowsThatFit(ScaleOriginAndSize({25, 54, 143, 269}, s).height(), s), 13) << s;
  EXPECT_EQ(EditBoxFontTenths(1.5f, 1.25f), 120);
}

struct FakeChooser : MacroChooserHost {
  std::vector<std::string> log;
  void ShowList(int, int first) override { log.push_back("list " + std::to_string(first)); }
  void SetScrollBar(int, const ScrollInfo& i) override { log.push_back("range " + std::to_string(i.range)); }
  void RepaintControl(int id) override { log.push_back("repaint " + std::to_string(id)); }
  void RepaintAll() override { log.push_back("repaint"); }
  void ShowAttention(int m) override { log.push_back("attention " + std::to_string(m)); }
  void SendMacroChosen() override { log.push_back("chosen"); }
  void End() override { log.push_back("end"); }
};

TEST(MacroChooser, OpensCollapsedAndAcceptsOnlyAMacro) {
  MacroLibrary lib;
  MacroLocation folder, inside, top;
  lib.AddFolder(u"F", folder);
  inside = folder;
  lib.AddMacro(u"In", inside);
  lib.ItemAt(folder)->MacroItemFolderIsOpen = 1;
  lib.AddMacro(u"Top", top);
  lib.selectedLocation = inside;
  FakeChooser host;
  MacroChooser chooser(lib, host, 13);
  chooser.Open();
  EXPECT_FALSE(lib.ItemAt(folder)->IsOpen());
  EXPECT_EQ(lib.selectedLocation, MacroLocation::None());
  EXPECT_EQ(host.log, (std::vector<std::string>{"list 0", "range 2"}));

  host.log.clear();
  chooser.OnOk();
  lib.selectedLocation = folder;
  chooser.OnOk();
  EXPECT_EQ(host.log, (std::vector<std::string>{"attention 234", "attention 234"}));
  host.log.clear();
  lib.selectedLocation = MacroLocation::At(1);
  chooser.OnOk();
  EXPECT_EQ(host.log, (std::vector<std::string>{"chosen", "end"}));
}

}  // namespace
}  // namespace zeltra
