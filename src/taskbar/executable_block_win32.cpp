#include "taskbar/executable_block.h"

#include <windows.h>

#include <cstring>
#include <utility>

namespace pravelo::taskbar {

ExecutableBlock::ExecutableBlock(std::size_t size)
    : memory_(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(memory_ ? size : 0) {}

ExecutableBlock::~ExecutableBlock() {
  if (memory_) VirtualFree(memory_, 0, MEM_RELEASE);
}

ExecutableBlock::ExecutableBlock(ExecutableBlock&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      sealed_(std::exchange(other.sealed_, false)) {}

ExecutableBlock& ExecutableBlock::operator=(ExecutableBlock&& other) noexcept {
  if (this != &other) {
    ExecutableBlock old(std::move(*this));
    memory_ = std::exchange(other.memory_, nullptr);
    size_ = std::exchange(other.size_, 0);
    sealed_ = std::exchange(other.sealed_, false);
  }
  return *this;
}

bool ExecutableBlock::Seal(std::span<const uint8_t> code) {
  if (!memory_ || sealed_ || code.size() > size_) return false;
  std::memcpy(memory_, code.data(), code.size());
  DWORD previous = 0;
  if (!VirtualProtect(memory_, size_, PAGE_EXECUTE_READ, &previous)) return false;
  FlushInstructionCache(GetCurrentProcess(), memory_, code.size());
  sealed_ = true;
  return true;
}

}  // namespace pravelo::taskbar
