#include "macro/fire_key_dialog.h"

#include <algorithm>

#include "settings/text_format.h"
#include "ui/control_codes.h"

namespace zeltra {

namespace {

constexpr int kByteMaximum = 255;

std::uint8_t ClampToByte(int value, int minimum) {
  return static_cast<std::uint8_t>(std::clamp(value, minimum, kByteMaximum));
}

}  // namespace

// The labels stand left of their boxes; the third text is a note below them.
const std::array<DialogControl, 9> kFireKeyDialogControls{{
    TextControl(kDialogCaptionId, {20, 3, 210, 24}, 170),
    CloseCrossControl({405, 4, 15, 15}),
    TextControl(kFireKeyFirstLabel, {25, 36, 200, 20}, 171),
    ImageControl(kFireKeyFirstBox, ControlKind::kEditBox, {230, 36, 90, 20}),
    TextControl(kFireKeySecondLabel, {25, 62, 200, 20}, 172),
    ImageControl(kFireKeySecondBox, ControlKind::kEditBox, {230, 62, 90, 20}),
    TextControl(kFireKeyNote, {25, 86, 395, 18}, 173),
    PushButtonControl(kIdOk, {260, 110, 69, 20}, kOkText),
    PushButtonControl(kIdCancel, {350, 110, 69, 20}, kCancelText),
}};

FireKeyCheck CheckFireKeyBoxes(std::u16string_view first, std::u16string_view second) {
  FireKeyCheck check;
  if (ParseDecimal(first) > kByteMaximum) {
    check.firstText = u"255";
    check.messages.push_back(kFireKeyFirstValueMessage);
  }
  if (ParseDecimal(second) > kByteMaximum) {
    check.secondText = u"255";
    check.messages.push_back(kFireKeySecondValueMessage);
  }
  return check;
}

FireKeyOk FireKeyDialogOk(std::u16string_view first, std::u16string_view second) {
  FireKeyOk ok;
  const int firstValue = ParseDecimal(first);
  if (firstValue < kFireKeyFirstMinimum) {
    ok.message = kFireKeyFirstValueMessage;
    return ok;
  }
  ok.close = true;
  // Values the check has not corrected yet are taken as the largest value,
  // not cut to their low byte (300 would otherwise become 44).
  ButtonAssignment result{
      FireKeyName(), FireKeyCode(ClampToByte(firstValue, kFireKeyFirstMinimum), ClampToByte(ParseDecimal(second), 0))};
  if (!result.name.empty()) ok.result = std::move(result);
  return ok;
}

}  // namespace zeltra
