// The clock port on GetTickCount64, which does not wrap after 49 days.
#pragma once

#include "platform/clock.h"

namespace pravelo {

class ClockWin32 final : public Clock {
 public:
  uint64_t NowMs() override;
  void SleepMs(uint32_t ms) override;
  int64_t UtcSeconds() override;
};

}  // namespace pravelo
