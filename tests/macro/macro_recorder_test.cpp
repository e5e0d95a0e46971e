#include "macro/macro_recorder.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

using Result = MacroRecorder::EventResult;

KeyHookEvent Hook(std::uint64_t wParam, bool release, std::uint32_t time) {
  return DecodeKeyHookMessage(wParam, MakeKeyHookLParam(release, time));
}

std::vector<MacroAction> Actions(const Macro& m) {
  return {m.AllAction.begin(), m.AllAction.begin() + m.MacroActionNum};
}

TEST(KeyHookMessage, DecodesCodeReleaseAndTime) {
  EXPECT_EQ(DecodeKeyHookMessage(0x41, 0x80000123u), (KeyHookEvent{0x41, true, 0x123}));
  EXPECT_EQ(DecodeKeyHookMessage(0x141, 0x7FFFFFFFu), (KeyHookEvent{0x41, false, 0x7FFFFFFF}));
  // A 64-bit lParam: only the low 32 bits count.
  EXPECT_EQ(DecodeKeyHookMessage(0x20, 0xFFFFFFFF00000010ull), (KeyHookEvent{0x20, false, 0x10}));
  EXPECT_EQ(MakeKeyHookLParam(true, 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(MakeKeyHookLParam(false, 0x80000005u), 5u);
}

TEST(MacroRecorder, StartingEmptiesTheCountsButNotTheEntries) {
  Macro m(u"m");
  m.InsertAction(0, MacroAction::Event(0x51, false));
  m.MacroCommandActionNum = 1;
  MacroRecorder recorder;
  EXPECT_EQ(recorder.Start(nullptr), MacroRecorder::StartResult::kNoMacro);
  EXPECT_FALSE(recorder.recording());
  ASSERT_EQ(recorder.Start(&m), MacroRecorder::StartResult::kStarted);
  EXPECT_TRUE(recorder.recording());
  EXPECT_EQ(m.MacroActionNum, 0u);
  EXPECT_EQ(m.MacroCommandActionNum, 0);
  EXPECT_EQ(m.AllAction[0].Code(), 0x51);
  EXPECT_EQ(recorder.lastKey(), 0);
  EXPECT_EQ(recorder.lastLParam(), 0u);
}

TEST(MacroRecorder, TwoKeysWithDelaysGiveSevenActions) {
  Macro m(u"m");
  MacroRecorder recorder;
  recorder.Start(&m);
  EXPECT_EQ(recorder.Record(m, Hook(0x41, false, 1000), true), Result::kStored);
  EXPECT_EQ(recorder.Record(m, Hook(0x41, true, 1120), true), Result::kStored);
  EXPECT_EQ(recorder.Record(m, Hook(0x42, false, 1300), true), Result::kStored);
  EXPECT_EQ(recorder.Record(m, Hook(0x42, true, 9000), true), Result::kStored);
  EXPECT_EQ(Actions(m), (std::vector<MacroAction>{MacroAction::Event(0x41, false), MacroAction::Delay(120),
                                                  MacroAction::Event(0x41, true), MacroAction::Delay(180),
                                                  MacroAction::Event(0x42, false), MacroAction::Delay(4095),
                                                  MacroAction::Event(0x42, true)}));
  EXPECT_EQ(m.MacroCommandActionNum, 4);
  EXPECT_EQ(recorder.lastKey(), 0x42);
  EXPECT_EQ(recorder.lastLParam(), 0x80000000u | 9000u);
}

TEST(MacroRecorder, WithoutTheDelayBoxOnlyEventsAreStored) {
  Macro m(u"m");
  MacroRecorder recorder;
  recorder.Start(&m);
  for (auto [code, release] : {std::pair{0x41, false}, {0x41, true}, {0x42, false}, {0x42, true}})
    recorder.Record(m, Hook(static_cast<std::uint64_t>(code), release, 5), false);
  EXPECT_EQ(Actions(m), (std::vector<MacroAction>{MacroAction::Event(0x41, false), MacroAction::Event(0x41, true),
                                                  MacroAction::Event(0x42, false), MacroAction::Event(0x42, true)}));
  EXPECT_EQ(m.MacroCommandActionNum, 4);
}

TEST(MacroRecorder, AHeldKeyIsRecordedOnce) {
  Macro m(u"m");
  MacroRecorder recorder;
  recorder.Start(&m);
  EXPECT_EQ(recorder.Record(m, Hook(0x41, false, 0), true), Result::kStored);
  for (std::uint32_t t = 500; t < 1000; t += 33)
    EXPECT_EQ(recorder.Record(m, Hook(0x41, false, t), true), Result::kIgnored);
  EXPECT_EQ(recorder.Record(m, Hook(0x41, true, 1000), true), Result::kStored);
  // Pressing the same key again after its release is a new event.
  EXPECT_EQ(recorder.Record(m, Hook(0x41, false, 1010), true), Result::kStored);
  EXPECT_EQ(m.MacroCommandActionNum, 3);
  EXPECT_EQ(m.AllAction[1].DelayMs(), 1000u);  // measured from the first press, not the repeats
}

TEST(MacroRecorder, CodesBelowEightAreIgnored) {
  Macro m(u"m");
  MacroRecorder recorder;
  recorder.Start(&m);
  // wParam 0 is what a closing popup of the manager sends.
  for (std::uint64_t code : {0u, 1u, 7u, 0x100u})
    EXPECT_EQ(recorder.Record(m, Hook(code, false, 0), true), Result::kIgnored);
  EXPECT_EQ(m.MacroActionNum, 0u);
  recorder.Stop();
  EXPECT_EQ(recorder.Record(m, Hook(0x41, false, 0), true), Result::kIgnored);
}

TEST(MacroRecorder, PausesWrapOver31BitsAndAreCapped) {
  EXPECT_EQ(RecordedPause(100, 350), 250u);
  EXPECT_EQ(RecordedPause(0x7FFFFFF0u, 0x10u), 0x20u);
  EXPECT_EQ(RecordedPause(100, 100), 0u);
  EXPECT_EQ(RecordedPause(0, 4096), 4095u);
  EXPECT_EQ(RecordedPause(5000, 100), 4095u);  // far back means a wrap of almost 2^31
}

TEST(MacroRecorder, The169thEventEndsTheRecordingAndIsNotStored) {
  for (bool delays : {true, false}) {
    Macro m(u"m");
    MacroRecorder recorder;
    recorder.Start(&m);
    for (int i = 0; i < kMaxMacroEvents; ++i)
      ASSERT_EQ(
          recorder.Record(m, Hook(static_cast<std::uint64_t>(0x41 + i % 2), i % 4 >= 2, static_cast<std::uint32_t>(i)),
                          delays),
          Result::kStored)
          << i;
    EXPECT_EQ(m.MacroActionNum, delays ? 335u : 168u);
    EXPECT_EQ(recorder.Record(m, Hook(0x43, false, 999), delays), Result::kLimitReached);
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(m.MacroCommandActionNum, 168);
    EXPECT_EQ(m.MacroActionNum, delays ? 335u : 168u);
  }
}

TEST(MacroRecorder, AnEventIsNeverHalfStoredWhenHandInsertedDelaysFillTheList) {
  Macro m(u"m");
  MacroRecorder recorder;
  recorder.Start(&m);
  for (int i = 0; i < 335; ++i) m.InsertAction(i, MacroAction::Delay(100));
  EXPECT_EQ(recorder.Record(m, Hook(0x41, false, 10), true), Result::kLimitReached);
  EXPECT_EQ(m.MacroActionNum, 335u);
  EXPECT_EQ(m.MacroCommandActionNum, 0);
}

}  // namespace
}  // namespace zeltra
