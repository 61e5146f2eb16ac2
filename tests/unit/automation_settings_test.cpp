#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "settings/automation_settings.h"

namespace pravelo::settings {
namespace {

using fakes::FakeRegistry;

constexpr std::string_view kKey = "Software\\zEVID\\PraveloAutomation";

TEST(AutomationSettings, FirstReadCreatesTheFourValuesWithTheirDefaultsInTheirOwnKey) {
  FakeRegistry registry;
  SettingsStore store(registry);
  const AutomationSettings read = ReadAutomationSettings(store);
  EXPECT_EQ(read.thresholdPercent, 0);
  EXPECT_EQ(read.cooldownSeconds, 60);
  EXPECT_EQ(read.hotkey, std::nullopt);
  EXPECT_FALSE(read.exclusions.Excludes("game.exe"));
  EXPECT_EQ(registry.CountUnder(RegistryRoot::CurrentUser, kKey), 4u);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Threshold"), "0");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Cooldown"), "60");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Hotkey"), "");
  EXPECT_EQ(registry.Find(RegistryRoot::CurrentUser, kKey, "Exclusions")->type,
            fakes::RegistryValue::Type::String);
  EXPECT_EQ(registry.CountUnder(RegistryRoot::CurrentUser, fakes::kSettingsKey), 0u);
}

TEST(AutomationSettings, ValuesEditedByHandFallBackToTheirDefaults) {
  struct Case {
    const char* threshold;
    const char* cooldown;
    const char* hotkey;
    const char* exclusions;
    int expectedThreshold;
    int expectedCooldown;
    std::optional<Hotkey> expectedHotkey;
    bool gameExcluded;
  };
  const Case cases[] = {
      {"85", "120", "Ctrl+Alt+O", "game.exe;x.exe", 85, 120, Hotkey{kModControl | kModAlt, 'O'}, true},
      {" 1 ", "86400", "F9", "GAME.EXE", 1, 86400, Hotkey{0, 0x78}, true},
      {"100", "0", "O", "game.exe;", 0, 60, std::nullopt, false},
      {"0", "86401", "Ctrl+Alt+", "C:\\game.exe", 0, 60, std::nullopt, false},
      {"-5", "-60", "Ctrl+Q+Q", ";", 0, 60, std::nullopt, false},
      {"7.5", "1e3", "\x01", "a*b", 0, 60, std::nullopt, false},
      {"lots", "99999999999999999999", "ctrl", "   ", 0, 60, std::nullopt, false},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    registry.SetString(RegistryRoot::CurrentUser, kKey, "Threshold", c.threshold);
    registry.SetString(RegistryRoot::CurrentUser, kKey, "Cooldown", c.cooldown);
    registry.SetString(RegistryRoot::CurrentUser, kKey, "Hotkey", c.hotkey);
    registry.SetString(RegistryRoot::CurrentUser, kKey, "Exclusions", c.exclusions);
    SettingsStore store(registry);
    const AutomationSettings read = ReadAutomationSettings(store);
    EXPECT_EQ(read.thresholdPercent, c.expectedThreshold) << c.threshold;
    EXPECT_EQ(read.cooldownSeconds, c.expectedCooldown) << c.cooldown;
    EXPECT_EQ(read.hotkey, c.expectedHotkey) << c.hotkey;
    EXPECT_EQ(read.exclusions.Excludes("game.exe"), c.gameExcluded) << c.exclusions;
    // The user's text stays for them to mend.
    EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Cooldown"), c.cooldown);
  }
  // A DWORD written by hand reads as its number.
  FakeRegistry registry;
  registry.WriteDword(RegistryRoot::CurrentUser, kKey, "Threshold", 90);
  SettingsStore store(registry);
  EXPECT_EQ(ReadAutomationSettings(store).thresholdPercent, 90);
}

TEST(AutomationSettings, TheWindowRefusesBadInputAndSavesNothing) {
  struct Case {
    AutomationInput input;
    std::optional<AutomationInputError> error;
  };
  const Case cases[] = {
      {{true, "80", "60", "Ctrl+Alt+O", "game.exe; browser.exe"}, std::nullopt},
      {{false, "", "60", "", ""}, std::nullopt},
      {{false, "100", "60", "", ""}, std::nullopt},  // switched off: the box does not count
      {{true, "0", "60", "", ""}, AutomationInputError::Threshold},
      {{true, "100", "60", "", ""}, AutomationInputError::Threshold},
      {{true, "eighty", "60", "", ""}, AutomationInputError::Threshold},
      {{true, "", "60", "", ""}, AutomationInputError::Threshold},
      {{true, "80", "1 min", "", ""}, AutomationInputError::Cooldown},
      {{true, "80", "0", "", ""}, AutomationInputError::Cooldown},
      {{true, "80", "", "", ""}, AutomationInputError::Cooldown},
      {{true, "80", "60", "Q", ""}, AutomationInputError::Hotkey},
      {{true, "80", "60", "", "game.exe;;x.exe"}, AutomationInputError::Exclusions},
      {{true, "80", "60", "", "game.exe;"}, AutomationInputError::Exclusions},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckAutomationInput(c.input), c.error)
        << c.input.threshold << "|" << c.input.cooldown << "|" << c.input.hotkey << "|" << c.input.exclusions;
    FakeRegistry registry;
    SettingsStore store(registry);
    EXPECT_EQ(WriteAutomationSettings(store, c.input), !c.error);
    EXPECT_EQ(registry.CountUnder(RegistryRoot::CurrentUser, kKey), c.error ? 0u : 4u);
  }
}

TEST(AutomationSettings, SavedInputReadsBackAsTyped) {
  FakeRegistry registry;
  SettingsStore store(registry);
  ASSERT_TRUE(WriteAutomationSettings(store, {true, " 075", "300", "alt+ctrl+o", "Game.exe; x.exe"}));
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Threshold"), "75");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Hotkey"), "Ctrl+Alt+O");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Exclusions"), "Game.exe; x.exe");
  const AutomationSettings read = ReadAutomationSettings(store);
  EXPECT_EQ(read.thresholdPercent, 75);
  EXPECT_EQ(read.cooldownSeconds, 300);
  EXPECT_TRUE(read.exclusions.Excludes("GAME.EXE"));

  ASSERT_TRUE(WriteAutomationSettings(store, {false, "75", "300", "", ""}));
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, kKey, "Threshold"), "0");
  EXPECT_EQ(ReadAutomationSettings(store).hotkey, std::nullopt);
}

}  // namespace
}  // namespace pravelo::settings
