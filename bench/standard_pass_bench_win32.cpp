// Wall time of the real standard pass and the processes it saw.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "fakes/counting_process_api.h"
#include "memory/optimizer.h"
#include "platform/clock_win32.h"
#include "platform/memory_api_win32.h"
#include "platform/process_api_win32.h"
#include "settings/area_settings.h"

int main() {
  using namespace pravelo;
  constexpr int kRuns = 5;
  ProcessApiWin32 real;
  fakes::CountingProcessApi processes(real);
  MemoryApiWin32 memory;
  ClockWin32 clock;
  memory::Optimizer optimizer(processes, memory, clock);
  const memory::AreaSet areas = memory::ParseAreaList(settings::kDefaultAreas).areas;
  memory::PassFigures figures;
  std::printf("real standard pass, %d runs\n", kRuns);
  for (int run = 0; run < kRuns; ++run) {
    processes.openAttempts = processes.opened = 0;
    const auto start = std::chrono::steady_clock::now();
    optimizer.Run(areas, figures);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("  run %d: %.2f ms, %zu processes enumerated, %d opened; z18 %.2f MB\n", run + 1,
                elapsed.count(), processes.enumerated.size(), processes.opened, figures.z18);
  }
  return 0;
}
