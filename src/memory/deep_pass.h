// "Optimize2": the program takes memory block by block until the machine is nearly full,
// holds it a while and lets it all go, which pushes other programs' pages out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/exclusive_run.h"
#include "platform/memory_api.h"

namespace pravelo::memory {

class DeepPass {
 public:
  static constexpr std::size_t kBlockCharacters = 131'072;
  static constexpr uint64_t kBlockBytes = kBlockCharacters * sizeof(char16_t);
  // Makes one block; throws std::bad_alloc when memory runs out. Empty: real blocks.
  using BlockMaker = std::function<std::u16string()>;

  // `gate` is shared with every other work that must not run beside the deep pass.
  DeepPass(MemoryApi& memory, base::ExclusiveRun& gate);
  DeepPass(MemoryApi& memory, base::ExclusiveRun& gate, BlockMaker makeBlock);

  // At most this many bytes of blocks are taken; nothing means no cap.
  void SetFillLimitBytes(std::optional<uint64_t> limit);
  // pumpOnce: one do-events call; hold: returns after the hold time, messages flowing.
  // Whether it ran: nothing happens while gated work (this pass too) runs.
  bool DeepOptimize(const std::function<void()>& pumpOnce, const std::function<void()>& hold);
  bool Running() const { return running_; }
  // Elements of Blocks, the empty one included.
  std::size_t BlockCount() const;

 private:
  void Fill(const std::function<void()>& pumpOnce);
  void ResetBlocks();

  void Run(const std::function<void()>& pumpOnce, const std::function<void()>& hold);

  MemoryApi& memory_;
  base::ExclusiveRun& gate_;
  BlockMaker makeBlock_;
  bool running_ = false;
  std::optional<uint64_t> fillLimitBytes_;
  std::vector<std::u16string> Blocks;
};

}  // namespace pravelo::memory
