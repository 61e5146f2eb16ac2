#include "platform/watched_registry_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/registry_api_win32.h"

namespace pravelo {
namespace {

constexpr wchar_t kKeyW[] = L"Software\\PraveloTests\\Watched";
constexpr const char* kKey = "Software\\PraveloTests\\Watched";

void SetByAnotherWriter(const wchar_t* value) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKeyW, L"Interval", REG_SZ, value,
                            static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// Kept values never hide a change: whoever makes it, the next read sees what a fresh read
// would, also for a key that appears, a value that goes, and the whole key removed.
TEST(WatchedRegistry, EveryReadGivesWhatAFreshReadWould) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PraveloTests");
  RegistryApiWin32 system;
  WatchedRegistryWin32 registry(system);
  const auto read = [&] { return registry.Read(RegistryRoot::CurrentUser, kKey, "Interval"); };

  EXPECT_EQ(read(), std::nullopt);
  SetByAnotherWriter(L"50");
  EXPECT_EQ(read(), "50");
  EXPECT_EQ(read(), "50");
  SetByAnotherWriter(L"7.5");
  EXPECT_EQ(read(), "7.5");
  EXPECT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kKey, "Interval", "10"));
  EXPECT_EQ(read(), "10");
  ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, kKeyW, L"Interval"), ERROR_SUCCESS);
  EXPECT_EQ(read(), std::nullopt);
  SetByAnotherWriter(L"35");
  EXPECT_EQ(read(), "35");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PraveloTests");
  EXPECT_EQ(read(), std::nullopt);
  SetByAnotherWriter(L"15");
  EXPECT_EQ(read(), "15");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PraveloTests");
}

}  // namespace
}  // namespace pravelo
