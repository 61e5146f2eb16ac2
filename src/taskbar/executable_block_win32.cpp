#include "taskbar/executable_block.h"

#include <windows.h>

#include <cassert>
#include <cstring>
#include <utility>

namespace pravelo::taskbar {

ExecutableBlock::ExecutableBlock(std::size_t size)
    : memory_(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE)),
      size_(memory_ ? size : 0) {}

ExecutableBlock::~ExecutableBlock() {
  if (memory_) VirtualFree(memory_, 0, MEM_RELEASE);
}

ExecutableBlock::ExecutableBlock(ExecutableBlock&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ExecutableBlock& ExecutableBlock::operator=(ExecutableBlock&& other) noexcept {
  if (this != &other) {
    ExecutableBlock old(std::move(*this));
    memory_ = std::exchange(other.memory_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void ExecutableBlock::Write(std::span<const uint8_t> code) {
  assert(code.size() <= size_);
  std::memcpy(memory_, code.data(), code.size());
  FlushInstructionCache(GetCurrentProcess(), memory_, code.size());
}

}  // namespace pravelo::taskbar
