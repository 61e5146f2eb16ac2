#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "taskbar/executable_block.h"

namespace pravelo::taskbar {
namespace {

DWORD ProtectionOf(const void* address) {
  MEMORY_BASIC_INFORMATION info{};
  EXPECT_NE(VirtualQuery(address, &info, sizeof info), 0u);
  return info.Protect;
}

// Generated code is never writable and executable at once: writable before it is sealed,
// runnable but not writable after, and sealed only once.
TEST(ExecutableBlock, IsWritableOrExecutableNeverBoth) {
  ExecutableBlock block(64);
  ASSERT_TRUE(block);
  EXPECT_EQ(block.Code(), nullptr);
  EXPECT_EQ(ProtectionOf(reinterpret_cast<void*>(block.Address())), static_cast<DWORD>(PAGE_READWRITE));

  const std::vector<uint8_t> ret = {0xC3};
  ASSERT_TRUE(block.Seal(ret));
  ASSERT_NE(block.Code(), nullptr);
  EXPECT_EQ(ProtectionOf(block.Code()), static_cast<DWORD>(PAGE_EXECUTE_READ));
  EXPECT_FALSE(block.Seal(ret));

  ExecutableBlock tooSmall(1);
  EXPECT_FALSE(tooSmall.Seal(std::vector<uint8_t>(2, 0xC3)));
  EXPECT_EQ(tooSmall.Code(), nullptr);
}

}  // namespace
}  // namespace pravelo::taskbar
