// The command file that scripts drive the program's virtual mouse with.
#include "device/virtual_mouse_control.h"

#include <gtest/gtest.h>

#include <fstream>

#include "device_fixture.h"

namespace zeltra::test {
namespace {

void Append(const std::filesystem::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out << text;
}

std::string ReadText(const std::filesystem::path& file) {
  const Bytes bytes = ReadBytes(file);
  return std::string(bytes.begin(), bytes.end());
}

TEST(VirtualMouseStateText, RoundTripsEveryField) {
  VirtualMouseState s;
  s.buttons[2] = {0x07, 0x01, 0xFF};
  s.stageByte = 0x35;
  s.dpiMask = 0x1D;
  s.dpiCodes = {0x0001, 0x00FF, 0x1234, 0, 0xFFFF, 9};
  s.dpiColours[7] = {1, 2, 3};
  s.rateCode = 8;
  s.liftOff = 3;
  s.debounce = 0;
  s.powerDownTime = 10;
  s.moveLighting = 1;
  s.motionWakeup = 0;
  s.lighting = {};
  s.macros[1] = {0x81, 0x04, 0x00, 0x10};
  s.macros[6] = {0x01};
  const auto back = ParseVirtualMouseStateText(VirtualMouseStateText(s));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, s);
}

TEST(VirtualMouseStateText, RejectsCutOrDamagedDumps) {
  const std::string good = VirtualMouseStateText(VirtualMouseState{});
  ASSERT_TRUE(ParseVirtualMouseStateText(good).has_value());
  EXPECT_FALSE(ParseVirtualMouseStateText(good.substr(0, good.size() / 2)).has_value());
  EXPECT_FALSE(ParseVirtualMouseStateText("").has_value());
  std::string badHex = good;
  badHex.replace(badHex.find("rate ") + 5, 2, "G1");
  EXPECT_FALSE(ParseVirtualMouseStateText(badHex).has_value());
  EXPECT_FALSE(ParseVirtualMouseStateText(good + "rate 01\n").has_value()) << "a field twice";
  std::string shortButtons = good;
  shortButtons.replace(shortButtons.find("buttons ") + 8, 6, "0101");
  EXPECT_FALSE(ParseVirtualMouseStateText(shortButtons).has_value());
}

TEST(VirtualMouseCommand, PlaysTheMousesPart) {
  Rig rig;
  VirtualMouse& mouse = *rig.mouse;
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "online 0"), "");
  EXPECT_FALSE(mouse.Status().online);
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "battery 35 1\r"), "");
  EXPECT_EQ(mouse.Status().batteryLevel, 35);
  EXPECT_EQ(mouse.Status().chargeState, 1);
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "sensor 18"), "");
  EXPECT_EQ(mouse.Status().sensorNumber, 18);
  const std::uint8_t stage = mouse.State().stageByte;
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "  dpi-button  "), "");
  EXPECT_NE(mouse.State().stageByte, stage);
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "rate 4"), "");
  EXPECT_EQ(mouse.State().rateCode, 4);
  rig.Connect();
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "stall set-feature"), "");
  const std::int64_t before = rig.clock.NowMs();
  rig.link->SendFactoryReset();  // the one transfer, with no pause of its own
  EXPECT_EQ(rig.clock.NowMs() - before, kFeatureTimeoutMs);
  EXPECT_EQ(mouse.FactoryResets(), 0);
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "unplug cable"), "");
  EXPECT_FALSE(mouse.IsPlugged(VirtualLink::Cable));
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "plug cable"), "");
  EXPECT_TRUE(mouse.IsPlugged(VirtualLink::Cable));
  EXPECT_EQ(RunVirtualMouseCommand(mouse, "# a comment"), "");
  EXPECT_EQ(RunVirtualMouseCommand(mouse, ""), "");
}

