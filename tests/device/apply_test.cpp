// The apply cycle on the virtual mouse: what is sent for an edit, in which
// frames, how long it takes, and what is not sent.
#include <gtest/gtest.h>

#include <functional>

#include "device_fixture.h"
#include "settings/language.h"

namespace zeltra::test {
namespace {

std::uint8_t Next(std::uint8_t s, int n) { return static_cast<std::uint8_t>(s + n); }

TEST(Apply, OneChangedButtonSendsOneReportButTakes360Ms) {
  Rig rig;
  rig.Connect();
  rig.host.CurrentProfile().Key[2].Value = {0x10, 0x08, 0x00, 0};
  const std::uint8_t s = rig.link->reportSequence();
  const auto start = rig.clock.NowMs();
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 04 00 ss 01 04 02 10 08 00", s)}));
  EXPECT_EQ(rig.clock.NowMs() - start, 360);
}

TEST(Apply, SwappedSlotsThreeAndFourTradeDevicePositions) {
  Rig rig;
  rig.Connect();
  auto& keys = rig.host.CurrentProfile().Key;
  std::swap(keys[3].Value, keys[4].Value);
  const std::uint8_t s = rig.link->reportSequence();
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 04 00 ss 01 04 03 10 10 00", s),
                                                  Frame("0C 01 04 00 ss 01 04 04 10 08 00", Next(s, 1))}));
}

TEST(Apply, AReportRateClickSendsExactlyTheRateReport) {
  Rig rig;
  rig.Connect();
  rig.host.CurrentProfile().PollingRateValue = {2, 0, 0};
  const std::uint8_t s = rig.link->reportSequence();
  const auto start = rig.clock.NowMs();
  rig.link->RequestApply(kPendingSettings);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 07 00 ss 01 01 02", s)}));
  EXPECT_EQ(rig.clock.NowMs() - start, 60);
  EXPECT_EQ(rig.host.progressDialogs, 1);
  EXPECT_EQ(rig.mouse->State().rateCode, 2);
}

TEST(Apply, NothingChangedSendsNothingAndShowsNoProgress) {
  Rig rig;
  rig.Connect();
  const int saves = rig.host.delayedSaves;
  rig.link->RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  rig.link->ApplyPendingChanges();
  EXPECT_TRUE(rig.TakeWrites().empty());
  EXPECT_EQ(rig.host.progressDialogs, 0);
  EXPECT_EQ(rig.host.delayedSaves, saves + 1);  // the save is armed after every apply
}

TEST(Apply, AScanAppliesSilently) {
  Rig rig;
  rig.Connect();
  rig.host.CurrentProfile().PollingRateValue = {0, 0, 0};
  rig.link->ScanDevices();
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites().size(), 1u);
  EXPECT_EQ(rig.host.progressDialogs, 0);
  EXPECT_EQ(rig.link->pending().silentApply, 0);
}

TEST(Apply, StandbyKeepsTheFlagsAndSendsLater) {
  Rig rig;
  rig.Connect();
  SetActive(*rig.link, 0);
  rig.host.CurrentProfile().PollingRateValue = {1, 0, 0};
  rig.link->RequestApply(kPendingSettings);
  rig.link->ApplyPendingChanges();
  EXPECT_TRUE(rig.TakeWrites().empty());
  EXPECT_EQ(rig.link->pending().settingsPending, 1);
  SetActive(*rig.link, 1);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites().size(), 1u);
}

