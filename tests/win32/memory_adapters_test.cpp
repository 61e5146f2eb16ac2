#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>
#include <thread>

#include "memory/deep_pass.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"
#include "platform/clock_win32.h"
#include "platform/memory_api_win32.h"
#include "platform/memory_operations_win32.h"

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

TEST(MemoryOperationsWin32, ListsThisProcessAndARunningProgramByName) {
  SuspendedProbe probe;
  ASSERT_TRUE(probe.Started());
  MemoryOperationsWin32 operations;
  const ProcessList list = operations.ListProcesses();
  ASSERT_TRUE(list.result.Done());
  std::string probeName, ownName;
  for (const ProcessEntry& entry : list.processes) {
    if (entry.id == probe.Id()) probeName = entry.imageName;
    if (entry.id == GetCurrentProcessId()) ownName = entry.imageName;
  }
  EXPECT_EQ(probeName, "launch_probe.exe");
  EXPECT_EQ(ownName, "win32_tests.exe");
}

TEST(MemoryOperationsWin32, OpensWithTheLeastRightsAndMeasuresTheTrim) {
  MemoryOperationsWin32 operations;
  OpenResult own = operations.OpenProcess(GetCurrentProcessId());
  ASSERT_NE(own.process, nullptr);
  EXPECT_TRUE(own.process->WorkingSetBytes().has_value());
  EXPECT_TRUE(own.process->TrimWorkingSet().Done());

  // No process has this id: gone, not refused.
  const OpenResult none = operations.OpenProcess(0x7FFFFFF8);
  EXPECT_EQ(none.process, nullptr);
  EXPECT_TRUE(none.gone);
}

TEST(MemoryOperationsWin32, APrivilegeIsOnForItsThreadAloneAndOffAfterwards) {
  MemoryOperationsWin32 operations;
  // Whether the token has the debug privilege on.
  const auto debugOn = [](HANDLE token) {
    PRIVILEGE_SET set{1, PRIVILEGE_SET_ALL_NECESSARY, {}};
    LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &set.Privilege[0].Luid);
    BOOL on = FALSE;
    PrivilegeCheck(token, &set, &on);
    CloseHandle(token);
    return on != FALSE;
  };
  const auto processHasIt = [&] {
    HANDLE token = nullptr;
    return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) && debugOn(token);
  };
  const auto threadHasIt = [&] {
    HANDLE token = nullptr;
    return OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) && debugOn(token);
  };
  ASSERT_FALSE(processHasIt());
  bool threadHadIt = false;
  bool processHadItMeanwhile = true;
  bool threadHasItAfter = true;
  std::thread worker([&] {
    operations.EnablePrivilege(Privilege::Debug);
    threadHadIt = threadHasIt();
    processHadItMeanwhile = processHasIt();
    operations.DropPrivileges();
    threadHasItAfter = threadHasIt();
  });
  worker.join();
  EXPECT_TRUE(threadHadIt);
  EXPECT_FALSE(processHadItMeanwhile);
  EXPECT_FALSE(threadHasItAfter);
  EXPECT_FALSE(processHasIt());
}

TEST(OptimizerWin32, EveryAreaAgainstTheRealSystem) {
  MemoryOperationsWin32 operations;
  MemoryApiWin32 memory;
  const OsVersion version = memory.RealVersion();
  EXPECT_GE(version.major, 6u);
  // This build's width is the system's under Wine: never the compatibility layer.
  EXPECT_EQ(memory.IsWow64(), false);

  ClockWin32 clock;
  base::ExclusiveRun gate;
  memory::Optimizer optimizer(operations, memory, clock, gate);
  memory::PassFigures figures;
  const std::vector<memory::AreaResult> results = optimizer.Run(memory::AreaSet::All(), figures);
  ASSERT_EQ(results.size(), memory::kAreaCount);
  for (const memory::AreaResult& result : results) {
    SCOPED_TRACE(std::string(memory::AreaName(result.area)));
    EXPECT_EQ(result.outcome == memory::AreaOutcome::Failed, result.errorCode != 0);
    // What Wine only pretends to do is never reported as done.
    if (result.area != memory::MemoryArea::WorkingSets) {
      EXPECT_NE(result.outcome, memory::AreaOutcome::Done);
    }
  }
  // Wine takes every process's trim.
  EXPECT_GT(results[0].processes.trimmed, 0u);
  EXPECT_TRUE(figures.z17.has_value());
  EXPECT_GT(figures.z18, 0);
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
  base::ExclusiveRun gate;
  memory::DeepPass pass(memory, gate);
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
