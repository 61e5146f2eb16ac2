#include "memory/standard_pass.h"

#include "memory/privileges.h"

namespace pravelo::memory {
namespace {

constexpr uint32_t kProcessAllAccess = 0x1F0FFF;
constexpr NativeHandle kCurrentServer = 0;
constexpr uint32_t kEnumerateReserved = 0;
constexpr uint32_t kEnumerateVersion = 1;
constexpr uint32_t kFileCacheInformationClass = 21;
constexpr uint32_t kFileCacheInformationLength = sizeof(FileCacheInformation);

}  // namespace

StandardPass::StandardPass(ProcessApi& processes) : processes_(processes) {}

std::optional<uint32_t> StandardPass::TrimWorkingSets(const std::function<void()>& afterEachProcess) {
  const auto records = processes_.EnumerateProcesses(kCurrentServer, kEnumerateReserved, kEnumerateVersion);
  if (!records) return processes_.LastError();
  // Only the user's exclusions filter: processes that cannot be opened (the idle process,
  // protected ones, ones that have ended since) are skipped inside.
  for (std::size_t i = 0; i < records->Count(); ++i) {
    if (exclusions_.Excludes(records->ImageName(i))) continue;
    TrimProcessMemory(records->ProcessId(i));
    if (afterEachProcess) afterEachProcess();
  }
  return std::nullopt;
}

std::optional<uint32_t> StandardPass::ShrinkFileCache() {
  // Each request runs whatever the other reported: a system may lack either call.
  std::optional<uint32_t> error;
  if (!processes_.SetSystemFileCacheSize(kTrimAll, kTrimAll, 0)) error = processes_.LastError();
  fileCacheInfo_.minimumWorkingSet = kTrimAll;
  fileCacheInfo_.maximumWorkingSet = kTrimAll;
  const int32_t status = processes_.NtSetSystemInformation(kFileCacheInformationClass, &fileCacheInfo_,
                                                           kFileCacheInformationLength);
  if (status >= 0) return std::nullopt;
  return error ? error : processes_.ErrorOfStatus(status);
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
  return SetPrivilege(processes_, kDebugPrivilege, enable);
}

}  // namespace pravelo::memory
