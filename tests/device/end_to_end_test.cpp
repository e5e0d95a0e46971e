// Long random sequences of what a user and the mouse do, on the virtual
// mouse. After every apply the mouse must hold what the current profile
// encodes, with the macros its buttons name as the library holds them (not
// the buttons' own copies), nothing unchanged may have been sent again, and
// no two writes may be closer than 60 ms.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <random>

#include "device_fixture.h"
#include "settings/text_format.h"

namespace zeltra::test {
namespace {

// ---- The expected state, worked out from the profile on its own terms ----

std::uint8_t Rgb3(Colour c, int i) { return static_cast<std::uint8_t>(c >> (8 * i)); }

std::vector<std::uint8_t> ExpectedLighting(const ProfileRecord& p) {
  const int m = p.Lighting1ModeValue[0];
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(m),
                                static_cast<std::uint8_t>(((p.Lighting1Brightness[m] + 1) << 4) | (p.Lighting1Speed[m] + 1))};
  const auto& used = p.Lighting1ColorSelected[m];
  const auto& colour = p.Lighting1FixedColor[m];
  const auto put = [&](Colour c) {
    for (int i = 0; i < 3; ++i) out.push_back(Rgb3(c, i));
  };
  if (m == 1) out.push_back(p.Lighting1Direction[1]);
  if (m == 2) {
    out.push_back(0);
    for (int s = 0; s < 7; ++s)
      if (used[s] && colour[s]) {
        put(colour[s]);
        ++out[2];
      }
  }
  if (m == 3) put(colour[0]);
  if (m == 6 || m == 7)
    for (int s = 0; s < (m == 6 ? 7 : 2); ++s) put(used[s] ? colour[s] : 0);
  return out;
}

// Key and mouse-button events with the delay that follows each, at most 168.
std::vector<std::uint8_t> ExpectedMacroBytes(const Macro& macro) {
  std::vector<std::uint8_t> out;
  const auto& a = macro.AllAction;
  for (std::uint32_t i = 0; i < macro.MacroActionNum && out.size() < 168 * 3; ++i) {
    if (a[i].bytes[0] == 3) continue;
    const std::uint32_t delay = i + 1 < macro.MacroActionNum && a[i + 1].bytes[0] == 3 ? std::min(a[i + 1].DelayMs(), 4095u) : 0;
    const std::uint8_t code = a[i].bytes[0];
    const bool button = code >= 0xE0 && code <= 0xE4;
    out.push_back(static_cast<std::uint8_t>((a[i].bytes[1] & 0x80) | (button ? 0x10 : 0x30) | (delay >> 8)));
    out.push_back(static_cast<std::uint8_t>(delay));
    out.push_back(button ? static_cast<std::uint8_t>(1 << (code - 0xE0)) : static_cast<std::uint8_t>(code - 0x41 + 4));
  }
  return out;
}

struct Expectation {
  std::uint8_t powerDownTime = 6, moveLighting = 0, motionWakeup = 1;
};

using Library = std::function<const Macro*(std::uint32_t index)>;

VirtualMouseState Expected(const ProfileRecord& p, const DpiTable& table, const Expectation& e, VirtualMouseState state,
                           const Library& library) {
  static constexpr int kPosition[6] = {0, 1, 2, 4, 3, 5};
  // Macro buttons: one slot per library macro, numbered in button order, and
  // the library macro's repeat rule.
  std::vector<const Macro*> slots;
  for (int k = 0; k < 6; ++k) {
    const KeySlot& key = p.Key[k];
    const Macro* m = key.Value[0] == 0x90 ? library(key.MacroKeyIndex) : nullptr;
    if (!m) {
      state.buttons[kPosition[k]] = {key.Value[0], key.Value[1], key.Value[2]};
      continue;
    }
    auto at = std::find(slots.begin(), slots.end(), m);
    if (at == slots.end()) at = slots.insert(at, m);
    const int slot = static_cast<int>(at - slots.begin()) + 1;
    state.buttons[kPosition[k]] = {0x90, static_cast<std::uint8_t>(slot | m->MacroKeyLoopType << 4),
                                   m->MacroKeyLoopType == 2 ? m->MacroKeyLoopNum : std::uint8_t{0}};
    state.macros[static_cast<std::size_t>(slot)] = ExpectedMacroBytes(*m);
  }
  state.stageByte = static_cast<std::uint8_t>(((p.CurrentDPILevelValue + 1) << 4) | std::popcount(p.DPIOffOnFlagValue));
  state.dpiMask = p.DPIOffOnFlagValue;
  for (int i = 0; i < 6; ++i) state.dpiCodes[i] = table.device[std::min<int>(p.XYSettingValue[i], table.count - 1)];
  for (int i = 0; i < 8; ++i)
    state.dpiColours[i] = {Rgb3(p.DPILevelIndicationValue[i], 0), Rgb3(p.DPILevelIndicationValue[i], 1),
                           Rgb3(p.DPILevelIndicationValue[i], 2)};
  state.rateCode = static_cast<std::uint8_t>(8 >> std::min<int>(p.PollingRateValue[0], 3));
  state.liftOff = p.Setting(kLiftDetectionHeight) == u"1" ? 1 : 2;
  state.debounce = static_cast<std::uint8_t>(ParseDecimal(p.Setting(kKeyDebounce)));
  state.lighting = ExpectedLighting(p);
  state.powerDownTime = e.powerDownTime;
  state.moveLighting = e.moveLighting;
  state.motionWakeup = e.motionWakeup;
  return state;
}

// ---- The random user ----

class Session {
 public:
  explicit Session(unsigned seed) : random_(seed), rig_(true, seed % 2 == 1) {
    for (std::uint32_t index = 1; index <= 4; ++index) {
      rig_.host.AddLibraryMacro(index, 0);
      RandomMacro(*rig_.host.library.back());
    }
    for (int k = 0; k < kProfileCount; ++k) RandomProfile(rig_.host.profiles[static_cast<std::size_t>(k)]);
    rig_.link->ResolveMacroSlots();  // as the start-up cache reload does
    expectation_ = ProfilePower();
    rig_.mouse->SetState(Expected(Profile(), rig_.host.table, expectation_, rig_.mouse->State(), LibraryLookup()));
    rig_.Connect();
    Check("start");
  }

