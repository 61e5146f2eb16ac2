#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "taskbar/call_interface_method.h"

namespace pravelo::taskbar {
namespace {

// A COM-style object: its first word is the address of a table of methods.
// Slot n (0 ... 10) takes n machine-word arguments; slot 11 takes one 64-bit value; slot 12
// fails.
using Word = std::uintptr_t;
struct RecordingObject {
  const void* const* methodTable;
  struct Call {
    const RecordingObject* self;
    std::vector<Word> arguments;
  };
  std::vector<Call> calls;
  uint64_t wide = 0;
};

template <typename Indices>
struct Method;

template <std::size_t... I>
struct Method<std::index_sequence<I...>> {
  static HRESULT STDMETHODCALLTYPE Record(RecordingObject* self,
                                          std::enable_if_t<I >= 0, Word>... arguments) {
    self->calls.push_back({self, {arguments...}});
    return static_cast<HRESULT>(0x100 + sizeof...(I));
  }
};

template <std::size_t N>
const void* RecorderOf() {
  return reinterpret_cast<const void*>(&Method<std::make_index_sequence<N>>::Record);
}

HRESULT STDMETHODCALLTYPE TakeWide(RecordingObject* self, uint64_t value) {
  self->wide = value;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Fail(RecordingObject* self) {
  self->calls.push_back({self, {}});
  return E_FAIL;
}

template <std::size_t... N>
std::vector<const void*> MakeTable(std::index_sequence<N...>) {
  return {RecorderOf<N>()..., reinterpret_cast<const void*>(&TakeWide), reinterpret_cast<const void*>(&Fail)};
}

class CallInterfaceMethodTest : public testing::Test {
 protected:
  std::vector<const void*> table = MakeTable(std::make_index_sequence<11>());
  RecordingObject object{table.data(), {}};
  std::uintptr_t Interface() { return reinterpret_cast<std::uintptr_t>(&object); }
};

TEST_F(CallInterfaceMethodTest, ArgumentsArriveInDeclaredOrderForEveryCount) {
  // In the 64-bit program every value uses its high half too.
  constexpr Word kHigh = sizeof(Word) == 8 ? static_cast<Word>(0x5A5A5A5A00000000ull) : 0;
  const Word values[10] = {kHigh | 0xA0, kHigh | 0xA1, kHigh | 0xA2, kHigh | 0xA3, kHigh | 0xA4,
                           kHigh | 0xA5, kHigh | 0xA6, kHigh | 0xA7, kHigh | 0xA8, kHigh | 0xA9};
  for (int32_t n = 0; n <= 10; ++n) {
    SCOPED_TRACE(n);
    object.calls.clear();
    const int32_t result =
        CallInterfaceMethod(Interface(), n, n, values[0], values[1], values[2], values[3], values[4],
                            values[5], values[6], values[7], values[8], values[9]);
    EXPECT_EQ(result, 0x100 + n);
    ASSERT_EQ(object.calls.size(), 1u);
    EXPECT_EQ(object.calls[0].self, &object);
    EXPECT_EQ(object.calls[0].arguments, std::vector<Word>(values, values + n));
  }
}

TEST_F(CallInterfaceMethodTest, WideValueArrivesWhole) {
  if constexpr (sizeof(Word) == 4) {
    EXPECT_EQ(CallInterfaceMethod(Interface(), 11, 2, 0x55667788, 0x11223344), S_OK);
  } else {
    EXPECT_EQ(CallInterfaceMethod(Interface(), 11, 1, static_cast<Word>(0x1122334455667788ull)), S_OK);
  }
  EXPECT_EQ(object.wide, 0x1122334455667788ull);
}

TEST_F(CallInterfaceMethodTest, FailureResultPassesThrough) {
  EXPECT_EQ(CallInterfaceMethod(Interface(), 12, 0), static_cast<int32_t>(E_FAIL));
  EXPECT_EQ(object.calls.size(), 1u);
}

TEST_F(CallInterfaceMethodTest, RefusedCallsReturnZeroAndCallNothing) {
  EXPECT_EQ(CallInterfaceMethod(0, 0, 0), 0);
  EXPECT_EQ(CallInterfaceMethod(0, 2, 1, 5), 0);
  EXPECT_EQ(CallInterfaceMethod(Interface(), 1, -1, 5), 0);
  EXPECT_EQ(CallInterfaceMethod(Interface(), 10, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10), 0);
  EXPECT_EQ(CallInterfaceMethod(Interface(), -1, 0), 0);
  EXPECT_EQ(CallInterfaceMethod(Interface(), InterfaceCall{10, std::vector<uint64_t>(11, 1)}), 0);
  EXPECT_TRUE(object.calls.empty());
}

// Every call has its own block, freed after it: a leaked block would use up the
// 2 GiB address space long before the end.
TEST_F(CallInterfaceMethodTest, BlocksAreFreedAfterEachCall) {
  constexpr int kCalls = 40000;
  int answered = 0;
  for (int i = 0; i < kCalls; ++i) {
    if (CallInterfaceMethod(Interface(), 0, 0) == 0x100) ++answered;
  }
  EXPECT_EQ(answered, kCalls);
}

}  // namespace
}  // namespace pravelo::taskbar
