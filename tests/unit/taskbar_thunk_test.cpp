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
