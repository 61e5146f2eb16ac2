// The working sets of every process, trimmed one by one: what the standard "Optimize" has
// always done first, measured on the processes it touched.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "memory/exclusions.h"
#include "platform/memory_operations.h"

namespace pravelo::memory {

// z18: the available-memory figure in MB; z17: empty until the first pass.
struct PassFigures {
  double z18 = 0;
  std::optional<double> z17;
};

struct WorkingSetTrim {
  CallResult listing;  // whether the processes could be listed
  uint32_t trimmed = 0;
  uint32_t refused = 0;  // could not be opened or trimmed
  uint32_t excluded = 0;
  uint32_t firstRefusal = 0;  // the Windows error code of the first refusal
  // The sum of the trimmed processes' working sets before less after; nothing when none
  // of them could be read.
  std::optional<int64_t> freedBytes;
};

// Trims every process there is but the excluded ones, which are not even opened. Runs
// `afterEachProcess` after each one it tried, with no privilege on.
WorkingSetTrim TrimWorkingSets(MemoryOperations& operations, const Exclusions& exclusions,
                               const std::function<void()>& afterEachProcess);

}  // namespace pravelo::memory
