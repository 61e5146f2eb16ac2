// A monotonic millisecond clock.
#pragma once

#include <cstdint>

namespace pravelo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
};

}  // namespace pravelo
