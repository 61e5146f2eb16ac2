// A machine's memory as state: processes with working sets, the page lists, the file
// cache, and the privileges of the token. Each request moves pages as the system would,
// refuses what it would refuse without its privilege, and can be set to answer otherwise.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/memory_operations.h"

namespace pravelo::fakes {

inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kPrivilegeNotHeld = 1314;
inline constexpr uint32_t kCallNotImplemented = 120;

enum class Request : uint8_t {
  FileCacheLimits,
  FileCacheRecord,
  PurgeModified,
  PurgeStandby,
  PurgeLowPriorityStandby,
  Combine,
  RegistryFlush,
};

class FakeMachine : public MemoryOperations {
 public:
  static constexpr uint64_t kPage = 4096;
  // Where trimmed and flushed pages go on the standby list.
  static constexpr std::size_t kTrimmedPriority = 5;

  struct Process {
    uint32_t id = 0;
    std::string imageName;
    uint64_t workingSetPages = 0;
    bool needsDebug = false;  // opened only with the debug privilege on
    bool refusesOpen = false;
    bool refusesTrim = false;
    bool ended = false;  // ends between the listing and the open
    bool unreadable = false;
  };

  // --- The machine ---------------------------------------------------------------------
  std::vector<Process> processes;
  std::optional<uint32_t> listingError;
  MemoryListCounts lists{kPage, 1000, 2000, 300, {10, 20, 30, 40, 50, 60, 70, 80}};
  bool listsReadable = true;
  uint64_t fileCachePages = 500;
  bool fileCacheReadable = true;
  uint64_t combinablePages = 64;
  std::set<Privilege> held{Privilege::Debug, Privilege::IncreaseQuota, Privilege::ProfileSingleProcess};
  // A request answered so, with no effect.
  std::map<Request, CallResult> answers;
  // Runs inside each request before it acts.
  std::function<void(Request)> onRequest;

  // --- What happened -------------------------------------------------------------------
  std::set<Privilege> enabled;
  int listings = 0;
  std::vector<uint32_t> opened;
  std::vector<Request> requests;

  // Bytes the system could hand out at once: zeroed, free and standby pages.
  uint64_t AvailableBytes() const {
    return (lists.zeroedPages + lists.freePages + lists.StandbyPages()) * lists.pageBytes;
  }
  Process* Find(uint32_t id) {
    for (Process& process : processes) {
      if (process.id == id) return &process;
    }
    return nullptr;
  }

  ProcessList ListProcesses() override {
    ++listings;
    if (listingError) return {CallResult::Refusal(*listingError), {}};
    ProcessList list;
    for (const Process& process : processes) list.processes.push_back({process.id, process.imageName});
    return list;
  }

  OpenResult OpenProcess(uint32_t processId) override {
    Process* process = Find(processId);
    OpenResult open;
    if (!process || process->ended) {
      open.gone = true;
      open.failure = CallResult::Refusal(87);
    } else if (process->refusesOpen || (process->needsDebug && !enabled.count(Privilege::Debug))) {
      open.failure = CallResult::Refusal(kAccessDenied);
    } else {
      opened.push_back(processId);
      open.process = std::make_unique<Opened>(*this, *process);
    }
    return open;
  }

  CallResult SetFileCacheLimits() override { return FileCacheRequest(Request::FileCacheLimits); }
  CallResult ShrinkFileCacheRecord() override { return FileCacheRequest(Request::FileCacheRecord); }
  std::optional<uint64_t> FileCacheBytes() override {
    if (!fileCacheReadable) return std::nullopt;
    return fileCachePages * kPage;
  }

  CallResult PurgeList(MemoryList list) override {
    const Request request = list == MemoryList::Modified  ? Request::PurgeModified
                            : list == MemoryList::Standby ? Request::PurgeStandby
                                                          : Request::PurgeLowPriorityStandby;
    return Act(request, Privilege::ProfileSingleProcess, [&] {
      switch (list) {
        case MemoryList::Modified:
          // Written out, the pages stay cached on the standby list.
          lists.standbyPagesByPriority[kTrimmedPriority] += lists.modifiedPages;
          lists.modifiedPages = 0;
          break;
        case MemoryList::Standby:
          lists.freePages += lists.StandbyPages();
          lists.standbyPagesByPriority.fill(0);
          break;
        case MemoryList::LowPriorityStandby:
          lists.freePages += lists.standbyPagesByPriority[0];
          lists.standbyPagesByPriority[0] = 0;
          break;
      }
    });
  }
  std::optional<MemoryListCounts> ReadLists() override {
    if (!listsReadable) return std::nullopt;
    return lists;
  }
  CombineResult CombinePages() override {
    CombineResult combine;
    combine.pageBytes = kPage;
    combine.result = Act(Request::Combine, Privilege::ProfileSingleProcess, [&] {
      combine.pagesCombined = combinablePages;
      lists.freePages += combinablePages;
      combinablePages = 0;
    });
    return combine;
  }
  CallResult FlushRegistryCache() override {
    return Act(Request::RegistryFlush, std::nullopt, [] {});
  }

  bool EnablePrivilege(Privilege privilege) override {
    if (!held.count(privilege)) return false;
    enabled.insert(privilege);
    return true;
  }
  void DropPrivileges() override { enabled.clear(); }

 private:
  class Opened : public OpenedProcess {
   public:
    Opened(FakeMachine& machine, Process& process) : machine_(machine), process_(process) {}
    std::optional<uint64_t> WorkingSetBytes() override {
      if (process_.unreadable) return std::nullopt;
      return process_.workingSetPages * kPage;
    }
    CallResult TrimWorkingSet() override {
      if (process_.refusesTrim) return CallResult::Refusal(kAccessDenied);
      machine_.lists.standbyPagesByPriority[kTrimmedPriority] += process_.workingSetPages;
      process_.workingSetPages = 0;
      return {};
    }

   private:
    FakeMachine& machine_;
    Process& process_;
  };

  CallResult FileCacheRequest(Request request) {
    return Act(request, Privilege::IncreaseQuota, [&] {
      lists.standbyPagesByPriority[kTrimmedPriority] += fileCachePages;
      fileCachePages = 0;
    });
  }

  template <typename Effect>
  CallResult Act(Request request, std::optional<Privilege> needs, Effect effect) {
    requests.push_back(request);
    if (onRequest) onRequest(request);
    const auto answer = answers.find(request);
    if (answer != answers.end()) return answer->second;
    if (needs && !enabled.count(*needs)) return CallResult::Refusal(kPrivilegeNotHeld);
    effect();
    return {};
  }
};

}  // namespace pravelo::fakes
