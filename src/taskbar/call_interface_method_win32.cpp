#include "taskbar/call_interface_method.h"

#include <windows.h>

#include <array>
#include <span>

#include "taskbar/call_thunk.h"
#include "taskbar/executable_block.h"

namespace pravelo::taskbar {

static_assert(sizeof(void*) == 4, "the generated call is 32-bit x86 code");

namespace {

int32_t Invoke(std::uintptr_t interfacePointer, int32_t slot, std::span<const uint32_t> arguments) {
  if (interfacePointer == 0 || slot < 0 ||
      arguments.size() > static_cast<std::size_t>(kMaxInterfaceArguments)) {
    return 0;
  }
  const auto* methodTable = *reinterpret_cast<const uint32_t* const*>(interfacePointer);
  const uint32_t methodAddress = methodTable[slot];

  ExecutableBlock block(CallThunkSize(arguments.size()));
  if (!block) return 0;
  block.Write(
      BuildCallThunk(arguments, static_cast<uint32_t>(interfacePointer), methodAddress, block.Address()));
  // The block is a window procedure to the caller: four arguments in, ret 16 out, and
  // the method's result left in the result register.
  const auto procedure = reinterpret_cast<WNDPROC>(block.Data());
  return static_cast<int32_t>(CallWindowProcA(procedure, nullptr, 0, 0, 0));
}

}  // namespace

int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, int32_t slot, int32_t n, uint32_t p0,
                            uint32_t p1, uint32_t p2, uint32_t p3, uint32_t p4, uint32_t p5, uint32_t p6,
                            uint32_t p7, uint32_t p8, uint32_t p9) {
  if (n < 0 || n > kMaxInterfaceArguments) return 0;
  const std::array<uint32_t, kMaxInterfaceArguments> values{p0, p1, p2, p3, p4, p5, p6, p7, p8, p9};
  return Invoke(interfacePointer, slot, std::span(values).first(static_cast<std::size_t>(n)));
}

int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, const InterfaceCall& call) {
  return Invoke(interfacePointer, call.slot, call.arguments);
}

}  // namespace pravelo::taskbar
