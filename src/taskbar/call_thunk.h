// The x86 code that calls an interface method by its slot: the block that
// CallInterfaceMethod runs as a window procedure. Pure byte layout, no execution.
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

}  // namespace pravelo::taskbar
