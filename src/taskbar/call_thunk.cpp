#include "taskbar/call_thunk.h"

#include <cassert>

#include "taskbar/code_bytes.h"

namespace pravelo::taskbar {

namespace {

constexpr uint8_t kPushImmediate = 0x68;
constexpr uint8_t kCallRelative = 0xE8;
// ret 16: the window-procedure caller pushed four arguments. The last byte pads the
// block to a whole 32-bit store and is never executed.
constexpr uint32_t kReturnPopping16 = 0x000010C2;

}  // namespace

std::vector<uint8_t> BuildCallThunk(std::span<const uint32_t> arguments, uint32_t interfacePointer,
                                    uint32_t methodAddress, uint32_t blockAddress) {
  assert(arguments.size() <= static_cast<std::size_t>(kMaxInterfaceArguments));
  std::vector<uint8_t> code;
  code.reserve(CallThunkSize(arguments.size()));
  for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
    code.push_back(kPushImmediate);
    AppendLittleEndian(code, *argument);
  }
  code.push_back(kPushImmediate);
  AppendLittleEndian(code, interfacePointer);
  code.push_back(kCallRelative);
  // Relative to the end of the displacement field, which is where the call returns to.
  const uint32_t nextInstruction = blockAddress + static_cast<uint32_t>(code.size()) + 4;
  AppendLittleEndian(code, methodAddress - nextInstruction);
  AppendLittleEndian(code, kReturnPopping16);
  return code;
}

}  // namespace pravelo::taskbar
