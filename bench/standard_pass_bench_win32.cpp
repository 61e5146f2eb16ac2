// Wall time of the real standard pass and the processes it saw.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "fakes/counting_process_api.h"
#include "memory/standard_pass.h"
#include "platform/memory_api_win32.h"
#include "platform/process_api_win32.h"

int main() {
  using namespace pravelo;
  constexpr int kRuns = 5;
  ProcessApiWin32 real;
  fakes::CountingProcessApi processes(real);
  MemoryApiWin32 memory;
  memory::StandardPass pass(processes, memory);
  memory::PassFigures figures;
  std::printf("real standard pass, %d runs\n", kRuns);
  for (int run = 0; run < kRuns; ++run) {
    processes.openAttempts = processes.opened = 0;
    const auto start = std::chrono::steady_clock::now();
    pass.OptimizeMemory(false, figures);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("  run %d: %.2f ms, %zu processes enumerated, %d opened; z18 %.2f MB\n", run + 1,
                elapsed.count(), processes.enumerated.size(), processes.opened, figures.z18);
  }
  return 0;
}
