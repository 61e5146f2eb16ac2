// The standard pass's own cost per process, over a fake system of 10,000 processes whose
// calls do nothing.
#include <chrono>
#include <cstdio>

#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "memory/optimizer.h"
#include "platform/memory_operations.h"
#include "settings/area_settings.h"

namespace {

using namespace pravelo;

class InstantProcess : public OpenedProcess {
 public:
  std::optional<uint64_t> WorkingSetBytes() override { return 4096; }
  CallResult TrimWorkingSet() override { return {}; }
};

// A system whose requests do nothing and whose processes all open.
class InstantOperations : public MemoryOperations {
 public:
  explicit InstantOperations(std::size_t processes) {
    for (std::size_t i = 0; i < processes; ++i)
      list_.processes.push_back({static_cast<uint32_t>(i * 4), "program.exe"});
  }
  ProcessList ListProcesses() override { return list_; }
  OpenResult OpenProcess(uint32_t) override { return {std::make_unique<InstantProcess>(), {}, false}; }
  CallResult SetFileCacheLimits() override { return {}; }
  CallResult ShrinkFileCacheRecord() override { return {}; }
  std::optional<uint64_t> FileCacheBytes() override { return 0; }
  CallResult PurgeList(MemoryList) override { return {}; }
  std::optional<MemoryListCounts> ReadLists() override { return MemoryListCounts{}; }
  CombineResult CombinePages() override { return {}; }
  CallResult FlushRegistryCache() override { return {}; }
  bool EnablePrivilege(Privilege) override { return true; }
  void DropPrivileges() override {}

 private:
  ProcessList list_;
};

}  // namespace

int main() {
  constexpr std::size_t kProcesses = 10'000;
  constexpr int kPasses = 500;
  InstantOperations processes(kProcesses);
  fakes::FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  fakes::FakeClock clock;
  base::ExclusiveRun gate;
  memory::Optimizer optimizer(processes, memory, clock, gate);
  const memory::AreaSet areas = memory::ParseAreaList(settings::kDefaultAreas).areas;
  memory::PassFigures figures;
  optimizer.Run(areas, figures);  // warm up

  const auto start = std::chrono::steady_clock::now();
  uint64_t trimmed = 0;  // keeps the passes from being optimized away
  for (int i = 0; i < kPasses; ++i) trimmed += optimizer.Run(areas, figures)[0].processes.trimmed;
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("standard pass over %zu fake processes, %d passes\n", kProcesses, kPasses);
  std::printf("  %.1f ns per process, %.3f ms per pass (checksum %llu)\n",
              elapsed.count() / (kPasses * kProcesses), elapsed.count() / kPasses / 1e6,
              static_cast<unsigned long long>(trimmed));
  return 0;
}
