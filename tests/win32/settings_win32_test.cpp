#include <windows.h>

#include <gtest/gtest.h>

#include "platform/registry_api_win32.h"
#include "settings/language_choice.h"
#include "settings/settings_store.h"
#include "settings/string_table_win32.h"

namespace pravelo::settings {
namespace {

// The settings store on the prefix's real registry, at the exact key the program uses.
class SettingsOnTheRegistry : public testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\zEVID\\PraveloGeneral"); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\zEVID\\PraveloGeneral"); }

  // What the registry itself holds, read without the program's adapter.
  std::pair<DWORD, std::wstring> Raw(const wchar_t* name) {
    wchar_t data[256] = {};
    DWORD type = 0, size = sizeof data;
    LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\zEVID\\PraveloGeneral", name, RRF_RT_ANY,
                                    &type, data, &size);
    return status == ERROR_SUCCESS ? std::make_pair(type, std::wstring(data)) : std::make_pair(DWORD{0}, L"");
  }

  RegistryApiWin32 registry_;
  SettingsStore store_{registry_};
};

TEST_F(SettingsOnTheRegistry, DefaultsAreCreatedAsTextAndStoredTextsComeBack) {
  EXPECT_EQ(store_.Read(kInterval), "50");
  EXPECT_EQ(Raw(L"Interval"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"50")));
  ASSERT_TRUE(store_.Write(kInterval, "7.5"));
  EXPECT_EQ(store_.Read(kInterval), "7.5");
  ASSERT_TRUE(store_.Write(kMinAtClose, "자동"));
  EXPECT_EQ(Raw(L"MinAtClose").second, L"자동");
  EXPECT_EQ(store_.Read(kMinAtClose), "자동");
  ASSERT_TRUE(store_.Write(kAutoStart, ""));
  EXPECT_EQ(store_.Read(kAutoStart), "0");  // empty counts as missing
  EXPECT_EQ(Raw(L"AutoStart").second, L"0");
}

TEST(StringTableResources, EveryLanguageLoadsWholeByItsIdentifier) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  StringTableWin32 english(module, kLanguageEnglish);
  StringTableWin32 korean(module, kLanguageKorean);
  EXPECT_EQ(english.Text(101), "Optimize");
  EXPECT_EQ(korean.Text(101), "최적화");
  EXPECT_EQ(english.Text(138), "Optimize2 Complete");
  EXPECT_EQ(korean.Text(124), "Pravelo 심플");
  EXPECT_NE(korean.Text(113).find("\\n"), std::string::npos);  // kept as two characters
  EXPECT_EQ(StringTableWin32(module, 0x0411).Text(101), "最適化");
  // The program's texts, the memory areas' and the automation's, the last pass's table, the
  // deep pass's note, the language window's, the accessible names and a refused save; nothing
  // between or after.
  const auto inTable = [](int id) { return (id >= 101 && id <= 158) || (id >= 160 && id <= 184); };
  for (const Language& language : Languages()) {
    StringTableWin32 table(module, language.id);
    for (int id = 101; id <= 185; ++id) EXPECT_EQ(table.Text(id).empty(), !inTable(id)) << language.tag << id;
  }
  EXPECT_EQ(StringTableWin32(module, 0x0413).Text(101), "");  // no Dutch table
}

}  // namespace
}  // namespace pravelo::settings