  void Run(int steps) {
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      if (Pick(0, 7) == 0) {
        ManagerSession(step);
        continue;
      }
      unsigned flags = 0;
      const int edits = Pick(1, 3);
      for (int e = 0; e < edits; ++e) flags |= Edit();
      rig_.link->RequestApply(flags);
      if (Pick(0, 9) == 0) {  // a scan in between (watchdog, device notification)
        rig_.link->ScanDevices();
        flags |= kPendingPower;
      }
      // Power saving and wake-up reach the mouse only with their own flags
      // (a profile switch leaves the mouse's values alone).
      const Expectation now = ProfilePower();
      if (flags & kPendingPower) {
        expectation_.powerDownTime = now.powerDownTime;
        expectation_.moveLighting = now.moveLighting;
      }
      if (flags & kPendingWake) expectation_.motionWakeup = now.motionWakeup;
      if (Pick(0, 7) == 0) MouseReport(step);  // before the apply timer fires
      rig_.link->ApplyPendingChanges();
      Check("step " + std::to_string(step));
      if (Pick(0, 5) == 0) FromTheMouse(step);
    }
    // Writes, including the macro packets, at least 60 ms apart.
    const auto writes = rig_.mouse->Writes();
    for (std::size_t i = 1; i < writes.size(); ++i)
      ASSERT_GE(writes[i].timeMs - writes[i - 1].timeMs, 60) << "write " << i;
    EXPECT_GT(reportsBetweenEdits_, 0) << "no mouse report fell between two macro edits";
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  ProfileRecord& Profile() { return rig_.host.CurrentProfile(); }

