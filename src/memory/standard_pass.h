// The standard "Optimize": every process's working set trimmed, the file-cache working
// set shrunk, the available-memory figures of the main window updated.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "memory/exclusions.h"
#include "memory/pass_guard.h"
#include "platform/memory_api.h"
#include "platform/process_api.h"

namespace pravelo::memory {

// z18: the available-memory figure in MB; z17: empty until the first pass.
struct PassFigures {
  double z18 = 0;
  std::optional<double> z17;
};

class StandardPass {
 public:
  StandardPass(ProcessApi& processes, MemoryApi& memory);

  // Does nothing but switch the privilege on while a deep pass runs (deepPassRunning is
  // the disabled Optimize2 button), since the deep pass lets timers and menus run.
  // `afterEachProcess` lets window messages run after each process it tries, so the
  // window never waits for the whole pass; a pass asked for from there does nothing at
  // all. True when the pass went through to its figures.
  bool OptimizeMemory(
      bool deepPassRunning, PassFigures& figures, const std::function<void()>& afterEachProcess = [] {});
  // Programs never trimmed; they are not even opened.
  void SetExclusions(Exclusions exclusions) { exclusions_ = std::move(exclusions); }
  bool Running() const { return guard_.Running(); }
  // Whether the process was opened and its handle closed.
  bool TrimProcessMemory(uint32_t processId);
  // Whether the adjustment that sets the privilege's state succeeded.
  bool EnableDebugPrivilege(bool enable);

 private:
  bool Run(bool deepPassRunning, PassFigures& figures, const std::function<void()>& afterEachProcess);
  void ShrinkFileCache();

  ProcessApi& processes_;
  MemoryApi& memory_;
  FileCacheInformation fileCacheInfo_;
  Exclusions exclusions_;
  PassGuard guard_;
};

}  // namespace pravelo::memory
