// Time as the device logic sees it: the pauses between reports and the
// moments the virtual mouse checks them against. The program runs on the
// system clock; tests on a virtual clock whose pauses are instant.
#pragma once

#include <atomic>
#include <cstdint>

namespace zeltra {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(int milliseconds) = 0;
  // Milliseconds since an arbitrary start.
  virtual std::int64_t NowMs() const = 0;
};

class SystemClock final : public Clock {
 public:
  void SleepMs(int milliseconds) override;
  std::int64_t NowMs() const override;
};

// Sleeping advances the time at once; thread-safe.
class VirtualClock final : public Clock {
 public:
  void SleepMs(int milliseconds) override {
    if (milliseconds > 0) now_.fetch_add(milliseconds);
  }
  std::int64_t NowMs() const override { return now_.load(); }
  void Advance(std::int64_t milliseconds) { now_.fetch_add(milliseconds); }

 private:
  std::atomic<std::int64_t> now_{0};
};

}  // namespace zeltra
