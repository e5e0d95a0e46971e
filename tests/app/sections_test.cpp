#include <gtest/gtest.h>

#include <set>

#include "app/sections.h"

namespace zeltra {
namespace {

std::set<int> OpenHeaders(const SectionState& state) {
  std::set<int> open;
  for (const SectionInfo& info : kSections)
    if (state.Expanded(info.section)) open.insert(info.headerId);
  return open;
}

struct CollapseCase {
  int clicked;
  std::set<int> closedBefore;  // every other section starts open
  std::set<int> openAfter;
};

class CollapseRule : public testing::TestWithParam<CollapseCase> {};

// Each row of the rule is reached by closing the sections its earlier rows test.
TEST_P(CollapseRule, OpeningAHeaderClosesWhatItsFirstMatchingRowNames) {
  const CollapseCase& c = GetParam();
  std::array<bool, kSectionCount> expanded{};
  for (const SectionInfo& info : kSections)
    expanded[static_cast<std::size_t>(info.section)] = info.headerId != c.clicked && !c.closedBefore.count(info.headerId);
  SectionState state = SectionState::WithExpanded(expanded, true);
  state.OnHeaderClicked(c.clicked, true);
  EXPECT_EQ(OpenHeaders(state), c.openAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CollapseRule,
    testing::Values(CollapseCase{3001, {}, {3001, 3002}}, CollapseCase{3001, {3002}, {3001, 3004}},
                    CollapseCase{3001, {3002, 3004}, {3001, 3011}},
                    CollapseCase{3001, {3002, 3004, 3011}, {3001, 3012, 3003}},
                    CollapseCase{3002, {}, {3002, 3001}}, CollapseCase{3002, {3001}, {3002, 3004}},
                    CollapseCase{3002, {3001, 3004}, {3002, 3011}}, CollapseCase{3003, {}, {3003, 3001}},
                    CollapseCase{3003, {3001}, {3003, 3002}}, CollapseCase{3003, {3001, 3002}, {3003, 3004}},
                    CollapseCase{3003, {3001, 3002, 3004}, {3003, 3011, 3012}},
                    CollapseCase{3004, {}, {3004, 3001}}, CollapseCase{3004, {3001}, {3004, 3002}},
                    CollapseCase{3004, {3001, 3002}, {3004, 3011}}, CollapseCase{3011, {}, {3011, 3001}},
                    CollapseCase{3011, {3001}, {3011, 3002}}, CollapseCase{3011, {3001, 3002}, {3011, 3004}}));

TEST(Sections, StartStateAndTheHeadersNobodyCanClick) {
  SectionState state(false);
  EXPECT_EQ(OpenHeaders(state), (std::set<int>{3001, 3002}));
  EXPECT_FALSE(state.OnHeaderClicked(3012, true));  // the debounce header is never shown
  EXPECT_FALSE(state.OnHeaderClicked(3011, true));  // no lift-off for this sensor
  state.OnHeaderClicked(3003, true);
  EXPECT_EQ(OpenHeaders(state), (std::set<int>{3001, 3003}));
  state.OnHeaderClicked(3003, false);  // closing closes only itself
  EXPECT_EQ(OpenHeaders(state), std::set<int>{3001});
}

TEST(Sections, HeadersStandThirtyApartPushedByOpenSectionsAndTheLiftOffHeaderGoesClosed) {
  SectionState state(true);
  auto places = LayoutSections(state);
  // DPI 196 and lighting 180 open; the hidden debounce header takes no place.
  EXPECT_EQ(places[static_cast<std::size_t>(Section::LiftOff)].headerTop, 60 + 30 + 196 + 30 + 180 + 30);
  EXPECT_EQ(places[static_cast<std::size_t>(Section::Pointer)].headerTop, 556);
  state.OnHeaderClicked(3011, true);
  state.SetLiftOffOffered(false);
  places = LayoutSections(state);
  EXPECT_EQ(places[static_cast<std::size_t>(Section::Pointer)].headerTop, 60 + 30 + 196 + 30 + 30);
  state.SetLiftOffOffered(true);
  EXPECT_FALSE(state.Expanded(Section::LiftOff));
}

}  // namespace
}  // namespace zeltra
