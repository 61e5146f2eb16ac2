// Wall time of the real standard pass and what it did to the processes it saw.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "memory/optimizer.h"
#include "platform/clock_win32.h"
#include "platform/memory_api_win32.h"
#include "platform/memory_operations_win32.h"
#include "settings/area_settings.h"

int main() {
  using namespace pravelo;
  constexpr int kRuns = 5;
  MemoryOperationsWin32 operations;
  MemoryApiWin32 memory;
  ClockWin32 clock;
  base::ExclusiveRun gate;
  memory::Optimizer optimizer(operations, memory, clock, gate);
  const memory::AreaSet areas = memory::ParseAreaList(settings::kDefaultAreas).areas;
  memory::PassFigures figures;
  std::printf("real standard pass, %d runs\n", kRuns);
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const memory::ProcessCounts counts = optimizer.Run(areas, figures)[0].processes;
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("  run %d: %.2f ms, %u trimmed, %u refused; z18 %.2f MB\n", run + 1, elapsed.count(),
                counts.trimmed, counts.refused, figures.z18);
  }
  return 0;
}
