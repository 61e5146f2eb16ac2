#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_memory_api.h"
#include "fakes/fake_process_api.h"
#include "fakes/fake_system.h"
#include "memory/optimizer.h"
#include "memory/standard_pass.h"
#include "settings/area_settings.h"

namespace pravelo::memory {
namespace {

using fakes::FakeMemoryApi;
using fakes::FakeProcessApi;

// The six calls of one privilege switch to the attributes `to`.
std::vector<std::string> PrivilegeSwitch(const char* to, const std::string& name = "SeDebugPrivilege",
                                         int luid = 20) {
  const std::string entry = "1 x " + std::to_string(luid) + ":0 ";
  return {
      "GetCurrentProcess()",
      "OpenProcessToken(0xffffffff, 0x28)",
      "LookupPrivilegeValue(\"\", \"" + name + "\")",
      "AdjustTokenPrivileges(7, 0, " + entry + "0x0, 28, previous)",
      "AdjustTokenPrivileges(7, 0, " + entry + to + ", 16, none)",
      "CloseHandle(7)",
  };
}

std::vector<std::string> QuotaSwitch(const char* to) {
  return PrivilegeSwitch(to, "SeIncreaseQuotaPrivilege", 5);
}

// (SIZE_T)-1 at the width of this build, as the fake writes it.
std::string TrimAllText() {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(kTrimAll));
  return text;
}

// The pass every Optimize runs until the user chooses other areas.
const AreaSet kDefault = ParseAreaList(settings::kDefaultAreas).areas;

std::vector<std::string> Trim(uint32_t pid) {
  const std::string handle = std::to_string(FakeProcessApi::HandleOf(pid));
  return {
      "OpenProcess(0x1f0fff, 0, " + std::to_string(pid) + ")",
      "EmptyWorkingSet(" + handle + ")",
      "SetProcessWorkingSetSize(" + handle + ", " + TrimAllText() + ", " + TrimAllText() + ")",
      "CloseHandle(" + handle + ")",
  };
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& calls) {
  to.insert(to.end(), calls.begin(), calls.end());
}

TEST(StandardPass, MakesTheCallsInOrderWithTheirConstants) {
  FakeProcessApi processes;
  processes.processes = std::vector<uint32_t>{0, 4, 1234};
  processes.unopenable = {0};
  FakeMemoryApi memory;
  memory.load = 60;
  memory.availableBytes = 2'048'000'000;  // 2000 MB
  fakes::FakeClock clock;
  Optimizer optimizer(processes, memory, clock);
  PassFigures figures;
  figures.z18 = 1500.25;

  optimizer.Run(kDefault, figures);

  // The file cache's privilege is on as well now; without it the system refuses both
  // file-cache calls.
  std::vector<std::string> expected = PrivilegeSwitch("0x2");
  Append(expected, QuotaSwitch("0x2"));
  expected.push_back("WTSEnumerateProcesses(0, 0, 1)");
  expected.push_back("OpenProcess(0x1f0fff, 0, 0)");  // the idle process: skipped
  Append(expected, Trim(4));
  Append(expected, Trim(1234));
  expected.push_back("WTSFreeMemory()");
  expected.push_back("SetSystemFileCacheSize(" + TrimAllText() + ", " + TrimAllText() + ", 0)");
  expected.push_back("NtSetSystemInformation(21, min " + TrimAllText() + " max " + TrimAllText() + ", " +
                     std::to_string(sizeof(FileCacheInformation)) + ")");
  Append(expected, QuotaSwitch("0x0"));
  Append(expected, PrivilegeSwitch("0x0"));
  EXPECT_EQ(processes.calls, expected);

  ASSERT_TRUE(figures.z17.has_value());
  EXPECT_EQ(*figures.z17, -1440.25);  // load minus the previous figure
  EXPECT_EQ(figures.z18, 2000);
  EXPECT_EQ(processes.debugAttributes, 0u);
  EXPECT_EQ(processes.AttributesOf(5), 0u);
  EXPECT_TRUE(processes.openHandles.empty());
  // The fields the pass does not own stay zero.
  EXPECT_EQ(processes.lastFileCacheInformation.currentSize, 0u);
  EXPECT_EQ(processes.lastFileCacheInformation.spare, 0u);
}

TEST(StandardPass, FailureRules) {
  struct Scenario {
    const char* name;
    bool deepPassRunning = false;
    void (*setUp)(FakeProcessApi&) = nullptr;
    std::map<std::string, int> expectedCounts;
    bool figuresChange = true;
    std::vector<AreaOutcome> outcomes{AreaOutcome::Done, AreaOutcome::Done};
  };
  const std::vector<Scenario> scenarios = {
      {"deep pass running",
       true,
       nullptr,
       {{"WTSEnumerateProcesses", 0},
        {"OpenProcess", 0},
        {"NtSetSystemInformation", 0},
        {"AdjustTokenPrivileges", 8}},  // both privileges on, and off again
       false,
       {}},
      // Each area stands on its own: the file cache is still asked.
      {"enumeration fails",
       false,
       [](FakeProcessApi& p) {
         p.processes.reset();
         p.lastError = 1722;
       },
       {{"WTSEnumerateProcesses", 1}, {"SetSystemFileCacheSize", 1}, {"NtSetSystemInformation", 1}},
       true,
       {AreaOutcome::Refused, AreaOutcome::Done}},
      {"no records",
       false,
       [](FakeProcessApi& p) { p.processes = std::vector<uint32_t>{}; },
       {{"WTSFreeMemory", 1},
        {"OpenProcess", 0},
        {"SetSystemFileCacheSize", 1},
        {"NtSetSystemInformation", 1}}},
      {"a process ended before it was opened",
       false,
       [](FakeProcessApi& p) { p.unopenable = {8}; },
       {{"OpenProcess", 3}, {"EmptyWorkingSet", 2}, {"SetProcessWorkingSetSize", 2}}},
      {"every trim and file-cache call fails",
       false,
       [](FakeProcessApi& p) {
         p.emptyWorkingSetFails = p.setWorkingSetSizeFails = p.fileCacheSizeFails = true;
         p.lastError = 1314;
         p.ntStatus = static_cast<int32_t>(0xC0000061);  // privilege not held
       },
       {{"EmptyWorkingSet", 3}, {"SetProcessWorkingSetSize", 3}, {"NtSetSystemInformation", 1}},
       true,
       {AreaOutcome::Done, AreaOutcome::Refused}},
      {"the privilege cannot be had",
       false,
       [](FakeProcessApi& p) { p.openTokenFails = true; },
       {{"OpenProcess", 3}, {"AdjustTokenPrivileges", 0}, {"NtSetSystemInformation", 1}}},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    FakeProcessApi processes;
    processes.processes = std::vector<uint32_t>{4, 8, 12};
    if (s.setUp) s.setUp(processes);
    FakeMemoryApi memory;
    memory.load = 60;
    memory.availableBytes = 1'024'000'000;
    fakes::FakeClock clock;
    Optimizer optimizer(processes, memory, clock);
    PassFigures figures;
    figures.z18 = 1500.25;
    RunOptions options;
    options.deepPassRunning = s.deepPassRunning;

    const std::vector<AreaResult> results = optimizer.Run(kDefault, figures, options);

    for (const auto& [name, count] : s.expectedCounts) EXPECT_EQ(processes.CountOf(name), count) << name;
    if (s.figuresChange) {
      EXPECT_EQ(figures.z17, -1440.25);
      EXPECT_EQ(figures.z18, 1000);
    } else {
      EXPECT_FALSE(figures.z17.has_value());
      EXPECT_EQ(figures.z18, 1500.25);
      EXPECT_EQ(memory.availableCalls + memory.loadCalls, 0);
    }
    std::vector<AreaOutcome> outcomes;
    for (const AreaResult& result : results) outcomes.push_back(result.outcome);
    EXPECT_EQ(outcomes, s.outcomes);
    // Off again on every way out, the early return included.
    EXPECT_FALSE(processes.Enabled(20));
    EXPECT_FALSE(processes.Enabled(5));
    EXPECT_TRUE(processes.openHandles.empty());
  }
}

TEST(StandardPass, ExcludedProgramsAreNeverOpenedAndTheRestYieldAfterEach) {
  FakeProcessApi processes;
  processes.processes = std::vector<uint32_t>{4, 8, 12, 16};
  processes.imageNames = {{4, "System"}, {8, "GAME.EXE"}, {12, "pravelo.exe"}, {16, "browser.exe"}};
  FakeMemoryApi memory;
  fakes::FakeClock clock;
  Optimizer optimizer(processes, memory, clock);
  optimizer.SetExclusions(*Exclusions::Parse("game.exe;Browser.exe"));
  PassFigures figures;
  std::vector<std::size_t> callsAtYield;
  RunOptions options;
  options.yield = [&] { callsAtYield.push_back(processes.calls.size()); };
  AreaSet workingSets;
  workingSets.Add(MemoryArea::WorkingSets);
  optimizer.Run(workingSets, figures, options);

  for (const uint32_t excluded : {8u, 16u}) {
    EXPECT_EQ(std::count(processes.calls.begin(), processes.calls.end(),
                         "OpenProcess(0x1f0fff, 0, " + std::to_string(excluded) + ")"),
              0)
        << excluded;
  }
  // The program's own process is trimmed like any other unless it is listed.
  EXPECT_EQ(processes.CountOf("EmptyWorkingSet"), 2);
  // One yield after each process tried, each right after that process's handle closed.
  ASSERT_EQ(callsAtYield.size(), 2u);
  for (std::size_t at : callsAtYield) EXPECT_EQ(processes.calls[at - 1].rfind("CloseHandle(", 0), 0u);
}

TEST(StandardPass, APassAskedForWhileOneRunsDoesNothing) {
  FakeProcessApi processes;
  processes.processes = std::vector<uint32_t>{4, 8, 12};
  FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  fakes::FakeClock clock;
  Optimizer optimizer(processes, memory, clock);
  PassFigures figures;
  int nested = 0;
  RunOptions options;
  options.yield = [&] {
    EXPECT_TRUE(optimizer.Running());
    PassFigures inner;
    inner.z18 = 7;
    const std::size_t callsBefore = processes.calls.size();
    EXPECT_TRUE(optimizer.Run(kDefault, inner).empty());
    EXPECT_EQ(processes.calls.size(), callsBefore);  // not even a privilege
    EXPECT_EQ(inner.z18, 7);
    ++nested;
  };
  EXPECT_EQ(optimizer.Run(kDefault, figures, options).size(), 2u);
  EXPECT_EQ(nested, 4);  // after each of three processes, and between the two areas
  EXPECT_EQ(processes.CountOf("EmptyWorkingSet"), 3);
  EXPECT_FALSE(optimizer.Running());
  EXPECT_EQ(processes.debugAttributes, 0u);

  // A handler that throws out of the pass lets the guard go.
  options.yield = [] { throw std::runtime_error("window gone"); };
  EXPECT_THROW(optimizer.Run(kDefault, figures, options), std::runtime_error);
  EXPECT_FALSE(optimizer.Running());
  EXPECT_EQ(optimizer.Run(kDefault, figures).size(), 2u);
}

TEST(TrimProcessMemory, ReportsWhetherTheHandleWasClosed) {
  struct Case {
    const char* name;
    void (*setUp)(FakeProcessApi&);
    bool expected;
    int trims;
  };
  const Case cases[] = {
      {"all succeed", [](FakeProcessApi&) {}, true, 2},
      {"cannot open", [](FakeProcessApi& p) { p.unopenable = {4}; }, false, 0},
      {"both trims fail", [](FakeProcessApi& p) { p.emptyWorkingSetFails = p.setWorkingSetSizeFails = true; },
       true, 2},
      {"close fails", [](FakeProcessApi& p) { p.closeHandleFails = true; }, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeProcessApi processes;
    c.setUp(processes);
    StandardPass pass(processes);
    EXPECT_EQ(pass.TrimProcessMemory(4), c.expected);
    EXPECT_EQ(processes.CountOf("EmptyWorkingSet") + processes.CountOf("SetProcessWorkingSetSize"), c.trims);
  }
}

TEST(EnableDebugPrivilege, SwitchesOnlyTheEnabledBit) {
  struct Case {
    const char* name;
    uint32_t before;
    bool enable;
    std::set<int> failingAdjustCalls;
    bool expectedResult;
    uint32_t after;
  };
  const Case cases[] = {
      {"enable", 0x0, true, {}, true, 0x2},
      {"disable", 0x2, false, {}, true, 0x0},
      {"enable keeps enabled-by-default", 0x1, true, {}, true, 0x3},
      {"disable keeps enabled-by-default", 0x3, false, {}, true, 0x1},
      {"second adjustment fails", 0x0, true, {2}, false, 0x0},
      // With nothing captured the second call still sets the bit.
      {"first adjustment fails", 0x0, true, {1}, true, 0x2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeProcessApi processes;
    processes.debugAttributes = c.before;
    processes.failingAdjustCalls = c.failingAdjustCalls;
    StandardPass pass(processes);
    EXPECT_EQ(pass.EnableDebugPrivilege(c.enable), c.expectedResult);
    EXPECT_EQ(processes.debugAttributes, c.after);
    EXPECT_TRUE(processes.openHandles.empty());
  }
}

TEST(EnableDebugPrivilege, GivesUpWithoutTokenOrPrivilegeAndClosesWhatItOpened) {
  FakeProcessApi noToken;
  noToken.openTokenFails = true;
  EXPECT_FALSE(StandardPass(noToken).EnableDebugPrivilege(true));
  EXPECT_EQ(noToken.CountOf("AdjustTokenPrivileges") + noToken.CountOf("CloseHandle"), 0);

  FakeProcessApi noPrivilege;
  noPrivilege.lookupFails = true;
  EXPECT_FALSE(StandardPass(noPrivilege).EnableDebugPrivilege(true));
  EXPECT_EQ(noPrivilege.CountOf("AdjustTokenPrivileges"), 0);
  EXPECT_EQ(noPrivilege.CountOf("CloseHandle"), 1);
  EXPECT_TRUE(noPrivilege.openHandles.empty());
}

}  // namespace
}  // namespace pravelo::memory
