#include "platform/registry_api_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/text_win32.h"

namespace pravelo {
namespace {

// Every case works below its own key of the prefix's registry and removes it again.
class RegistryApiWin32Test : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\PraveloTests\\Registry";

  void SetUp() override { RemoveKeys(); }
  void TearDown() override { RemoveKeys(); }

  static void RemoveKeys() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PraveloTests");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\PraveloTests");
  }

  static void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Widen(kKey).c_str(), name, type, data, size), ERROR_SUCCESS);
  }

  static bool KeyExists(HKEY root, const char* key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
  }

  RegistryApiWin32 registry;
};

TEST_F(RegistryApiWin32Test, StringsReadBackAsWritten) {
  const std::string texts[] = {
      "1",
      "7.5",
      "",
      "최적화 완료 — 메모리",
      "C:\\Windows\\system32\\pravelo.exe",
      // Longer than the first read buffer.
      std::string(5000, 'x') + "끝",
  };
  for (const std::string& text : texts) {
    ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kKey, "값", text));
    EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "값"), text);
  }
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Widen(kKey).c_str(), L"값", RRF_RT_ANY, &type, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryApiWin32Test, DwordsReadAsUnsignedDecimalText) {
  const uint32_t numbers[] = {0, 1, 50, 2147483648u, 4294967295u};
  for (uint32_t number : numbers) {
    ASSERT_TRUE(registry.WriteDword(RegistryRoot::CurrentUser, kKey, "Number", number));
    EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Number"), std::to_string(number));
  }
  DWORD type = 0;
  DWORD stored = 0;
  DWORD size = sizeof stored;
  ASSERT_EQ(
      RegGetValueW(HKEY_CURRENT_USER, Widen(kKey).c_str(), L"Number", RRF_RT_ANY, &type, &stored, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored, 4294967295u);
}

TEST_F(RegistryApiWin32Test, TextsWrittenByOthersAreReadAsStored) {
  const wchar_t expandable[] = L"%windir%\\system.ini";
  SetRaw(L"Expand", REG_EXPAND_SZ, expandable, sizeof expandable);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Expand"), "%windir%\\system.ini");

  // Stored without its terminating NUL.
  const wchar_t bare[] = {L'5', L'0'};
  SetRaw(L"Bare", REG_SZ, bare, sizeof bare);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Bare"), "50");

  const BYTE binary[] = {1, 2, 3};
  SetRaw(L"Binary", REG_BINARY, binary, sizeof binary);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Binary"), std::nullopt);
}

TEST_F(RegistryApiWin32Test, MissingValuesAndKeysReadAsNothing) {
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Interval"), std::nullopt);
  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kKey, "Other", "1"));
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Interval"), std::nullopt);
}

TEST_F(RegistryApiWin32Test, DeletingLeavesTheValueGoneWhetherOrNotItWasThere) {
  // No key at all: nothing to delete, and no key made by trying.
  EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, kKey, "Gone"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kKey));

  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kKey, "Kept", "1"));
  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kKey, "Gone", "1"));
  EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, kKey, "Gone"));
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Gone"), std::nullopt);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Kept"), "1");
  // A second delete of the same value.
  EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, kKey, "Gone"));
}

TEST_F(RegistryApiWin32Test, WritesCreateMissingParentKeysUnderTheChosenRoot) {
  const char* nested = "Software\\PraveloTests\\Nested\\One\\Two";
  ASSERT_TRUE(registry.WriteDword(RegistryRoot::LocalMachine, nested, "LargeSystemCache", 1));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, nested));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, nested));
  EXPECT_EQ(registry.Read(RegistryRoot::LocalMachine, nested, "LargeSystemCache"), "1");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, nested, "LargeSystemCache"), std::nullopt);

  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, "Software\\PraveloTests\\zEVID\\PraveloGeneral",
                                   "Interval", "50"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\PraveloTests\\zEVID\\PraveloGeneral"));
}

}  // namespace
}  // namespace pravelo
