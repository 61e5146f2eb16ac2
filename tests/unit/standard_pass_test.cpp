#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_memory_api.h"
#include "fakes/fake_process_api.h"
#include "memory/standard_pass.h"

namespace pravelo::memory {
namespace {

using fakes::FakeMemoryApi;
using fakes::FakeProcessApi;

// The six calls of one privilege switch to the attributes `to`.
std::vector<std::string> PrivilegeSwitch(const char* to) {
  return {
      "GetCurrentProcess()",
      "OpenProcessToken(0xffffffff, 0x28)",
      "LookupPrivilegeValue(\"\", \"SeDebugPrivilege\")",
      "AdjustTokenPrivileges(7, 0, 1 x 20:0 0x0, 28, previous)",
      std::string("AdjustTokenPrivileges(7, 0, 1 x 20:0 ") + to + ", 16, none)",
      "CloseHandle(7)",
  };
}

std::vector<std::string> Trim(uint32_t pid) {
  const std::string handle = std::to_string(FakeProcessApi::HandleOf(pid));
  return {
      "OpenProcess(0x1f0fff, 0, " + std::to_string(pid) + ")",
      "EmptyWorkingSet(" + handle + ")",
      "SetProcessWorkingSetSize(" + handle + ", 0xffffffff, 0xffffffff)",
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
  StandardPass pass(processes, memory);
  PassFigures figures;
  figures.z18 = 1500.25;

  pass.OptimizeMemory(false, figures);

  std::vector<std::string> expected = PrivilegeSwitch("0x2");
  expected.push_back("WTSEnumerateProcesses(0, 0, 1)");
  expected.push_back("OpenProcess(0x1f0fff, 0, 0)");  // the idle process: skipped
  Append(expected, Trim(4));
  Append(expected, Trim(1234));
  expected.push_back("WTSFreeMemory()");
  expected.push_back("SetSystemFileCacheSize(0xffffffff, 0xffffffff, 0)");
  expected.push_back("NtSetSystemInformation(21, min 0xffffffff max 0xffffffff, 24)");
  Append(expected, PrivilegeSwitch("0x0"));
  EXPECT_EQ(processes.calls, expected);

  ASSERT_TRUE(figures.z17.has_value());
  EXPECT_EQ(*figures.z17, -1440.25);  // load minus the previous figure
  EXPECT_EQ(figures.z18, 2000);
  EXPECT_EQ(processes.debugAttributes, 0u);
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
    bool privilegeLeftOn = false;
  };
  const std::vector<Scenario> scenarios = {
      {"deep pass running",
       true,
       nullptr,
       {{"WTSEnumerateProcesses", 0},
        {"OpenProcess", 0},
        {"NtSetSystemInformation", 0},
        {"AdjustTokenPrivileges", 2}},
       false,
       true},
      {"enumeration fails",
       false,
       [](FakeProcessApi& p) { p.processes.reset(); },
       {{"WTSEnumerateProcesses", 1}, {"SetSystemFileCacheSize", 0}, {"NtSetSystemInformation", 0}},
       false,
       true},
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
         p.ntStatus = static_cast<int32_t>(0xC000007A);  // no such entry point
       },
       {{"EmptyWorkingSet", 3}, {"SetProcessWorkingSetSize", 3}, {"NtSetSystemInformation", 1}}},
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
    StandardPass pass(processes, memory);
    PassFigures figures;
    figures.z18 = 1500.25;

    pass.OptimizeMemory(s.deepPassRunning, figures);

    for (const auto& [name, count] : s.expectedCounts) EXPECT_EQ(processes.CountOf(name), count) << name;
    if (s.figuresChange) {
      EXPECT_EQ(figures.z17, -1440.25);
      EXPECT_EQ(figures.z18, 1000);
    } else {
      EXPECT_FALSE(figures.z17.has_value());
      EXPECT_EQ(figures.z18, 1500.25);
      EXPECT_EQ(memory.availableCalls + memory.loadCalls, 0);
    }
    EXPECT_EQ((processes.debugAttributes & 0x2) != 0, s.privilegeLeftOn);
    EXPECT_TRUE(processes.openHandles.empty());
  }
}

TEST(StandardPass, ExcludedProgramsAreNeverOpenedAndTheRestYieldAfterEach) {
  FakeProcessApi processes;
  processes.processes = std::vector<uint32_t>{4, 8, 12, 16};
  processes.imageNames = {{4, "System"}, {8, "GAME.EXE"}, {12, "pravelo.exe"}, {16, "browser.exe"}};
  FakeMemoryApi memory;
  StandardPass pass(processes, memory);
  pass.SetExclusions(*Exclusions::Parse("game.exe;Browser.exe"));
  PassFigures figures;
  std::vector<std::size_t> callsAtYield;
  EXPECT_TRUE(pass.OptimizeMemory(false, figures, [&] { callsAtYield.push_back(processes.calls.size()); }));

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
  StandardPass pass(processes, memory);
  PassFigures figures;
  int nested = 0;
  std::size_t callsBefore = 0;
  const bool completed = pass.OptimizeMemory(false, figures, [&] {
    EXPECT_TRUE(pass.Running());
    PassFigures inner;
    inner.z18 = 7;
    callsBefore = processes.calls.size();
    EXPECT_FALSE(pass.OptimizeMemory(false, inner));
    EXPECT_EQ(processes.calls.size(), callsBefore);  // not even the privilege
    EXPECT_EQ(inner.z18, 7);
    ++nested;
  });
  EXPECT_TRUE(completed);
  EXPECT_EQ(nested, 3);
  EXPECT_EQ(processes.CountOf("EmptyWorkingSet"), 3);
  EXPECT_FALSE(pass.Running());
  EXPECT_EQ(processes.debugAttributes, 0u);

  // A handler that throws out of the pass lets the guard go.
  EXPECT_THROW(pass.OptimizeMemory(false, figures, [] { throw std::runtime_error("window gone"); }),
               std::runtime_error);
  EXPECT_FALSE(pass.Running());
  EXPECT_TRUE(pass.OptimizeMemory(false, figures));
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
    FakeMemoryApi memory;
    StandardPass pass(processes, memory);
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
    FakeMemoryApi memory;
    StandardPass pass(processes, memory);
    EXPECT_EQ(pass.EnableDebugPrivilege(c.enable), c.expectedResult);
    EXPECT_EQ(processes.debugAttributes, c.after);
    EXPECT_TRUE(processes.openHandles.empty());
  }
}

TEST(EnableDebugPrivilege, GivesUpWithoutTokenOrPrivilegeAndClosesWhatItOpened) {
  FakeProcessApi noToken;
  noToken.openTokenFails = true;
  FakeMemoryApi memory;
  EXPECT_FALSE(StandardPass(noToken, memory).EnableDebugPrivilege(true));
  EXPECT_EQ(noToken.CountOf("AdjustTokenPrivileges") + noToken.CountOf("CloseHandle"), 0);

  FakeProcessApi noPrivilege;
  noPrivilege.lookupFails = true;
  EXPECT_FALSE(StandardPass(noPrivilege, memory).EnableDebugPrivilege(true));
  EXPECT_EQ(noPrivilege.CountOf("AdjustTokenPrivileges"), 0);
  EXPECT_EQ(noPrivilege.CountOf("CloseHandle"), 1);
  EXPECT_TRUE(noPrivilege.openHandles.empty());
}

}  // namespace
}  // namespace pravelo::memory