// A write the mouse did not take (asleep behind the receiver) is sent again
// by the next apply, whatever asked for it, and the apply that failed does
// not count as written.
TEST(Apply, AFailedWriteIsSentAgainByTheNextApply) {
  struct Case {
    const char* name;
    int failingCall;                         // of the edit's apply
    std::function<unsigned(TestHost&)> edit;  // returns the pending flags
    std::function<bool(const VirtualMouseState&, ProfileRecord&)> arrived;
  };
  const Case cases[] = {
      {"debounce", 1,
       [](TestHost& h) { return h.CurrentProfile().SetSetting(kKeyDebounce, u"8"), kPendingSettings; },
       [](const VirtualMouseState& s, ProfileRecord&) { return s.debounce == 8; }},
      {"a button", 1,
       [](TestHost& h) { return h.CurrentProfile().Key[2].Value = {0x10, 0x08, 0x00, 0}, kPendingButtons; },
       [](const VirtualMouseState& s, ProfileRecord&) { return s.buttons[2] == std::array<std::uint8_t, 3>{0x10, 0x08, 0}; }},
      {"power saving", 1,
       [](TestHost& h) { return h.CurrentProfile().SetSetting(kPowerDownTime, u"9"), kPendingPower; },
       [](const VirtualMouseState& s, ProfileRecord& p) { return s.powerDownTime == EncodePowerSaving(p)[0]; }},
      {"motion wake-up", 1,
       [](TestHost& h) { return h.CurrentProfile().SetSetting(kMotionWakeup, u"0"), kPendingWake; },
       [](const VirtualMouseState& s, ProfileRecord& p) { return s.motionWakeup == EncodeMotionWakeup(p); }},
      {"a macro upload", 2,  // after the button's own report
       [](TestHost& h) {
         h.AddLibraryMacro(7, 4);
         h.AssignMacro(2, 7);
         return kPendingButtons;
       },
       [](const VirtualMouseState& s, ProfileRecord&) { return s.macros[1].size() == 12u; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Connect();
    rig.mouse->FailCall(FaultOp::SetFeature, c.failingCall);
    rig.link->RequestApply(c.edit(rig.host));
    rig.link->ApplyPendingChanges();
    EXPECT_FALSE(c.arrived(rig.mouse->State(), rig.host.CurrentProfile()));
    EXPECT_EQ(rig.link->pending().reportWritten, 0);
    EXPECT_EQ(rig.host.progressDialogs, 0);

    rig.link->ApplyPendingChanges();
    EXPECT_TRUE(c.arrived(rig.mouse->State(), rig.host.CurrentProfile()));
    EXPECT_EQ(rig.host.progressDialogs, 1);
    rig.TakeWrites();
    rig.link->RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
    rig.link->ApplyPendingChanges();
    EXPECT_TRUE(rig.TakeWrites().empty()) << "sent a third time";
  }
}

TEST(Apply, WithoutALinkNothingIsSentAndNothingIsForgotten) {
  Rig rig(/*cable=*/false);
  rig.Connect();
  rig.host.AddLibraryMacro(7, 4);
  rig.host.AssignMacro(2, 7);
  rig.host.CurrentProfile().PollingRateValue = {0, 0, 0};
  rig.link->RequestApply(kPendingButtons | kPendingSettings);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.link->pending().reportWritten, 0);

  rig.mouse->Plug(VirtualLink::Cable);
  rig.link->OnDeviceArrival();
  rig.link->ApplyPendingChanges();
  const VirtualMouseState state = rig.mouse->State();
  EXPECT_EQ(state.rateCode, 8);
  EXPECT_EQ(state.buttons[2], (std::array<std::uint8_t, 3>{0x90, 0x21, 0x01}));
  // Four key events: the macro the button names reached its slot.
  EXPECT_EQ(state.macros[1].size(), 12u);
}

// ---- Macros ----

TEST(ApplyMacros, NineActionsGoOutAsTwoPackets) {
  Rig rig;
  rig.Connect();
  Macro& macro = rig.host.AddLibraryMacro(7, 0);
  const std::uint8_t keys[] = {0x41, 0x41, 0x42, 0x42, 0x43, 0x43, 0x44, 0x44, 0x45};
  for (int i = 0; i < 9; ++i) macro.InsertAction(i, MacroAction::Event(keys[i], i % 2 == 1));
  macro.MacroCommandActionNum = 9;
  rig.host.AssignMacro(2, 7);
  const std::uint8_t s = rig.link->reportSequence();
  const auto start = rig.clock.NowMs();
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.TakeWrites(),
            (std::vector<Bytes>{
                Frame("0C 01 04 00 ss 01 04 02 90 21 01", s),
                Frame("0C 01 0E 00 ss 02 1A 01 30 00 04 B0 00 04 30 00 05 B0 00 05 30 00 06 B0 00 06 30 00 07 B0 00 07 30",
                      Next(s, 1)),
                Frame("0C 01 0E 00 ss 12 03 01 00 08", Next(s, 2)),
            }));
  // Buttons 360 ms, two packets, and the pause after the macro button.
  EXPECT_EQ(rig.clock.NowMs() - start, 360 + 2 * 60 + 60);
}

TEST(ApplyMacros, AnEmptyMacroStillSendsOnePacket) {
  Rig rig;
  rig.Connect();
  rig.host.AddLibraryMacro(5, 0);
  rig.host.AssignMacro(1, 5);
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  const auto writes = rig.TakeWrites();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(Hex(writes[1]), Hex(Frame("0C 01 0E 00 ss 01 01 01", writes[1][4])));
}

