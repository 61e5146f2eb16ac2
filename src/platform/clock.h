// A monotonic millisecond clock, a pause on it, and the calendar time.
#pragma once

#include <cstdint>

namespace pravelo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  // Blocks the calling thread; no window messages run meanwhile.
  virtual void SleepMs(uint32_t ms) = 0;
  // Seconds since 1970-01-01 00:00 UTC, as the system's calendar clock says.
  virtual int64_t UtcSeconds() = 0;
};

}  // namespace pravelo
