// The system calls of the standard optimization pass, one method per call, so that the
// order, the constants and the failure rules stay in the portable pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/handles.h"

// windows.h makes this name a macro for its W or A form, which would rename the method in
// files that include it first.
#ifdef LookupPrivilegeValue
#undef LookupPrivilegeValue
#endif

namespace pravelo {

// The status NtSetSystemInformation gives where the system has no such call at all.
inline constexpr int32_t kStatusProcedureNotFound = static_cast<int32_t>(0xC000007A);

struct Luid {
  uint32_t lowPart = 0;
  int32_t highPart = 0;
};

struct LuidAndAttributes {
  Luid luid;
  uint32_t attributes = 0;
};

// TOKEN_PRIVILEGES declared with room for two entries.
struct TokenPrivileges {
  uint32_t privilegeCount = 0;
  LuidAndAttributes privileges[2];
};
static_assert(sizeof(TokenPrivileges) == 28);

// The system's file-cache information record (class 21), fields as wide as the program's
// pointers. The 32-bit program hands over the six leading fields, as it always has; the
// 64-bit one the whole record, which is what that system checks the length against.
struct FileCacheInformation {
  std::uintptr_t currentSize = 0;
  std::uintptr_t peakSize = 0;
  uint32_t pageFaultCount = 0;
  std::uintptr_t minimumWorkingSet = 0;
  std::uintptr_t maximumWorkingSet = 0;
  std::uintptr_t spare = 0;
#if UINTPTR_MAX > 0xFFFFFFFFu
  std::uintptr_t peakSizeIncludingTransition = 0;
  uint32_t transitionRePurposeCount = 0;
  uint32_t flags = 0;
#endif
};
static_assert(sizeof(FileCacheInformation) == (sizeof(void*) == 4 ? 24 : 64));

// The combine request (class 130): the handle 0 asks for the whole system, and the system
// writes back how many pages it combined.
struct MemoryCombineInformationEx {
  std::uintptr_t handle = 0;
  std::uintptr_t pagesCombined = 0;
  uint32_t flags = 0;
};
static_assert(sizeof(MemoryCombineInformationEx) == (sizeof(void*) == 4 ? 12 : 24));

// The enumerated process records; destroying it frees them (WTSFreeMemory).
class ProcessRecords {
 public:
  virtual ~ProcessRecords() = default;
  virtual std::size_t Count() const = 0;
  virtual uint32_t ProcessId(std::size_t index) const = 0;
  // The image's file name as the system lists it ("explorer.exe"), UTF-8.
  virtual std::string ImageName(std::size_t index) const = 0;
};

class ProcessApi {
 public:
  virtual ~ProcessApi() = default;
  // WTSEnumerateProcesses; nothing when the call fails.
  virtual std::unique_ptr<ProcessRecords> EnumerateProcesses(NativeHandle server, uint32_t reserved,
                                                             uint32_t version) = 0;
  // 0 when the process cannot be opened.
  virtual NativeHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) = 0;
  virtual bool EmptyWorkingSet(NativeHandle process) = 0;
  virtual bool SetProcessWorkingSetSize(NativeHandle process, std::uintptr_t minimum,
                                        std::uintptr_t maximum) = 0;
  virtual bool CloseHandle(NativeHandle handle) = 0;
  // False also where the system lacks the function.
  virtual bool SetSystemFileCacheSize(std::uintptr_t minimum, std::uintptr_t maximum, uint32_t flags) = 0;
  // The NTSTATUS; kStatusProcedureNotFound where the system lacks the function.
  virtual int32_t NtSetSystemInformation(uint32_t informationClass, void* information, uint32_t length) = 0;
  virtual NativeHandle GetCurrentProcess() = 0;
  virtual bool OpenProcessToken(NativeHandle process, uint32_t access, NativeHandle& token) = 0;
  virtual bool LookupPrivilegeValue(const std::string& systemName, const std::string& name, Luid& luid) = 0;
  virtual bool AdjustTokenPrivileges(NativeHandle token, bool disableAll, const TokenPrivileges* newState,
                                     uint32_t bufferLength, TokenPrivileges* previousState,
                                     uint32_t* returnLength) = 0;
  // GetLastError, read right after the call that failed.
  virtual uint32_t LastError() = 0;
  // The Windows error code of an NTSTATUS.
  virtual uint32_t ErrorOfStatus(int32_t status) = 0;
};

}  // namespace pravelo
