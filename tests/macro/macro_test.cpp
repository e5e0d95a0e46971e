#include "model/macro.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

MacroAction Key(std::uint8_t code) { return MacroAction::Event(code, false); }

Macro WithKeys(std::initializer_list<std::uint8_t> codes) {
  Macro m(u"m");
  for (std::uint8_t c : codes) m.InsertAction(kMaxMacroActions, Key(c));
  return m;
}

std::vector<std::uint8_t> Codes(const Macro& m) {
  std::vector<std::uint8_t> codes;
  for (std::uint32_t i = 0; i < m.MacroActionNum; ++i) codes.push_back(m.AllAction[i].Code());
  return codes;
}

TEST(Macro, InsertShiftsLaterActionsOrAppends) {
  Macro m = WithKeys({0x41, 0x42, 0x43});
  EXPECT_EQ(m.InsertAction(1, Key(0x58)), 1);
  EXPECT_EQ(Codes(m), (std::vector<std::uint8_t>{0x41, 0x58, 0x42, 0x43}));
  EXPECT_EQ(m.InsertAction(100, Key(0x59)), 1);  // beyond the count: appended at the end
  EXPECT_EQ(Codes(m), (std::vector<std::uint8_t>{0x41, 0x58, 0x42, 0x43, 0x59}));
  EXPECT_EQ(m.AllAction[5], MacroAction{});
}

TEST(Macro, InsertIsRefusedWhenFull) {
  Macro m;
  for (int i = 0; i < kMaxMacroActions; ++i)
    ASSERT_EQ(m.InsertAction(i, Key(static_cast<std::uint8_t>(8 + i % 200))), 1);
  const MacroAction last = m.AllAction[335];
  EXPECT_EQ(m.InsertAction(0, Key(0x41)), 0);
  EXPECT_EQ(m.MacroActionNum, 336u);
  EXPECT_EQ(m.AllAction[335], last);
  EXPECT_EQ(m.AllAction[0].Code(), 8);
}

TEST(Macro, DeleteMovesLaterActionsUpAndZeroesTheFreedEntry) {
  Macro m = WithKeys({0x41, 0x42, 0x43});
  EXPECT_EQ(m.DeleteAction(3), 0);
  EXPECT_EQ(m.DeleteAction(-1), 0);
  EXPECT_EQ(m.DeleteAction(0), 1);
  EXPECT_EQ(Codes(m), (std::vector<std::uint8_t>{0x42, 0x43}));
  EXPECT_EQ(m.AllAction[2], MacroAction{});
}

TEST(Macro, CopyTakesEverythingAndLeavesTheCountsEqual) {
  Macro source = WithKeys({0x41, 0x42});
  source.InsertAction(1, MacroAction::Delay(70000));
  source.MacroKeyIndex = 9;
  source.MacroKeyLoopType = 4;
  source.MacroKeyLoopNum = 7;
  source.MacroCommandActionNum = 2;
  Macro target = WithKeys({0x50, 0x51, 0x52, 0x53});
  target.CopyFrom(source);
  EXPECT_EQ(target.name, u"m");
  EXPECT_EQ(target.MacroKeyIndex, 9u);
  EXPECT_EQ(target.MacroKeyLoopType, 4);
  EXPECT_EQ(target.MacroKeyLoopNum, 7);
  EXPECT_EQ(target.MacroCommandActionNum, 2);
  EXPECT_EQ(target.MacroActionNum, 3u);
  EXPECT_EQ(target.AllAction[1].DelayMs(), 70000u);
  EXPECT_EQ(target.CountEvents(), 2);
}

}  // namespace
}  // namespace zeltra
