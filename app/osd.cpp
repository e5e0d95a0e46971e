#include "app/osd.h"

#include "settings/key_tables.h"
#include "settings/text_format.h"
#include "ui/ui_context.h"

namespace zeltra {

OsdTexts MouseStateTexts(const ProfileRecord& record, int mouseStage, const DpiTable& table) {
  int slot = ActiveStageIndex(record.DPIOffOnFlagValue, mouseStage);
  OsdTexts texts;
  texts.stage = u"DPI-" + Dec(slot + 1);
  if (slot >= kDpiStageCount) slot = 0;
  texts.value = Dec(table.DpiOf(record.XYSettingValue[static_cast<std::size_t>(slot)]));
  texts.rate = ReportRateName(record.PollingRateValue[0]);
  return texts;
}

OsdFont OsdSmallFont(float scale) { return {Scaled(24, scale), Scaled(12, scale), 700, 32}; }

OsdFont OsdLargeFont(float scale) { return {Scaled(48, scale), Scaled(24, scale), 400, 32}; }

OsdPoint OsdStagePosition(float scale) { return {Scaled(58, scale), Scaled(20, scale)}; }

OsdPoint OsdValuePosition(std::u16string_view face, std::size_t valueLength, float scale) {
  int x = 50;
  if (face == kSongTiFace) {
    if (valueLength == 5) x = 34;
    else if (valueLength == 4) x = 44;
  } else {
    if (valueLength == 5) x = 16;
    else if (valueLength == 4) x = 34;
  }
  return {Scaled(x, scale), Scaled(44, scale)};
}

OsdPoint OsdRatePosition(std::size_t rateLength, float scale) {
  return {Scaled(rateLength == 6 ? 50 : 57, scale), Scaled(92, scale)};
}

UiRect OsdWindowRect(const UiRect& workArea, float scale) {
  const int width = Scaled(kOsdWidth, scale);
  const int height = Scaled(kOsdHeight, scale);
  return {workArea.right - width, workArea.bottom - height, workArea.right, workArea.bottom};
}

OsdView MakeOsdView(const OsdTexts& texts, std::u16string_view face, const UiRect& workArea, float scale) {
  OsdView view;
  view.texts = texts;
  view.face = std::u16string(face);
  view.window = OsdWindowRect(workArea, scale);
  view.smallFont = OsdSmallFont(scale);
  view.largeFont = OsdLargeFont(scale);
  view.stageAt = OsdStagePosition(scale);
  view.valueAt = OsdValuePosition(face, texts.value.size(), scale);
  view.rateAt = OsdRatePosition(texts.rate.size(), scale);
  return view;
}

bool OsdCountdown::Show() {
  const bool create = !shown_;
  shown_ = true;
  countdown_ = kOsdCountdownStart;
  return create;
}

bool OsdCountdown::Tick() {
  if (!shown_) return true;
  if (countdown_ > 0) {
    --countdown_;
    return false;
  }
  shown_ = false;
  return true;
}

void OsdCountdown::Forget() {
  shown_ = false;
  countdown_ = 0;
}

}  // namespace zeltra
