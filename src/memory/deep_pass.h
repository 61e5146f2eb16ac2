// "Optimize2": the program takes memory block by block until the machine is nearly full,
// holds it a while and lets it all go, which pushes other programs' pages out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_api.h"

namespace pravelo::memory {

class DeepPass {
 public:
  static constexpr std::size_t kBlockCharacters = 131'072;
  static constexpr uint64_t kBlockBytes = kBlockCharacters * sizeof(char16_t);
  // Makes one block; throws std::bad_alloc when memory runs out.
  using BlockMaker = std::function<std::u16string()>;

  explicit DeepPass(MemoryApi& memory);
  DeepPass(MemoryApi& memory, BlockMaker makeBlock);

  // At most this many bytes of blocks are taken; nothing means no cap.
  void SetFillLimitBytes(std::optional<uint64_t> limit);
  // pumpOnce: one do-events call; hold: returns after the hold time, messages flowing.
  void DeepOptimize(const std::function<void()>& pumpOnce, const std::function<void()>& hold);
  // Elements of Blocks, the empty one included.
  std::size_t BlockCount() const;

 private:
  void Fill(const std::function<void()>& pumpOnce);
  void ResetBlocks();

  MemoryApi& memory_;
  BlockMaker makeBlock_;
  std::optional<uint64_t> fillLimitBytes_;
  std::vector<std::u16string> Blocks;
};

}  // namespace pravelo::memory