TEST(ApplyMacros, RepeatRuleGoesIntoTheCodeBytes) {
  struct Case {
    std::uint8_t loopType, loopNum;
    std::array<std::uint8_t, 3> code;
  };
  for (const Case& c : {Case{2, 5, {0x90, 0x21, 0x05}}, Case{4, 5, {0x90, 0x41, 0x00}}, Case{1, 9, {0x90, 0x11, 0x00}}}) {
    Rig rig;
    rig.Connect();
    rig.host.AddLibraryMacro(3, 2, c.loopType, c.loopNum);
    rig.host.AssignMacro(5, 3);
    rig.link->ResolveMacroSlots();
    const auto& v = rig.host.CurrentProfile().Key[5].Value;
    EXPECT_EQ((std::array<std::uint8_t, 3>{v[0], v[1], v[2]}), c.code) << int(c.loopType);
  }
}

TEST(ApplyMacros, ButtonsNamingTheSameMacroShareASlotAndOneUpload) {
  Rig rig;
  rig.Connect();
  rig.host.AddLibraryMacro(7, 4);
  rig.host.AddLibraryMacro(9, 2);
  rig.host.AssignMacro(2, 9);
  rig.host.AssignMacro(3, 7);
  rig.host.AssignMacro(4, 9);
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  const auto& keys = rig.host.CurrentProfile().Key;
  EXPECT_EQ(keys[2].Value[1], 0x21);
  EXPECT_EQ(keys[3].Value[1], 0x22);
  EXPECT_EQ(keys[4].Value[1], 0x21);
  int uploads = 0;
  for (const Bytes& w : rig.TakeWrites())
    if (w[2] == 0x0E && (w[5] >> 4) == 0) ++uploads;
  EXPECT_EQ(uploads, 2);
  EXPECT_EQ(rig.mouse->RedundantWrites(), 0);
}

TEST(ApplyMacros, ASharedSlotIsUploadedOnceEvenWhenTheCopiesDiffer) {
  Rig rig;
  rig.Connect();
  Macro& library = rig.host.AddLibraryMacro(7, 2);
  rig.host.AssignMacro(2, 7);
  library.InsertAction(2, MacroAction::Event(0x5A, false));
  library.MacroCommandActionNum = 3;
  rig.host.AssignMacro(4, 7);  // assigned after the library changed: a longer copy
  for (int apply = 0; apply < 2; ++apply) {
    rig.link->RequestApply(kPendingButtons);
    rig.link->ApplyPendingChanges();
    int packets = 0;
    for (const Bytes& w : rig.TakeWrites()) packets += w[2] == 0x0E;
    EXPECT_EQ(packets, apply == 0 ? 1 : 0);
  }
  EXPECT_EQ(rig.mouse->State().macros[1].size(), 9u);  // both copies follow the library
}

TEST(ApplyMacros, AMissingMacroDisablesItsButton) {
  Rig rig;
  rig.Connect();
  Language().Set(34, u"Disabled");
  rig.host.AssignMacro(2, 42);  // not in the library
  rig.host.AssignMacro(3, 0);   // no macro at all
  const std::uint8_t s = rig.link->reportSequence();
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  for (int slot : {2, 3}) {
    const KeySlot& key = rig.host.CurrentProfile().Key[static_cast<std::size_t>(slot)];
    EXPECT_EQ(key.Name, u"Disabled");
    EXPECT_EQ((std::array<std::uint8_t, 3>{key.Value[0], key.Value[1], key.Value[2]}), (std::array<std::uint8_t, 3>{}));
  }
  EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 04 00 ss 01 04 02 00 00 00", s),
                                                  Frame("0C 01 04 00 ss 01 04 04 00 00 00", Next(s, 1))}));
  Language().Set(34, u"");
}

// Macro 7 (four key events) on KeySlot 2, applied: the mouse holds it.
void AssignMacroSevenToButtonTwo(Rig& rig) {
  rig.host.AddLibraryMacro(7, 4);
  rig.host.AssignMacro(2, 7);
  rig.link->RequestApply(kPendingButtons);
  rig.link->ApplyPendingChanges();
  ASSERT_EQ(rig.mouse->State().buttons[2], (std::array<std::uint8_t, 3>{0x90, 0x21, 0x01}));
}

