// A control's dialog as the tests see it: every notification in order.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "ui/control_model.h"

namespace zeltra::test {

struct Sent {
  int message;
  std::uintptr_t wParam;
  int code;
  UiPoint point{};
  friend bool operator==(const Sent&, const Sent&) = default;
  friend void PrintTo(const Sent& s, std::ostream* os) {
    *os << "{" << s.message << ", " << s.wParam << ", code " << s.code << ", (" << s.point.x << "," << s.point.y << ")}";
  }
};

class RecordingSink : public ControlSink {
 public:
  void Notify(int message, std::uintptr_t wParam, int code) override { sent.push_back({message, wParam, code}); }
  void NotifyPoint(int message, UiPoint point, int code) override { sent.push_back({message, 0, code, point}); }
  void Invalidate(const UiRect&) override { ++invalidations; }
  int Count(int code) const {
    int n = 0;
    for (const auto& s : sent) n += s.code == code ? 1 : 0;
    return n;
  }
  std::vector<Sent> sent;
  int invalidations = 0;
};

}  // namespace zeltra::test
