// The code that calls an interface method by its slot: the block that CallInterfaceMethod
// runs as a window procedure, for 32-bit x86 and for x64. Pure byte layout, no execution.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pravelo::taskbar {

inline constexpr int32_t kMaxInterfaceArguments = 10;

// 5 bytes per argument push, then the interface push, the call and the return.
constexpr std::size_t CallThunkSize(std::size_t argumentCount) { return 5 * argumentCount + 14; }

// The block for a call with `arguments` (p0 first) placed at `blockAddress`: pushes the
// arguments last first, then the interface pointer, calls `methodAddress` relative to its
// own position and returns popping the four window-procedure arguments.
// At most kMaxInterfaceArguments arguments.
std::vector<uint8_t> BuildCallThunk(std::span<const uint32_t> arguments, uint32_t interfacePointer,
                                    uint32_t methodAddress, uint32_t blockAddress);

// x64: the interface and the first three arguments go in registers; the rest lie on the
// stack above the 32 bytes of shadow space the callee owns.
constexpr std::size_t StackArgumentsX64(std::size_t argumentCount) {
  return argumentCount > 3 ? argumentCount - 3 : 0;
}

// Bytes the block takes off the stack: shadow space and stack arguments, plus 8 where needed
// so that the stack is 16-byte aligned at the call (it is 8 off on entry, after the return
// address).
constexpr uint32_t CallFrameSizeX64(std::size_t argumentCount) {
  const auto frame = static_cast<uint32_t>(32 + 8 * StackArgumentsX64(argumentCount));
  return frame % 16 == 8 ? frame : frame + 8;
}

// sub rsp; 18 bytes per stack argument; mov rcx; 10 bytes per register argument; mov rax;
// call rax; add rsp; ret.
constexpr std::size_t CallThunkSizeX64(std::size_t argumentCount) {
  const std::size_t inRegisters = argumentCount < 3 ? argumentCount : 3;
  return 7 + 18 * StackArgumentsX64(argumentCount) + 10 + 10 * inRegisters + 10 + 2 + 7 + 1;
}

// The x64 block for a call with `arguments` (p0 first): independent of where it is placed,
// since the method is called through a register. At most kMaxInterfaceArguments arguments.
std::vector<uint8_t> BuildCallThunkX64(std::span<const uint64_t> arguments, uint64_t interfacePointer,
                                       uint64_t methodAddress);

}  // namespace pravelo::taskbar