// A button whose macro left the library is disabled by the next apply, and
// the mouse is sent that, whichever group the apply was asked for.
TEST(ApplyMacros, ADeletedMacrosButtonIsSentDisabledBySettingsApply) {
  Rig rig;
  rig.Connect();
  AssignMacroSevenToButtonTwo(rig);
  rig.host.library.clear();
  rig.host.CurrentProfile().PollingRateValue = {0, 0, 0};
  rig.link->RequestApply(kPendingSettings);
  rig.link->ApplyPendingChanges();
  EXPECT_EQ(rig.mouse->State().buttons[2], (std::array<std::uint8_t, 3>{}));
  EXPECT_EQ(rig.mouse->State().rateCode, 8);
  EXPECT_EQ(rig.host.progressDialogs, 2);
}

// A reload (after a report from the mouse, at start-up) binds the macro
// buttons as an apply would, from each button's own copy: the controls show
// a deleted macro's button disabled at once, the next apply sends just that,
// and a button not bound yet costs no second upload of its macro.
TEST(ApplyMacros, AReloadBindsTheMacroButtons) {
  {
    Rig rig;
    rig.Connect();
    Language().Set(34, u"Disabled");
    AssignMacroSevenToButtonTwo(rig);
    ASSERT_TRUE(rig.mouse->WaitUntilReading(VirtualLink::Cable, std::chrono::seconds(5)));
    rig.host.library.clear();
    rig.TakeWrites();
    rig.mouse->PressDpiButton();
    ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
    const KeySlot& key = rig.host.CurrentProfile().Key[2];
    EXPECT_EQ(key.Name, u"Disabled");
    EXPECT_EQ(key.Value[0], 0);
    EXPECT_EQ(rig.host.events.back(), "refresh");
    const std::uint8_t s = rig.link->reportSequence();
    rig.link->RequestApply(kPendingSettings);
    rig.link->ApplyPendingChanges();
    EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 04 00 ss 01 04 02 00 00 00", s)}));
    Language().Set(34, u"");
  }
  {
    Rig rig;
    rig.host.AddLibraryMacro(7, 4);
    rig.host.AssignMacro(2, 7);  // as a profile file may hold it: 90 00 00
    rig.mouse->SetState([&] {
      VirtualMouseState held = rig.mouse->State();
      held.buttons[2] = {0x90, 0x00, 0x00};
      return held;
    }());
    rig.link->StartUp();
    EXPECT_EQ(rig.host.CurrentProfile().Key[2].Value[1], 0x21);
    rig.link->ApplyPendingChanges();
    for (const Bytes& w : rig.TakeWrites()) EXPECT_NE(w[2], kCmdMacro) << Hex(w);
    EXPECT_EQ(rig.mouse->State().buttons[2], (std::array<std::uint8_t, 3>{0x90, 0x21, 0x01}));
  }
}

// While the library cannot be read its macros are unknown, not deleted: a
// button keeps its own copy and repeat rule, as its profile file has them.
TEST(ApplyMacros, AnUnavailableLibraryKeepsEveryButtonsOwnMacro) {
  struct Case {
    bool unavailable;
    std::uint32_t index;
    std::array<std::uint8_t, 3> code;
    std::size_t macroBytes;
  };
  for (const Case& c : {Case{true, 7, {0x90, 0x41, 0x00}, 12}, Case{false, 7, {}, 0}, Case{true, 0, {}, 0}}) {
    Rig rig;
    rig.Connect();
    rig.host.AddLibraryMacro(7, 4);
    rig.host.AssignMacro(3, 7);
    rig.host.library.clear();
    rig.host.libraryUnavailable = c.unavailable;
    KeySlot& key = rig.host.CurrentProfile().Key[3];
    key.Value = {0x90, 0x42, 0x00, 0};  // slot 2 and repeat rule 4, as a former apply left them
    key.MacroKeyIndex = c.index;
    rig.link->RequestApply(kPendingButtons);
    rig.link->ApplyPendingChanges();
    EXPECT_EQ(rig.mouse->State().buttons[4], c.code) << c.unavailable << c.index;
    EXPECT_EQ(rig.mouse->State().macros[1].size(), c.macroBytes);
    EXPECT_EQ(key.macro.MacroActionNum, 4u);
  }
}

