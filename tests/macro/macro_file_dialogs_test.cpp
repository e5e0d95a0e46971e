#include "macro/macro_file_dialogs.h"

#include <gtest/gtest.h>

#include "macro/macro_transfer.h"
#include "settings/language.h"

namespace zeltra {
namespace {

struct MacroFileDialogs : testing::Test {
  LanguageTable saved = Language();
  MacroLibrary library;
  void SetUp() override {
    for (int title : {253, 254, 255, 256})
      Language().Set(title, u"title " + std::u16string(1, static_cast<char16_t>(u'0' + title % 10)));
  }
  void TearDown() override { Language() = saved; }
};

// What reaches the platform's dialog for each operation: the kind, the title
// text, the filter, the extension, the proposed name and the flags.
TEST_F(MacroFileDialogs, EachOperationAsksThePlatformForItsOwnDialog) {
  MacroLocation at = MacroLocation::None();
  ASSERT_EQ(library.AddMacro(u"Fire", at), AddItemResult::kAdded);
  library.selectedLocation = at;
  struct Case {
    ManagerOperation operation;
    bool save;
    std::u16string title, filter, extension, name;
  } cases[] = {
      {ManagerOperation::kExportMacro, true, u"title 3", u"mkf file(*.mkf)|*.mkf||", u"mkf", u"Fire.mkf"},
      {ManagerOperation::kImportMacro, false, u"title 4", u"mkf file(*.mkf)|*.mkf||", u"mkf", u".mkf"},
      {ManagerOperation::kImportLibrary, false, u"title 6", u"mbf file(*.mbf)|*.mbf||", u"mbf", u".mbf"},
      {ManagerOperation::kExportLibrary, true, u"title 5", u"mbf file(*.mbf)|*.mbf||", u"mbf", u"Fire.mbf"},
  };
  for (const Case& c : cases) {
    const FileDialogRequest request = MacroFileDialogRequest(MacroFileDialogFor(c.operation, library));
    SCOPED_TRACE(static_cast<int>(c.operation));
    EXPECT_EQ(request.save, c.save);
    EXPECT_EQ(request.title, c.title);
    EXPECT_EQ(request.filter, c.filter);
    EXPECT_EQ(request.defaultExtension, c.extension);
    EXPECT_EQ(request.initialName, c.name);
    // The exports may name new files and ask before replacing one; only the
    // imports ask for an existing one.
    EXPECT_EQ(request.flags, c.save ? 0x0803u : 0x1801u);
    EXPECT_EQ(request.bufferChars, 260);
  }
  library.selectedLocation = MacroLocation::None();
  EXPECT_EQ(MacroFileDialogRequest(MacroFileDialogFor(ManagerOperation::kExportLibrary, library)).initialName,
            u"AllMacroKey.mbf");
}

}  // namespace
}  // namespace zeltra