  void RandomMacro(Macro& m) {
    m.MacroActionNum = 0;
    const int events = Pick(0, 3) == 0 ? Pick(120, 200) : Pick(0, 20);
    for (int i = 0; i < events && m.MacroActionNum < kMaxMacroActions - 1; ++i) {
      const bool button = Pick(0, 4) == 0;
      m.InsertAction(static_cast<int>(m.MacroActionNum),
                     MacroAction::Event(static_cast<std::uint8_t>(button ? Pick(0xE0, 0xE4) : Pick(0x41, 0x5A)), Pick(0, 1) == 1));
      if (Pick(0, 2) == 0) m.InsertAction(static_cast<int>(m.MacroActionNum), MacroAction::Delay(static_cast<std::uint32_t>(Pick(1, 6000))));
    }
    m.MacroCommandActionNum = static_cast<std::uint8_t>(std::min(m.CountEvents(), 255));
    m.MacroKeyLoopType = static_cast<std::uint8_t>(std::array{1, 2, 4}[static_cast<std::size_t>(Pick(0, 2))]);
    m.MacroKeyLoopNum = static_cast<std::uint8_t>(Pick(1, 9));
  }

  void RandomButton(ProfileRecord& p, int slot) {
    static const std::array<std::array<std::uint8_t, 3>, 10> codes{{{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0},
                                                                     {0x10, 0x08, 0}, {0x40, 0x01, 0}, {0x50, 0x05, 0},
                                                                     {0x70, 0x01, 0x06}, {0x80, 0xCD, 0}, {0, 0, 0},
                                                                     {0x30, 0x32, 0x03}}};
    KeySlot& key = p.Key[static_cast<std::size_t>(slot)];
    if (Pick(0, 2) == 0) {
      const auto index = static_cast<std::uint32_t>(Pick(1, 5));  // 5 is not in the library
      key.Value = {0x90, 0, 0, 0};
      key.MacroKeyIndex = index;
      if (const Macro* m = rig_.host.FindLibraryMacro(index)) key.macro.CopyFrom(*m);
    } else {
      const auto& c = codes[static_cast<std::size_t>(Pick(0, static_cast<int>(codes.size()) - 1))];
      key.Value = {c[0], c[1], c[2], 0};
      key.macro.MacroActionNum = 0;
    }
  }

  void RandomDpi(ProfileRecord& p) {
    switch (Pick(0, 3)) {
      case 0: {
        const auto mask = static_cast<std::uint8_t>(p.DPIOffOnFlagValue ^ (1u << Pick(0, 7)));
        if (mask) p.DPIOffOnFlagValue = mask;
        break;
      }
      case 1: p.XYSettingValue[static_cast<std::size_t>(Pick(0, 7))] = static_cast<std::uint16_t>(Pick(0, 130)); break;
      case 2: p.DPILevelIndicationValue[static_cast<std::size_t>(Pick(0, 7))] = static_cast<Colour>(Pick(0, 0xFFFFFF)); break;
      default: break;
    }
    p.CurrentDPILevelValue = static_cast<std::uint8_t>(Pick(0, std::popcount(p.DPIOffOnFlagValue) - 1));
  }

  void RandomLighting(ProfileRecord& p) {
    const auto mode = static_cast<std::size_t>(Pick(0, 9));
    p.Lighting1ModeValue[0] = static_cast<std::uint8_t>(mode);
    p.Lighting1Speed[mode] = static_cast<std::uint8_t>(Pick(0, 2));
    p.Lighting1Brightness[mode] = static_cast<std::uint8_t>(Pick(0, 3));
    p.Lighting1Direction[mode] = static_cast<std::uint8_t>(Pick(0, 1));
    const auto slot = static_cast<std::size_t>(Pick(0, 9));
    p.Lighting1ColorSelected[mode][slot] = static_cast<std::uint8_t>(Pick(0, 1));
    p.Lighting1FixedColor[mode][slot] = Pick(0, 3) == 0 ? 0 : static_cast<Colour>(Pick(1, 0xFFFFFF));
  }

  void RandomProfile(ProfileRecord& p) {
    for (int k = 0; k < 6; ++k)
      if (Pick(0, 1)) RandomButton(p, k);
    for (int i = 0; i < 4; ++i) RandomDpi(p);
    RandomLighting(p);
    p.PollingRateValue[0] = static_cast<std::uint8_t>(Pick(0, 3));
    p.SetSetting(kPowerDownTime, Dec(Pick(3, 10)));
    p.SetSetting(kMotionWakeup, Dec(Pick(0, 1)));
  }

