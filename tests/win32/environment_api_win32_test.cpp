#include "platform/environment_api_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/text_win32.h"

namespace pravelo {
namespace {

TEST(EnvironmentApiWin32, VariablesReadWithTheirFullTextOrNothing) {
  struct Case {
    const char* name;
    std::string value;
  };
  const Case cases[] = {
      {"PRAVELO_TEST_SHORT", "C:\\users\\root\\Temp"},
      {"PRAVELO_TEST_KOREAN", "메모리 최적화"},
      // Longer than the first buffer the adapter tries.
      {"PRAVELO_TEST_LONG", std::string(3000, 'v') + "!"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetEnvironmentVariableW(Widen(c.name).c_str(), Widen(c.value).c_str()));
    EXPECT_EQ(EnvironmentApiWin32().Variable(c.name), c.value) << c.name;
    SetEnvironmentVariableW(Widen(c.name).c_str(), nullptr);
  }
  EXPECT_EQ(EnvironmentApiWin32().Variable("PRAVELO_TEST_NEVER_SET"), std::nullopt);
}

TEST(EnvironmentApiWin32, DecimalSeparatorIsTheUsersChoice) {
  wchar_t saved[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, ARRAYSIZE(saved)), 0);
  const wchar_t* const choices[] = {L",", L"."};
  for (const wchar_t* choice : choices) {
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, choice));
    EXPECT_EQ(EnvironmentApiWin32().DecimalSeparator(), Narrow(choice));
  }
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
}

}  // namespace
}  // namespace pravelo
