#include <gtest/gtest.h>

#include <vector>

#include "ui/open_dialog_table.h"

namespace zeltra {
namespace {

std::vector<OpenDialogTable::Handle> Entries(const OpenDialogTable& table) {
  std::vector<OpenDialogTable::Handle> out;
  for (int i = 0; i < OpenDialogTable::kSize; ++i) out.push_back(table.At(i));
  return out;
}

TEST(OpenDialogTable, RegistersInOrderAndRefusesAnEleventh) {
  OpenDialogTable table;
  for (OpenDialogTable::Handle h = 1; h <= 10; ++h) EXPECT_TRUE(table.Register(h * 16));
  EXPECT_FALSE(table.Register(0xB00));
  EXPECT_EQ(Entries(table), (std::vector<OpenDialogTable::Handle>{16, 32, 48, 64, 80, 96, 112, 128, 144, 160}));
}

TEST(OpenDialogTable, UnregisteringMovesLaterEntriesUp) {
  OpenDialogTable table;
  for (OpenDialogTable::Handle h : {11, 22, 33, 44}) table.Register(h);
  EXPECT_TRUE(table.Unregister(22));
  EXPECT_EQ(Entries(table), (std::vector<OpenDialogTable::Handle>{11, 33, 44, 0, 0, 0, 0, 0, 0, 0}));
  // The next dialog goes behind the ones still open.
  table.Register(55);
  EXPECT_EQ(table.At(3), 55u);
  EXPECT_TRUE(table.Unregister(55));
  EXPECT_TRUE(table.Unregister(11));
  EXPECT_EQ(Entries(table), (std::vector<OpenDialogTable::Handle>{33, 44, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(OpenDialogTable, AFullTableLosesOnlyTheRemovedEntry) {
  OpenDialogTable table;
  for (OpenDialogTable::Handle h = 1; h <= 10; ++h) table.Register(h);
  EXPECT_TRUE(table.Unregister(10));  // the last entry itself
  EXPECT_EQ(table.Count(), 9);
  EXPECT_TRUE(table.Register(77));
  // A dialog that found the table full and was never registered must not
  // drop another dialog on its way out.
  EXPECT_FALSE(table.Unregister(1234));
  EXPECT_EQ(table.At(9), 77u);
  EXPECT_EQ(table.Count(), 10);
  EXPECT_FALSE(table.Unregister(0));
  EXPECT_FALSE(table.Register(0));
}

}  // namespace
}  // namespace zeltra
