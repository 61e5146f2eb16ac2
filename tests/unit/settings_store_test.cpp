#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "settings/area_settings.h"
#include "settings/settings_store.h"

namespace pravelo {
namespace {

using fakes::FakeRegistry;
using fakes::kSettingsKey;

TEST(SettingsStore, ReadCreatesMissingOrEmptyValuesWithTheDefault) {
  FakeRegistry registry;
  settings::SettingsStore store(registry);
  EXPECT_EQ(store.ReadSetting("Pravelo", "Interval", "50"), "50");
  const auto* created = registry.Find(RegistryRoot::CurrentUser, kSettingsKey, "Interval");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->type, fakes::RegistryValue::Type::String);
  EXPECT_EQ(created->text, "50");

  registry.SetString(RegistryRoot::CurrentUser, kSettingsKey, "MinAtClose", "");
  EXPECT_EQ(store.ReadSetting("Pravelo", "MinAtClose", "0"), "0");
  EXPECT_EQ(registry.Find(RegistryRoot::CurrentUser, kSettingsKey, "MinAtClose")->text, "0");
}

TEST(SettingsStore, StoredTextComesBackAsItIs) {
  FakeRegistry registry;
  settings::SettingsStore store(registry);
  for (const char* text : {"7.5", "not a number", "01", "-3", "최적화"}) {
    ASSERT_TRUE(store.WriteSetting("Pravelo", "General", "Interval", text));
    EXPECT_EQ(store.ReadSetting("Pravelo", "Interval", "50"), text);
  }
}

TEST(SettingsStore, ReaderAndWriterAddressOneKey) {
  FakeRegistry registry;
  settings::SettingsStore store(registry);
  store.Write(settings::kAutoStart, "1");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, "Software\\zEVID\\PraveloGeneral", "AutoStart"), "1");
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, "Software\\zEVID\\Pravelo\\General", "AutoStart"),
            std::nullopt);
  EXPECT_EQ(store.Read(settings::kAutoStart), "1");
}

TEST(SettingsStore, RefusedWriteBackStillGivesTheDefault) {
  FakeRegistry registry;
  registry.refuseCurrentUser = true;
  settings::SettingsStore store(registry);
  EXPECT_EQ(store.Read(settings::kAutoOptimize), "1");
  EXPECT_FALSE(store.Write(settings::kAutoOptimize, "0"));
}

TEST(AreaSettings, ReadWithDefaultInTheirOwnKey) {
  using memory::AreaSet;
  using memory::MemoryArea;
  AreaSet standby;
  standby.Add(MemoryArea::StandbyList);
  AreaSet byDefault;
  byDefault.Add(MemoryArea::WorkingSets);
  byDefault.Add(MemoryArea::SystemFileCache);
  struct Case {
    const char* name;
    std::optional<std::string> stored;  // nothing: the value is missing
    AreaSet expected;
    std::string storedAfter;
  };
  const Case cases[] = {
      {"missing", std::nullopt, byDefault, "WorkingSets,SystemFileCache"},
      {"empty", "", byDefault, "WorkingSets,SystemFileCache"},
      {"a choice", "StandbyList", standby, "StandbyList"},
      {"unknown names are ignored", "Bogus,standbylist,", standby, "Bogus,standbylist,"},
      {"only unknown names", "Bogus", AreaSet(), "Bogus"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    if (c.stored) registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic", *c.stored);
    settings::SettingsStore store(registry);
    EXPECT_EQ(settings::ReadAreas(store, settings::kAutomaticAreas), c.expected);
    EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic"), c.storedAfter);
    EXPECT_EQ(registry.CountUnder(RegistryRoot::CurrentUser, kSettingsKey), 0u);
  }

  FakeRegistry registry;
  settings::SettingsStore store(registry);
  ASSERT_TRUE(settings::WriteAreas(store, settings::kManualAreas, AreaSet::All()));
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual"),
            "WorkingSets,SystemFileCache,ModifiedList,StandbyList,LowPriorityStandbyList,CombinedList,"
            "RegistryCache");
  EXPECT_EQ(settings::ReadAreas(store, settings::kManualAreas), AreaSet::All());
}

}  // namespace
}  // namespace pravelo
