// The standard "Optimize": every process's working set trimmed, the file-cache working
// set shrunk, the available-memory figures of the main window updated.
#pragma once

#include <cstdint>
#include <optional>

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
  void OptimizeMemory(bool deepPassRunning, PassFigures& figures);
  // Whether the process was opened and its handle closed.
  bool TrimProcessMemory(uint32_t processId);
  // Whether the adjustment that sets the privilege's state succeeded.
  bool EnableDebugPrivilege(bool enable);

 private:
  void ShrinkFileCache();

  ProcessApi& processes_;
  MemoryApi& memory_;
  FileCacheInformation fileCacheInfo_;
};

}  // namespace pravelo::memory
