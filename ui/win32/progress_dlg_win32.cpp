#include "ui/win32/progress_dlg_win32.h"

#include "settings/language.h"
#include "ui/ui_context.h"
#include "ui/win32/scoped_win32.h"
#include "ui/win32/small_dialog_win32.h"

namespace zeltra::win32 {

namespace {
constexpr DesignRect kTextPlace = DesignRect::FromEdges(10, 3, 164, 23);
constexpr COLORREF kTextColour = RGB(190, 190, 190);
}  // namespace

CProgressBarDlg::CProgressBarDlg(std::u16string text, HWND parent)
    : CSmallDialog(parent, kProgressDesignWidth, kProgressDesignHeight), text_(std::move(text)) {
  registersOpenDialog_ = false;
}

CProgressBarDlg::~CProgressBarDlg() { StopAnimation(); }

void CProgressBarDlg::StopAnimation() {
  if (!animating_) return;
  animating_ = false;
  if (hwnd_ != nullptr) KillTimer(hwnd_, kProgressStepTimer);
  AnimationGuard::Release();
}

BOOL CProgressBarDlg::OnInitDialog() {
  if (!frame_.assigned()) SetSkinFile(SkinPath(L"skins\\Frame_progress_nr.bmp"), frame_);
  if (!bar_.assigned()) SetSkinFile(SkinPath(L"skins\\Frame_progress_ov.bmp"), bar_);
  RECT client{};
  GetClientRect(hwnd_, &client);
  EnsureControlsCreated(client);
  CSmallDialog::OnInitDialog();
  animation_ = ProgressAnimation{};
  if (AnimationGuard::TryAcquire()) {
    animating_ = true;
    Step();
    SetTimer(hwnd_, kProgressStepTimer, kProgressStepMs, nullptr);
  } else {
    // Another bar is running: this dialog shows its frame and text only, but
    // still ends by itself.
    SetTimer(hwnd_, kProgressCloseTimer, kProgressCloseDelayMs, nullptr);
  }
  return TRUE;
}

void CProgressBarDlg::CreateControls(const RECT&) {
  auto text = std::make_unique<CStaticText>(hwnd_, kProgressTextId, ScaledWindowRect(kTextPlace), u"", kTextColour,
                                            DT_LEFT | DT_SINGLELINE);
  text->SetFont(Scaled(kProgressTextHeight), Language().font.face);
  text->SetCaption(text_);
  AddControl(0, std::move(text));
}

void CProgressBarDlg::DrawBackground(HDC dc, const RECT& client) {
  DrawImageScaled(dc, frame_, Area{0, 0, Scaled(kProgressDesignWidth), Scaled(kProgressDesignHeight)},
                  Area{0, 0, kProgressDesignWidth, kProgressDesignHeight});
  DrawControls(dc, client);
}

void CProgressBarDlg::DrawBar(const ProgressBarStep& step) {
  const WindowDc dc(hwnd_);
  if (!dc) return;
  DrawImageScaled(dc.get(), bar_, Area{step.destLeft, step.destTop, step.destWidth, step.destHeight},
                  Area{0, kProgressBarTop, step.sourceWidth, kProgressBarHeight});
}

void CProgressBarDlg::Step() {
  if (const auto step = animation_.NextStep(Ui().scale)) DrawBar(*step);
  if (animation_.finished()) {
    StopAnimation();
    SetTimer(hwnd_, kProgressCloseTimer, kProgressCloseDelayMs, nullptr);
  }
}

MessageResult CProgressBarDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (EndOnButtons(message, lParam, true)) return 0;
  if (message == WM_TIMER && wParam == kProgressStepTimer) {
    if (animating_) Step();
    return 0;
  }
  if (message == WM_TIMER && wParam == kProgressCloseTimer) {
    KillTimer(hwnd_, kProgressCloseTimer);
    frame_.Reset();
    bar_.Reset();
    EndReleasing(true);
    return 0;
  }
  if (message == WM_DESTROY) {
    StopAnimation();
    KillTimer(hwnd_, kProgressCloseTimer);
  }
  return CSmallDialog::OnMessage(message, wParam, lParam);
}

}  // namespace zeltra::win32
