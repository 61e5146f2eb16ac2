#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_memory_api.h"
#include "fakes/fake_process_api.h"
#include "fakes/fake_system.h"
#include "memory/area_support.h"
#include "memory/optimizer.h"

namespace pravelo::memory {
namespace {

using fakes::FakeMemoryApi;
using fakes::FakeProcessApi;

constexpr uint32_t kDebug = 20;
constexpr uint32_t kQuota = 5;
constexpr uint32_t kProfile = 13;
constexpr int32_t kPrivilegeNotHeld = static_cast<int32_t>(0xC0000061);
constexpr int32_t kInvalidInfoClass = static_cast<int32_t>(0xC0000003);

// The system calls of the areas, without the privilege switches and the per-process trims.
std::vector<std::string> AreaCalls(const FakeProcessApi& processes) {
  std::vector<std::string> calls;
  for (const std::string& call : processes.calls) {
    if (call.rfind("WTSEnumerate", 0) == 0 || call.rfind("SetSystemFileCacheSize", 0) == 0 ||
        call.rfind("NtSetSystemInformation", 0) == 0) {
      calls.push_back(call);
    }
  }
  return calls;
}

// The privileges in the order they were switched, as "name on" or "name off".
std::vector<std::string> PrivilegeSwitches(const FakeProcessApi& processes) {
  std::vector<std::string> switches;
  std::string name;
  for (const std::string& call : processes.calls) {
    if (call.rfind("LookupPrivilegeValue", 0) == 0) name = call.substr(call.find(", \"") + 3);
    if (call.rfind("AdjustTokenPrivileges", 0) == 0 && call.find("none") != std::string::npos) {
      switches.push_back(name.substr(0, name.find('"')) +
                         (call.find(" 0x2,") != std::string::npos ? " on" : " off"));
    }
  }
  return switches;
}

struct Machine {
  FakeProcessApi processes;
  FakeMemoryApi memory;
  fakes::FakeClock clock;
  Optimizer optimizer{processes, memory, clock};
  PassFigures figures;
};

TEST(Optimizer, RunsTheAreasInTheirOrderInsideTheirPrivileges) {
  Machine m;
  m.processes.processes = std::vector<uint32_t>{4};
  // Given in another order than they run.
  AreaSet areas;
  for (auto area = kAreaOrder.rbegin(); area != kAreaOrder.rend(); ++area) areas.Add(*area);

  const std::vector<AreaResult> results = m.optimizer.Run(areas, m.figures);

  char trimAll[24];
  std::snprintf(trimAll, sizeof trimAll, "0x%llx", static_cast<unsigned long long>(kTrimAll));
  const std::string all(trimAll);
  EXPECT_EQ(AreaCalls(m.processes), (std::vector<std::string>{
                                        "WTSEnumerateProcesses(0, 0, 1)",
                                        "SetSystemFileCacheSize(" + all + ", " + all + ", 0)",
                                        "NtSetSystemInformation(21, min " + all + " max " + all + ", " +
                                            std::to_string(sizeof(FileCacheInformation)) + ")",
                                        "NtSetSystemInformation(80, command 3, 4)",
                                        "NtSetSystemInformation(80, command 4, 4)",
                                        "NtSetSystemInformation(80, command 5, 4)",
                                        "NtSetSystemInformation(130, handle 0 flags 0, " +
                                            std::to_string(sizeof(MemoryCombineInformationEx)) + ")",
                                        "NtSetSystemInformation(155, null, 0)",
                                    }));
  // On before the first area, in the order of the areas that need them; off after the
  // last, in the reverse order. The registry needs none.
  EXPECT_EQ(
      PrivilegeSwitches(m.processes),
      (std::vector<std::string>{"SeDebugPrivilege on", "SeIncreaseQuotaPrivilege on",
                                "SeProfileSingleProcessPrivilege on", "SeProfileSingleProcessPrivilege off",
                                "SeIncreaseQuotaPrivilege off", "SeDebugPrivilege off"}));
  ASSERT_EQ(results.size(), kAreaCount);
  for (std::size_t i = 0; i < kAreaCount; ++i) {
    EXPECT_EQ(results[i].area, kAreaOrder[i]);
    EXPECT_EQ(results[i].outcome, AreaOutcome::Done) << AreaName(results[i].area);
  }
  EXPECT_EQ(m.optimizer.LastResults().size(), kAreaCount);
}

TEST(Optimizer, OnlyTheChosenAreasAndTheirPrivileges) {
  Machine m;
  AreaSet areas;
  areas.Add(MemoryArea::RegistryCache);
  areas.Add(MemoryArea::StandbyList);

  m.optimizer.Run(areas, m.figures);

  EXPECT_EQ(AreaCalls(m.processes), (std::vector<std::string>{"NtSetSystemInformation(80, command 4, 4)",
                                                              "NtSetSystemInformation(155, null, 0)"}));
  EXPECT_EQ(PrivilegeSwitches(m.processes),
            (std::vector<std::string>{"SeProfileSingleProcessPrivilege on",
                                      "SeProfileSingleProcessPrivilege off"}));
}

TEST(Optimizer, PrivilegesAreOffOnEveryWayOut) {
  // While the deep pass runs nothing is asked of the system, and the last results stay.
  Machine guarded;
  guarded.optimizer.Run(AreaSet::All(), guarded.figures);
  const std::size_t callsBefore = guarded.processes.calls.size();
  RunOptions deepPass;
  deepPass.deepPassRunning = true;
  EXPECT_TRUE(guarded.optimizer.Run(AreaSet::All(), guarded.figures, deepPass).empty());
  EXPECT_EQ(guarded.optimizer.LastResults().size(), kAreaCount);
  for (std::size_t i = callsBefore; i < guarded.processes.calls.size(); ++i) {
    EXPECT_EQ(guarded.processes.calls[i].find("NtSetSystemInformation"), std::string::npos);
  }

  // A call that throws: the exception reaches the caller, the privileges are off.
  Machine throwing;
  throwing.processes.onNtCall = [](uint32_t informationClass) {
    if (informationClass == 80) throw std::runtime_error("refused by a test");
  };
  EXPECT_THROW(throwing.optimizer.Run(AreaSet::All(), throwing.figures), std::runtime_error);
  EXPECT_EQ(
      PrivilegeSwitches(throwing.processes),
      (std::vector<std::string>{"SeDebugPrivilege on", "SeIncreaseQuotaPrivilege on",
                                "SeProfileSingleProcessPrivilege on", "SeProfileSingleProcessPrivilege off",
                                "SeIncreaseQuotaPrivilege off", "SeDebugPrivilege off"}));

  for (Machine* m : {&guarded, &throwing}) {
    for (uint32_t luid : {kDebug, kQuota, kProfile}) EXPECT_FALSE(m->processes.Enabled(luid)) << luid;
    EXPECT_TRUE(m->processes.openHandles.empty());
  }
}

TEST(Optimizer, ResultPerArea) {
  Machine m;
  m.processes.statusOfClass[80] = kPrivilegeNotHeld;
  m.processes.statusOfClass[155] = kInvalidInfoClass;
  // Each area's call takes 7 ms and frees 1,024,000 bytes.
  uint64_t available = 500 * 1'024'000ull;
  m.memory.availableSource = [&] { return available; };
  m.processes.onNtCall = [&](uint32_t) {
    available += 1'024'000;
    m.clock.now += 7;
  };
  AreaSet areas;
  areas.Add(MemoryArea::StandbyList);
  areas.Add(MemoryArea::CombinedList);
  areas.Add(MemoryArea::RegistryCache);

  const std::vector<AreaResult> results = m.optimizer.Run(areas, m.figures);

  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].outcome, AreaOutcome::Refused);
  EXPECT_EQ(results[0].errorCode, 1314u);
  EXPECT_EQ(results[1].outcome, AreaOutcome::Done);
  EXPECT_EQ(results[1].errorCode, 0u);
  // A class this system does not know is no refusal.
  EXPECT_EQ(results[2].outcome, AreaOutcome::NotSupported);
  for (const AreaResult& result : results) {
    EXPECT_EQ(result.availableAfterBytes - result.availableBeforeBytes, 1'024'000u);
    EXPECT_EQ(result.durationMs, 7u);
  }
  EXPECT_FALSE(EveryAreaDone(results));
  EXPECT_TRUE(EveryAreaDone({results[1]}));
}

