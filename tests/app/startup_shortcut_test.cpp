#include "app/startup_shortcut.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(StartupShortcut, StartsTheProgramHiddenInTheTrayFromItsFolder) {
  const std::filesystem::path program = u"C:\\Games\\Zeltra\\Zeltra.exe";
  const StartupShortcut shortcut = StartupShortcutFor(u"C:\\Startup", program);
  EXPECT_EQ(shortcut.file, std::filesystem::path(u"C:\\Startup") / u"Zeltra.lnk");
  EXPECT_EQ(shortcut.target, program);
  EXPECT_EQ(shortcut.arguments, u"--tray");
  EXPECT_EQ(shortcut.workingFolder, program.parent_path());
  EXPECT_TRUE(StartupShortcutFor({}, program).file.empty()) << "no Startup folder, no shortcut";
}

TEST(StartupShortcut, TheCheckMarkFollowsAShortcutToThisProgram) {
  const std::u16string program = u"C:\\Games\\Zeltra\\Zeltra.exe";
  struct Case {
    std::optional<std::u16string> target;  // nothing: no shortcut there
    bool checked;
  } cases[] = {
      {program, true},
      {u"c:\\GAMES\\zeltra\\ZELTRA.EXE", true},
      {u"C:/Games/Zeltra/Zeltra.exe", true},
      {u"C:\\Games\\Zeltra 2\\Zeltra.exe", false},  // a copy elsewhere
      {u"C:\\Games\\Zeltra\\Zeltra.ex", false},
      {u"", false},
      {std::nullopt, false},
  };
  int i = 0;
  for (const Case& c : cases) {
    std::optional<ShortcutContents> found;
    if (c.target) found = ShortcutContents{*c.target, u"--tray"};
    EXPECT_EQ(StartsThisProgram(found, program), c.checked) << "case " << i++;
  }
  EXPECT_FALSE(StartsThisProgram(ShortcutContents{u"", u""}, u""));
}

TEST(StartupShortcut, WindowsPathsCompareWithoutCase) {
  EXPECT_TRUE(SameWindowsPath(u"C:\\Users\\J\u00D6RG\\a.exe", u"c:\\users\\j\u00F6rg\\A.EXE"));
  EXPECT_FALSE(SameWindowsPath(u"C:\\a\u00F7", u"C:\\a\u00D7"));  // signs, not letters
  EXPECT_FALSE(SameWindowsPath(u"C:\\a", u"C:\\a\\"));
}

}  // namespace
}  // namespace zeltra
