// A monotonic millisecond clock, and a pause on it.
#pragma once

#include <cstdint>

namespace pravelo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  // Blocks the calling thread; no window messages run meanwhile.
  virtual void SleepMs(uint32_t ms) = 0;
};

}  // namespace pravelo
