// The one optimization every Optimize command runs: the chosen areas in a fixed order, each
// with its privilege switched on only for the pass, and an honest result per area.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "memory/area_support.h"
#include "memory/memory_areas.h"
#include "memory/pass_guard.h"
#include "memory/standard_pass.h"
#include "platform/clock.h"
#include "platform/memory_api.h"
#include "platform/process_api.h"

namespace pravelo::memory {

enum class AreaOutcome : uint8_t {
  Done,
  NotSupported,  // this Windows (or this program's width on it) has no such call
  Refused,       // the system said no; errorCode tells why
};

struct AreaResult {
  MemoryArea area = MemoryArea::WorkingSets;
  AreaOutcome outcome = AreaOutcome::NotSupported;
  uint32_t errorCode = 0;  // the Windows error code of a refusal, 0 otherwise
  uint64_t durationMs = 0;
  uint64_t availableBeforeBytes = 0;
  uint64_t availableAfterBytes = 0;
};

struct RunOptions {
  // The Optimize2 button is disabled: the deep pass runs and lets timers and menus in, and
  // a pass then does nothing.
  bool deepPassRunning = false;
  // Called between areas and after each process, so that waiting window messages can run.
  std::function<void()> yield;
};

// Whether the system did what each area asked.
bool EveryAreaDone(const std::vector<AreaResult>& results);

class Optimizer {
 public:
  Optimizer(ProcessApi& processes, MemoryApi& memory, Clock& clock);

  // Runs the chosen areas in the fixed order and updates the figures the display reads.
  // One result per chosen area; none when the deep pass runs. The results are also kept as
  // the last ones. A pass asked for while one runs (from a message the yield let through)
  // does nothing at all and gives no results.
  std::vector<AreaResult> Run(AreaSet areas, PassFigures& figures, const RunOptions& options = {});
  bool Running() const { return guard_.Running(); }
  // Programs whose working sets are never trimmed.
  void SetExclusions(Exclusions exclusions) { standardPass_.SetExclusions(std::move(exclusions)); }

  // The results of the last pass that ran, in the order it ran the areas.
  const std::vector<AreaResult>& LastResults() const { return lastResults_; }
  // Whether this Windows offers the area, learned once.
  AreaSupport Support(MemoryArea area);

 private:
  std::vector<AreaResult> RunAreas(AreaSet areas, PassFigures& figures, const RunOptions& options);
  AreaResult RunArea(MemoryArea area, const RunOptions& options);

  ProcessApi& processes_;
  MemoryApi& memory_;
  Clock& clock_;
  StandardPass standardPass_;
  std::optional<SystemFacts> facts_;
  std::vector<AreaResult> lastResults_;
  PassGuard guard_;
};

}  // namespace pravelo::memory
