#include "memory/standard_pass.h"

#include <string>

#include "memory/memory_status.h"

namespace pravelo::memory {
namespace {

constexpr uint32_t kProcessAllAccess = 0x1F0FFF;
constexpr uint32_t kTokenAdjustAndQuery = 0x28;
// As working-set limits, "as few pages as possible".
constexpr uint32_t kTrimAll = 0xFFFFFFFF;
constexpr NativeHandle kCurrentServer = 0;
constexpr uint32_t kEnumerateReserved = 0;
constexpr uint32_t kEnumerateVersion = 1;
constexpr uint32_t kFileCacheInformationClass = 21;
constexpr uint32_t kFileCacheInformationLength = sizeof(FileCacheInformation);
constexpr uint32_t kTokenPrivilegesLength = sizeof(TokenPrivileges);
constexpr uint32_t kPrivilegeEnabled = 0x2;
const std::string kDebugPrivilege = "SeDebugPrivilege";
const std::string kLocalSystem;

// Closes a handle through the port on every way out.
class HandleCloser {
 public:
  HandleCloser(ProcessApi& processes, NativeHandle handle) : processes_(processes), handle_(handle) {}
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;
  ~HandleCloser() { processes_.CloseHandle(handle_); }

 private:
  ProcessApi& processes_;
  NativeHandle handle_;
};

}  // namespace

StandardPass::StandardPass(ProcessApi& processes, MemoryApi& memory)
    : processes_(processes), memory_(memory) {}

bool StandardPass::OptimizeMemory(bool deepPassRunning, PassFigures& figures,
                                  const std::function<void()>& afterEachProcess) {
  bool completed = false;
  guard_.RunExclusive([&] { completed = Run(deepPassRunning, figures, afterEachProcess); });
  return completed;
}

bool StandardPass::Run(bool deepPassRunning, PassFigures& figures,
                       const std::function<void()>& afterEachProcess) {
  EnableDebugPrivilege(true);
  if (deepPassRunning) return false;

  {
    const auto records = processes_.EnumerateProcesses(kCurrentServer, kEnumerateReserved, kEnumerateVersion);
    if (!records) return false;
    // Only the user's exclusions filter: processes that cannot be opened (the idle
    // process, protected ones, ones that have ended since) are skipped inside.
    for (std::size_t i = 0; i < records->Count(); ++i) {
      if (exclusions_.Excludes(records->ImageName(i))) continue;
      TrimProcessMemory(records->ProcessId(i));
      afterEachProcess();
    }
  }  // the records are freed here, before the file-cache steps

  // From here on every step runs whatever the one before it reported: the system may lack
  // the file-cache calls, and the figures must be taken all the same.
  ShrinkFileCache();
  const double previous = figures.z18;
  figures.z17 = GetMemoryLoad(memory_) - previous;
  figures.z18 = GetAvailableMemory(memory_).ToDouble();
  EnableDebugPrivilege(false);
  return true;
}

void StandardPass::ShrinkFileCache() {
  processes_.SetSystemFileCacheSize(kTrimAll, kTrimAll, 0);
  fileCacheInfo_.minimumWorkingSet = kTrimAll;
  fileCacheInfo_.maximumWorkingSet = kTrimAll;
  processes_.NtSetSystemInformation(kFileCacheInformationClass, &fileCacheInfo_, kFileCacheInformationLength);
}

bool StandardPass::TrimProcessMemory(uint32_t processId) {
  const NativeHandle process = processes_.OpenProcess(kProcessAllAccess, false, processId);
  if (process == 0) return false;
  // Either trim may fail on its own; the other is still worth doing.
  processes_.EmptyWorkingSet(process);
  processes_.SetProcessWorkingSetSize(process, kTrimAll, kTrimAll);
  return processes_.CloseHandle(process);
}

bool StandardPass::EnableDebugPrivilege(bool enable) {
  NativeHandle token = 0;
  if (!processes_.OpenProcessToken(processes_.GetCurrentProcess(), kTokenAdjustAndQuery, token)) return false;
  const HandleCloser closer(processes_, token);
  Luid luid;
  if (!processes_.LookupPrivilegeValue(kLocalSystem, kDebugPrivilege, luid)) return false;

  // The first adjustment clears the privilege and reports the attributes it had, so that
  // the second can change the enabled bit alone.
  TokenPrivileges newState;
  newState.privilegeCount = 1;
  newState.privileges[0] = {luid, 0};
  TokenPrivileges previous;
  uint32_t previousLength = 0;
  processes_.AdjustTokenPrivileges(token, false, &newState, kTokenPrivilegesLength, &previous,
                                   &previousLength);

  const uint32_t captured = previous.privileges[0].attributes;
  previous.privilegeCount = 1;
  previous.privileges[0].luid = luid;
  previous.privileges[0].attributes = enable ? captured | kPrivilegeEnabled : captured & ~kPrivilegeEnabled;
  // Success also when the account lacks the privilege (not all assigned): the call did
  // what it could.
  return processes_.AdjustTokenPrivileges(token, false, &previous, previousLength, nullptr, nullptr);
}

}  // namespace pravelo::memory
