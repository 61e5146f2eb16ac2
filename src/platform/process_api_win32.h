// The system calls of the standard optimization pass.
#pragma once

#include "platform/process_api.h"

namespace pravelo {

class ProcessApiWin32 : public ProcessApi {
 public:
  // The wide form: the ANSI one is a stub under Wine that lists no process, and the
  // records keep the same 16-byte layout in a 32-bit process.
  std::unique_ptr<ProcessRecords> EnumerateProcesses(NativeHandle server, uint32_t reserved,
                                                     uint32_t version) override;
  NativeHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override;
  bool EmptyWorkingSet(NativeHandle process) override;
  bool SetProcessWorkingSetSize(NativeHandle process, std::uintptr_t minimum,
                                std::uintptr_t maximum) override;
  bool CloseHandle(NativeHandle handle) override;
  bool SetSystemFileCacheSize(std::uintptr_t minimum, std::uintptr_t maximum, uint32_t flags) override;
  int32_t NtSetSystemInformation(uint32_t informationClass, void* information, uint32_t length) override;
  NativeHandle GetCurrentProcess() override;
  bool OpenProcessToken(NativeHandle process, uint32_t access, NativeHandle& token) override;
  bool LookupPrivilegeValue(const std::string& systemName, const std::string& name, Luid& luid) override;
  bool AdjustTokenPrivileges(NativeHandle token, bool disableAll, const TokenPrivileges* newState,
                             uint32_t bufferLength, TokenPrivileges* previousState,
                             uint32_t* returnLength) override;
  uint32_t LastError() override;
  uint32_t ErrorOfStatus(int32_t status) override;
};

}  // namespace pravelo
