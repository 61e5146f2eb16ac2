#include "platform/memory_operations_win32.h"

#include <windows.h>
// The psapi.dll forms, present on every system the program runs on.
#define PSAPI_VERSION 1
#include <psapi.h>
#include <wtsapi32.h>

#include "platform/owned_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

// The least a trim and its measure need: reading the working set, and changing it.
constexpr DWORD kTrimAccess = PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_SET_QUOTA;
// As working-set limits: "as few pages as possible".
constexpr SIZE_T kTrimAll = static_cast<SIZE_T>(-1);
constexpr HANDLE kCurrentServer = WTS_CURRENT_SERVER_HANDLE;
constexpr DWORD kEnumerateVersion = 1;

struct Wtsapi32 {
  decltype(&::WTSEnumerateProcessesW) enumerateProcesses;
  decltype(&::WTSFreeMemory) freeMemory;
};

const Wtsapi32& Wtsapi32Functions() {
  static const Wtsapi32 functions = [] {
    const SystemLibrary library(L"wtsapi32.dll");
    return Wtsapi32{library.Find<decltype(&::WTSEnumerateProcessesW)>("WTSEnumerateProcessesW"),
                    library.Find<decltype(&::WTSFreeMemory)>("WTSFreeMemory")};
  }();
  return functions;
}

struct Psapi {
  decltype(&::EmptyWorkingSet) emptyWorkingSet;
  decltype(&::GetProcessMemoryInfo) memoryInfo;
};

const Psapi& PsapiFunctions() {
  static const Psapi functions = [] {
    const SystemLibrary library(L"psapi.dll");
    return Psapi{library.Find<decltype(&::EmptyWorkingSet)>("EmptyWorkingSet"),
                 library.Find<decltype(&::GetProcessMemoryInfo)>("GetProcessMemoryInfo")};
  }();
  return functions;
}

struct WtsMemoryFree {
  void operator()(WTS_PROCESS_INFOW* records) const { Wtsapi32Functions().freeMemory(records); }
};

class OpenedProcessWin32 final : public OpenedProcess {
 public:
  explicit OpenedProcessWin32(HANDLE process) : process_(process) {}

  std::optional<uint64_t> WorkingSetBytes() override {
    const auto function = PsapiFunctions().memoryInfo;
    PROCESS_MEMORY_COUNTERS counters{};
    if (!function || !function(process_.Get(), &counters, sizeof counters)) return std::nullopt;
    return counters.WorkingSetSize;
  }

  CallResult TrimWorkingSet() override {
    // Both ask for the same; one that works has done the trim.
    const auto emptyWorkingSet = PsapiFunctions().emptyWorkingSet;
    if (emptyWorkingSet && emptyWorkingSet(process_.Get())) return {};
    if (SetProcessWorkingSetSize(process_.Get(), kTrimAll, kTrimAll)) return {};
    return ResultOfError(GetLastError());
  }

 private:
  OwnedHandle process_;
};

const wchar_t* NameOf(Privilege privilege) {
  switch (privilege) {
    case Privilege::Debug:
      return SE_DEBUG_NAME;
    case Privilege::IncreaseQuota:
      return SE_INCREASE_QUOTA_NAME;
    case Privilege::ProfileSingleProcess:
      return SE_PROF_SINGLE_PROCESS_NAME;
  }
  return SE_DEBUG_NAME;
}

}  // namespace

CallResult ResultOfError(uint32_t error) {
  if (error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_PROC_NOT_FOUND || error == ERROR_NOT_SUPPORTED) {
    return CallResult::Unsupported(error);
  }
  return CallResult::Refusal(error);
}

ProcessList MemoryOperationsWin32::ListProcesses() {
  const Wtsapi32& wts = Wtsapi32Functions();
  if (!wts.enumerateProcesses || !wts.freeMemory) return {CallResult::Unsupported(ERROR_PROC_NOT_FOUND), {}};
  WTS_PROCESS_INFOW* records = nullptr;
  DWORD count = 0;
  if (!wts.enumerateProcesses(kCurrentServer, 0, kEnumerateVersion, &records, &count)) {
    return {ResultOfError(GetLastError()), {}};
  }
  const std::unique_ptr<WTS_PROCESS_INFOW, WtsMemoryFree> owned(records);
  ProcessList list;
  for (DWORD i = 0; records && i < count; ++i) {
    const wchar_t* name = records[i].pProcessName;
    list.processes.push_back({records[i].ProcessId, name ? Narrow(name) : std::string()});
  }
  return list;
}

OpenResult MemoryOperationsWin32::OpenProcess(uint32_t processId) {
  OpenResult open;
  const HANDLE process = ::OpenProcess(kTrimAccess, FALSE, processId);
  if (process) {
    open.process = std::make_unique<OpenedProcessWin32>(process);
    return open;
  }
  const DWORD error = GetLastError();
  // No process has that id (any more).
  open.gone = error == ERROR_INVALID_PARAMETER;
  open.failure = ResultOfError(error);
  return open;
}

bool MemoryOperationsWin32::EnablePrivilege(Privilege privilege) {
  if (!ImpersonateSelf(SecurityImpersonation)) return false;
  OwnedHandle token;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, FALSE, token.Put())) {
    return false;
  }
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = 1;
  state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, NameOf(privilege), &state.Privileges[0].Luid)) return false;
  // Success also when the account lacks the privilege; only then is the error set.
  SetLastError(ERROR_SUCCESS);
  return AdjustTokenPrivileges(token.Get(), FALSE, &state, sizeof state, nullptr, nullptr) &&
         GetLastError() == ERROR_SUCCESS;
}

void MemoryOperationsWin32::DropPrivileges() { RevertToSelf(); }

}  // namespace pravelo
