// A block of memory that generated code may run from (execution prevention forbids it in
// ordinary data). Implemented for Windows only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pravelo::taskbar {

class ExecutableBlock {
 public:
  ExecutableBlock() = default;
  // Allocates `size` bytes; the block is empty when that fails.
  explicit ExecutableBlock(std::size_t size);
  ~ExecutableBlock();
  ExecutableBlock(ExecutableBlock&& other) noexcept;
  ExecutableBlock& operator=(ExecutableBlock&& other) noexcept;
  ExecutableBlock(const ExecutableBlock&) = delete;
  ExecutableBlock& operator=(const ExecutableBlock&) = delete;

  explicit operator bool() const { return memory_ != nullptr; }
  void* Data() const { return memory_; }
  uint32_t Address() const { return static_cast<uint32_t>(reinterpret_cast<std::uintptr_t>(memory_)); }

  // Copies `code` to the start of the block and makes it visible to the processor's
  // instruction fetch. `code` must fit.
  void Write(std::span<const uint8_t> code);

 private:
  void* memory_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace pravelo::taskbar
