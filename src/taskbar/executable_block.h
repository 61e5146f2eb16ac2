// A block of memory that generated code runs from. It is never writable and executable at
// once: the code is written while the block is read-write, then the block becomes
// execute-read for good. Implemented for Windows only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pravelo::taskbar {

class ExecutableBlock {
 public:
  ExecutableBlock() = default;
  // Reserves `size` writable bytes; the block is empty when that fails.
  explicit ExecutableBlock(std::size_t size);
  ~ExecutableBlock();
  ExecutableBlock(ExecutableBlock&& other) noexcept;
  ExecutableBlock& operator=(ExecutableBlock&& other) noexcept;
  ExecutableBlock(const ExecutableBlock&) = delete;
  ExecutableBlock& operator=(const ExecutableBlock&) = delete;

  explicit operator bool() const { return memory_ != nullptr; }
  // Where the code will start, for code that refers to its own position.
  std::uintptr_t Address() const { return reinterpret_cast<std::uintptr_t>(memory_); }

  // Copies `code` (which must fit) to the start, makes the block execute-read and visible to
  // the processor's instruction fetch. Once only; false when the block cannot run.
  bool Seal(std::span<const uint8_t> code);
  // The sealed code's entry; null before a successful Seal.
  void* Code() const { return sealed_ ? memory_ : nullptr; }

 private:
  void* memory_ = nullptr;
  std::size_t size_ = 0;
  bool sealed_ = false;
};

}  // namespace pravelo::taskbar
