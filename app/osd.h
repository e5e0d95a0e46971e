// The on-screen display (COSDDialog) apart from its window: the three texts,
// where they are drawn, its fonts and place, and the countdown of timer 50.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/main_layout.h"
#include "settings/dpi_table.h"
#include "settings/profile.h"

namespace zeltra {

inline constexpr unsigned kOsdTimer = 50;
inline constexpr unsigned kOsdTimerMs = 300;
inline constexpr int kOsdCountdownStart = 5;
inline constexpr int kOsdWidth = 180;
inline constexpr int kOsdHeight = 140;
inline constexpr int kOsdAlpha = 128;
inline constexpr int kOsdTemplate = 152;
inline constexpr Colour kOsdBackground = 0xA449A4;
inline constexpr Colour kOsdText = 0xFFFFFF;
// The face the Chinese language file names ("宋体"); its digits are narrower.
inline constexpr std::u16string_view kSongTiFace = u"\u5B8B\u4F53";

struct OsdTexts {
  std::u16string stage;  // "DPI-%d"
  std::u16string value;  // "%d" of the stage's DPI
  std::u16string rate;   // "125Hz" .. "1000Hz"
  friend bool operator==(const OsdTexts&, const OsdTexts&) = default;
};

// The texts for the profile's active stage (`mouseStage` counted among the
// enabled stages): the stage slot, its DPI (slot 0's when the mask has no
// such stage) and the report rate.
OsdTexts MouseStateTexts(const ProfileRecord& record, int mouseStage, const DpiTable& table);

struct OsdFont {
  int height = 0;
  int width = 0;
  int weight = 0;
  int pitchAndFamily = 32;
  friend bool operator==(const OsdFont&, const OsdFont&) = default;
};
OsdFont OsdSmallFont(float scale);  // 24 x 12, bold: stage and rate
OsdFont OsdLargeFont(float scale);  // 48 x 24, normal: value

struct OsdPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const OsdPoint&, const OsdPoint&) = default;
};
OsdPoint OsdStagePosition(float scale);
OsdPoint OsdValuePosition(std::u16string_view face, std::size_t valueLength, float scale);
OsdPoint OsdRatePosition(std::size_t rateLength, float scale);

// 180 x 140 x scale with its bottom-right corner on the work area's.
UiRect OsdWindowRect(const UiRect& workArea, float scale);

// Everything the window needs to draw one state of the display.
struct OsdView {
  OsdTexts texts;
  std::u16string face;  // of both fonts; empty for the toolkit's default
  UiRect window;  // screen pixels
  OsdFont smallFont;
  OsdFont largeFont;
  OsdPoint stageAt;
  OsdPoint valueAt;
  OsdPoint rateAt;
};
OsdView MakeOsdView(const OsdTexts& texts, std::u16string_view face, const UiRect& workArea, float scale);

// One display window re-used while shown; it goes on the sixth tick after
// the last change, 1.5 to 1.8 s later.
class OsdCountdown {
 public:
  // A new mouse state: true when the window must be created (and timer 50
  // started), false when the shown one only takes the new texts.
  bool Show();
  // Timer 50: true when the window must go now (and the timer stop).
  bool Tick();
  // Device notifications were registered again: the window is forgotten.
  void Forget();
  bool shown() const { return shown_; }
  int countdown() const { return countdown_; }

 private:
  bool shown_ = false;
  int countdown_ = 0;
};

}  // namespace zeltra
