// The battery gauge (3406) and its text (3405) as timer 110 shows them, from
// the level and charge state of the mouse's last status reply.
#pragma once

#include <string>

namespace zeltra {

struct BatteryDisplay {
  int level = 0;
  int chargeState = 0;     // gauge mode: 0 level, 1 charging, 2 full
  int animationStep = 25;  // 25, 50, 75, 100, 25 ...
  std::u16string text;     // "%d%%"
  bool textVisible = true; // hidden while charging
};

// What showing `next` where `shown` is shown changes on the screen: the
// gauge draws the level on battery, the animation step while charging and
// one picture when full; the text its caption while it is visible. The
// timer's tick repaints only what changed.
struct BatteryChange {
  bool gauge = false;
  bool text = false;
};
BatteryChange CompareBatteryDisplays(const BatteryDisplay& shown, const BatteryDisplay& next);

// The display of one tick: the charging animation moves on by a step every
// tick; a level beyond 100 (a reply that means nothing) shows as 0.
class BatteryGauge {
 public:
  BatteryDisplay Tick(int level, int chargeState);

 private:
  int animationStep_ = 0;
};

}  // namespace zeltra
