#include <gtest/gtest.h>

#include "fakes/app_fixture.h"
#include "settings/areas_window.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using memory::MemoryArea;

constexpr std::size_t Row(MemoryArea area) { return static_cast<std::size_t>(area); }

int CallsOfClass(const AppFixture& f, const std::string& prefix) {
  int count = 0;
  for (const std::string& call : f.processes.calls) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
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
    f.processes.calls.clear();
    (f.form1().*command)();
    EXPECT_EQ(CallsOfClass(f, "NtSetSystemInformation(80, command 4"), 1);
    EXPECT_EQ(CallsOfClass(f, "NtSetSystemInformation(80, command 3"), 0);
    EXPECT_EQ(f.processes.CountOf("WTSEnumerateProcesses"), 0);
  }
  f.processes.calls.clear();
  f.form3().Command4_Click();
  EXPECT_EQ(CallsOfClass(f, "NtSetSystemInformation(80, command 4"), 1);

  f.processes.calls.clear();
  f.timers.Advance(10000);  // the timer's pass comes every 10 s at an interval of 5
  EXPECT_GE(CallsOfClass(f, "NtSetSystemInformation(80, command 3"), 1);
  EXPECT_EQ(CallsOfClass(f, "NtSetSystemInformation(80, command 4"), 0);
}

TEST(AreasWindow, ShowsTheLastResultAndSavesBothColumns) {
  AppFixture f;
  f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual", "WorkingSets,StandbyList");
  uint64_t available = 1000 * 1'024'000ull;
  f.memory.availableSource = [&] { return available; };
  // The standby purge frees 12.5 MB in 40 ms; the trims change nothing here.
  f.processes.onNtCall = [&](uint32_t) {
    available += 12'800'000;
    f.clock.now += 40;
  };
  f.Start();
  f.form1().Command1_Click();

  f.form2().Command3.Click();
  settings::AreasWindow& w = f.areas();
  EXPECT_EQ(w.Result[Row(MemoryArea::StandbyList)].Text(), "Done, +12.5 MB, 40 ms");
  EXPECT_EQ(w.Result[Row(MemoryArea::WorkingSets)].Text(), "Done, 0 MB, 0 ms");
  EXPECT_EQ(w.Result[Row(MemoryArea::SystemFileCache)].Text(), "Not in the last optimization");

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
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Manual"),
            "WorkingSets,StandbyList,CombinedList");
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic"),
            "SystemFileCache,RegistryCache");
  EXPECT_EQ(f.registry.CountUnder(RegistryRoot::CurrentUser, fakes::kSettingsKey), 7u);
}

TEST(AreasWindow, ResultTexts) {
  fakes::RcStringTable english(settings::kLanguageEnglish);
  struct Case {
    memory::AreaOutcome outcome;
    uint32_t error;
    uint64_t before, after, ms;
    const char* separator;
    const char* expected;
  };
  const Case cases[] = {
      {memory::AreaOutcome::Done, 0, 1'024'000, 13'824'000, 31, ".", "Done, +12.5 MB, 31 ms"},
      // A loss is shown as the loss it was, never as memory freed.
      {memory::AreaOutcome::Done, 0, 13'824'000, 1'024'000, 2, ",", "Done, -12,5 MB, 2 ms"},
      {memory::AreaOutcome::Done, 0, 5'000, 5'000, 0, ".", "Done, 0 MB, 0 ms"},
      {memory::AreaOutcome::Refused, 1314, 5'000, 5'000, 1, ".", "Refused, error 1314, 0 MB, 1 ms"},
      {memory::AreaOutcome::NotSupported, 1, 5'000, 5'000, 0, ".", "Not supported"},
  };
  for (const Case& c : cases) {
    memory::AreaResult result;
    result.outcome = c.outcome;
    result.errorCode = c.error;
    result.availableBeforeBytes = c.before;
    result.availableAfterBytes = c.after;
    result.durationMs = c.ms;
    EXPECT_EQ(settings::AreaResultText(result, english, c.separator), c.expected);
  }
  fakes::RcStringTable korean(settings::kLanguageKorean);
  EXPECT_EQ(settings::SupportText(memory::AreaSupport::NeedsWindows81, korean), "Windows 8.1 이상 필요");
}

}  // namespace
}  // namespace pravelo
