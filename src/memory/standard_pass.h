// The calls of the standard "Optimize": every process's working set trimmed, and the
// file-cache working set shrunk.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "memory/exclusions.h"
#include "platform/process_api.h"

namespace pravelo::memory {

// z18: the available-memory figure in MB; z17: empty until the first pass.
struct PassFigures {
  double z18 = 0;
  std::optional<double> z17;
};

// As working-set and file-cache limits: "as few pages as possible", (SIZE_T)-1 at the
// program's width.
inline constexpr std::uintptr_t kTrimAll = UINTPTR_MAX;

class StandardPass {
 public:
  explicit StandardPass(ProcessApi& processes);

  // Trims every process there is but the excluded ones; nothing when the processes were
  // listed, otherwise the error code of the listing. Runs `afterEachProcess` after each
  // one it tried, when given.
  std::optional<uint32_t> TrimWorkingSets(const std::function<void()>& afterEachProcess);
  // Programs never trimmed; they are not even opened.
  void SetExclusions(Exclusions exclusions) { exclusions_ = std::move(exclusions); }
  // Both file-cache requests; nothing when either worked, otherwise the first one's error.
  std::optional<uint32_t> ShrinkFileCache();
  // Whether the process was opened and its handle closed.
  bool TrimProcessMemory(uint32_t processId);
  // Whether the adjustment that sets the privilege's state succeeded.
  bool EnableDebugPrivilege(bool enable);

 private:
  ProcessApi& processes_;
  FileCacheInformation fileCacheInfo_;
  Exclusions exclusions_;
};

}  // namespace pravelo::memory
