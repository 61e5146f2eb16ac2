#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "fakes/fake_memory_api.h"
#include "memory/deep_pass.h"

namespace pravelo::memory {
namespace {

using fakes::FakeMemoryApi;

// Stands in for a real block, so that no test takes real memory.
std::u16string TinyBlock() { return u" "; }

TEST(DeepPass, FillsUntilTheLoadOrALimitStopsIt) {
  struct Scenario {
    const char* name;
    uint64_t availableBytes;
    uint32_t startLoad;
    uint32_t loadPerBlock;
    std::optional<uint64_t> fillLimit;
    int failAtBlock;    // 0: allocations never fail
    int expectedTaken;  // one pump after each
    std::size_t expectedHeld;
  };
  constexpr uint64_t kPlenty = 8'192'000'000;  // 8000 MB
  const Scenario scenarios[] = {
      {"the load rises past 95", kPlenty, 50, 10, {}, 0, 5, 5},  // taken at 50, 60, 70, 80, 90
      {"95 itself is not too full", kPlenty, 95, 0, DeepPass::kBlockBytes * 7, 0, 7, 7},
      {"already above 95", kPlenty, 96, 0, {}, 0, 0, 0},
      {"safety limit of 0.01 MB", 10'240, 10, 0, {}, 0, 10, 10},  // 0.01 x 1024 = 10.24
      {"available below 0.0005 MB", 500, 10, 0, {}, 0, 0, 0},
      {"nothing available", 0, 10, 0, {}, 0, 0, 0},
      {"fill cap", kPlenty, 10, 0, DeepPass::kBlockBytes * 4 + 1, 0, 4, 4},
      {"fill cap below one block", kPlenty, 10, 0, DeepPass::kBlockBytes - 1, 0, 0, 0},
      // The last 16 blocks are given back as headroom for the hold.
      {"allocation fails", kPlenty, 10, 0, {}, 21, 20, 20 - 16},
      {"allocation fails within the headroom", kPlenty, 10, 0, {}, 3, 2, 0},
      {"first allocation fails", kPlenty, 10, 0, {}, 1, 0, 0},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    FakeMemoryApi memory;
    base::ExclusiveRun gate;
    memory.availableBytes = s.availableBytes;
    int made = 0;
    DeepPass pass(memory, gate, [&] {
      if (++made == s.failAtBlock) throw std::bad_alloc();
      return TinyBlock();
    });
    memory.loadSource = [&] {
      return s.startLoad + s.loadPerBlock * static_cast<uint32_t>(pass.BlockCount() - 1);
    };
    pass.SetFillLimitBytes(s.fillLimit);
    int pumps = 0;
    int holds = 0;
    std::size_t heldBlocks = 0;

    pass.DeepOptimize([&] { ++pumps; },
                      [&] {
                        ++holds;
                        heldBlocks = pass.BlockCount() - 1;
                      });

    EXPECT_EQ(pumps, s.expectedTaken);
    EXPECT_EQ(heldBlocks, s.expectedHeld);
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(pass.BlockCount(), 1u);
  }
}

TEST(DeepPass, TestsTheLoadBeforeEachBlockAndPumpsAfterIt) {
  FakeMemoryApi memory;
  base::ExclusiveRun gate;
  memory.availableBytes = 1'024'000'000;
  std::string events;
  DeepPass pass(memory, gate, [&] {
    events += 'B';
    return TinyBlock();
  });
  memory.loadSource = [&] {
    events += 'L';
    return pass.BlockCount() > 2 ? 99u : 20u;
  };
  pass.DeepOptimize([&] { events += 'P'; }, [&] { events += 'H'; });
  EXPECT_EQ(events, "LBPLBPLH");
}

TEST(DeepPass, ASecondPassStartsEmptyAndHoldsAgain) {
  FakeMemoryApi memory;
  base::ExclusiveRun gate;
  memory.availableBytes = 1'024'000'000;
  DeepPass pass(memory, gate, TinyBlock);
  int blocksThisPass = 0;
  memory.loadSource = [&] { return blocksThisPass >= 3 ? 99u : 10u; };
  std::vector<std::size_t> held;
  for (int run = 0; run < 2; ++run) {
    blocksThisPass = 0;
    pass.DeepOptimize([&] { ++blocksThisPass; }, [&] { held.push_back(pass.BlockCount()); });
  }
  EXPECT_EQ(held, (std::vector<std::size_t>{4, 4}));
}

TEST(DeepPass, ReleasesTheBlocksWhenTheHoldThrows) {
  FakeMemoryApi memory;
  base::ExclusiveRun gate;
  memory.availableBytes = 1'024'000'000;
  memory.load = 10;
  DeepPass pass(memory, gate, TinyBlock);
  pass.SetFillLimitBytes(DeepPass::kBlockBytes * 3);
  EXPECT_THROW(pass.DeepOptimize([] {}, [] { throw std::runtime_error("window gone"); }), std::runtime_error);
  EXPECT_EQ(pass.BlockCount(), 1u);
}

// The gate is shared with the standard pass: either refuses the other, and the deep pass
// tells it runs only while it does.
TEST(DeepPass, RunsOnlyWhenTheSharedGateIsFree) {
  FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  memory.load = 10;
  base::ExclusiveRun gate;
  DeepPass pass(memory, gate, TinyBlock);
  pass.SetFillLimitBytes(DeepPass::kBlockBytes);
  int holds = 0;
  const auto hold = [&] {
    ++holds;
    EXPECT_TRUE(pass.Running());
    EXPECT_FALSE(gate.RunExclusive([] {}));
    EXPECT_FALSE(pass.DeepOptimize([] {}, [&] { ++holds; }));
  };
  EXPECT_TRUE(pass.DeepOptimize([] {}, hold));
  EXPECT_EQ(holds, 1);
  EXPECT_FALSE(pass.Running());
  EXPECT_FALSE(gate.Running());
  EXPECT_TRUE(gate.RunExclusive([&] { EXPECT_FALSE(pass.DeepOptimize([] {}, hold)); }));
  EXPECT_EQ(holds, 1);
}

// The one test with real blocks: 1 MB, bounded by the cap.
TEST(DeepPass, RealBlocksAreReleasedAfterTheHold) {
  FakeMemoryApi memory;
  base::ExclusiveRun gate;
  memory.availableBytes = 1'024'000'000;
  memory.load = 10;
  DeepPass pass(memory, gate);
  pass.SetFillLimitBytes(1 << 20);
  std::size_t held = 0;
  pass.DeepOptimize([] {}, [&] { held = pass.BlockCount(); });
  EXPECT_EQ(held, 5u);
  EXPECT_EQ(pass.BlockCount(), 1u);
}

}  // namespace
}  // namespace pravelo::memory
