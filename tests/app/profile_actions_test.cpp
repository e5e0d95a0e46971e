// Timer 60's profile actions.
#include <gtest/gtest.h>

#include <array>

#include "app/profile_actions.h"
#include "settings/settings_store.h"
#include "settings/text_format.h"
#include "support/test_support.h"

namespace zeltra::test {
namespace {

void SetShown(SettingsStore& store, int current, int count, std::array<int, 5> list) {
  store.Globals().SetValue(kCurrentProfile, Dec(current));
  store.Globals().SetValue(kProfileShowCount, Dec(count));
  for (int i = 0; i < 5; ++i) store.Globals().SetValue(kProfileShowList0 + i, Dec(list[static_cast<std::size_t>(i)]));
}

TEST(ProfileActions, Decisions) {
  using Kind = ProfileActionDecision::Kind;
  TempDir dir;
  SettingsStore three(dir.path()), five(dir.path()), reordered(dir.path());
  SetShown(three, 1, 3, {0, 1, 2, 3, 4});
  SetShown(five, 1, 5, {0, 1, 2, 3, 4});
  SetShown(reordered, 0, 2, {0, 3, 4, 1, 2});
  struct Case {
    int action, profile;
    const SettingsStore& settings;
    ProfileActionDecision expected;
  };
  const Case cases[] = {
      {0, 2, three, {Kind::ImportDialog, 2, 0}},
      {1, 4, three, {Kind::ExportDialog, 4, 0}},
      {2, 0, three, {Kind::EditDialog, 0, 0}},
      {3, 1, three, {Kind::Attention, 1, 152}},  // the current profile is never removed
      {3, 2, three, {Kind::RemoveFromShown, 2, 0}},
      {4, -1, three, {Kind::AddDialog, 3, 0}},
      {4, -1, reordered, {Kind::AddDialog, 4, 0}},
      {4, -1, five, {}},  // all five are shown already
      {5, -1, three, {Kind::Attention, -1, 145}},
      {0, 7, three, {}},
      {9, 0, three, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DecideProfileAction(c.action, c.profile, c.settings), c.expected) << c.action;
}

}  // namespace
}  // namespace zeltra::test
