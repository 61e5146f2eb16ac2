#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/app_fixture.h"
#include "settings/areas_window.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using memory::MemoryArea;

constexpr std::size_t Row(MemoryArea area) { return static_cast<std::size_t>(area); }

int CountOf(const AppFixture& f, fakes::Request request) {
  return static_cast<int>(std::count(f.machine.requests.begin(), f.machine.requests.end(), request));
}

TEST(AreasWindow, OpensFromTheOptionsWithTheSettingsAndWhatThisWindowsOffers) {
  struct Case {
    const char* name;
    OsVersion version;
    bool wow64;
    std::vector<std::pair<MemoryArea, std::string>> off;  // disabled rows and the reason shown
  };
  const Case cases[] = {
      {"10", {10, 0}, false, {}},
      {"7",
       {6, 1},
       false,
       {{MemoryArea::CombinedList, "Needs Windows 10"}, {MemoryArea::RegistryCache, "Needs Windows 8.1"}}},
      {"10, 32-bit program",
       {10, 0},
       true,
       {{MemoryArea::ModifiedList, "Not for a 32-bit program on 64-bit Windows"},
        {MemoryArea::StandbyList, "Not for a 32-bit program on 64-bit Windows"},
        {MemoryArea::LowPriorityStandbyList, "Not for a 32-bit program on 64-bit Windows"},
        {MemoryArea::CombinedList, "Not for a 32-bit program on 64-bit Windows"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppFixture f;
    f.memory.realVersion = c.version;
    f.memory.wow64 = c.wow64;
    f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic",
                         "StandbyList,RegistryCache");
    f.Start();
    EXPECT_EQ(f.form2().Command3.Text(), "Memory areas...");

    f.form2().Command3.Click();

    ASSERT_EQ(f.areasPeer.modalOwners, std::vector<ui::Form*>{&f.form2()});
    settings::AreasWindow& w = f.areas();
    EXPECT_EQ(w.Text(), "Memory areas");
    EXPECT_EQ(w.AreaLabel[Row(MemoryArea::StandbyList)].Text(), "Standby list");
    for (MemoryArea area : memory::kAreaOrder) {
      const bool manual = area == MemoryArea::WorkingSets || area == MemoryArea::SystemFileCache;
      const bool automatic = area == MemoryArea::StandbyList || area == MemoryArea::RegistryCache;
      EXPECT_EQ(w.Manual[Row(area)].Value(), manual ? 1 : 0) << memory::AreaName(area);
      EXPECT_EQ(w.Automatic[Row(area)].Value(), automatic ? 1 : 0) << memory::AreaName(area);
      std::string reason;
      for (const auto& [offArea, text] : c.off) reason = offArea == area ? text : reason;
      EXPECT_EQ(w.Manual[Row(area)].Enabled(), reason.empty()) << memory::AreaName(area);
      EXPECT_EQ(w.Automatic[Row(area)].Enabled(), reason.empty()) << memory::AreaName(area);
      EXPECT_EQ(w.Result[Row(area)].Text(), reason.empty() ? "Not in the last optimization" : reason);
    }
  }
}

TEST(AreasWindow, ManualAndAutomaticOptimizationsFreeTheirOwnAreas) {
  AppFixture f;
  f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual", "StandbyList");
  f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic", "ModifiedList");
  f.SetSetting("Interval", "5");
  f.Start();
  for (auto command : {&app::Form1::Command1_Click, &app::Form1::optiz_Click}) {
    f.machine.requests.clear();
    (f.form1().*command)();
    EXPECT_EQ(f.machine.requests, std::vector<fakes::Request>{fakes::Request::PurgeStandby});
    EXPECT_EQ(f.machine.listings, 0);
  }
  f.machine.requests.clear();
  f.form3().Command4_Click();
  EXPECT_EQ(f.machine.requests, std::vector<fakes::Request>{fakes::Request::PurgeStandby});

  f.machine.requests.clear();
  f.timers.Advance(10000);  // the timer's pass comes every 10 s at an interval of 5
  EXPECT_GE(CountOf(f, fakes::Request::PurgeModified), 1);
  EXPECT_EQ(CountOf(f, fakes::Request::PurgeStandby), 0);
}

TEST(AreasWindow, ShowsTheLastPassAsATableAndSavesBothColumns) {
  AppFixture f;
  f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual", "WorkingSets,StandbyList");
  f.machine.Find(1234)->refusesTrim = true;
  // 3,200 standby pages of 4 KiB, purged in 40 ms.
  f.machine.lists.standbyPagesByPriority = {3200};
  f.machine.onRequest = [&](fakes::Request) { f.clock.now += 40; };
  f.Start();
  f.form1().Command1_Click();

  f.form2().Command3.Click();
  settings::AreasWindow& w = f.areas();
  EXPECT_EQ(w.FreedHeader.Text(), "Freed (MB)");
  EXPECT_EQ(w.TimeHeader.Text(), "Time (ms)");
  struct Row_ {
    MemoryArea area;
    const char* result;
    const char* freed;
    const char* ms;
  };
  // The trimmed processes went to the standby list before it was purged.
  const Row_ rows[] = {
      {MemoryArea::WorkingSets, "Partly: 2 trimmed, 1 refused, 0 excluded", "4.16", "0"},
      {MemoryArea::StandbyList, "Done", "16.96", "40"},
      {MemoryArea::SystemFileCache, "Not in the last optimization", "", ""},
  };
  for (const Row_& row : rows) {
    SCOPED_TRACE(std::string(memory::AreaName(row.area)));
    EXPECT_EQ(w.Result[Row(row.area)].Text(), row.result);
    EXPECT_EQ(w.Freed[Row(row.area)].Text(), row.freed);
    EXPECT_EQ(w.Time[Row(row.area)].Text(), row.ms);
  }

  // Closing without saving changes nothing.
  w.Manual[Row(MemoryArea::CombinedList)].Click();
  w.Unload(ui::CloseReason::User);
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual"),
            "WorkingSets,StandbyList");

  f.form2().Command3.Click();
  EXPECT_EQ(w.Manual[Row(MemoryArea::CombinedList)].Value(), 0);
  w.Manual[Row(MemoryArea::CombinedList)].Click();
  w.Automatic[Row(MemoryArea::WorkingSets)].Click();
  w.Automatic[Row(MemoryArea::RegistryCache)].Click();
  w.Command1.Click();
  EXPECT_FALSE(w.Loaded());
  EXPECT_TRUE(f.dialogs.shown.empty());  // it closes without a word
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual"),
            "WorkingSets,StandbyList,CombinedList");
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic"),
            "SystemFileCache,RegistryCache");
  EXPECT_EQ(f.registry.CountUnder(RegistryRoot::CurrentUser, fakes::kSettingsKey), 7u);
}

