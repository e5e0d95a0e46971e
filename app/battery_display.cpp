#include "app/battery_display.h"

#include "settings/text_format.h"

namespace zeltra {

BatteryDisplay BatteryGauge::Tick(int level, int chargeState) {
  if (level > 100) level = 0;
  animationStep_ += 25;
  if (animationStep_ > 100) animationStep_ = 25;
  BatteryDisplay display;
  display.level = level;
  display.chargeState = chargeState;
  display.animationStep = animationStep_;
  display.text = Dec(level) + u"%";
  display.textVisible = chargeState != 1;
  return display;
}

BatteryChange CompareBatteryDisplays(const BatteryDisplay& shown, const BatteryDisplay& next) {
  BatteryChange change;
  if (shown.chargeState != next.chargeState) {
    change.gauge = true;
  } else if (next.chargeState == 1) {
    change.gauge = shown.animationStep != next.animationStep;
  } else if (next.chargeState != 2) {
    change.gauge = shown.level != next.level;
  }
  change.text = shown.textVisible != next.textVisible || (next.textVisible && shown.text != next.text);
  return change;
}

}  // namespace zeltra
