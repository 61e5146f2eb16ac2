#include "platform/process_api_win32.h"

#include <windows.h>
// EmptyWorkingSet of psapi.dll itself, present on every system the program runs on.
#define PSAPI_VERSION 1
#include <psapi.h>
#include <wtsapi32.h>
#undef LookupPrivilegeValue  // the port's method, not the macro for the W or A form

#include <cstddef>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

// The records are handed to the system as they are.
static_assert(sizeof(Luid) == sizeof(LUID) && offsetof(Luid, lowPart) == offsetof(LUID, LowPart) &&
              offsetof(Luid, highPart) == offsetof(LUID, HighPart));
static_assert(sizeof(LuidAndAttributes) == sizeof(LUID_AND_ATTRIBUTES) &&
              offsetof(LuidAndAttributes, attributes) == offsetof(LUID_AND_ATTRIBUTES, Attributes));
static_assert(offsetof(TokenPrivileges, privileges) == offsetof(TOKEN_PRIVILEGES, Privileges));
static_assert(sizeof(void*) != 4 || sizeof(WTS_PROCESS_INFOW) == 16);


HANDLE ToHandle(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }
NativeHandle FromHandle(HANDLE handle) { return reinterpret_cast<NativeHandle>(handle); }

using SetSystemFileCacheSizeFunction = BOOL(WINAPI*)(SIZE_T, SIZE_T, DWORD);
using NtSetSystemInformationFunction = LONG(NTAPI*)(ULONG, PVOID, ULONG);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(LONG);

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

decltype(&::EmptyWorkingSet) EmptyWorkingSetFunction() {
  static const auto function = SystemLibrary(L"psapi.dll").Find<decltype(&::EmptyWorkingSet)>("EmptyWorkingSet");
  return function;
}

struct WtsMemoryFree {
  void operator()(WTS_PROCESS_INFOW* records) const { Wtsapi32Functions().freeMemory(records); }
};

class WtsProcessRecords : public ProcessRecords {
 public:
  WtsProcessRecords(WTS_PROCESS_INFOW* records, DWORD count) : records_(records), count_(count) {}
  std::size_t Count() const override { return records_ ? count_ : 0; }
  uint32_t ProcessId(std::size_t index) const override { return records_.get()[index].ProcessId; }
  std::string ImageName(std::size_t index) const override {
    const wchar_t* name = records_.get()[index].pProcessName;
    return name ? Narrow(name) : std::string();
  }

 private:
  std::unique_ptr<WTS_PROCESS_INFOW, WtsMemoryFree> records_;
  std::size_t count_;
};

}  // namespace

std::unique_ptr<ProcessRecords> ProcessApiWin32::EnumerateProcesses(NativeHandle server, uint32_t reserved,
                                                                    uint32_t version) {
  const Wtsapi32& wts = Wtsapi32Functions();
  if (!wts.enumerateProcesses || !wts.freeMemory) return nullptr;
  WTS_PROCESS_INFOW* records = nullptr;
  DWORD count = 0;
  if (!wts.enumerateProcesses(ToHandle(server), reserved, version, &records, &count)) return nullptr;
  return std::make_unique<WtsProcessRecords>(records, count);
}

NativeHandle ProcessApiWin32::OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
  return FromHandle(::OpenProcess(access, inheritHandle, processId));
}

bool ProcessApiWin32::EmptyWorkingSet(NativeHandle process) {
  const auto function = EmptyWorkingSetFunction();
  return function && function(ToHandle(process));
}

bool ProcessApiWin32::SetProcessWorkingSetSize(NativeHandle process, std::uintptr_t minimum,
                                               std::uintptr_t maximum) {
  return ::SetProcessWorkingSetSize(ToHandle(process), minimum, maximum);
}

bool ProcessApiWin32::CloseHandle(NativeHandle handle) { return ::CloseHandle(ToHandle(handle)); }

bool ProcessApiWin32::SetSystemFileCacheSize(std::uintptr_t minimum, std::uintptr_t maximum, uint32_t flags) {
  const auto function =
      LoadedFunction<SetSystemFileCacheSizeFunction>(L"kernel32.dll", "SetSystemFileCacheSize");
  if (!function) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  return function(minimum, maximum, flags);
}

int32_t ProcessApiWin32::NtSetSystemInformation(uint32_t informationClass, void* information,
                                                uint32_t length) {
  const auto function =
      LoadedFunction<NtSetSystemInformationFunction>(L"ntdll.dll", "NtSetSystemInformation");
  if (!function) return kStatusProcedureNotFound;
  return function(informationClass, information, length);
}

NativeHandle ProcessApiWin32::GetCurrentProcess() { return FromHandle(::GetCurrentProcess()); }

bool ProcessApiWin32::OpenProcessToken(NativeHandle process, uint32_t access, NativeHandle& token) {
  HANDLE opened = nullptr;
  const bool ok = ::OpenProcessToken(ToHandle(process), access, &opened);
  token = FromHandle(opened);
  return ok;
}

bool ProcessApiWin32::LookupPrivilegeValue(const std::string& systemName, const std::string& name,
                                           Luid& luid) {
  LUID found{};
  if (!LookupPrivilegeValueW(Widen(systemName).c_str(), Widen(name).c_str(), &found)) return false;
  luid.lowPart = found.LowPart;
  luid.highPart = found.HighPart;
  return true;
}

bool ProcessApiWin32::AdjustTokenPrivileges(NativeHandle token, bool disableAll,
                                            const TokenPrivileges* newState, uint32_t bufferLength,
                                            TokenPrivileges* previousState, uint32_t* returnLength) {
  DWORD length = 0;
  // TRUE also when not all privileges were assigned; the caller counts that as done.
  const bool ok = ::AdjustTokenPrivileges(
      ToHandle(token), disableAll,
      reinterpret_cast<TOKEN_PRIVILEGES*>(const_cast<TokenPrivileges*>(newState)), bufferLength,
      reinterpret_cast<TOKEN_PRIVILEGES*>(previousState), returnLength ? &length : nullptr);
  if (returnLength) *returnLength = length;
  return ok;
}

uint32_t ProcessApiWin32::LastError() { return GetLastError(); }

uint32_t ProcessApiWin32::ErrorOfStatus(int32_t status) {
  const auto function = LoadedFunction<RtlNtStatusToDosErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
  // Without the translation the status itself is the most telling code there is.
  return function ? function(status) : static_cast<uint32_t>(status);
}

}  // namespace pravelo
