// The deep pass's fill rate and its longest stretch without a message pump, with a fake
// probe that lets it take 1.5 GB of real memory.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "fakes/fake_memory_api.h"
#include "memory/deep_pass.h"

int main() {
  using Clock = std::chrono::steady_clock;
  using namespace pravelo;
  constexpr uint64_t kFillBytes = 1536ull << 20;
  constexpr int kRuns = 3;

  fakes::FakeMemoryApi memory;
  memory.availableBytes = 16ull << 30;
  base::ExclusiveRun gate;
  memory::DeepPass pass(memory, gate);
  memory.loadSource = [&] {
    return (pass.BlockCount() - 1) * memory::DeepPass::kBlockBytes >= kFillBytes ? 96u : 50u;
  };

  std::printf("deep pass filling %llu MiB, %d runs\n", static_cast<unsigned long long>(kFillBytes >> 20),
              kRuns);
  for (int run = 0; run < kRuns; ++run) {
    const Clock::time_point start = Clock::now();
    Clock::time_point last = start;
    Clock::time_point held;
    Clock::duration longestGap{};
    std::size_t blocks = 0;
    pass.DeepOptimize(
        [&] {
          const Clock::time_point now = Clock::now();
          longestGap = std::max(longestGap, now - last);
          last = now;
        },
        [&] {
          held = Clock::now();
          longestGap = std::max(longestGap, held - last);
          blocks = pass.BlockCount() - 1;
        });
    const Clock::time_point released = Clock::now();
    const double fillSeconds = std::chrono::duration<double>(held - start).count();
    const double bytes = static_cast<double>(blocks * memory::DeepPass::kBlockBytes);
    std::printf(
        "  run %d: %zu blocks in %.3f s = %.0f MB/s (%.2f GB/s); longest gap %.3f ms; release %.3f ms\n",
        run + 1, blocks, fillSeconds, bytes / 1e6 / fillSeconds, bytes / 1e9 / fillSeconds,
        std::chrono::duration<double, std::milli>(longestGap).count(),
        std::chrono::duration<double, std::milli>(released - held).count());
  }
  return 0;
}