// The library is the source of truth whenever a profile is applied: a button
// never uploads its own stale copy of a macro, whatever ran in between.
TEST(ApplyMacros, ButtonsAlwaysUploadTheLibrarysMacro) {
  const auto edit = [](Macro& m) {
    m.InsertAction(static_cast<int>(m.MacroActionNum), MacroAction::Event(0x5A, m.MacroActionNum % 2 == 1));
    m.MacroCommandActionNum = static_cast<std::uint8_t>(m.CountEvents());
  };
  const auto mouseReport = [](Rig& rig) {
    rig.mouse->PressDpiButton();
    ASSERT_EQ(rig.host.PumpPosted(*rig.link, 1), 1);
  };
  struct Case {
    const char* name;
    // What the user and the mouse do after macro 7 reached the mouse from profile 0.
    std::function<void(Rig&, Macro&)> script;
  };
  const Case cases[] = {
      {"a mouse report between two edits in the manager",
       [&](Rig& rig, Macro& m) {
         rig.link->SetMacroLibraryChanged();
         edit(m);
         mouseReport(rig);
         edit(m);
         rig.link->ApplyPendingChanges();  // the manager closes
       }},
      {"a mouse report after the last edit",
       [&](Rig& rig, Macro& m) {
         rig.link->SetMacroLibraryChanged();
         edit(m);
         mouseReport(rig);
         rig.link->ApplyPendingChanges();
       }},
      {"switching to another profile with the same macro",
       [&](Rig& rig, Macro& m) {
         rig.link->SetMacroLibraryChanged();
         edit(m);
         rig.link->ApplyPendingChanges();
         rig.host.current = 1;
         rig.link->RequestApply(kPendingButtons | kPendingSettings);
         rig.link->ApplyPendingChanges();
       }},
      {"a new repeat rule",
       [&](Rig& rig, Macro& m) {
         rig.link->SetMacroLibraryChanged();
         m.MacroKeyLoopType = 4;
         rig.link->ApplyPendingChanges();
       }},
      {"an edit without the manager's flag",
       [&](Rig& rig, Macro& m) {
         edit(m);
         rig.link->RequestApply(kPendingSettings);
         rig.link->ApplyPendingChanges();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Connect();
    Macro& library = rig.host.AddLibraryMacro(7, 2);
    for (int profile : {1, 0}) {
      rig.host.current = profile;
      rig.host.AssignMacro(3, 7);  // device position 4
    }
    rig.link->RequestApply(kPendingButtons);
    rig.link->ApplyPendingChanges();
    ASSERT_EQ(rig.mouse->State().macros[1].size(), 6u);

    c.script(rig, library);
    const MacroImage image = BuildMacroImage(library, 1);
    const auto begin = image.begin() + static_cast<std::ptrdiff_t>(kMacroImageHeader);
    EXPECT_EQ(rig.mouse->State().macros[1], std::vector<std::uint8_t>(begin, begin + 3 * library.MacroCommandActionNum));
    const std::uint8_t repeat = library.MacroKeyLoopType == 2 ? library.MacroKeyLoopNum : 0;
    EXPECT_EQ(rig.mouse->State().buttons[4],
              (std::array<std::uint8_t, 3>{0x90, static_cast<std::uint8_t>(0x01 | library.MacroKeyLoopType << 4), repeat}));
    // The applied profile keeps the library's macro in its file too.
    const Macro& copy = rig.host.CurrentProfile().Key[3].macro;
    EXPECT_EQ(copy.MacroActionNum, library.MacroActionNum);
    EXPECT_EQ(copy.AllAction, library.AllAction);
  }
}

// ---- Factory reset ----

TEST(FactoryReset, SendsOneReportWithoutAPauseEvenInStandby) {
  Rig rig;
  rig.Connect();
  SetActive(*rig.link, 0);
  const std::uint8_t s = rig.link->reportSequence();
  const auto start = rig.clock.NowMs();
  rig.link->SendFactoryReset();
  EXPECT_EQ(rig.TakeWrites(), (std::vector<Bytes>{Frame("0C 01 0F 00 ss 01 01 FF", s)}));
  EXPECT_EQ(rig.clock.NowMs(), start);
  EXPECT_EQ(rig.mouse->FactoryResets(), 1);

  rig.link->SetWatchdogCounter(7);
  rig.host.CurrentProfile().PollingRateValue = {0, 0, 0};
  rig.link->CompleteFactoryReset();
  EXPECT_EQ(rig.link->caches().rate, 8);
  EXPECT_EQ(rig.link->watchdogCounter(), 0);
  EXPECT_EQ(rig.host.progressDialogs, 1);
}

}  // namespace
}  // namespace zeltra::test
