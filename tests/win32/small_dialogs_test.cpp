#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "settings/language.h"
#include "settings/settings_store.h"
#include "support/test_support.h"
#include "ui/control_codes.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_context.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/firmware_reset_dlg_win32.h"
#include "app/win32/profile_name_dlgs_win32.h"
#include "ui/win32/progress_dlg_win32.h"
#include "ui/win32/wide_win32.h"
#include "modal_script.h"
#include "win32_test_support.h"

namespace zeltra::test {
namespace {

struct SmallDialogs : testing::Test {
  LanguageTable saved = Language();
  TempDir dir;
  SettingsStore settings{dir.path()};
  UiContext savedUi = Ui();
  void SetUp() override {
    Ui().scale = 1.0f;
    Ui().textScale = 1.0f;
    OpenDialogs().Clear();
    Language().Set(147, u"Please enter a name.");
    settings.SetDefaultGlobals();
  }
  void TearDown() override {
    Language() = saved;
    Ui() = savedUi;
  }
};

TEST_F(SmallDialogs, AddWarnsOfAnEmptyNameStaysOpenAndAddsOnEnter) {
  win32::CAddProfileDlg add(settings);
  std::u16string warning;
  std::u16string title;
  bool openAfterWarning = false;
  Script script({
      [&] { Click(add.GetSafeHwnd(), kIdOk); },  // runs the warning's own loop until it is closed
      [&] {
        auto* shown = dynamic_cast<win32::CAttentionDlg*>(win32::CWnd::FromHandle(NewestDialog()));
        if (shown == nullptr) return;
        warning = shown->message();
        title = shown->title();
        Click(shown->GetSafeHwnd(), kIdOk);
      },
      [&] {
        openAfterWarning = IsWindowVisible(add.GetSafeHwnd()) != 0;
        Key(add.edit(), VK_ESCAPE);
      },
      [&] {
        SetWindowTextW(add.edit(), L"Work");
        Key(add.edit(), VK_RETURN);
      },
  });
  EXPECT_EQ(add.DoModal(), IDOK);
  EXPECT_EQ(warning, u"Please enter a name.");
  EXPECT_EQ(title, u"\u8B66\u544A!");
  EXPECT_TRUE(openAfterWarning);
  EXPECT_EQ(settings.Globals().Value(kProfileShowCount), u"4");
  ASSERT_EQ(add.addedProfile(), 3);
  EXPECT_EQ(settings.Profile(3).Setting(kProfileName), u"Work");
  EXPECT_EQ(OpenDialogs().Count(), 0);
}

TEST_F(SmallDialogs, EditStartsWithTheNameAndAnswersItsColoursAndFont) {
  ProfileRecord& profile = settings.Profile(1);
  profile.SetSetting(kProfileName, u"Game");
  std::u16string shown;
  COLORREF text = 0;
  COLORREF back = 0;
  LRESULT brush = 0;
  LOGFONTW font{};
  win32::CEditProfileDlg edit(profile);
  Script script({
      [&] {
        shown = edit.EditText();
        Canvas canvas(4, 4, RGB(9, 9, 9));
        brush = SendMessageW(edit.GetSafeHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(canvas.dc()),
                             reinterpret_cast<LPARAM>(edit.edit()));
        text = GetTextColor(canvas.dc());
        back = GetBkColor(canvas.dc());
        auto handle = reinterpret_cast<HFONT>(SendMessageW(edit.edit(), WM_GETFONT, 0, 0));
        GetObjectW(handle, sizeof(font), &font);
        SetWindowTextW(edit.edit(), L"Renamed");
        Key(edit.edit(), VK_ESCAPE);
      },
      [&] { Click(edit.GetSafeHwnd(), kIdCancel); },
  });
  EXPECT_EQ(edit.DoModal(), IDCANCEL);
  EXPECT_EQ(shown, u"Game");
  EXPECT_EQ(profile.Setting(kProfileName), u"Game") << "Cancel keeps the name";
  EXPECT_EQ(text, RGB(0, 0, 0));
  EXPECT_EQ(back, RGB(255, 255, 255));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
  EXPECT_EQ(font.lfHeight, -13);  // 10 points at 96 pixels per inch
}

TEST_F(SmallDialogs, ResetEndsWithEnterOkCloseAndCancelButNotEscape) {
  struct Case {
    std::function<void(HWND)> end;
    INT_PTR result;
  };
  const Case cases[] = {
      {[](HWND d) { Key(d, VK_RETURN); }, IDOK},
      {[](HWND d) { Click(d, kIdClose); }, IDCANCEL},
      {[](HWND d) { Click(d, kIdCancel); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    win32::CFirmwareResetDlg reset;
    bool openAfterEscape = false;
    Script script({
        [&] { Key(reset.GetSafeHwnd(), VK_ESCAPE); },
        [&] {
          openAfterEscape = IsWindowVisible(reset.GetSafeHwnd()) != 0 && NewestDialog() == reset.GetSafeHwnd();
          c.end(reset.GetSafeHwnd());
        },
    });
    EXPECT_EQ(reset.DoModal(), c.result);
    EXPECT_TRUE(openAfterEscape);
  }
}

// Records the bars instead of only drawing them.
class RecordingProgress : public win32::CProgressBarDlg {
 public:
  using CProgressBarDlg::CProgressBarDlg;
  std::vector<int> widths;
  int registered = -1;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CProgressBarDlg::OnInitDialog();
    registered = OpenDialogs().Count();
    return result;
  }
  void DrawBar(const ProgressBarStep& step) override {
    widths.push_back(step.sourceWidth);
    CProgressBarDlg::DrawBar(step);
  }
};

TEST_F(SmallDialogs, ProgressEndsItselfAndNeverDrawsAFullBar) {
  RecordingProgress progress(u"Settings saved", nullptr);
  const DWORD start = GetTickCount();
  EXPECT_EQ(progress.DoModal(), IDOK);
  EXPECT_LT(GetTickCount() - start, 5000u);
  ASSERT_EQ(progress.widths.size(), 50u);
  EXPECT_EQ(progress.widths.front(), 0);
  EXPECT_EQ(progress.widths.back(), 420);
  EXPECT_EQ(progress.registered, 0) << "the progress dialog is not a listed small dialog";
  EXPECT_FALSE(AnimationGuard::Held());

  // While another bar runs, a second dialog draws none but still ends.
  ASSERT_TRUE(AnimationGuard::TryAcquire());
  RecordingProgress second(u"Settings saved", nullptr);
  EXPECT_EQ(second.DoModal(), IDOK);
  EXPECT_TRUE(second.widths.empty());
  AnimationGuard::Release();
}

}  // namespace
}  // namespace zeltra::test
