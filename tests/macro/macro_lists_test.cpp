#include <gtest/gtest.h>

#include "macro/macro_lists.h"
#include "macro/macro_tree_view.h"
#include "ui/control_codes.h"
#include "ui/recording_sink.h"

namespace zeltra {
namespace {

using L = MacroLocation;
using test::RecordingSink;
using test::Sent;

constexpr UiRect kList{0, 0, 143, 269};

// F1 (open) { m11, F12 (open) { m121 } }, M2, F3 (closed) { m31 }
class TreeList : public testing::Test {
 protected:
  void SetUp() override {
    library_.PutFolderItem(u"F1", L::At(0), true);
    library_.PutMacroItem(u"m11", L::At(0, 0), std::make_unique<Macro>(u"m11"));
    library_.PutFolderItem(u"F12", L::At(0, 1), true);
    library_.PutMacroItem(u"m121", L::At(0, 1, 0), std::make_unique<Macro>(u"m121"));
    library_.PutMacroItem(u"M2", L::At(1), std::make_unique<Macro>(u"M2"));
    library_.PutFolderItem(u"F3", L::At(2), false);
    library_.PutMacroItem(u"m31", L::At(2, 0), std::make_unique<Macro>(u"m31"));
    list_.SetIconSize(16, 16);
    list_.SetSink(&sink_);
  }
  std::u16string Names() const {
    std::u16string names;
    for (const auto& row : list_.Rows()) names += (names.empty() ? u"" : u" ") + row.name;
    return names;
  }

