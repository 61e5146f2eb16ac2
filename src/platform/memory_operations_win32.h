// The memory manager's requests and counters: processes and privileges through the
// documented calls, the page lists, the file cache, combining and the registry flush
// through the system-information classes of the public NT headers.
#pragma once

#include "platform/memory_operations.h"

namespace pravelo {

class MemoryOperationsWin32 final : public MemoryOperations {
 public:
  // The wide form: the ANSI one is a stub under Wine that lists no process.
  ProcessList ListProcesses() override;
  OpenResult OpenProcess(uint32_t processId) override;

  CallResult SetFileCacheLimits() override;
  CallResult ShrinkFileCacheRecord() override;
  std::optional<uint64_t> FileCacheBytes() override;

  CallResult PurgeList(MemoryList list) override;
  std::optional<MemoryListCounts> ReadLists() override;
  CombineResult CombinePages() override;
  CallResult FlushRegistryCache() override;

  // On a copy of the process's token that only the calling thread wears: the window's
  // thread never has the privilege while another thread's request needs it.
  bool EnablePrivilege(Privilege privilege) override;
  void DropPrivileges() override;
};

// A Windows error code as a request's result.
CallResult ResultOfError(uint32_t error);

}  // namespace pravelo