TEST(Optimizer, YieldsBetweenAreasAndAfterEachProcess) {
  Machine m;
  m.processes.processes = std::vector<uint32_t>{4, 8, 12};
  int yields = 0;
  RunOptions options;
  options.yield = [&] { ++yields; };
  AreaSet areas;
  areas.Add(MemoryArea::WorkingSets);
  areas.Add(MemoryArea::SystemFileCache);
  areas.Add(MemoryArea::RegistryCache);
  m.optimizer.Run(areas, m.figures, options);
  EXPECT_EQ(yields, 3 + 2);
}

TEST(AreaSupport, VersionGates) {
  using S = AreaSupport;
  struct Case {
    const char* name;
    SystemFacts facts;
    std::array<AreaSupport, kAreaCount> expected;  // in the areas' order
  };
  const Case cases[] = {
      {"XP",
       {5, 1, false},
       {S::Supported, S::Supported, S::NeedsVista, S::NeedsVista, S::NeedsVista, S::NeedsWindows10,
        S::NeedsWindows81}},
      {"7",
       {6, 1, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::NeedsWindows10,
        S::NeedsWindows81}},
      {"8",
       {6, 2, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::NeedsWindows10,
        S::NeedsWindows81}},
      {"8.1",
       {6, 3, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::NeedsWindows10,
        S::Supported}},
      {"10",
       {10, 0, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::Supported}},
      {"7, 32-bit program on 64-bit",
       {6, 1, true},
       {S::Supported, S::Supported, S::NotUnderWow64, S::NotUnderWow64, S::NotUnderWow64, S::NeedsWindows10,
        S::NeedsWindows81}},
      {"10, 32-bit program on 64-bit",
       {10, 0, true},
       {S::Supported, S::Supported, S::NotUnderWow64, S::NotUnderWow64, S::NotUnderWow64, S::NotUnderWow64,
        S::Supported}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t i = 0; i < kAreaCount; ++i) {
      EXPECT_EQ(SupportOf(kAreaOrder[i], c.facts), c.expected[i]) << AreaName(kAreaOrder[i]);
    }
  }
}

