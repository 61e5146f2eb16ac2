// The requests of the memory manager that only the system-information calls of ntdll
// offer, with the classes, commands and records under the names of the public NT headers
// (ntexapi.h as published with Process Hacker / phnt).
#include <windows.h>

#include <cstddef>

#include "platform/memory_operations_win32.h"
#include "platform/system_library_win32.h"

namespace pravelo {
namespace {

using NTSTATUS_ = LONG;

// SYSTEM_INFORMATION_CLASS
constexpr ULONG SystemFileCacheInformation = 21;
constexpr ULONG SystemMemoryListInformation = 80;
constexpr ULONG SystemCombinePhysicalMemoryInformation = 130;
constexpr ULONG SystemRegistryReconciliationInformation = 155;

// SYSTEM_MEMORY_LIST_COMMAND
constexpr ULONG MemoryFlushModifiedList = 3;
constexpr ULONG MemoryPurgeStandbyList = 4;
constexpr ULONG MemoryPurgeLowPriorityStandbyList = 5;

// Answers of a system that does not know a class or a call: not supported, not refused.
constexpr NTSTATUS_ STATUS_NOT_IMPLEMENTED_ = static_cast<NTSTATUS_>(0xC0000002);
constexpr NTSTATUS_ STATUS_INVALID_INFO_CLASS_ = static_cast<NTSTATUS_>(0xC0000003);
constexpr NTSTATUS_ STATUS_PROCEDURE_NOT_FOUND_ = static_cast<NTSTATUS_>(0xC000007A);

struct SYSTEM_FILECACHE_INFORMATION {
  SIZE_T CurrentSize;
  SIZE_T PeakSize;
  ULONG PageFaultCount;
  SIZE_T MinimumWorkingSet;
  SIZE_T MaximumWorkingSet;
  SIZE_T CurrentSizeIncludingTransitionInPages;
  SIZE_T PeakSizeIncludingTransitionInPages;
  ULONG TransitionRePurposeCount;
  ULONG Flags;
};
static_assert(sizeof(void*) != 4 || sizeof(SYSTEM_FILECACHE_INFORMATION) == 36);
static_assert(sizeof(void*) != 8 || sizeof(SYSTEM_FILECACHE_INFORMATION) == 64);
static_assert(offsetof(SYSTEM_FILECACHE_INFORMATION, MinimumWorkingSet) == 3 * sizeof(SIZE_T));

struct SYSTEM_MEMORY_LIST_INFORMATION {
  ULONG_PTR ZeroPageCount;
  ULONG_PTR FreePageCount;
  ULONG_PTR ModifiedPageCount;
  ULONG_PTR ModifiedNoWritePageCount;
  ULONG_PTR BadPageCount;
  ULONG_PTR PageCountByPriority[8];
  ULONG_PTR RepurposedPagesByPriority[8];
  ULONG_PTR ModifiedPageCountPageFile;
};
static_assert(sizeof(void*) != 4 || sizeof(SYSTEM_MEMORY_LIST_INFORMATION) == 88);
static_assert(sizeof(void*) != 8 || sizeof(SYSTEM_MEMORY_LIST_INFORMATION) == 176);
static_assert(std::size(SYSTEM_MEMORY_LIST_INFORMATION{}.PageCountByPriority) == kStandbyPriorities);

struct MEMORY_COMBINE_INFORMATION_EX {
  HANDLE Handle;  // none: the whole system
  ULONG_PTR PagesCombined;
  ULONG Flags;
};
static_assert(sizeof(void*) != 4 || sizeof(MEMORY_COMBINE_INFORMATION_EX) == 12);
static_assert(sizeof(void*) != 8 || sizeof(MEMORY_COMBINE_INFORMATION_EX) == 24);

using NtSetSystemInformationFunction = NTSTATUS_(NTAPI*)(ULONG, PVOID, ULONG);
using NtQuerySystemInformationFunction = NTSTATUS_(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(NTSTATUS_);
using SetSystemFileCacheSizeFunction = BOOL(WINAPI*)(SIZE_T, SIZE_T, DWORD);

CallResult ResultOfStatus(NTSTATUS_ status) {
  if (status >= 0) return {};
  const auto toError = LoadedFunction<RtlNtStatusToDosErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
  // Without the translation the status itself is the most telling code there is.
  const uint32_t error = toError ? toError(status) : static_cast<uint32_t>(status);
  if (status == STATUS_NOT_IMPLEMENTED_ || status == STATUS_INVALID_INFO_CLASS_ ||
      status == STATUS_PROCEDURE_NOT_FOUND_) {
    return CallResult::Unsupported(error);
  }
  return CallResult::Refusal(error);
}

CallResult SetInformation(ULONG informationClass, void* information, ULONG length) {
  const auto function =
      LoadedFunction<NtSetSystemInformationFunction>(L"ntdll.dll", "NtSetSystemInformation");
  if (!function) return ResultOfStatus(STATUS_PROCEDURE_NOT_FOUND_);
  return ResultOfStatus(function(informationClass, information, length));
}

// The record of the class, when the system filled at least its first `needed` bytes.
template <typename Record>
std::optional<Record> QueryInformation(ULONG informationClass, ULONG needed) {
  const auto function =
      LoadedFunction<NtQuerySystemInformationFunction>(L"ntdll.dll", "NtQuerySystemInformation");
  Record record{};
  ULONG length = 0;
  if (!function || function(informationClass, &record, sizeof record, &length) < 0 || length < needed) {
    return std::nullopt;
  }
  return record;
}

uint64_t PageBytes() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

CallResult MemoryOperationsWin32::SetFileCacheLimits() {
  const auto function =
      LoadedFunction<SetSystemFileCacheSizeFunction>(L"kernel32.dll", "SetSystemFileCacheSize");
  if (!function) return ResultOfError(ERROR_PROC_NOT_FOUND);
  // Both limits at (SIZE_T)-1 ask the system to free as much of the cache as it can.
  if (function(static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1), 0)) return {};
  return ResultOfError(GetLastError());
}

CallResult MemoryOperationsWin32::ShrinkFileCacheRecord() {
  SYSTEM_FILECACHE_INFORMATION record{};
  record.MinimumWorkingSet = static_cast<SIZE_T>(-1);
  record.MaximumWorkingSet = static_cast<SIZE_T>(-1);
  return SetInformation(SystemFileCacheInformation, &record, sizeof record);
}

std::optional<uint64_t> MemoryOperationsWin32::FileCacheBytes() {
  const auto record = QueryInformation<SYSTEM_FILECACHE_INFORMATION>(
      SystemFileCacheInformation, offsetof(SYSTEM_FILECACHE_INFORMATION, PeakSize));
  if (!record) return std::nullopt;
  return record->CurrentSize;
}

CallResult MemoryOperationsWin32::PurgeList(MemoryList list) {
  ULONG command = MemoryPurgeLowPriorityStandbyList;
  if (list == MemoryList::Modified) command = MemoryFlushModifiedList;
  if (list == MemoryList::Standby) command = MemoryPurgeStandbyList;
  return SetInformation(SystemMemoryListInformation, &command, sizeof command);
}

std::optional<MemoryListCounts> MemoryOperationsWin32::ReadLists() {
  const auto record = QueryInformation<SYSTEM_MEMORY_LIST_INFORMATION>(
      SystemMemoryListInformation, offsetof(SYSTEM_MEMORY_LIST_INFORMATION, RepurposedPagesByPriority));
  if (!record) return std::nullopt;
  MemoryListCounts counts;
  counts.pageBytes = PageBytes();
  counts.zeroedPages = record->ZeroPageCount;
  counts.freePages = record->FreePageCount;
  counts.modifiedPages = record->ModifiedPageCount;
  for (std::size_t i = 0; i < kStandbyPriorities; ++i)
    counts.standbyPagesByPriority[i] = record->PageCountByPriority[i];
  return counts;
}

CombineResult MemoryOperationsWin32::CombinePages() {
  MEMORY_COMBINE_INFORMATION_EX record{};
  CombineResult combine;
  combine.result = SetInformation(SystemCombinePhysicalMemoryInformation, &record, sizeof record);
  combine.pagesCombined = record.PagesCombined;
  combine.pageBytes = PageBytes();
  return combine;
}

CallResult MemoryOperationsWin32::FlushRegistryCache() {
  return SetInformation(SystemRegistryReconciliationInformation, nullptr, 0);
}

}  // namespace pravelo
