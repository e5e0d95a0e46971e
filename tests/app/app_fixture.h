// The main window's model on a virtual mouse: settings in a scratch data
// folder, a device link to the virtual mouse, and a window stand-in that
// records what the model asked of it and answers its dialogs as scripted.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_model.h"
#include "device/device_link.h"
#include "device/virtual_mouse.h"
#include "settings/settings_fixture.h"

namespace zeltra::test {

class FakeWindow : public MainWindowPort, public DeviceLinkHost, public LinkEventSink, public LinkTimers {
 public:
  // ---- MainWindowPort ----
  void HideWindow() override { ++hides; }
  void UpdateControls() override {}
  void StartTimer(unsigned id, unsigned ms) override { timers[id] = ms; }
  void StopTimer(unsigned id) override { timers.erase(id); }
  int WindowScreenTop() override { return windowTop; }
  bool RunDpiValueDialog(DpiValueDialog& dialog) override { return dpiDialog && dpiDialog(dialog); }
  bool RunColourPalette(ColourPalette& palette) override { return palette_ && palette_(palette); }
  bool ConfirmFactoryReset() override { return confirmReset; }
  void ShowNotice(const std::u16string& caption, const std::u16string& line) override {
    notices.push_back(caption + u"|" + line);
  }
  void OpenProfilePicker(const PickerPopupSpec& desc) override { picker = desc; }
  void CloseProfilePicker() override { picker.reset(); }
  void OpenProfileTabPopup(const ProfileTabPopupSpec& desc) override {
    tab = desc;
    if (onTabOpening) onTabOpening();
  }
  void CloseProfileTabPopup() override { tab.reset(); }
  void OpenLightingModePopup(const UiPoint& at) override { modePopup = at; }
  void CloseLightingModePopup() override { modePopup.reset(); }
  void SetComboPressed(int id, bool pressed) override { comboPressed[id] = pressed; }
  UiRect WorkArea() override { return {0, 0, 1920, 1040}; }
  void ShowOsd(const OsdView& view, bool create) override {
    osdShown = view;
    osdCreates += create ? 1 : 0;
  }
  void DestroyOsd() override { osdShown.reset(); }
  std::optional<std::filesystem::path> RunProfileFileDialog(const ProfileFileRequest& request) override {
    fileRequests.push_back(request);
    return chosenFile;
  }
  bool RunEditProfileDialog(ProfileRecord& profile) override;
  bool RunAddProfileDialog(SettingsStore& settings, int profile) override;
  void ShowAttention(int message) override { attentions.push_back(message); }
  bool RunProgramLinksDialog(ProgramLinksDialog& dialog) override { return linksDialog && linksDialog(dialog); }
  void Run(std::u16string_view commandLine, int show) override {
    commands.push_back(std::u16string(commandLine) + u"|" + Dec(show));
  }

  // ---- DeviceLinkHost ----
  ProfileRecord& CurrentProfile() override { return settings->CurrentProfile(); }
  const DpiTable& CurrentDpiTable() override { return settings->Dpi(); }
  const Macro* FindLibraryMacro(std::uint32_t) override { return nullptr; }
  // What the window does with the link's events, save the window's own moves.
  void OnLinkEvent(const LinkEvent& event) override;
  bool StartLinkTimer(LinkTimer timer) override {
    applyStarts += timer == LinkTimer::Apply ? 1 : 0;
    return timer == LinkTimer::Apply;
  }

  SettingsStore* settings = nullptr;
  MainWindowModel* model = nullptr;

  int applyStarts = 0;
  int hides = 0;
  int progressDialogs = 0;
  int osdCreates = 0;
  std::map<unsigned, unsigned> timers;
  std::vector<int> attentions;
  std::vector<std::u16string> notices;
  std::vector<std::u16string> commands;
  std::vector<ProfileFileRequest> fileRequests;
  std::optional<PickerPopupSpec> picker;
  std::optional<ProfileTabPopupSpec> tab;
  // Runs while the tab popup opens (a real one takes the activation then).
  std::function<void()> onTabOpening;
  std::optional<UiPoint> modePopup;
  std::map<int, bool> comboPressed;
  std::optional<OsdView> osdShown;

  // Scripted answers.
  int windowTop = 150;
  bool confirmReset = true;
  std::function<bool(DpiValueDialog&)> dpiDialog;
  std::function<bool(ColourPalette&)> palette_;
  std::function<bool(ProgramLinksDialog&)> linksDialog;
  std::optional<std::filesystem::path> chosenFile;
  std::optional<std::u16string> dialogName;  // edit and add: the typed name, nothing = Cancel
};

// Everything wired as the window wires it, the mouse connected.
class MainWindowTest : public DataFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A user's click on a control: what the toolkit's control does to itself
  // comes in `value` (new checked flag, slider position, dial minutes).
  void Click(int id, int value = 0) { model->OnControl({id, 2, 0, value}); }
  // Runs the apply the model asked for (timer 30) and returns the frames sent.
  std::vector<std::vector<std::uint8_t>> ApplyNow();
  ProfileRecord& Current() { return settings->CurrentProfile(); }
  // Whether a control is drawn now.
  bool Drawn(int id, int instance = 0) { return model->WhereIs(id, instance)->drawn(); }

  VirtualClock clock;
  std::shared_ptr<VirtualMouse> mouse;
  FakeWindow window;
  std::unique_ptr<SettingsStore> settings;
  std::unique_ptr<DeviceLink> link;
  std::unique_ptr<MainWindowModel> model;
  std::size_t writesSeen = 0;
};

// The command byte of each frame.
std::vector<int> Commands(const std::vector<std::vector<std::uint8_t>>& frames);

}  // namespace zeltra::test
