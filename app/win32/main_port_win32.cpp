#include "app/win32/main_port_win32.h"

#include <shellapi.h>

#include <string>

#include "app/main_window_ids.h"
#include "app/win32/colour_palette_dlg_win32.h"
#include "app/win32/dpi_value_dlg_win32.h"
#include "app/win32/program_links_dlg_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "settings/language.h"
#include "ui/file_dialog.h"
#include "ui/win32/attention_dlg_win32.h"
#include "ui/win32/profile_dlgs_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

std::optional<std::filesystem::path> MainPort::RunProfileFileDialog(const ProfileFileRequest& request) {
  return RunFileDialog(ToFileDialogRequest(request));
}

bool MainPort::RunEditProfileDialog(ProfileRecord& profile) {
  CEditProfileDlg dialog(profile, window_.hwnd_);
  return dialog.DoModal() == IDOK;
}

bool MainPort::RunAddProfileDialog(SettingsStore& settings, int) {
  // The dialog adds the first hidden profile itself, the one the caller means.
  CAddProfileDlg dialog(settings, window_.hwnd_);
  return dialog.DoModal() == IDOK;
}

void MainPort::ShowAttention(int message) {
  CAttentionDlg dialog(LanguageString(kStringAttentionTitle), LanguageString(message), window_.hwnd_);
  dialog.DoModal();
}

bool MainPort::RunProgramLinksDialog(ProgramLinksDialog& dialog) {
  return win32::RunProgramLinksDialog(window_.hwnd_, dialog, window_.Scale());
}

void MainPort::ShowNotice(const std::u16string& caption, const std::u16string& line) {
  CAttentionDlg dialog(caption, line, window_.hwnd_);
  dialog.DoModal();
}

void MainPort::Run(std::u16string_view commandLine, int showCommand) {
  if (window_.options_.launcher != nullptr) {
    window_.options_.launcher->Run(commandLine, showCommand);
    return;
  }
  // "control main.cpl": the program, then its arguments.
  const std::u16string line(commandLine);
  const std::size_t space = line.find(u' ');
  const std::u16string file = line.substr(0, space);
  const std::u16string arguments = space == std::u16string::npos ? std::u16string() : line.substr(space + 1);
  ShellExecuteW(window_.hwnd_, L"open", Wide(file), arguments.empty() ? nullptr : Wide(arguments), nullptr,
                showCommand);
}

void MainPort::HideWindow() { ShowWindow(window_.hwnd_, SW_HIDE); }

void MainPort::UpdateControls() { window_.UpdateControls(); }

void MainPort::StartTimer(unsigned id, unsigned milliseconds) { window_.StartTimer(id, milliseconds); }

void MainPort::StopTimer(unsigned id) { window_.StopTimer(id); }

int MainPort::WindowScreenTop() {
  RECT r{};
  GetWindowRect(window_.hwnd_, &r);
  return r.top;
}

bool MainPort::RunDpiValueDialog(DpiValueDialog& dialog) {
  return RunDpiValueSettingDialog(window_.hwnd_, dialog, window_.Scale());
}

bool MainPort::RunColourPalette(ColourPalette& palette) {
  return RunColourPaletteDialog(window_.hwnd_, palette, window_.Scale());
}

bool MainPort::ConfirmFactoryReset() { return window_.RunFirmwareResetDialog(); }

UiRect MainPort::WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
    r = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToUiRect(r);
}

void MainPort::ShowOsd(const OsdView& view, bool create) { osd_.Show(view, create); }

void MainPort::DestroyOsd() { osd_.Destroy(); }

POINT MainPort::Screen(const UiPoint& client) const {
  return window_.ClientToScreenPoint(POINT{client.x, client.y});
}

}  // namespace zeltra::win32
