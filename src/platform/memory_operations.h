// What a pass can ask of the system's memory manager, and the counters it reads to tell
// what each request did. The calls, their classes and records stay in the adapter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pravelo {

// What one request came to.
enum class CallStatus : uint8_t {
  Done,
  Refused,       // the system said no; errorCode tells why
  NotSupported,  // this system has no such request
};

struct CallResult {
  CallStatus status = CallStatus::Done;
  uint32_t errorCode = 0;  // the Windows error code when not done

  bool Done() const { return status == CallStatus::Done; }
  static CallResult Refusal(uint32_t error) { return {CallStatus::Refused, error}; }
  static CallResult Unsupported(uint32_t error) { return {CallStatus::NotSupported, error}; }
};

enum class MemoryList : uint8_t { Modified, Standby, LowPriorityStandby };

enum class Privilege : uint8_t { Debug, IncreaseQuota, ProfileSingleProcess };

inline constexpr std::size_t kStandbyPriorities = 8;

// The physical pages by list.
struct MemoryListCounts {
  uint64_t pageBytes = 0;
  uint64_t zeroedPages = 0;
  uint64_t freePages = 0;
  uint64_t modifiedPages = 0;
  std::array<uint64_t, kStandbyPriorities> standbyPagesByPriority{};

  uint64_t StandbyPages() const {
    uint64_t pages = 0;
    for (uint64_t count : standbyPagesByPriority) pages += count;
    return pages;
  }
};

struct ProcessEntry {
  uint32_t id = 0;
  std::string imageName;  // the file name as the system lists it ("explorer.exe"), UTF-8
};

struct ProcessList {
  CallResult result;
  std::vector<ProcessEntry> processes;
};

// A process opened for trimming; closed when destroyed.
class OpenedProcess {
 public:
  virtual ~OpenedProcess() = default;
  // Nothing when it cannot be read.
  virtual std::optional<uint64_t> WorkingSetBytes() = 0;
  // Takes as many of its pages out of memory as the system lets go.
  virtual CallResult TrimWorkingSet() = 0;
};

struct OpenResult {
  std::unique_ptr<OpenedProcess> process;  // none when the open failed
  CallResult failure;
  bool gone = false;  // the process ended since it was listed
};

struct CombineResult {
  CallResult result;
  uint64_t pagesCombined = 0;  // as the system reports them
  uint64_t pageBytes = 0;
};

class MemoryOperations {
 public:
  virtual ~MemoryOperations() = default;

  virtual ProcessList ListProcesses() = 0;
  // With only the rights a trim and its measure need.
  virtual OpenResult OpenProcess(uint32_t processId) = 0;

  // The two requests to shrink the file cache's working set: the documented limits call,
  // and the system-information record of older systems.
  virtual CallResult SetFileCacheLimits() = 0;
  virtual CallResult ShrinkFileCacheRecord() = 0;
  virtual std::optional<uint64_t> FileCacheBytes() = 0;

  virtual CallResult PurgeList(MemoryList list) = 0;
  virtual std::optional<MemoryListCounts> ReadLists() = 0;
  virtual CombineResult CombinePages() = 0;
  virtual CallResult FlushRegistryCache() = 0;

  // Switches the privilege on for the calling thread alone, until DropPrivileges on that
  // thread; false when it could not be had.
  virtual bool EnablePrivilege(Privilege privilege) = 0;
  virtual void DropPrivileges() = 0;
};

}  // namespace pravelo
