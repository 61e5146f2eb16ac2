// The standard pass's own cost per process, over a fake system of 10,000 processes whose
// calls do nothing.
#include <chrono>
#include <cstdio>

#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "memory/optimizer.h"
#include "settings/area_settings.h"

namespace {

using namespace pravelo;

class InstantRecords : public ProcessRecords {
 public:
  explicit InstantRecords(std::size_t count) : count_(count) {}
  std::size_t Count() const override { return count_; }
  uint32_t ProcessId(std::size_t index) const override { return static_cast<uint32_t>(index * 4); }
  std::string ImageName(std::size_t) const override { return "program.exe"; }

 private:
  std::size_t count_;
};

class InstantProcessApi : public ProcessApi {
 public:
  explicit InstantProcessApi(std::size_t processes) : processes_(processes) {}
  std::unique_ptr<ProcessRecords> EnumerateProcesses(NativeHandle, uint32_t, uint32_t) override {
    return std::make_unique<InstantRecords>(processes_);
  }
  NativeHandle OpenProcess(uint32_t, bool, uint32_t processId) override { return processId + 1; }
  bool EmptyWorkingSet(NativeHandle) override { return true; }
  bool SetProcessWorkingSetSize(NativeHandle, std::uintptr_t, std::uintptr_t) override { return true; }
  bool CloseHandle(NativeHandle handle) override {
    closed_ += handle;
    return true;
  }
  bool SetSystemFileCacheSize(std::uintptr_t, std::uintptr_t, uint32_t) override { return true; }
  int32_t NtSetSystemInformation(uint32_t, void*, uint32_t) override { return 0; }
  NativeHandle GetCurrentProcess() override { return 0xFFFFFFFF; }
  bool OpenProcessToken(NativeHandle, uint32_t, NativeHandle& token) override {
    token = 7;
    return true;
  }
  bool LookupPrivilegeValue(const std::string&, const std::string&, Luid& luid) override {
    luid = {20, 0};
    return true;
  }
  bool AdjustTokenPrivileges(NativeHandle, bool, const TokenPrivileges*, uint32_t, TokenPrivileges* previous,
                             uint32_t* length) override {
    if (previous && length) *length = 16;
    return true;
  }
  uint32_t LastError() override { return 0; }
  uint32_t ErrorOfStatus(int32_t) override { return 0; }
  NativeHandle Closed() const { return closed_; }

 private:
  std::size_t processes_;
  NativeHandle closed_ = 0;  // keeps the calls from being optimized away
};

}  // namespace

int main() {
  constexpr std::size_t kProcesses = 10'000;
  constexpr int kPasses = 500;
  InstantProcessApi processes(kProcesses);
  fakes::FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  fakes::FakeClock clock;
  memory::Optimizer optimizer(processes, memory, clock);
  const memory::AreaSet areas = memory::ParseAreaList(settings::kDefaultAreas).areas;
  memory::PassFigures figures;
  optimizer.Run(areas, figures);  // warm up

  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kPasses; ++i) optimizer.Run(areas, figures);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("standard pass over %zu fake processes, %d passes\n", kProcesses, kPasses);
  std::printf("  %.1f ns per process, %.3f ms per pass (checksum %llu)\n",
              elapsed.count() / (kPasses * kProcesses), elapsed.count() / kPasses / 1e6,
              static_cast<unsigned long long>(processes.Closed()));
  return 0;
}
