#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_machine.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "memory/area_support.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"

namespace pravelo::memory {
namespace {

using fakes::FakeMachine;
using fakes::Request;
constexpr int64_t kPage = FakeMachine::kPage;

struct Machine {
  Machine() {
    operations.processes = {{10, "editor.exe", 1000}, {20, "browser.exe", 500}};
    memory.availableSource = [this] { return operations.AvailableBytes(); };
  }
  FakeMachine operations;
  fakes::FakeMemoryApi memory;
  fakes::FakeClock clock;
  base::ExclusiveRun gate;
  Optimizer optimizer{operations, memory, clock, gate};
  PassFigures figures;

  AreaResult RunOne(MemoryArea area, const RunOptions& options = {}) {
    AreaSet areas;
    areas.Add(area);
    const std::vector<AreaResult> results = optimizer.Run(areas, figures, options);
    return results.at(0);
  }
};

TEST(Optimizer, EachAreaFreesWhatItsCounterLost) {
  struct Case {
    MemoryArea area;
    std::optional<int64_t> freedBytes;
    std::function<bool(const FakeMachine&)> after;  // the state the request left
  };
  const Case cases[] = {
      {MemoryArea::WorkingSets, 1500 * kPage,
       [](const FakeMachine& m) { return m.processes[0].workingSetPages + m.processes[1].workingSetPages == 0; }},
      {MemoryArea::SystemFileCache, 500 * kPage, [](const FakeMachine& m) { return m.fileCachePages == 0; }},
      {MemoryArea::ModifiedList, 300 * kPage, [](const FakeMachine& m) { return m.lists.modifiedPages == 0; }},
      // All priorities, 10 + 20 + ... + 80 pages.
      {MemoryArea::StandbyList, 360 * kPage, [](const FakeMachine& m) { return m.lists.StandbyPages() == 0; }},
      {MemoryArea::LowPriorityStandbyList, 10 * kPage,
       [](const FakeMachine& m) { return m.lists.standbyPagesByPriority[0] == 0 && m.lists.StandbyPages() == 350; }},
      {MemoryArea::CombinedList, 64 * kPage, [](const FakeMachine& m) { return m.combinablePages == 0; }},
      // Nothing tells what the flush freed.
      {MemoryArea::RegistryCache, std::nullopt, [](const FakeMachine& m) { return m.requests.size() == 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(AreaName(c.area)));
    Machine m;
    const AreaResult result = m.RunOne(c.area);
    EXPECT_EQ(result.area, c.area);
    EXPECT_EQ(result.outcome, AreaOutcome::Done);
    EXPECT_EQ(result.errorCode, 0u);
    EXPECT_EQ(result.freedBytes, c.freedBytes);
    EXPECT_TRUE(c.after(m.operations));
    EXPECT_TRUE(m.operations.enabled.empty());
  }
}

TEST(Optimizer, FailuresRefusalsUnsupportedCallsAndUnreadableCounters) {
  const CallResult refused = CallResult::Refusal(fakes::kPrivilegeNotHeld);
  const CallResult missing = CallResult::Unsupported(fakes::kCallNotImplemented);
  struct Case {
    const char* name;
    MemoryArea area;
    std::function<void(FakeMachine&)> setUp;
    AreaOutcome outcome;
    uint32_t errorCode;
    std::optional<int64_t> freedBytes;
    ProcessCounts counts{};
  };
  const Case cases[] = {
      {"purge refused", MemoryArea::StandbyList,
       [&](FakeMachine& m) { m.answers[Request::PurgeStandby] = refused; }, AreaOutcome::Failed, 1314, {}},
      {"privilege not held", MemoryArea::ModifiedList, [](FakeMachine& m) { m.held.clear(); }, AreaOutcome::Failed,
       1314, {}},
      {"purge unknown to the system", MemoryArea::StandbyList,
       [&](FakeMachine& m) { m.answers[Request::PurgeStandby] = missing; }, AreaOutcome::NotSupported, 0, {}},
      {"lists unreadable", MemoryArea::StandbyList, [](FakeMachine& m) { m.listsReadable = false; },
       AreaOutcome::NotMeasured, 0, {}},
      // Wine: no limits call, a stub of the record that answers yes.
      {"file cache limits not implemented", MemoryArea::SystemFileCache,
       [&](FakeMachine& m) { m.answers[Request::FileCacheLimits] = missing; }, AreaOutcome::NotSupported, 0, {}},
      {"file cache record refused", MemoryArea::SystemFileCache,
       [&](FakeMachine& m) {
         m.answers[Request::FileCacheLimits] = missing;
         m.answers[Request::FileCacheRecord] = refused;
       },
       AreaOutcome::Failed, 1314, {}},
      {"file cache unreadable", MemoryArea::SystemFileCache, [](FakeMachine& m) { m.fileCacheReadable = false; },
       AreaOutcome::NotMeasured, 0, {}},
      {"combine unknown", MemoryArea::CombinedList, [&](FakeMachine& m) { m.answers[Request::Combine] = missing; },
       AreaOutcome::NotSupported, 0, {}},
      {"registry flush refused", MemoryArea::RegistryCache,
       [&](FakeMachine& m) { m.answers[Request::RegistryFlush] = refused; }, AreaOutcome::Failed, 1314, {}},
      {"some processes refuse", MemoryArea::WorkingSets,
       [](FakeMachine& m) {
         m.processes.push_back({30, "guarded.exe", 70, false, true});
         m.processes.push_back({40, "stubborn.exe", 80, false, false, true});
       },
       AreaOutcome::Partly, 0, 1500 * kPage, {2, 2, 0}},
      {"every process refuses", MemoryArea::WorkingSets,
       [](FakeMachine& m) {
         for (auto& process : m.processes) process.refusesOpen = true;
       },
       AreaOutcome::Failed, fakes::kAccessDenied, {}, {0, 2, 0}},
      {"the system's processes need the debug privilege", MemoryArea::WorkingSets,
       [](FakeMachine& m) {
         for (auto& process : m.processes) process.needsDebug = true;
         m.held.erase(Privilege::Debug);
       },
       AreaOutcome::Failed, fakes::kAccessDenied, {}, {0, 2, 0}},
      {"a process ended since the listing", MemoryArea::WorkingSets,
       [](FakeMachine& m) { m.processes[1].ended = true; }, AreaOutcome::Done, 0, 1000 * kPage, {1, 0, 0}},
      {"working sets unreadable", MemoryArea::WorkingSets,
       [](FakeMachine& m) {
         for (auto& process : m.processes) process.unreadable = true;
       },
       AreaOutcome::Done, 0, {}, {2, 0, 0}},
      {"processes cannot be listed", MemoryArea::WorkingSets, [](FakeMachine& m) { m.listingError = 1722; },
       AreaOutcome::Failed, 1722, {}},
      {"nothing to trim", MemoryArea::WorkingSets, [](FakeMachine& m) { m.processes.clear(); },
       AreaOutcome::NotMeasured, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    c.setUp(m.operations);
    const AreaResult result = m.RunOne(c.area);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.errorCode, c.errorCode);
    EXPECT_EQ(result.freedBytes, c.freedBytes);
    EXPECT_EQ(result.processes.trimmed, c.counts.trimmed);
    EXPECT_EQ(result.processes.refused, c.counts.refused);
    EXPECT_FALSE(EveryAreaDone({result}) && c.outcome != AreaOutcome::Done);
  }
}

TEST(Optimizer, AnAreaThisWindowsLacksIsNeverAsked) {
  Machine m;
  m.memory.realVersion = {6, 1};  // Windows 7, whatever GetVersion's manifest says
  m.memory.version = fakes::FakeMemoryApi::VersionOf(10, 0);
  AreaSet areas;
  areas.Add(MemoryArea::CombinedList);
  areas.Add(MemoryArea::RegistryCache);
  const std::vector<AreaResult> results = m.optimizer.Run(areas, m.figures);
  ASSERT_EQ(results.size(), 2u);
  for (const AreaResult& result : results) {
    EXPECT_EQ(result.outcome, AreaOutcome::NotSupported);
    EXPECT_EQ(result.freedBytes, std::nullopt);
  }
  EXPECT_TRUE(m.operations.requests.empty());
  EXPECT_EQ(m.operations.combinablePages, 64u);
}

TEST(Optimizer, NoPrivilegeIsOnWhileMessagesRunAndEachCallHasItsOwn) {
  Machine m;
  m.operations.processes.push_back({4, "System", 40, true});
  std::vector<std::string> privilegedYields;
  int yields = 0;
  const auto yield = [&] {
    ++yields;
    if (!m.operations.enabled.empty()) privilegedYields.push_back(std::to_string(yields));
  };
  RunOptions options;
  options.yield = yield;
  // As the window's thread serves messages while another thread carries out the call.
  int longCalls = 0;
  options.runLong = [&](const std::function<void()>& call) {
    ++longCalls;
    yield();
    call();
    yield();
  };
  const std::vector<AreaResult> results = m.optimizer.Run(AreaSet::All(), m.figures, options);

  EXPECT_TRUE(privilegedYields.empty()) << privilegedYields.front();
  EXPECT_TRUE(EveryAreaDone(results));  // every request had its privilege when it was made
  EXPECT_EQ(results[0].processes.trimmed, 3u);
  EXPECT_EQ(longCalls, 6);  // the file cache, three lists, the combine, the registry
  EXPECT_EQ(yields, 3 + 6 + 2 * longCalls);  // after each process, between areas, around each call
  EXPECT_TRUE(m.operations.enabled.empty());
}

TEST(Optimizer, PrivilegesAreOffOnEveryWayOut) {
  Machine m;
  m.operations.onRequest = [](Request request) {
    if (request == Request::PurgeStandby) throw std::runtime_error("refused by a test");
  };
  EXPECT_THROW(m.optimizer.Run(AreaSet::All(), m.figures), std::runtime_error);
  EXPECT_TRUE(m.operations.enabled.empty());
  EXPECT_FALSE(m.gate.Running());
}

TEST(Optimizer, ExcludedProgramsAreNeverOpened) {
  Machine m;
  m.operations.processes = {{4, "System", 10}, {8, "GAME.EXE", 20}, {12, "pravelo.exe", 30}, {16, "browser.exe", 40}};
  m.optimizer.SetExclusions(*Exclusions::Parse("game.exe;Browser.exe"));
  const AreaResult result = m.RunOne(MemoryArea::WorkingSets);
  // The program's own process is trimmed like any other unless it is listed.
  EXPECT_EQ(m.operations.opened, (std::vector<uint32_t>{4, 12}));
  EXPECT_EQ(m.operations.Find(8)->workingSetPages, 20u);
  EXPECT_EQ(result.processes.excluded, 2u);
  EXPECT_EQ(result.freedBytes, 40 * kPage);
}

TEST(Optimizer, APassAskedForWhileOneRunsDoesNothing) {
  Machine m;
  int nested = 0;
  RunOptions options;
  options.yield = [&] {
    EXPECT_TRUE(m.gate.Running());
    PassFigures inner;
    inner.z18 = 7;
    const std::size_t requests = m.operations.requests.size();
    const int listings = m.operations.listings;
    EXPECT_TRUE(m.optimizer.Run(AreaSet::All(), inner).empty());
    EXPECT_EQ(m.operations.requests.size(), requests);
    EXPECT_EQ(m.operations.listings, listings);
    EXPECT_EQ(inner.z18, 7);
    ++nested;
  };
  AreaSet areas;
  areas.Add(MemoryArea::WorkingSets);
  areas.Add(MemoryArea::StandbyList);
  EXPECT_EQ(m.optimizer.Run(areas, m.figures, options).size(), 2u);
  EXPECT_EQ(nested, 3);  // after each of two processes, and between the two areas
  EXPECT_EQ(m.optimizer.LastResults().size(), 2u);

  // A handler that throws out of the pass lets the guard go.
  options.yield = [] { throw std::runtime_error("window gone"); };
  EXPECT_THROW(m.optimizer.Run(areas, m.figures, options), std::runtime_error);
  EXPECT_FALSE(m.gate.Running());
}

TEST(Optimizer, FiguresTimesAndTotals) {
  Machine m;
  m.memory.load = 60;
  m.figures.z18 = 1500.25;
  m.operations.onRequest = [&](Request) { m.clock.now += 40; };
  AreaSet areas;
  areas.Add(MemoryArea::StandbyList);
  areas.Add(MemoryArea::RegistryCache);
  const std::vector<AreaResult> results = m.optimizer.Run(areas, m.figures);
  EXPECT_EQ(*m.figures.z17, -1440.25);  // load minus the previous figure
  EXPECT_EQ(m.figures.z18, GetAvailableMemory(m.memory).ToDouble());
  EXPECT_EQ(results[0].durationMs, 40u);
  EXPECT_EQ(FreedBytes(results), 360 * kPage);  // the registry's unknown adds nothing
  EXPECT_EQ(FreedBytes({results[1]}), std::nullopt);
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
      {"8.1",
       {6, 3, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::NeedsWindows10,
        S::Supported}},
      {"10",
       {10, 0, false},
       {S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::Supported, S::Supported}},
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

}  // namespace
}  // namespace pravelo::memory
