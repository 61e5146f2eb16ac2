// When the automatic optimization runs: every Interval seconds, the first one Interval
// seconds after it is armed, with ticks of at most 10 seconds in between so that the
// display keeps refreshing.
#pragma once

#include <cstdint>

namespace pravelo::display {

inline constexpr int kMaxTickMs = 10000;

class AutoOptimizeSchedule {
 public:
  // An interval of 0 seconds, a negative one or NaN gives no automatic pass and no ticks.
  void Arm(double intervalSeconds, uint64_t nowMs);
  bool Active() const { return intervalMs_ > 0; }
  // At a tick: whether a pass is due; when it is, the next one is one interval later.
  bool TakeDue(uint64_t nowMs);
  // The timer interval to the next tick: the time to the next pass, at most kMaxTickMs;
  // 0 when nothing is scheduled.
  int NextTickMs(uint64_t nowMs) const;

 private:
  uint64_t intervalMs_ = 0;
  uint64_t dueMs_ = 0;
};

}  // namespace pravelo::display