TEST(Optimizer, AnUnsupportedAreaIsNotCalledAndItsPrivilegeStaysOff) {
  Machine m;
  m.memory.realVersion = {6, 1};  // Windows 7, whatever GetVersion's manifest says
  m.memory.version = FakeMemoryApi::VersionOf(10, 0);
  AreaSet areas;
  areas.Add(MemoryArea::CombinedList);
  areas.Add(MemoryArea::RegistryCache);

  const std::vector<AreaResult> results = m.optimizer.Run(areas, m.figures);

  EXPECT_TRUE(AreaCalls(m.processes).empty());
  EXPECT_TRUE(PrivilegeSwitches(m.processes).empty());
  ASSERT_EQ(results.size(), 2u);
  for (const AreaResult& result : results) EXPECT_EQ(result.outcome, AreaOutcome::NotSupported);
  EXPECT_EQ(m.optimizer.Support(MemoryArea::CombinedList), AreaSupport::NeedsWindows10);

  Machine wow64;
  wow64.memory.wow64 = true;
  const std::vector<AreaResult> lists = wow64.optimizer.Run(AreaSet::All(), wow64.figures);
  EXPECT_EQ(AreaCalls(wow64.processes).back(), "NtSetSystemInformation(155, null, 0)");
  EXPECT_EQ(lists[3].outcome, AreaOutcome::NotSupported);
}

TEST(AreaNames, ParseAndFormat) {
  struct Case {
    const char* text;
    std::string formatted;  // of the areas found
    std::vector<std::string> unknown;
  };
  const Case cases[] = {
      {"WorkingSets,SystemFileCache", "WorkingSets,SystemFileCache", {}},
      {"registrycache, STANDBYLIST ,,", "StandbyList,RegistryCache", {}},
      {"StandbyList,Bogus,StandbyList", "StandbyList", {"Bogus"}},
      {"", "", {}},
      {"Standby List", "", {"Standby List"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedAreaList parsed = ParseAreaList(c.text);
    EXPECT_EQ(FormatAreaList(parsed.areas), c.formatted);
    EXPECT_EQ(parsed.unknown, c.unknown);
  }
  for (MemoryArea area : kAreaOrder) EXPECT_EQ(AreaFromName(AreaName(area)), area);
}

}  // namespace
}  // namespace pravelo::memory
