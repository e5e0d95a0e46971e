#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <sstream>

#include "app/main_layout.h"
#include "app/window_placement.h"

namespace zeltra {
namespace {

// Every section state a user can reach from the start by clicking headers,
// with and without the lift-off section.
std::vector<SectionState> ReachableStates() {
  std::vector<SectionState> states;
  std::set<std::pair<std::array<bool, kSectionCount>, bool>> seen;
  std::deque<SectionState> queue{SectionState(false), SectionState(true)};
  while (!queue.empty()) {
    SectionState state = queue.front();
    queue.pop_front();
    if (!seen.insert({state.expanded(), state.liftOffOffered()}).second) continue;
    states.push_back(state);
    for (const SectionInfo& info : kSections) {
      SectionState next = state;
      if (next.OnHeaderClicked(info.headerId, !state.Expanded(info.section))) queue.push_back(next);
    }
    SectionState other = state;
    other.SetLiftOffOffered(!state.liftOffOffered());
    queue.push_back(other);
  }
  return states;
}

PageState PageWithMode(int mode, int rate = 3) {
  PageState page;
  page.lightingMode = mode;
  page.rateIndex = rate;
  return page;
}

std::vector<const ControlSpec*> Drawn(const SectionState& sections, const PageState& page) {
  std::vector<const ControlSpec*> drawn;
  for (const ControlSpec& desc : MainWindowControls())
    if (GroupVisible(desc.group, sections) && ControlShown(desc, sections, page)) drawn.push_back(&desc);
  return drawn;
}

bool Overlap(const UiRect& a, const UiRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Name(const ControlSpec& desc) {
  std::ostringstream out;
  out << desc.id << "#" << desc.instance;
  return out.str();
}

TEST(Layout, EveryReachableStateFitsTheWindowWithoutOverlaps) {
  const auto states = ReachableStates();
  ASSERT_GE(states.size(), 10u);
  for (float scale : {1.0f, 1.5f, 2.0f}) {
    const UiRect window = ScaleEdges({0, 0, kMainDesignWidth, kMainDesignHeight}, scale);
    for (const SectionState& sections : states) {
      for (int mode = 0; mode < kLightingModeCount; ++mode) {
        const auto drawn = Drawn(sections, PageWithMode(mode));
        std::vector<UiRect> rects;
        for (const ControlSpec* desc : drawn) rects.push_back(ControlRect(*desc, sections, scale));
        for (std::size_t i = 0; i < drawn.size(); ++i) {
          const UiRect& a = rects[i];
          ASSERT_FALSE(a.empty()) << Name(*drawn[i]);
          ASSERT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= window.right && a.bottom <= window.bottom)
              << Name(*drawn[i]) << " at scale " << scale;
          for (std::size_t j = i + 1; j < drawn.size(); ++j) {
            if (drawn[i]->id == drawn[j]->onTopOf || drawn[j]->id == drawn[i]->onTopOf) continue;
            ASSERT_FALSE(Overlap(a, rects[j]))
                << Name(*drawn[i]) << " and " << Name(*drawn[j]) << " at scale " << scale << ", mode " << mode;
          }
        }
      }
    }
  }
}

TEST(Layout, EveryControlThatActsHasAnIdOfItsOwn) {
  std::map<int, int> rowsOfId;
  std::set<std::pair<ControlAction, int>> actions;
  for (const ControlSpec& row : MainWindowControls()) ++rowsOfId[row.id];
  for (const ControlSpec& row : MainWindowControls()) {
    if (row.action == ControlAction::None) continue;
    SCOPED_TRACE(row.id);
    EXPECT_EQ(rowsOfId[row.id], 1);
    EXPECT_EQ(FindControlSpec(row.id), &row);
    // Controls whose handler tells them apart by their ids share an action.
    const bool shared = row.action == ControlAction::HideWindow || row.action == ControlAction::SectionHeader ||
                        row.action == ControlAction::LightingSlider;
    if (!shared) {
      EXPECT_TRUE(actions.insert({row.action, row.index}).second) << "two controls do the same";
    }
  }
}

TEST(Layout, ThePointerSectionShowsOnlyTheControlPanelButton) {
  SectionState sections;
  sections.OnHeaderClicked(3003, true);
  std::vector<int> pointer;
  for (const ControlSpec* desc : Drawn(sections, PageWithMode(1)))
    if (desc->group == ControlGroup::Pointer) pointer.push_back(desc->id);
  EXPECT_EQ(pointer, std::vector<int>{3330});
}

TEST(Layout, TheDebounceSectionNeverAppears) {
  for (const SectionState& sections : ReachableStates())
    for (const ControlSpec* desc : Drawn(sections, PageWithMode(1)))
      EXPECT_TRUE(desc->group != ControlGroup::Debounce && desc->id != 3012) << Name(*desc);
}

struct ModeCase {
  int mode;
  std::set<int> lighting;  // drawn controls of the open lighting section
};

class LightingControls : public testing::TestWithParam<ModeCase> {};

TEST_P(LightingControls, FollowWhatTheModeOffers) {
  std::set<int> drawn;
  for (const ControlSpec* desc : Drawn(SectionState(), PageWithMode(GetParam().mode)))
    if (desc->group == ControlGroup::Lighting) drawn.insert(desc->id);
  EXPECT_EQ(drawn, GetParam().lighting);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LightingControls,
    testing::Values(ModeCase{0, {3161, 3120}},
                    ModeCase{1, {3161, 3120, 3162, 3190, 3200, 3210, 3164, 3240, 3250}},
                    ModeCase{3, {3161, 3120, 3180, 3163, 3191, 3220, 3230}},
                    ModeCase{6, {3161, 3120, 3180, 3181, 3182, 3183, 3184, 3185, 3186, 3187}}));

TEST(Layout, SectionControlsMoveWithTheirSectionAtEveryScale) {
  SectionState sections;
  const auto before = WhereIs(3030, sections, PageWithMode(1), 1.5f);
  EXPECT_FALSE(before->drawn());
  sections.OnHeaderClicked(3004, true);  // closes lighting: report rate moves up by 180
  const auto after = WhereIs(3030, sections, PageWithMode(1), 1.5f);
  EXPECT_TRUE(after->drawn());
  EXPECT_EQ(before->rect.top - after->rect.top, 270);
  // 60 + 30 (DPI header) + 196 + 30 (lighting header) + 30 (report-rate header) + 48.
  EXPECT_EQ(after->rect.top, static_cast<int>(394 * 1.5f));
  // The highlight of a button is the picture's size, over the picture.
  EXPECT_EQ(HighlightRect(2.0f), WhereIs(3400, sections, PageWithMode(1), 2.0f)->rect);
  EXPECT_EQ(HighlightImage(6), u"skins\\mouse\\number6.png");
  EXPECT_EQ(HighlightImage(0), u"");
}

}  // namespace
}  // namespace zeltra
