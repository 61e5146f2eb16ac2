#include "taskbar/call_interface_method.h"

#include <windows.h>

#include <array>
#include <span>
#include <vector>

#include "taskbar/call_thunk.h"
#include "taskbar/executable_block.h"

namespace pravelo::taskbar {

namespace {

// The block for this program's own calling convention.
std::vector<uint8_t> CallCode(std::span<const uint64_t> arguments, std::uintptr_t interfacePointer,
                              std::uintptr_t methodAddress, std::uintptr_t blockAddress) {
  if constexpr (kNativeCallWidth == CallWidth::X64) {
    return BuildCallThunkX64(arguments, interfacePointer, methodAddress);
  } else {
    const std::vector<uint32_t> words(arguments.begin(), arguments.end());
    return BuildCallThunk(words, static_cast<uint32_t>(interfacePointer), static_cast<uint32_t>(methodAddress),
                          static_cast<uint32_t>(blockAddress));
  }
}

std::size_t CallCodeSize(std::size_t argumentCount) {
  return kNativeCallWidth == CallWidth::X64 ? CallThunkSizeX64(argumentCount) : CallThunkSize(argumentCount);
}

int32_t Invoke(std::uintptr_t interfacePointer, int32_t slot, std::span<const uint64_t> arguments) {
  if (interfacePointer == 0 || slot < 0 ||
      arguments.size() > static_cast<std::size_t>(kMaxInterfaceArguments)) {
    return 0;
  }
  const auto* methodTable = *reinterpret_cast<const std::uintptr_t* const*>(interfacePointer);
  const std::uintptr_t methodAddress = methodTable[slot];

  ExecutableBlock block(CallCodeSize(arguments.size()));
  if (!block.Seal(CallCode(arguments, interfacePointer, methodAddress, block.Address()))) return 0;
  // The block is a window procedure to the caller; it leaves the method's result in the
  // result register.
  const auto procedure = reinterpret_cast<WNDPROC>(block.Code());
  return static_cast<int32_t>(CallWindowProcA(procedure, nullptr, 0, 0, 0));
}

}  // namespace

int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, int32_t slot, int32_t n, std::uintptr_t p0,
                            std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3, std::uintptr_t p4,
                            std::uintptr_t p5, std::uintptr_t p6, std::uintptr_t p7, std::uintptr_t p8,
                            std::uintptr_t p9) {
  if (n < 0 || n > kMaxInterfaceArguments) return 0;
  const std::array<uint64_t, kMaxInterfaceArguments> values{p0, p1, p2, p3, p4, p5, p6, p7, p8, p9};
  return Invoke(interfacePointer, slot, std::span(values).first(static_cast<std::size_t>(n)));
}

int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, const InterfaceCall& call) {
  return Invoke(interfacePointer, call.slot, call.arguments);
}

}  // namespace pravelo::taskbar