  MacroLibrary library_;
  TreeListModel list_{kTreeListId, kList, 1.0f, &library_};
  RecordingSink sink_;
};

TEST_F(TreeList, RowsFollowTheOpenFoldersAtEachStage) {
  const auto rows = list_.Rows();
  ASSERT_EQ(rows.size(), 6u);
  // Each stage indents by icon width + 3; folders push their name past the icon.
  EXPECT_EQ(rows[0].rect, (UiRect{2, 0, 141, 20}));
  EXPECT_EQ(rows[0].icon, (UiPoint{2, 1}));
  EXPECT_EQ(rows[0].text.left, 21);
  EXPECT_EQ(rows[1].text.left, 21);  // m11, stage 1
  EXPECT_EQ(rows[2].icon, (UiPoint{21, 41}));
  EXPECT_EQ(rows[2].text.left, 40);
  EXPECT_EQ(rows[3].text.left, 40);  // m121, stage 2
  EXPECT_TRUE(rows[2].folder && rows[2].open);
  EXPECT_TRUE(rows[5].folder && !rows[5].open);

  struct Step {
    L folder;
    const char16_t* names;
  };
  // Each step opens or closes one folder; F12 opened inside a closed F1 stays hidden.
  const Step steps[] = {{L::At(0, 1), u"F1 m11 F12 M2 F3"}, {L::At(2), u"F1 m11 F12 M2 F3 m31"},
                        {L::At(0), u"F1 M2 F3 m31"},        {L::At(0, 1), u"F1 M2 F3 m31"},
                        {L::At(0), u"F1 m11 F12 m121 M2 F3 m31"}};
  for (const auto& step : steps) {
    MacroItem* item = library_.ItemAt(step.folder);
    item->MacroItemFolderIsOpen = item->IsOpen() ? 0 : 1;
    EXPECT_EQ(Names(), step.names);
  }

  TreeListModel wide(kTreeListId, UiRect{0, 0, 215, 404}, 1.5f, &library_);
  wide.SetIconSize(16, 16);
  EXPECT_EQ(wide.visibleRows(), 13);
  EXPECT_EQ(wide.Rows()[3].text.left, 3 + 57);  // stage 2 at 2 x 19 x 1.5
}

TEST_F(TreeList, PressSelectsAndTheIconZoneOpensAndCloses) {
  struct Case {
    int first, x, y;
    int selected;
    L location;
    int rowsAfter;
  };
  const Case cases[] = {
      {0, 40, 5, 0, L::At(0), 6},      // name of F1: only selected
      {0, 5, 5, 0, L::At(0), 3},       // icon of F1: closes it
      {0, 20, 45, 2, L::At(0, 1), 5},  // stage 1 zone is 2 icons wide
      {0, 33, 45, 2, L::At(0, 1), 6},
      {0, 40, 130, -1, L::None(), 6},  // below the last row
      {2, 40, 5, 2, L::At(0, 1), 6},   // scrolled by two rows
      {5, 40, 25, -1, L::None(), 6},   // row 6 does not exist
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << " " << c.x << "," << c.y);
    SetUp();
    list_.SetFirstRow(c.first);
    library_.selectedLocation = L::At(1);
    list_.OnLButtonDown(c.x, c.y);
    EXPECT_EQ(list_.selectedRow(), c.selected);
    EXPECT_EQ(library_.selectedLocation, c.location);
    EXPECT_EQ(list_.ItemCount(), c.rowsAfter);
    library_.Clear();
  }
  EXPECT_TRUE(sink_.sent.empty());
}

TEST_F(TreeList, DoubleClickTogglesAndRightButtonReportsThePoint) {
  library_.selectedLocation = L::At(1);
  list_.OnLButtonDblClk(60, 45);  // F12
  EXPECT_EQ(list_.selectedRow(), 2);
  EXPECT_EQ(library_.selectedLocation, L::At(1));  // unchanged
  EXPECT_EQ(list_.ItemCount(), 5);
  list_.OnLButtonDblClk(60, 65);  // M2 now: a macro has nothing to open
  EXPECT_EQ(list_.ItemCount(), 5);
  list_.OnRButtonUp(30, 25);
  EXPECT_EQ(list_.selectedRow(), 1);
  EXPECT_EQ(library_.selectedLocation, L::At(0, 0));
  EXPECT_EQ(sink_.sent, (std::vector<Sent>{{2015, 0, kCodeDoubleClick}, {2015, 0, kCodeDoubleClick},
                                           {2015, 0, kCodeRightReleased, UiPoint{30, 25}}}));
}

TEST(TreeListScroll, EnsureSelectionVisible) {
  struct Case {
    int items, first, selected, expected;
  };
  // Nothing selected and all fit; below the last row; above the first: left
  // alone; the list would end early; never above the first item.
  const Case cases[] = {{3, 2, -1, 0}, {20, 0, 7, 3}, {20, 10, 2, 10}, {20, 18, 19, 15}, {20, 17, -1, 15}, {3, 2, 1, 0}};
  for (const auto& c : cases) {
    MacroLibrary library;
    for (int i = 0; i < c.items; ++i) {
      const std::u16string name = u"m" + std::u16string(1, static_cast<char16_t>(u'a' + i));
      library.PutMacroItem(name, L::At(i), std::make_unique<Macro>(name));
    }
    TreeListModel list(kTreeListId, UiRect{0, 0, 143, 95}, 1.0f, &library);  // five rows
    ASSERT_EQ(list.visibleRows(), 5);
    list.SetFirstRow(c.first);
    list.SetSelectedRow(c.selected);
    list.EnsureSelectionVisible();
    EXPECT_EQ(list.firstRow(), c.expected) << c.items << " " << c.first << " " << c.selected;
  }
}

TEST(ActionList, RowTextsIconsAndLimits) {
  Macro macro(u"m");
  const std::pair<MacroAction, const char16_t*> actions[] = {
      {MacroAction::Delay(120), u"120ms"},
      {MacroAction::Event(0x41, false), u"A"},
      {MacroAction::Event(0x41, true), u"A"},
      {MacroAction::Event(0xE5, false, 5), u"Move Right 5"},
      {MacroAction::Event(0xE5, false, 0xFB), u"Move Left 5"},
      {MacroAction::Event(0xE6, false, 0x80), u"Move Up 128"},
      {MacroAction::Event(0xE7, false, 1), u"Wheel Down 1"},
      {MacroAction::Event(0xE7, false, 0xFF), u"Wheel Up 1"},
      {MacroAction::Delay(70000), u"70000ms"},
      {MacroAction::Event(0xE0, true), u"L Key"},
  };
  for (const auto& [action, text] : actions) macro.InsertAction(static_cast<int>(macro.MacroActionNum), action);
  RecordingSink sink;
  ActionListModel list(kActionListId, kList, 1.0f, &macro);
  list.SetSink(&sink);
  const auto rows = list.Rows();
  ASSERT_EQ(rows.size(), std::size(actions));
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].text, actions[i].second) << i;
  EXPECT_EQ(rows[0].image, static_cast<int>(ActionIcon::kDelay));
  EXPECT_EQ(rows[1].image, static_cast<int>(ActionIcon::kPress));
  EXPECT_EQ(rows[2].image, static_cast<int>(ActionIcon::kRelease));
  EXPECT_EQ(rows[1].rect, (UiRect{17, 20, 141, 40}));
  EXPECT_EQ(rows[1].icon, (UiPoint{2, 23}));

  list.OnLButtonDown(50, 45);
  EXPECT_EQ(list.selectedRow(), 2);
  list.OnLButtonDown(50, 250);  // below the last action: selection stays
  EXPECT_EQ(list.selectedRow(), 2);
  list.OnLButtonDblClk(50, 45);
  EXPECT_EQ(sink.sent, (std::vector<Sent>{{2020, 0, kCodeDoubleClick}}));

  // A damaged count never reads past the 336 actions.
  macro.MacroActionNum = 400;
  list.SetFirstRow(330);
  EXPECT_EQ(list.ItemCount(), kMaxMacroActions);
  EXPECT_EQ(list.Rows().size(), 6u);
  list.SetMacro(nullptr);
  EXPECT_TRUE(list.Rows().empty());
}

}  // namespace
}  // namespace zeltra
