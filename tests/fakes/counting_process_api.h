// Passes every call on to another ProcessApi and keeps count of what the pass saw, for
// runs against the real system.
#pragma once

#include <vector>

#include "platform/process_api.h"

namespace pravelo::fakes {

class CountingProcessApi : public ProcessApi {
 public:
  explicit CountingProcessApi(ProcessApi& inner) : inner_(inner) {}

  std::vector<uint32_t> enumerated;  // process ids of the last enumeration
  int openAttempts = 0;
  int opened = 0;

  std::unique_ptr<ProcessRecords> EnumerateProcesses(NativeHandle server, uint32_t reserved,
                                                     uint32_t version) override {
    auto records = inner_.EnumerateProcesses(server, reserved, version);
    enumerated.clear();
    for (std::size_t i = 0; records && i < records->Count(); ++i) enumerated.push_back(records->ProcessId(i));
    return records;
  }
  NativeHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override {
    ++openAttempts;
    const NativeHandle process = inner_.OpenProcess(access, inheritHandle, processId);
    opened += process != 0 ? 1 : 0;
    return process;
  }
  bool EmptyWorkingSet(NativeHandle process) override { return inner_.EmptyWorkingSet(process); }
  bool SetProcessWorkingSetSize(NativeHandle process, std::uintptr_t minimum,
                                std::uintptr_t maximum) override {
    return inner_.SetProcessWorkingSetSize(process, minimum, maximum);
  }
  bool CloseHandle(NativeHandle handle) override { return inner_.CloseHandle(handle); }
  bool SetSystemFileCacheSize(std::uintptr_t minimum, std::uintptr_t maximum, uint32_t flags) override {
    return inner_.SetSystemFileCacheSize(minimum, maximum, flags);
  }
  int32_t NtSetSystemInformation(uint32_t informationClass, void* information, uint32_t length) override {
    return inner_.NtSetSystemInformation(informationClass, information, length);
  }
  NativeHandle GetCurrentProcess() override { return inner_.GetCurrentProcess(); }
  bool OpenProcessToken(NativeHandle process, uint32_t access, NativeHandle& token) override {
    return inner_.OpenProcessToken(process, access, token);
  }
  bool LookupPrivilegeValue(const std::string& systemName, const std::string& name, Luid& luid) override {
    return inner_.LookupPrivilegeValue(systemName, name, luid);
  }
  bool AdjustTokenPrivileges(NativeHandle token, bool disableAll, const TokenPrivileges* newState,
                             uint32_t bufferLength, TokenPrivileges* previousState,
                             uint32_t* returnLength) override {
    return inner_.AdjustTokenPrivileges(token, disableAll, newState, bufferLength, previousState,
                                        returnLength);
  }
  uint32_t LastError() override { return inner_.LastError(); }
  uint32_t ErrorOfStatus(int32_t status) override { return inner_.ErrorOfStatus(status); }

 private:
  ProcessApi& inner_;
};

}  // namespace pravelo::fakes
