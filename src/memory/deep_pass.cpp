#include "memory/deep_pass.h"

#include <algorithm>
#include <limits>
#include <new>

#include "memory/memory_status.h"

namespace pravelo::memory {
namespace {

constexpr int16_t kFullLoadPercent = 95;
// Given back when an allocation fails, so that the handlers that run during the hold can
// still allocate in an exhausted heap or address space.
constexpr std::size_t kHeadroomBlocks = 16;
// The safety bound: blocks per available megabyte, far more than can be taken.
constexpr int64_t kBlocksPerMegabyte = 1024;

// Every character is written, so every page of the block is really committed.
std::u16string MakeSpaces() { return std::u16string(DeepPass::kBlockCharacters, u' '); }

int32_t BlockLimit(Currency available) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  const int64_t scaled = available.Scaled();
  const int64_t product = scaled > kMax / kBlocksPerMegabyte ? kMax : scaled * kBlocksPerMegabyte;
  return Currency::FromScaled(product).ToInt32();
}

}  // namespace

DeepPass::DeepPass(MemoryApi& memory, base::ExclusiveRun& gate) : DeepPass(memory, gate, MakeSpaces) {}

DeepPass::DeepPass(MemoryApi& memory, base::ExclusiveRun& gate, BlockMaker makeBlock)
    : memory_(memory), gate_(gate), makeBlock_(makeBlock ? std::move(makeBlock) : MakeSpaces), Blocks(1) {}

void DeepPass::SetFillLimitBytes(std::optional<uint64_t> limit) { fillLimitBytes_ = limit; }

std::size_t DeepPass::BlockCount() const { return Blocks.size(); }

bool DeepPass::DeepOptimize(const std::function<void()>& pumpOnce, const std::function<void()>& hold) {
  return gate_.RunExclusive([&] { Run(pumpOnce, hold); });
}

void DeepPass::Run(const std::function<void()>& pumpOnce, const std::function<void()>& hold) {
  running_ = true;
  // Nothing stays held after the pass, however it ends.
  struct Release {
    DeepPass& pass;
    ~Release() {
      pass.ResetBlocks();
      pass.running_ = false;
    }
  } release{*this};

  try {
    Fill(pumpOnce);
  } catch (const std::bad_alloc&) {
    // Memory or, in a 32-bit process, address space ran out: that ends the fill, and the
    // hold is still worth doing with what was taken.
    Blocks.resize(Blocks.size() - std::min(kHeadroomBlocks, Blocks.size() - 1));
  }
  hold();
}

void DeepPass::Fill(const std::function<void()>& pumpOnce) {
  ResetBlocks();
  const int32_t limit = BlockLimit(GetAvailableMemory(memory_));
  uint64_t takenBytes = 0;
  for (int64_t counter = 1; counter <= limit; ++counter) {
    if (GetMemoryLoad(memory_) > kFullLoadPercent) break;
    if (fillLimitBytes_ && takenBytes + kBlockBytes > *fillLimitBytes_) break;
    Blocks.push_back(makeBlock_());
    takenBytes += kBlockBytes;
    pumpOnce();
  }
}

void DeepPass::ResetBlocks() {
  // A fresh vector, so that its own storage goes too.
  Blocks = std::vector<std::u16string>(1);
}

}  // namespace pravelo::memory
