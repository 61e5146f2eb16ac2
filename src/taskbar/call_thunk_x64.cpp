#include <cassert>

#include "taskbar/call_thunk.h"
#include "taskbar/code_bytes.h"

namespace pravelo::taskbar {

namespace {

using Bytes = std::vector<uint8_t>;

// REX.W prefixes and opcodes of the few instructions the block needs.
const Bytes kSubRspImm32 = {0x48, 0x81, 0xEC};
const Bytes kAddRspImm32 = {0x48, 0x81, 0xC4};
const Bytes kMovRaxImm64 = {0x48, 0xB8};
const Bytes kMovRaxToRspDisp32 = {0x48, 0x89, 0x84, 0x24};
// The interface pointer, then p0, p1, p2: RCX, RDX, R8, R9.
const Bytes kMovRegisterImm64[] = {{0x48, 0xB9}, {0x48, 0xBA}, {0x49, 0xB8}, {0x49, 0xB9}};
const Bytes kCallRax = {0xFF, 0xD0};
constexpr uint8_t kReturn = 0xC3;
constexpr uint32_t kShadowSpace = 32;

void Append(Bytes& code, const Bytes& instruction) { code.insert(code.end(), instruction.begin(), instruction.end()); }

}  // namespace

std::vector<uint8_t> BuildCallThunkX64(std::span<const uint64_t> arguments, uint64_t interfacePointer,
                                       uint64_t methodAddress) {
  assert(arguments.size() <= static_cast<std::size_t>(kMaxInterfaceArguments));
  const uint32_t frame = CallFrameSizeX64(arguments.size());
  Bytes code;
  code.reserve(CallThunkSizeX64(arguments.size()));
  Append(code, kSubRspImm32);
  AppendLittleEndian(code, frame);
  for (std::size_t i = 3; i < arguments.size(); ++i) {
    Append(code, kMovRaxImm64);
    AppendLittleEndian(code, arguments[i]);
    Append(code, kMovRaxToRspDisp32);
    AppendLittleEndian(code, static_cast<uint32_t>(kShadowSpace + 8 * (i - 3)));
  }
  Append(code, kMovRegisterImm64[0]);
  AppendLittleEndian(code, interfacePointer);
  for (std::size_t i = 0; i < arguments.size() && i < 3; ++i) {
    Append(code, kMovRegisterImm64[i + 1]);
    AppendLittleEndian(code, arguments[i]);
  }
  Append(code, kMovRaxImm64);
  AppendLittleEndian(code, methodAddress);
  Append(code, kCallRax);
  Append(code, kAddRspImm32);
  AppendLittleEndian(code, frame);
  code.push_back(kReturn);
  return code;
}

}  // namespace pravelo::taskbar
