#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>

#include "fakes/counting_process_api.h"
#include "memory/deep_pass.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"
#include "memory/standard_pass.h"
#include "platform/clock_win32.h"
#include "settings/area_settings.h"
#include "platform/memory_api_win32.h"
#include "platform/process_api_win32.h"

namespace pravelo {
namespace {

TEST(MemoryApiWin32, FiguresArePlausible) {
  MemoryApiWin32 memory;
  const std::optional<uint64_t> total = memory.TotalPhysicalBytes();
  ASSERT_TRUE(total.has_value());
  EXPECT_GT(*total, 64ull << 20);
  const uint64_t available = memory.AvailablePhysicalBytes();
  EXPECT_GT(available, 0u);
  EXPECT_LE(available, *total);
  EXPECT_LE(memory.MemoryLoad(), 100u);
  EXPECT_GT(memory::GetAvailableMemory(memory).Scaled(), 0);
  EXPECT_GE(memory::GetWindowsVersion(memory), 5.0);
}

TEST(ProcessApiWin32, EnumerationListsThisProcess) {
  ProcessApiWin32 processes;
  const auto records = processes.EnumerateProcesses(0, 0, 1);
  ASSERT_NE(records, nullptr);
  ASSERT_GT(records->Count(), 0u);
  bool found = false;
  for (std::size_t i = 0; i < records->Count(); ++i)
    found = found || records->ProcessId(i) == GetCurrentProcessId();
  EXPECT_TRUE(found);
}

// A second program, held suspended for the length of a test and ended by its handle.
class SuspendedProbe {
 public:
  SuspendedProbe() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"launch_probe.exe";
    std::wstring commandLine = L"\"" + path + L"\" 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                              nullptr, nullptr, &startup, &info_);
  }
  SuspendedProbe(const SuspendedProbe&) = delete;
  SuspendedProbe& operator=(const SuspendedProbe&) = delete;
  ~SuspendedProbe() {
    if (!started_) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

TEST(ProcessApiWin32, ReadsTheImageNameOfARunningProgram) {
  SuspendedProbe probe;
  ASSERT_TRUE(probe.Started());
  ProcessApiWin32 processes;
  const auto records = processes.EnumerateProcesses(0, 0, 1);
  ASSERT_NE(records, nullptr);
  std::string probeName, ownName;
  for (std::size_t i = 0; i < records->Count(); ++i) {
    if (records->ProcessId(i) == probe.Id()) probeName = records->ImageName(i);
    if (records->ProcessId(i) == GetCurrentProcessId()) ownName = records->ImageName(i);
  }
  EXPECT_EQ(probeName, "launch_probe.exe");
  EXPECT_EQ(ownName, "win32_tests.exe");
}

TEST(StandardPassWin32, AnExcludedRunningProgramIsNeverOpened) {
  SuspendedProbe probe;
  ASSERT_TRUE(probe.Started());
  ProcessApiWin32 real;
  fakes::CountingProcessApi processes(real);
  MemoryApiWin32 memory;
  memory::StandardPass pass(processes);
  pass.SetExclusions(*memory::Exclusions::Parse("LAUNCH_PROBE.EXE"));
  ASSERT_EQ(pass.TrimWorkingSets({}), std::nullopt);
  ASSERT_NE(std::find(processes.enumerated.begin(), processes.enumerated.end(), probe.Id()),
            processes.enumerated.end());
  EXPECT_EQ(processes.openAttempts, static_cast<int>(processes.enumerated.size()) - 1);
}

TEST(StandardPassWin32, TrimsTheRealProcessesAndMeasures) {
  ProcessApiWin32 real;
  fakes::CountingProcessApi processes(real);
  MemoryApiWin32 memory;
  ClockWin32 clock;
  memory::Optimizer optimizer(processes, memory, clock);
  memory::PassFigures figures;

  optimizer.Run(memory::ParseAreaList(settings::kDefaultAreas).areas, figures);

  EXPECT_GT(processes.enumerated.size(), 0u);
  EXPECT_EQ(processes.openAttempts, static_cast<int>(processes.enumerated.size()));
  EXPECT_GT(processes.opened, 0);
  EXPECT_TRUE(figures.z17.has_value());
  EXPECT_GT(figures.z18, 0);
}

TEST(StandardPassWin32, PrivilegeAndTrimResults) {
  ProcessApiWin32 processes;
  memory::StandardPass pass(processes);
  EXPECT_TRUE(pass.EnableDebugPrivilege(true));
  EXPECT_TRUE(pass.EnableDebugPrivilege(false));
  EXPECT_TRUE(pass.TrimProcessMemory(GetCurrentProcessId()));
  EXPECT_FALSE(pass.TrimProcessMemory(0x7FFFFFF8));  // no such process
}

TEST(OptimizerWin32, EveryAreaAgainstTheRealSystem) {
  ProcessApiWin32 processes;
  MemoryApiWin32 memory;
  const OsVersion version = memory.RealVersion();
  EXPECT_GE(version.major, 6u);
  // This build's width is the system's under Wine: never the compatibility layer.
  EXPECT_EQ(memory.IsWow64(), false);
  EXPECT_EQ(processes.ErrorOfStatus(static_cast<int32_t>(0xC0000061)), 1314u);  // privilege not held

  ClockWin32 clock;
  memory::Optimizer optimizer(processes, memory, clock);
  memory::PassFigures figures;
  const std::vector<memory::AreaResult> results = optimizer.Run(memory::AreaSet::All(), figures);
  ASSERT_EQ(results.size(), memory::kAreaCount);
  for (const memory::AreaResult& result : results) {
    SCOPED_TRACE(std::string(memory::AreaName(result.area)));
    EXPECT_GT(result.availableBeforeBytes, 0u);
    EXPECT_GT(result.availableAfterBytes, 0u);
    EXPECT_EQ(result.outcome == memory::AreaOutcome::Refused, result.errorCode != 0);
  }
  // Every process's working set is a call Wine takes.
  EXPECT_EQ(results[0].outcome, memory::AreaOutcome::Done);
}

SIZE_T WorkingSetBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

// A small real fill: 8 MB of blocks, every page of them in memory while held.
TEST(DeepPassWin32, SmallBoundedFill) {
  MemoryApiWin32 memory;
  if (memory.MemoryLoad() > 90) GTEST_SKIP() << "the machine is too full for a fill";
  constexpr uint64_t kCap = 8 << 20;
  memory::DeepPass pass(memory);
  pass.SetFillLimitBytes(kCap);
  const SIZE_T before = WorkingSetBytes();
  int pumps = 0;
  std::size_t held = 0;
  SIZE_T whileHeld = 0;
  pass.DeepOptimize([&] { ++pumps; },
                    [&] {
                      held = pass.BlockCount() - 1;
                      whileHeld = WorkingSetBytes();
                    });
  EXPECT_EQ(held, kCap / memory::DeepPass::kBlockBytes);
  EXPECT_EQ(pumps, static_cast<int>(held));
  EXPECT_GE(whileHeld, before + kCap);
  EXPECT_EQ(pass.BlockCount(), 1u);
}

}  // namespace
}  // namespace pravelo
