#include "ui/file_dialog.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(FileDialog, FilterBecomesNulSeparatedWithTwoTerminators) {
  struct Case {
    std::u16string_view text;
    std::u16string expected;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {u"psf file(*.psf)|*.psf||", u"psf file(*.psf)\0*.psf\0\0"s},
      {u"a|*.a|b|*.b|", u"a\0*.a\0b\0*.b\0\0"s},
      {u"a|*.a", u"a\0*.a\0\0"s},
      {u"", u"\0\0"s},
  };
  for (const Case& c : cases) EXPECT_EQ(PlatformFilter(c.text), c.expected) << std::u16string(c.text).size();
}

TEST(FileDialog, RunsTheInstalledRunnerAndNothingWithout) {
  const FileDialogRunner before = SetFileDialogRunner({});
  FileDialogRequest request;
  request.save = true;
  EXPECT_FALSE(RunFileDialog(request));
  FileDialogRequest seen;
  SetFileDialogRunner([&](const FileDialogRequest& r) {
    seen = r;
    return std::optional<std::filesystem::path>("chosen.psf");
  });
  EXPECT_EQ(RunFileDialog(request), std::filesystem::path("chosen.psf"));
  EXPECT_EQ(seen, request);
  SetFileDialogRunner(before);
}

}  // namespace
}  // namespace zeltra