TEST(AreasWindow, ResultAndFreedTexts) {
  fakes::RcStringTable english(settings::kLanguageEnglish);
  struct Case {
    MemoryArea area;
    memory::AreaOutcome outcome;
    uint32_t error;
    std::optional<int64_t> freed;
    const char* separator;
    const char* result;
    const char* freedText;
  };
  const Case cases[] = {
      {MemoryArea::StandbyList, memory::AreaOutcome::Done, 0, 12'800'000, ".", "Done", "12.5"},
      // A loss is shown as the loss it was, never as memory freed.
      {MemoryArea::SystemFileCache, memory::AreaOutcome::Done, 0, -12'800'000, ",", "Done", "-12,5"},
      {MemoryArea::ModifiedList, memory::AreaOutcome::Failed, 1314, std::nullopt, ".", "Failed, error 1314",
       "n/a"},
      {MemoryArea::StandbyList, memory::AreaOutcome::NotMeasured, 0, std::nullopt, ".", "n/a", "n/a"},
      {MemoryArea::RegistryCache, memory::AreaOutcome::NotSupported, 1, std::nullopt, ".", "Not supported",
       "n/a"},
      {MemoryArea::WorkingSets, memory::AreaOutcome::Done, 0, 0, ".",
       "Done: 3 trimmed, 0 refused, 2 excluded", "0"},
  };
  for (const Case& c : cases) {
    memory::AreaResult result;
    result.area = c.area;
    result.outcome = c.outcome;
    result.errorCode = c.error;
    result.freedBytes = c.freed;
    result.processes = {3, 0, 2};
    EXPECT_EQ(settings::AreaResultText(result, english), c.result);
    EXPECT_EQ(settings::FreedText(result, english, c.separator), c.freedText);
  }
  fakes::RcStringTable korean(settings::kLanguageKorean);
  EXPECT_EQ(settings::SupportText(memory::AreaSupport::NeedsWindows81, korean), "Windows 8.1 이상 필요");
}

}  // namespace
}  // namespace pravelo