  unsigned Edit() {
    ProfileRecord& p = Profile();
    switch (Pick(0, 9)) {
      case 0: case 1: RandomButton(p, Pick(0, 5)); return kPendingButtons;
      case 2: RandomDpi(p); return kPendingSettings;
      case 3: p.PollingRateValue[0] = static_cast<std::uint8_t>(Pick(0, 3)); return kPendingSettings;
      case 4: RandomLighting(p); return kPendingSettings;
      case 5:
        p.SetSetting(kLiftDetectionHeight, Dec(Pick(1, 2)));
        p.SetSetting(kKeyDebounce, Dec(2 * Pick(0, 15)));
        return kPendingSettings;
      case 6:
        p.SetSetting(kPowerDownTime, Dec(Pick(3, 10)));
        p.SetSetting(kMoveLightingOnOffMode, Dec(Pick(0, 1)));
        return kPendingPower;
      case 7: p.SetSetting(kMotionWakeup, Dec(Pick(0, 1))); return kPendingWake;
      case 8:  // the macro manager changed a macro; closing it applies the buttons
        RandomMacro(*rig_.host.library[static_cast<std::size_t>(Pick(0, 3))]);
        rig_.link->SetMacroLibraryChanged();
        return kPendingButtons;
      default:  // another profile from the profile picker
        rig_.host.current = Pick(0, kProfileCount - 1);
        return kPendingButtons | kPendingSettings;
    }
  }

  Expectation ProfilePower() {
    const auto power = EncodePowerSaving(Profile());
    return {power[0], power[1], EncodeMotionWakeup(Profile())};
  }

  void MouseReport(int step) {
    if (Pick(0, 1))
      rig_.mouse->PressDpiButton();
    else
      rig_.mouse->ChangeReportRate(static_cast<std::uint8_t>(8 >> Pick(0, 3)));
    ASSERT_EQ(rig_.host.PumpPosted(*rig_.link, 1), 1) << "step " << step;
  }

  void FromTheMouse(int step) {
    MouseReport(step);
    Check("mouse report after step " + std::to_string(step));
  }

  // The macro manager is open: macros change in the library, the mouse's own
  // buttons may report in between, and closing the manager applies at once.
  void ManagerSession(int step) {
    rig_.link->SetMacroLibraryChanged();
    const int edits = Pick(1, 3);
    for (int e = 0; e < edits; ++e) {
      Macro& m = *rig_.host.library[static_cast<std::size_t>(Pick(0, 3))];
      if (Pick(0, 3) == 0)
        m.MacroKeyLoopType = static_cast<std::uint8_t>(std::array{1, 2, 4}[static_cast<std::size_t>(Pick(0, 2))]);
      else
        RandomMacro(m);
      if (Pick(0, 1) == 0) {
        MouseReport(step);
        if (e + 1 < edits) ++reportsBetweenEdits_;
      }
    }
    rig_.link->ApplyPendingChanges();
    Check("macro manager closed at step " + std::to_string(step));
  }

  Library LibraryLookup() {
    return [this](std::uint32_t index) { return rig_.host.FindLibraryMacro(index); };
  }

  void Check(const std::string& where) {
    const VirtualMouseState actual = rig_.mouse->State();
    const VirtualMouseState expected = Expected(Profile(), rig_.host.table, expectation_, actual, LibraryLookup());
    ASSERT_EQ(actual, expected) << where << "\n" << rig_.mouse->LogText().substr(0, 4000);
    ASSERT_EQ(rig_.mouse->RedundantWrites(), 0) << where << "\n" << rig_.mouse->LogText().substr(0, 4000);
    ASSERT_EQ(rig_.mouse->Violations(), std::vector<std::string>{}) << where;
  }

  std::mt19937 random_;
  Rig rig_;
  Expectation expectation_;
  int reportsBetweenEdits_ = 0;
};

TEST(EndToEnd, RandomEditsSwitchesAndMouseEvents) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Session session(seed);
    session.Run(1000);
  }
}

}  // namespace
}  // namespace zeltra::test
