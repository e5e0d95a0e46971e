// What the main window's model asks of the window: timers, dialogs, popups,
// the display and the controls' update, carried out on the real window.
#pragma once

#include <windows.h>

#include "app/main_model.h"
#include "app/win32/osd_dlg_win32.h"

namespace zeltra::win32 {

class CTarvinDlg;

class MainPort : public MainWindowPort {
 public:
  explicit MainPort(CTarvinDlg& window) : window_(window) {}

  // ---- ProfileActionDialogs ----
  std::optional<std::filesystem::path> RunProfileFileDialog(const ProfileFileRequest& request) override;
  bool RunEditProfileDialog(ProfileRecord& profile) override;
  bool RunAddProfileDialog(SettingsStore& settings, int profile) override;
  void ShowAttention(int message) override;
  bool RunProgramLinksDialog(ProgramLinksDialog& dialog) override;
  // ---- CommandLauncher ----
  void Run(std::u16string_view commandLine, int showCommand) override;

  // ---- MainWindowPort ----
  void HideWindow() override;
  void UpdateControls() override;
  void StartTimer(unsigned id, unsigned milliseconds) override;
  void StopTimer(unsigned id) override;
  int WindowScreenTop() override;
  bool RunDpiValueDialog(DpiValueDialog& dialog) override;
  bool RunColourPalette(ColourPalette& palette) override;
  bool ConfirmFactoryReset() override;
  void ShowNotice(const std::u16string& caption, const std::u16string& line) override;
  void OpenProfilePicker(const PickerPopupSpec& desc) override;
  void CloseProfilePicker() override;
  void OpenProfileTabPopup(const ProfileTabPopupSpec& desc) override;
  void CloseProfileTabPopup() override;
  void OpenLightingModePopup(const UiPoint& topLeft) override;
  void CloseLightingModePopup() override;
  void SetComboPressed(int id, bool pressed) override;
  UiRect WorkArea() override;
  void ShowOsd(const OsdView& view, bool create) override;
  void DestroyOsd() override;

 private:
  POINT Screen(const UiPoint& client) const;
  void ClosePopupOf(int slot);

  CTarvinDlg& window_;
  // Without an owner, so that it shows while the window is minimised.
  COSDDialog osd_;
};

}  // namespace zeltra::win32