TEST(VirtualMouseCommand, SkipsWhatIsNoCommand) {
  Rig rig;
  VirtualMouse& mouse = *rig.mouse;
  const VirtualMouseState before = mouse.State();
  const VirtualStatus status = mouse.Status();
  for (std::string_view line : {"rate 3", "rate", "online yes", "battery 101 0", "battery 50", "sensor 256",
                                "unplug mouse", "dpi-button now", "stall read", "stall", "explode", "dump", "dump   ", "load", "load /no/such/file"}) {
    EXPECT_NE(RunVirtualMouseCommand(mouse, line), "") << line;
  }
  EXPECT_EQ(mouse.State(), before);
  EXPECT_EQ(mouse.Status().batteryLevel, status.batteryLevel);
  EXPECT_TRUE(mouse.IsPlugged(VirtualLink::Cable));
}

TEST(VirtualMouseControl, FollowsTheFileLineByLine) {
  TempDir dir;
  Rig rig;
  const auto file = dir / "control.txt";
  Append(file, "online 0\nrate 8\n");
  // What the file holds at the start is run before anything else can happen.
  VirtualMouseControl control(file, rig.mouse, std::chrono::milliseconds(5));
  EXPECT_FALSE(rig.mouse->Status().online);
  EXPECT_EQ(rig.mouse->State().rateCode, 8);

  // A line is taken only once it is whole.
  Append(file, "rate ");
  EXPECT_TRUE(Eventually([&] { return control.CommandsRun() >= 2; }));
  Append(file, "2\ndump " + (dir / "state with space.txt").string() + "\n");
  // The dump counts as run only once its file is written and closed.
  ASSERT_TRUE(Eventually([&] { return control.CommandsRun() >= 4; }));
  EXPECT_EQ(rig.mouse->State().rateCode, 2);
  const auto dumped = ParseVirtualMouseStateText(ReadText(dir / "state with space.txt"));
  ASSERT_TRUE(dumped.has_value());
  EXPECT_EQ(*dumped, rig.mouse->State());
  EXPECT_EQ(control.CommandsRun(), 4);

  // A mouse that held something else takes a dumped state back.
  RunVirtualMouseCommand(*rig.mouse, "rate 8");
  Append(file, "load " + (dir / "state with space.txt").string() + "\nload " + (dir / "missing").string() + "\n");
  ASSERT_TRUE(Eventually([&] { return control.CommandsRun() == 6; }));
  EXPECT_EQ(rig.mouse->State(), *dumped);
}

// A script says what the mouse's factory configuration is; a reset report
// brings the mouse there, not to whatever it held when loaded.
TEST(VirtualMouseControl, AFactoryStateIsWhatTheResetBringsBack) {
  TempDir dir;
  Rig rig;
  rig.Connect();
  VirtualMouseState factory;
  factory.buttons[0] = {0x10, 0x01, 0x00};
  factory.rateCode = 2;
  {
    std::ofstream out(dir / "factory.txt", std::ios::binary);
    out << VirtualMouseStateText(factory);
  }
  EXPECT_EQ(RunVirtualMouseCommand(*rig.mouse, "factory " + (dir / "factory.txt").string()), "");
  EXPECT_NE(RunVirtualMouseCommand(*rig.mouse, "factory " + (dir / "missing").string()), "");
  RunVirtualMouseCommand(*rig.mouse, "rate 8");
  EXPECT_EQ(rig.mouse->State().rateCode, 8) << "naming the factory state changes nothing yet";
  rig.link->SendFactoryReset();
  EXPECT_EQ(rig.mouse->State(), factory);
}

TEST(VirtualMouseControl, StartsAgainOnAFileMadeAnew) {
  TempDir dir;
  Rig rig;
  const auto file = dir / "control.txt";
  VirtualMouseControl control(file, rig.mouse, std::chrono::hours(1));  // polled by hand
  EXPECT_EQ(control.Poll(), 0) << "no file yet";
  Append(file, "rate 8\nrate 4\n");
  EXPECT_EQ(control.Poll(), 2);
  EXPECT_EQ(control.Poll(), 0);
  std::filesystem::remove(file);
  Append(file, "rate 2\n");
  EXPECT_EQ(control.Poll(), 1);
  EXPECT_EQ(rig.mouse->State().rateCode, 2);
}

}  // namespace
}  // namespace zeltra::test
