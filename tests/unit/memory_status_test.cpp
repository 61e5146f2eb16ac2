#include <gtest/gtest.h>

#include "fakes/fake_memory_api.h"
#include "memory/memory_status.h"

namespace pravelo::memory {
namespace {

TEST(GetAvailableMemory, RoundsTwiceInUnitsOf1024000Bytes) {
  struct Case {
    uint64_t bytes;
    const char* expected;
  };
  const Case cases[] = {
      {1'073'741'824, "1048.58"},  // 1048.576
      {5'119, "0.01"},             // 0.0049990 -> 0.0050 -> 0.01, where one rounding gives 0
      {1'023'999, "1"},            // 0.999999
      {4'096, "0"},                // 0.004
      {0, "0"},
      {1'024'000, "1"},
      {25'769'803'776, "25165.82"},  // 24 GiB
  };
  fakes::FakeMemoryApi fake;
  for (const Case& c : cases) {
    fake.availableBytes = c.bytes;
    EXPECT_EQ(GetAvailableMemory(fake).ToText("."), c.expected) << c.bytes;
  }
  // A count beyond the signed range saturates instead of wrapping negative.
  fake.availableBytes = UINT64_MAX;
  const Currency saturated = GetAvailableMemory(fake);
  fake.availableBytes = INT64_MAX;
  EXPECT_EQ(saturated, GetAvailableMemory(fake));
  EXPECT_GT(saturated.Scaled(), 0);
}

TEST(GetWindowsVersion, ReadsMajorDotMinorAsANumber) {
  struct Case {
    uint32_t version;
    double expected;
  };
  const Case cases[] = {
      {fakes::FakeMemoryApi::VersionOf(6, 1), 6.1},
      {fakes::FakeMemoryApi::VersionOf(6, 0), 6},
      {fakes::FakeMemoryApi::VersionOf(6, 2), 6.2},
      {fakes::FakeMemoryApi::VersionOf(5, 1), 5.1},
      {fakes::FakeMemoryApi::VersionOf(4, 10), 4.1},  // minor 10 reads as 1
      {fakes::FakeMemoryApi::VersionOf(10, 0), 10},
      {0x1DB1'0106u, 6.1},  // the build number in the high word is ignored
  };
  fakes::FakeMemoryApi fake;
  for (const Case& c : cases) {
    fake.version = c.version;
    EXPECT_EQ(GetWindowsVersion(fake), c.expected) << std::hex << c.version;
  }
}

}  // namespace
}  // namespace pravelo::memory
