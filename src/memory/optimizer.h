// The one optimization every Optimize command runs: the chosen areas in a fixed order,
// each measured on the counter it changes, with a privilege on only around the call that
// needs it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/exclusive_run.h"
#include "memory/area_support.h"
#include "memory/memory_areas.h"
#include "memory/standard_pass.h"
#include "platform/clock.h"
#include "platform/memory_api.h"
#include "platform/memory_operations.h"

namespace pravelo::memory {

enum class AreaOutcome : uint8_t {
  Done,
  Partly,        // some processes trimmed, some refused
  Failed,        // the system said no; errorCode tells why
  NotSupported,  // this Windows (or this program's width on it) has no such request
  NotMeasured,   // the request went through but its counter could not be read: "n/a"
};

struct ProcessCounts {
  uint32_t trimmed = 0;
  uint32_t refused = 0;
  uint32_t excluded = 0;
};

struct AreaResult {
  MemoryArea area = MemoryArea::WorkingSets;
  AreaOutcome outcome = AreaOutcome::NotSupported;
  uint32_t errorCode = 0;  // the Windows error code of a failure, 0 otherwise
  uint64_t durationMs = 0;
  // How much the area's counter went down; nothing where it cannot be told.
  std::optional<int64_t> freedBytes;
  ProcessCounts processes;  // the working sets only
};

struct RunOptions {
  // Called between areas and after each process, so that waiting window messages can run.
  std::function<void()> yield;
  // Runs a request that can block for long (a list purge, the combine, a cache flush) so
  // that window messages are served meanwhile; inline when empty.
  std::function<void(const std::function<void()>&)> runLong;
};

// Whether the system did what each area asked.
bool EveryAreaDone(const std::vector<AreaResult>& results);
// What the pass freed on the areas' counters; nothing when no area could be measured.
std::optional<int64_t> FreedBytes(const std::vector<AreaResult>& results);

class Optimizer {
 public:
  // `gate` is shared with every other work that must not run beside a pass.
  Optimizer(MemoryOperations& operations, MemoryApi& memory, Clock& clock, base::ExclusiveRun& gate);

  // Runs the chosen areas in the fixed order and updates the figures the display reads.
  // One result per chosen area, also kept as the last ones. A pass asked for while one
  // runs, or while other gated work runs (from a message the yield let through), does
  // nothing and gives no results.
  std::vector<AreaResult> Run(AreaSet areas, PassFigures& figures, const RunOptions& options = {});
  // Programs whose working sets are never trimmed.
  void SetExclusions(Exclusions exclusions) { exclusions_ = std::move(exclusions); }

  // The results of the last pass that ran, in the order it ran the areas.
  const std::vector<AreaResult>& LastResults() const { return lastResults_; }
  // Whether this Windows offers the area, learned once.
  AreaSupport Support(MemoryArea area);

 private:
  std::vector<AreaResult> RunAreas(AreaSet areas, PassFigures& figures, const RunOptions& options);
  AreaResult RunArea(MemoryArea area, const RunOptions& options);
  AreaResult TrimProcesses(const RunOptions& options);
  AreaResult ShrinkFileCache(const RunOptions& options);
  AreaResult PurgeList(MemoryArea area, const RunOptions& options);
  AreaResult Combine(const RunOptions& options);
  AreaResult FlushRegistry(const RunOptions& options);

  MemoryOperations& operations_;
  MemoryApi& memory_;
  Clock& clock_;
  Exclusions exclusions_;
  std::optional<SystemFacts> facts_;
  std::vector<AreaResult> lastResults_;
  base::ExclusiveRun& gate_;
};

}  // namespace pravelo::memory
