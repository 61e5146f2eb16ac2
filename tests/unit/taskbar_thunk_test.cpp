#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "taskbar/call_thunk.h"
#include "taskbar/subclass_thunk.h"

namespace pravelo::taskbar {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(CallThunk, ReleaseCallIsFourteenBytes) {
  const Bytes code = BuildCallThunk({}, 0x00401000, 0x77001234, 0x00A00000);
  // The displacement counts from block + 10, the end of the call instruction.
  const Bytes expected = {0x68, 0x00, 0x10, 0x40, 0x00,  // push interface
                          0xE8, 0x2A, 0x12, 0x60, 0x76,  // call 0x77001234
                          0xC2, 0x10, 0x00, 0x00};       // ret 16
  EXPECT_EQ(code, expected);
}

TEST(CallThunk, TwoArgumentsArePushedLastFirst) {
  const uint32_t arguments[] = {0x00010203, 0x00000002};  // window, flags
  const Bytes code = BuildCallThunk(arguments, 0x00401000, 0x77001234, 0x00A00000);
  const Bytes expected = {0x68, 0x02, 0x00, 0x00, 0x00,  // push flags
                          0x68, 0x03, 0x02, 0x01, 0x00,  // push window
                          0x68, 0x00, 0x10, 0x40, 0x00,  // push interface
                          0xE8, 0x20, 0x12, 0x60, 0x76,  // call: 0x77001234 - (0x00A00000 + 20)
                          0xC2, 0x10, 0x00, 0x00};
  EXPECT_EQ(code, expected);
}

TEST(CallThunk, EveryCountHasItsSizeAndArgumentOrder) {
  for (uint32_t n = 0; n <= 10; ++n) {
    SCOPED_TRACE(n);
    std::vector<uint32_t> arguments;
    for (uint32_t i = 0; i < n; ++i) arguments.push_back(0xA0B0C000 + i);
    const Bytes code = BuildCallThunk(arguments, 0x12345678, 0x00402000, 0x00500000);
    ASSERT_EQ(code.size(), 5 * n + 14);
    for (uint32_t push = 0; push <= n; ++push) {
      ASSERT_EQ(code[5 * push], 0x68);
      const uint32_t value = code[5 * push + 1] | code[5 * push + 2] << 8 | code[5 * push + 3] << 16 |
                             static_cast<uint32_t>(code[5 * push + 4]) << 24;
      // The first push is the last argument; the interface comes straight before the call.
      EXPECT_EQ(value, push < n ? 0xA0B0C000 + (n - 1 - push) : 0x12345678u);
    }
    EXPECT_EQ(code[5 * n + 5], 0xE8);
    EXPECT_EQ((Bytes{code.end() - 4, code.end()}), (Bytes{0xC2, 0x10, 0x00, 0x00}));
  }
}

TEST(CallThunk, DisplacementWrapsAroundForEarlierMethods) {
  struct Case {
    uint32_t arguments;
    uint32_t block;
    uint32_t method;
    Bytes displacement;
  };
  const Case cases[] = {
      // A method below the block: the displacement is negative.
      {0, 0x10000000, 0x00401000, {0xF6, 0x0F, 0x40, 0xF0}},
      // Ten arguments: the call ends at block + 60.
      {10, 0x00A00000, 0x00A00000, {0xC4, 0xFF, 0xFF, 0xFF}},
      // Calling the instruction right after the call gives 0.
      {1, 0x00300000, 0x0030000F, {0x00, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const std::vector<uint32_t> arguments(c.arguments, 7);
    const Bytes code = BuildCallThunk(arguments, 1, c.method, c.block);
    const std::size_t field = 5 * c.arguments + 6;
    EXPECT_EQ((Bytes{code.begin() + field, code.begin() + field + 4}), c.displacement);
  }
}

uint64_t ValueAt(const Bytes& code, std::size_t offset, std::size_t size) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= static_cast<uint64_t>(code[offset + i]) << (8 * i);
  return value;
}

TEST(CallThunkX64, ReleaseCallLoadsTheInterfaceAndCallsThroughRax) {
  const Bytes code = BuildCallThunkX64({}, 0x00007FF612345678, 0x00007FFA11223344);
  const Bytes expected = {
      0x48, 0x81, 0xEC, 0x28, 0x00, 0x00, 0x00,                    // sub rsp, 40
      0x48, 0xB9, 0x78, 0x56, 0x34, 0x12, 0xF6, 0x7F, 0x00, 0x00,  // mov rcx, interface
      0x48, 0xB8, 0x44, 0x33, 0x22, 0x11, 0xFA, 0x7F, 0x00, 0x00,  // mov rax, method
      0xFF, 0xD0,                                                  // call rax
      0x48, 0x81, 0xC4, 0x28, 0x00, 0x00, 0x00,                    // add rsp, 40
      0xC3,                                                        // ret
  };
  EXPECT_EQ(code, expected);
}

// Registers RCX, RDX, R8, R9 take the interface and p0 ... p2; p3 on lie above the shadow
// space; the stack is 16-byte aligned at the call for every count.
TEST(CallThunkX64, EveryCountHasItsLayoutRegistersStackSlotsAndAlignment) {
  const Bytes registerLoads[] = {{0x48, 0xBA}, {0x49, 0xB8}, {0x49, 0xB9}};
  for (std::size_t n = 0; n <= 10; ++n) {
    SCOPED_TRACE(n);
    std::vector<uint64_t> arguments;
    for (std::size_t i = 0; i < n; ++i) arguments.push_back(0xA0B0C0D000000000 + i);
    const Bytes code = BuildCallThunkX64(arguments, 0x1122334455667788, 0x0102030405060708);
    ASSERT_EQ(code.size(), CallThunkSizeX64(n));

    const std::size_t stackArguments = n > 3 ? n - 3 : 0;
    const uint64_t frame = ValueAt(code, 3, 4);
    EXPECT_EQ((Bytes{code.begin(), code.begin() + 3}), (Bytes{0x48, 0x81, 0xEC}));
    EXPECT_GE(frame, 32 + 8 * stackArguments);
    EXPECT_EQ((frame + 8) % 16, 0u) << "rsp is 8 off alignment on entry";

    std::size_t at = 7;
    for (std::size_t i = 3; i < n; ++i) {
      EXPECT_EQ((Bytes{code.begin() + at, code.begin() + at + 2}), (Bytes{0x48, 0xB8}));
      EXPECT_EQ(ValueAt(code, at + 2, 8), arguments[i]);
      EXPECT_EQ((Bytes{code.begin() + at + 10, code.begin() + at + 14}), (Bytes{0x48, 0x89, 0x84, 0x24}));
      EXPECT_EQ(ValueAt(code, at + 14, 4), 32 + 8 * (i - 3));
      at += 18;
    }
    EXPECT_EQ((Bytes{code.begin() + at, code.begin() + at + 2}), (Bytes{0x48, 0xB9}));
    EXPECT_EQ(ValueAt(code, at + 2, 8), 0x1122334455667788u);
    at += 10;
    for (std::size_t i = 0; i < n && i < 3; ++i) {
      EXPECT_EQ((Bytes{code.begin() + at, code.begin() + at + 2}), registerLoads[i]);
      EXPECT_EQ(ValueAt(code, at + 2, 8), arguments[i]);
      at += 10;
    }
    EXPECT_EQ((Bytes{code.begin() + at, code.begin() + at + 2}), (Bytes{0x48, 0xB8}));
    EXPECT_EQ(ValueAt(code, at + 2, 8), 0x0102030405060708u);
    at += 10;
    EXPECT_EQ((Bytes{code.begin() + at, code.end()}),
              (Bytes{0xFF, 0xD0, 0x48, 0x81, 0xC4, code[3], code[4], code[5], code[6], 0xC3}));
  }
}

TEST(SubclassThunk, TemplateCarriesObjectAndProcedure) {
  const SubclassThunk code = BuildSubclassThunk(0x11223344, 0x55667788);
  const SubclassThunk expected = {
      0x55,                          // push ebp
      0x8B, 0xEC,                    // mov ebp, esp
      0x83, 0xC4, 0xFC,              // add esp, -4: the result
      0x8D, 0x45, 0xFC, 0x50,        // push the result's address
      0xFF, 0x75, 0x14,              // push lParam
      0xFF, 0x75, 0x10,              // push wParam
      0xFF, 0x75, 0x0C,              // push uMsg
      0xFF, 0x75, 0x08,              // push hwnd
      0x68, 0x44, 0x33, 0x22, 0x11,  // push object
      0xB8, 0x88, 0x77, 0x66, 0x55,  // mov eax, procedure
      0xFF, 0xD0,                    // call eax
      0x8B, 0x45, 0xFC,              // mov eax, result
      0xC9,                          // leave
      0xC2, 0x10, 0x00,              // ret 16
  };
  EXPECT_EQ(code, expected);
}

}  // namespace
}  // namespace pravelo::taskbar
