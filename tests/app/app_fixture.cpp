#include "app_fixture.h"

#include "macro/button_function.h"

namespace zeltra::test {

bool FakeWindow::RunEditProfileDialog(ProfileRecord& profile) {
  if (!dialogName) return false;
  profile.SetSetting(kProfileName, *dialogName);
  return true;
}

bool FakeWindow::RunAddProfileDialog(SettingsStore& store, int profile) {
  return dialogName && store.AddProfile(*dialogName) == profile;
}

void FakeWindow::OnLinkEvent(const LinkEvent& event) {
  namespace ev = link_event;
  if (const auto* applied = std::get_if<ev::Applied>(&event)) {
    if (applied->wroteSomething && !applied->silent) ++progressDialogs;
    model->Refresh();
  } else if (std::holds_alternative<ev::Changed>(event)) {
    model->Refresh();
  } else if (const auto* disabled = std::get_if<ev::ButtonDisabled>(&event)) {
    NameDisabledButton(CurrentProfile(), disabled->position);
  } else if (const auto* status = std::get_if<ev::Status>(&event)) {
    model->OnSensorReported(status->sensor);
  } else if (const auto* report = std::get_if<ev::MouseReport>(&event)) {
    model->OnMouseStateReported(report->stage);
    model->Refresh();
  } else if (std::holds_alternative<ev::FactoryResetDone>(event)) {
    model->Refresh();
    ++progressDialogs;
  }
}

void MainWindowTest::SetUp() {
  DataFolderTest::SetUp();
  language_.Set(1, u"Profiles");
  language_.Set(10, u"Profile list");
  language_.Set(200, u"New");
  language_.Set(266, u"Sleep after ");
  language_.Set(267, u" min");
  language_.font.face = u"Tahoma";
  settings = std::make_unique<SettingsStore>(DataFolder(), language_);
  settings->LoadConfiguration();
  mouse = std::make_shared<VirtualMouse>(clock);
  mouse->Plug(VirtualLink::Cable);
  window.settings = settings.get();
  link = std::make_unique<DeviceLink>(mouse, clock, window, window, window);
  link->InitStandby(0);
  model = std::make_unique<MainWindowModel>(*settings, *link, window, 1.0f, 1040, language_);
  window.model = model.get();
  link->StartUp();
  ApplyNow();
}

void MainWindowTest::TearDown() {
  link.reset();
  EXPECT_EQ(mouse->Violations(), std::vector<std::string>{});
  DataFolderTest::TearDown();
}

std::vector<std::vector<std::uint8_t>> MainWindowTest::ApplyNow() {
  link->ApplyPendingChanges();
  const auto writes = mouse->Writes();
  std::vector<std::vector<std::uint8_t>> frames;
  for (std::size_t i = writesSeen; i < writes.size(); ++i) frames.push_back(writes[i].bytes);
  writesSeen = writes.size();
  return frames;
}

std::vector<int> Commands(const std::vector<std::vector<std::uint8_t>>& frames) {
  std::vector<int> commands;
  for (const auto& frame : frames) commands.push_back(frame.size() > 2 ? frame[2] : -1);
  return commands;
}

}  // namespace zeltra::test
