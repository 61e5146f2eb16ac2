#include "display/auto_schedule.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pravelo::display {
namespace {

// Timers may fire a little early; a tick this close to the due time counts as on time.
constexpr uint64_t kEarlyToleranceMs = 50;
constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > kNever - b ? kNever : a + b; }

}  // namespace

void AutoOptimizeSchedule::Arm(double intervalSeconds, uint64_t nowMs) {
  if (!(intervalSeconds > 0)) {
    intervalMs_ = 0;
    return;
  }
  double ms = std::round(intervalSeconds * 1000.0);
  // A positive interval always runs, however small; a huge one never comes due.
  intervalMs_ = ms >= 1.8e19 ? kNever : std::max<uint64_t>(1, static_cast<uint64_t>(ms));
  dueMs_ = SaturatingAdd(nowMs, intervalMs_);
}

bool AutoOptimizeSchedule::TakeDue(uint64_t nowMs) {
  if (!Active() || SaturatingAdd(nowMs, kEarlyToleranceMs) < dueMs_) return false;
  dueMs_ = SaturatingAdd(dueMs_, intervalMs_);
  // After a long stall (a blocked window, a sleeping machine) start afresh from now.
  if (dueMs_ <= nowMs) dueMs_ = SaturatingAdd(nowMs, intervalMs_);
  return true;
}

int AutoOptimizeSchedule::NextTickMs(uint64_t nowMs) const {
  if (!Active()) return 0;
  uint64_t remaining = dueMs_ > nowMs ? dueMs_ - nowMs : 1;
  return static_cast<int>(std::min<uint64_t>(remaining, kMaxTickMs));
}

}  // namespace pravelo::display
